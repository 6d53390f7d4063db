// The real "Start Changing" run over 10,000 files of 4 KiB (or as many files of the size
// given) under "Add last modified date to end of filename", events processed for real as
// the window's port lets them, against cp of the same files into a fresh folder and against
// cp -p (data, mode and times, as the run keeps them); the three take turns in a rotating
// order, medians.
// Usage: bench_startchanging [rounds] [base folder] [files] [bytes per file]
//   a million empty files: bench_startchanging 3 /dev/shm 1000000 0

#include "BenchSupport.h"

#include "FixedRunInputs.h"
#include "core/SilentWindowPort.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace bench;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QString base = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    QTemporaryDir root(base + QStringLiteral("/plenvoy-bench-XXXXXX"));
    if (!root.isValid())
        return 2;
    const QString top = root.path();
    const int files = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10000;
    const qint64 size = argc > 4 ? std::max(0LL, std::atoll(argv[4])) : 4096;
    // A million files make a memory-backed folder run out of inodes after a few copies: each
    // copy is then removed after its timing, untimed.
    const bool removeEachCopy = files > 100000;

    plenvoy::FixedRunInputs inputs(writeSourceFiles(top, files, size), {},
                                   QStringLiteral("Add last modified date to end of filename"));
    const QString sources = top + QStringLiteral("/src");
    warmMemory(top);
    settle();

    std::vector<double> runTimes, cpTimes, cpKeepTimes;
    for (int round = 0; round < rounds; ++round) {
        const QString tag = QString::number(round);
        const QString runInto = freshFolder(top, QStringLiteral("run") + tag);
        const QString cpInto = freshFolder(top, QStringLiteral("cp") + tag);
        const QString cpKeepInto = freshFolder(top, QStringLiteral("cpp") + tag);
        for (int turn = 0; turn < 3; ++turn) {
            settle();
            const int which = (turn + round) % 3;
            if (which == 0) {
                QuietWindow ui;
                inputs.outputFolder = runInto;
                plenvoy::RunOutcome outcome;
                runTimes.push_back(timed([&] { outcome = plenvoy::startChanging(inputs, ui); }));
                if (ui.messages != QStringList{plenvoy::kMessageDone} || !ui.reports.isEmpty() ||
                    QDir(runInto).count() != uint(files) + 2) {
                    std::fprintf(stderr, "the run did not copy every file\n");
                    return 2;
                }
            } else if (which == 1) {
                cpTimes.push_back(timed([&] {
                    run({QStringLiteral("cp"), QStringLiteral("-r"), sources + QStringLiteral("/."),
                         cpInto});
                }));
            } else {
                cpKeepTimes.push_back(timed([&] {
                    run({QStringLiteral("cp"), QStringLiteral("-rp"),
                         sources + QStringLiteral("/."), cpKeepInto});
                }));
            }
            if (removeEachCopy) {
                QDir(which == 0 ? runInto : which == 1 ? cpInto : cpKeepInto).removeRecursively();
                settle();
            }
        }
    }
    std::printf("medians of %d rotating rounds\n", rounds);
    std::printf("%d x %lld bytes, last modified date at end: run %.3f s  cp %.3f s  cp -p %.3f s\n",
                files, size, median(runTimes), median(cpTimes), median(cpKeepTimes));
    // The goals: 10,000 small files no slower than cp -p and within a tenth of cp; a million
    // files within a tenth of cp -p.
    std::printf("ratio to cp -p %.2f (goal <= %s)  ratio to cp %.2f%s\n",
                median(runTimes) / median(cpKeepTimes), removeEachCopy ? "1.10" : "1.00",
                median(runTimes) / median(cpTimes), removeEachCopy ? "" : " (goal <= 1.10)");
    settle();
    return 0;
}
