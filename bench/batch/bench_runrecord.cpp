// What a run's record costs, and how fast a run is taken back: the real "Start Changing"
// run over 10,000 files of 4 KiB (or as many files of the size given) with and without its
// record, taking turns; then undo of such a run against find DIR -type f -delete of the same
// files, taking turns. Medians.
// Usage: bench_runrecord [rounds] [base folder] [files] [bytes per file]

#include "BenchSupport.h"

#include "batch/FixedRunInputs.h"
#include "batch/RunRecord.h"
#include "batch/RunUndo.h"
#include "core/PathCodec.h"
#include "core/SilentWindowPort.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

using namespace bench;

namespace {

/// The processor time this process used so far, user and system.
double processorSeconds() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

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
    qputenv("XDG_STATE_HOME", plenvoy::pathToBytes(top + QStringLiteral("/state")));

    plenvoy::FixedRunInputs inputs(writeSourceFiles(top, files, size), {}, QString());
    warmMemory(top);
    settle();

    std::vector<double> plain, recorded, undo, findDelete;
    // The processor time of each run too: on a machine shared with other work the wall
    // time of the same run varies more than a record costs.
    std::vector<double> plainCpu, recordedCpu;
    // Every run first, each into a folder of its own, none removed in between: removing
    // files changes how fast a file system makes the next ones. The folders are made in
    // turns too, as where a file system puts a folder's files changes a run's time.
    QStringList plainFolders, recordIds;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool withRecord = (turn + round) % 2 == 0;
            inputs.outputFolder = freshFolder(
                top, QStringLiteral("%1%2")
                         .arg(withRecord ? QLatin1String("recorded") : QLatin1String("plain"))
                         .arg(round));
            if (withRecord)
                plenvoy::enableRunRecords(QStringLiteral("cli"));
            else
                plenvoy::disableRunRecords();
            settle();
            plenvoy::SilentWindowPort ui;
            plenvoy::RunOutcome outcome;
            const double cpuBefore = processorSeconds();
            (withRecord ? recorded : plain).push_back(timed([&] {
                outcome = plenvoy::startChanging(inputs, ui);
            }));
            (withRecord ? recordedCpu : plainCpu).push_back(processorSeconds() - cpuBefore);
            if (outcome.copiedCount() != files || (withRecord && outcome.recordId.isEmpty())) {
                std::fprintf(stderr, "the run did not copy every file, or left no record\n");
                return 2;
            }
            if (withRecord)
                recordIds << outcome.recordId;
            else
                plainFolders << inputs.outputFolder;
        }
    }
    // Each recorded run is taken back; the other run's copies are deleted by find.
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            settle();
            if ((turn + round) % 2 == 0) {
                plenvoy::UndoResult result;
                // As plenvoy-cli takes it back: each removed copy is told as it goes.
                qint64 told = 0;
                undo.push_back(timed([&] {
                    result = plenvoy::undoRun(recordIds.at(round), false, {},
                                              [&told](const QByteArray &) { ++told; });
                }));
                if (result.removedCount != files || told != files) {
                    std::fprintf(stderr, "undo did not remove every copy\n");
                    return 2;
                }
            } else {
                findDelete.push_back(timed([&] {
                    run({QStringLiteral("find"), plainFolders.at(round), QStringLiteral("-type"),
                         QStringLiteral("f"), QStringLiteral("-delete")});
                }));
            }
        }
    }
    std::printf("medians of %d rounds, %d x %lld bytes\n", rounds, files, size);
    std::printf("run %.3f s, with its record %.3f s: ratio %.3f (goal <= 1.03)\n", median(plain),
                median(recorded), median(recorded) / median(plain));
    std::printf("processor time: run %.3f s, with its record %.3f s: ratio %.3f\n",
                median(plainCpu), median(recordedCpu), median(recordedCpu) / median(plainCpu));
    std::printf("undo %.3f s, find -type f -delete %.3f s: ratio %.3f (goal <= 1.10)\n",
                median(undo), median(findDelete), median(undo) / median(findDelete));
    return 0;
}
