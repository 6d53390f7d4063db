// plenvoy-cli's dry run over a folder tree against find.
//   bench_dryrunfolder [BASE_FOLDER] [ROUNDS]
// Makes a new tree of 100,000 files in 5,000 folders under BASE_FOLDER (default: the
// system's temporary folder), then alternates `find ROOT -type f -iname '*.txt'` with
// `plenvoy-cli --option "" --dry-run --folder ROOT --extension txt`, both writing to
// /dev/null, and prints the medians and their ratio.
#include "BenchTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <vector>

using namespace plenvoy;

namespace {

/// Runs plenvoy-cli's dry run over the tree; with countLines, the lines it prints.
qint64 runDryRun(const QString &root, bool countLines) {
    QProcess cli;
    if (!countLines)
        cli.setStandardOutputFile(QProcess::nullDevice());
    cli.setStandardErrorFile(QProcess::nullDevice());
    cli.start(QStringLiteral(PLENVOY_CLI_PATH),
              {QStringLiteral("--option"), QString(), QStringLiteral("--dry-run"),
               QStringLiteral("--folder"), root, QStringLiteral("--extension"),
               QStringLiteral("txt")});
    cli.waitForFinished(-1);
    return countLines ? cli.readAllStandardOutput().count('\n') : 0;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const QString base = args.size() > 1 ? args.at(1) : QDir::tempPath();
    const int rounds = args.size() > 2 ? args.at(2).toInt() : 9;

    QTemporaryDir work(base + QStringLiteral("/plenvoy-bench-dryrun-XXXXXX"));
    if (!work.isValid()) {
        out << "cannot make a folder in " << base << '\n';
        return 1;
    }
    bench::warmMemory(work.path());
    // PLENVOY_BENCH_TREE names a tree made before (plenvoy-bench-tree), to skip making one.
    QString root = qEnvironmentVariable("PLENVOY_BENCH_TREE");
    if (root.isEmpty()) {
        root = work.path() + QStringLiteral("/tree");
        QDir().mkpath(root);
        const bench::TreeCounts counts = bench::generateTree(root);
        out << "tree: " << counts.folders << " folders, " << counts.files << " files, "
            << counts.txtFiles << " *.txt\n";
    }
    // find also takes the hidden files that the folder's listing passes over.
    out << "find lists " << bench::runFindTxt(root, true) << ", the dry run "
        << runDryRun(root, true) << '\n';

    std::vector<double> findTimes;
    std::vector<double> dryRunTimes;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        timer.start();
        bench::runFindTxt(root, false);
        findTimes.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        runDryRun(root, false);
        dryRunTimes.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double findMedian = bench::median(findTimes);
    const double dryRunMedian = bench::median(dryRunTimes);
    out << QStringLiteral("plenvoy-cli --option \"\" --dry-run: median %1 ms; find: median %2 ms; "
                          "ratio %3 (goal: at most 1.5)\n")
               .arg(dryRunMedian, 0, 'f', 1)
               .arg(findMedian, 0, 'f', 1)
               .arg(dryRunMedian / findMedian, 0, 'f', 2);
    return 0;
}
