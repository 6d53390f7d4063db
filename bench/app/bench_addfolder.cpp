// "Add All Files In Folder" against find.
//   bench_addfolder [BASE_FOLDER] [ROUNDS]
// Makes a new tree of 100,000 files in 5,000 folders under BASE_FOLDER (default: the
// system's temporary folder), then alternates `find ROOT -type f -iname '*.txt'` with the
// real handler answering "txt" and the tree's root, and prints medians and their ratio.
#include "BenchTree.h"
#include "BenchWindow.h"

#include "core/WindowPort.h"
#include "filelist/AddFiles.h"
#include "filelist/FileList.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace plenvoy;

namespace {

int addFolder(const QString &root, SettingsStore &settings, QStringList &reports) {
    FileList list;
    bench::BenchWindow ui;
    ui.answer = QStringLiteral("txt");
    ui.folder = root;
    addAllFilesInFolder(list, settings, ui);
    reports = ui.reports;
    return list.count();
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const QString base = args.size() > 1 ? args.at(1) : QDir::tempPath();
    const int rounds = args.size() > 2 ? args.at(2).toInt() : 7;

    QTemporaryDir work(base + QStringLiteral("/plenvoy-bench-addfolder-XXXXXX"));
    if (!work.isValid()) {
        out << "cannot make a folder in " << base << '\n';
        return 1;
    }
    bench::warmMemory(work.path());
    QString root = qEnvironmentVariable("PLENVOY_BENCH_TREE");
    if (root.isEmpty()) {
        root = work.path() + QStringLiteral("/tree");
        QDir().mkpath(root);
        const bench::TreeCounts counts = bench::generateTree(root);
        out << "tree: " << counts.folders << " folders, " << counts.files << " files, "
            << counts.txtFiles << " *.txt\n";
    }
    SettingsStore settings(work.path() + QStringLiteral("/settings.ini"));

    QStringList reports;
    const qint64 found = bench::runFindTxt(root, true);
    const int listed = addFolder(root, settings, reports);
    // find also takes hidden files that the handler passes over (attributes 34).
    out << "find lists " << found << ", the handler lists " << listed << ", reports "
        << reports.size() << '\n';

    std::vector<double> findTimes;
    std::vector<double> handlerTimes;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        timer.start();
        bench::runFindTxt(root, false);
        findTimes.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        addFolder(root, settings, reports);
        handlerTimes.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double findMedian = bench::median(findTimes);
    const double handlerMedian = bench::median(handlerTimes);
    out << QStringLiteral("Add All Files In Folder: median %1 ms; find: median %2 ms; ratio %3 "
                          "(goal: at most 1.5)\n")
               .arg(handlerMedian, 0, 'f', 1)
               .arg(findMedian, 0, 'f', 1)
               .arg(handlerMedian / findMedian, 0, 'f', 2);
    return 0;
}
