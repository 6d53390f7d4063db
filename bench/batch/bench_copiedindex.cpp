// What skipping files copied before costs: the real "Start Changing" run over 10,000 files
// of 4 KiB with "skip files copied before" on, once with no run on record and once with 200
// records present and the index of their copies (200 runs of 1,000 files into other
// folders, and one into the same folder from other sources), taking turns. Medians.
// Usage: bench_copiedindex [rounds] [base folder] [files]

#include "BenchSupport.h"

#include "FixedRunInputs.h"
#include "core/PathCodec.h"
#include "core/SilentWindowPort.h"
#include "naming/ComposeNewName.h"
#include "records/CopiedIndex.h"
#include "records/RecordWriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

using namespace bench;

namespace {

constexpr int kRecords = 200;
constexpr int kCopiesPerRecord = 1000;

QByteArray field(const QString &text) {
    return plenvoy::pathToBytes(text).toBase64();
}

/// 199 records (the run adds the 200th) and the index of what they copied.
void fillState(const QString &state, const QString &sameOutput) {
    qputenv("XDG_STATE_HOME", plenvoy::pathToBytes(state));
    const QString runs = plenvoy::runRecordFolder();
    QDir().mkpath(runs);
    QByteArray index;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int record = 0; record < kRecords - 1; ++record) {
        const QString output =
            record == 0 ? sameOutput : QStringLiteral("/home/ana/stamped/%1").arg(record);
        const QString id =
            now.addSecs(-3600 - record).toString(QStringLiteral("yyyy-MM-ddTHH-mm-ssZ")) +
            QStringLiteral("-%1").arg(record, 4, 16, QLatin1Char('0'));
        QByteArray lines =
            "{\"run\":\"" + id.toUtf8() + "\",\"output\":\"" + output.toUtf8() + "\"}\n";
        for (int copy = 0; copy < kCopiesPerRecord; ++copy) {
            const QString name = QStringLiteral("IMG_%1.jpg").arg(copy, 4, 10, QLatin1Char('0'));
            lines += "{\"source\":\"/media/CARD/DCIM/" + name.toUtf8() + "\",\"destination\":\"" +
                     output.toUtf8() + '/' + name.toUtf8() +
                     "\",\"outcome\":\"copied\",\"reason\":\"\",\"dev\":1,\"ino\":" +
                     QByteArray::number(copy) + ",\"size\":4096,\"mtime_ns\":1,\"ctime_ns\":1}\n";
            index += field(output) + '\t' + field(name) + '\t' +
                     field(QStringLiteral("DCIM/") + name) + "\t4096\t1\t1\t" +
                     QByteArray::number(copy) + "\t4096\t1\t1\t1781265600\n";
        }
        QFile file(runs + QLatin1Char('/') + id + QStringLiteral(".jsonl"));
        if (file.open(QIODevice::WriteOnly))
            file.write(lines + "{\"end\":\"\",\"counts\":{}}\n");
    }
    QFile file(plenvoy::copiedIndexPath());
    if (file.open(QIODevice::WriteOnly))
        file.write(index);
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

    plenvoy::FixedRunInputs inputs(writeSourceFiles(top, files, 4096), {}, QString());
    plenvoy::RunChoices style;
    style.skipCopied = true;
    plenvoy::enableRunRecords(QStringLiteral("cli"));
    // The records and their index, made once: each run with them adds its own.
    const QString full = freshFolder(top, QStringLiteral("state-full"));
    fillState(full, top + QStringLiteral("/with0"));
    warmMemory(top);

    std::vector<double> without, with;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool present = (turn + round) % 2 == 0;
            const QString name = present ? QStringLiteral("with%1") : QStringLiteral("without%1");
            inputs.outputFolder = freshFolder(top, name.arg(round));
            const QString state =
                present ? full : freshFolder(top, QStringLiteral("state-") + name.arg(round));
            qputenv("XDG_STATE_HOME", plenvoy::pathToBytes(state));
            settle();
            plenvoy::SilentWindowPort ui;
            plenvoy::RunOutcome outcome;
            (present ? with : without).push_back(timed([&] {
                outcome = plenvoy::startChanging(inputs, ui, plenvoy::systemClock(),
                                                 plenvoy::systemFileTimes(), style);
            }));
            if (outcome.copiedCount() != files) {
                std::fprintf(stderr, "the run did not copy every file\n");
                return 2;
            }
        }
    }
    std::printf("medians of %d rounds, %d x 4096 bytes, skipping files copied before\n", rounds,
                files);
    std::printf("run with no record %.3f s, with %d records and their index %.3f s: ratio %.3f "
                "(goal <= 1.05)\n",
                median(without), kRecords, median(with), median(with) / median(without));
    return 0;
}
