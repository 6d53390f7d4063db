// Folder walk and listing against find, and appending to the file list.
//   bench_folderwalk [BASE_FOLDER] [ROUNDS]
// Makes a new tree of 100,000 files in 5,000 folders under BASE_FOLDER (default: the
// system's temporary folder), then alternates `find ROOT -type f -iname '*.txt'` with the
// walk plus ListFolderFiles(folder, "*.txt") for every folder, and prints medians.
#include "BenchTree.h"
#include "BenchWindow.h"

#include "core/WindowPort.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "filelist/FolderListing.h"
#include "filelist/FolderWalk.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace plenvoy;

namespace {

qint64 walkAndList(const QString &root, bench::BenchWindow &ui) {
    QStringList folders{root + QLatin1Char('/')};
    appendSubFolders(folders, true, ui);
    qint64 names = 0;
    for (const QString &text : std::as_const(folders))
        names += ListFolderFiles(text.left(text.size() - 1), QStringLiteral("*.txt")).upperBound();
    return names;
}

double appendSeconds(int entries, bool withView) {
    FileList list;
    bench::BenchWindow ui;
    std::unique_ptr<FileListView> view;
    if (withView) {
        view = std::make_unique<FileListView>(list, ui);
        view->show();
        QCoreApplication::processEvents();
    }
    const QString prefix = QStringLiteral("/home/user/some/folder/file");
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < entries; ++i)
        list.append(prefix + QString::number(i) + QStringLiteral(".txt"));
    QCoreApplication::processEvents(); // the view catches up, as it does after the walk
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const QString base = args.size() > 1 ? args.at(1) : QDir::tempPath();
    const int rounds = args.size() > 2 ? args.at(2).toInt() : 7;

    QTemporaryDir work(base + QStringLiteral("/plenvoy-bench-walk-XXXXXX"));
    if (!work.isValid()) {
        out << "cannot make a folder in " << base << '\n';
        return 1;
    }
    bench::warmMemory(work.path());
    // PLENVOY_BENCH_TREE names a tree made before (plenvoy-bench-tree), to skip making one.
    QString root = qEnvironmentVariable("PLENVOY_BENCH_TREE");
    QElapsedTimer timer;
    timer.start();
    if (root.isEmpty()) {
        root = work.path() + QStringLiteral("/tree");
        QDir().mkpath(root);
        const bench::TreeCounts counts = bench::generateTree(root);
        out << "tree: " << counts.folders << " folders, " << counts.files << " files, "
            << counts.txtFiles << " *.txt; made in " << timer.elapsed() << " ms\n";
    }

    bench::BenchWindow ui;
    const qint64 found = bench::runFindTxt(root, true);
    const qint64 listed = walkAndList(root, ui);
    out << "find lists " << found << ", the walk lists " << listed << ", reports "
        << ui.reports.size() << '\n';

    std::vector<double> findTimes;
    std::vector<double> walkTimes;
    std::vector<double> walkOnlyTimes;
    std::vector<double> listOnlyTimes;
    for (int round = 0; round < rounds; ++round) {
        timer.restart();
        bench::runFindTxt(root, false);
        findTimes.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        walkAndList(root, ui);
        walkTimes.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        QStringList folders{root + QLatin1Char('/')};
        appendSubFolders(folders, true, ui);
        walkOnlyTimes.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        for (const QString &text : std::as_const(folders))
            ListFolderFiles(text.left(text.size() - 1), QStringLiteral("*.txt"));
        listOnlyTimes.push_back(timer.nsecsElapsed() / 1e6);
    }
    out << QStringLiteral("of which the walk: median %1 ms; the listing: median %2 ms\n")
               .arg(bench::median(walkOnlyTimes), 0, 'f', 1)
               .arg(bench::median(listOnlyTimes), 0, 'f', 1);
    const double findMedian = bench::median(findTimes);
    const double walkMedian = bench::median(walkTimes);
    out << QStringLiteral("walk + ListFolderFiles: median %1 ms; find: median %2 ms; ratio %3 "
                          "(goal: at most 2)\n")
               .arg(walkMedian, 0, 'f', 1)
               .arg(findMedian, 0, 'f', 1)
               .arg(walkMedian / findMedian, 0, 'f', 2);

    for (const bool withView : {false, true}) {
        std::vector<double> small;
        std::vector<double> large;
        for (int round = 0; round < 5; ++round) {
            small.push_back(appendSeconds(100000, withView));
            large.push_back(appendSeconds(200000, withView));
        }
        out << QStringLiteral("append one at a time%1: 100,000 in %2 ms, 200,000 in %3 ms; "
                              "ratio %4 (goal: at most 2.2)\n")
                   .arg(withView ? QStringLiteral(", view attached") : QString())
                   .arg(bench::median(small) * 1000, 0, 'f', 1)
                   .arg(bench::median(large) * 1000, 0, 'f', 1)
                   .arg(bench::median(large) / bench::median(small), 0, 'f', 2);
    }
    return 0;
}
