// What a run's record costs, and how fast a run is taken back: the real "Start Changing"
// run over 10,000 files of 4 KiB (or as many files of the size given) without its record,
// with its record alone, and with its record and the index of copied files that the runs
// with records keep, taking turns; then undo of such a run against find DIR -type f -delete
// of the same files, taking turns. Medians.
// Usage: bench_runrecord [rounds] [base folder] [files] [bytes per file]

#include "BenchSupport.h"

#include "FixedRunInputs.h"
#include "core/PathCodec.h"
#include "core/SilentWindowPort.h"
#include "records/CopiedIndex.h"
#include "records/RecordWriter.h"
#include "records/RunUndo.h"

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

    // Each round runs without a record, with the record alone and with the record and the
    // index, in an order that turns from round to round.
    enum Kind { Plain, RecordOnly, Recorded, Kinds };
    static const char *const kNames[Kinds] = {"plain", "record", "recorded"};
    std::vector<double> wall[Kinds], cpu[Kinds], undo, findDelete;
    // Every run first, each into a folder of its own, none removed in between: removing
    // files changes how fast a file system makes the next ones. The folders are made in
    // turns too, as where a file system puts a folder's files changes a run's time.
    QStringList plainFolders, recordIds;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < Kinds; ++turn) {
            const Kind kind = Kind((turn + round) % Kinds);
            inputs.outputFolder =
                freshFolder(top, QString::fromLatin1(kNames[kind]) + QString::number(round));
            if (kind == Plain)
                plenvoy::disableRunRecords();
            else
                plenvoy::enableRunRecords(QStringLiteral("cli"));
            plenvoy::setCopiesIndexed(kind == Recorded);
            settle();
            plenvoy::SilentWindowPort ui;
            plenvoy::RunOutcome outcome;
            const double cpuBefore = processorSeconds();
            wall[kind].push_back(timed([&] { outcome = plenvoy::startChanging(inputs, ui); }));
            cpu[kind].push_back(processorSeconds() - cpuBefore);
            if (outcome.copiedCount() != files || ((kind != Plain) == outcome.recordId.isEmpty())) {
                std::fprintf(stderr, "the run did not copy every file, or left no record\n");
                return 2;
            }
            if (kind == Recorded)
                recordIds << outcome.recordId;
            else if (kind == Plain)
                plainFolders << inputs.outputFolder;
        }
    }
    plenvoy::setCopiesIndexed(true);
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
    const auto ratio = [](const std::vector<double> &of, const std::vector<double> &to) {
        return median(of) / median(to);
    };
    std::printf("run %.3f s, with its record alone %.3f s: ratio %.3f (goal <= 1.03)\n",
                median(wall[Plain]), median(wall[RecordOnly]),
                ratio(wall[RecordOnly], wall[Plain]));
    std::printf("with its record and the index of copied files %.3f s: ratio %.3f\n",
                median(wall[Recorded]), ratio(wall[Recorded], wall[Plain]));
    std::printf("processor time: run %.3f s, record alone %.3f (ratio %.3f), record and index "
                "%.3f s (ratio %.3f)\n",
                median(cpu[Plain]), median(cpu[RecordOnly]), ratio(cpu[RecordOnly], cpu[Plain]),
                median(cpu[Recorded]), ratio(cpu[Recorded], cpu[Plain]));
    std::printf("undo %.3f s, find -type f -delete %.3f s: ratio %.3f (goal <= 1.10)\n",
                median(undo), median(findDelete), median(undo) / median(findDelete));
    return 0;
}
