// What writing a copy's lines costs, without the copy: the record's line and the copied
// index's line for each of many made-up copies, in nanoseconds a copy. The lines go to a
// state folder under the base folder (a tmpfs keeps the disk out of the figure).
// Usage: bench_recordlines [copies] [base folder]

#include "BenchSupport.h"

#include "core/PathCodec.h"
#include "records/CopiedIndex.h"
#include "records/RecordWriter.h"
#include "run/RunOutcome.h"

#include <QTemporaryDir>

using namespace bench;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int copies = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000000;
    const QString base = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    QTemporaryDir root(base + QStringLiteral("/plenvoy-bench-XXXXXX"));
    if (!root.isValid())
        return 2;
    qputenv("XDG_STATE_HOME", plenvoy::pathToBytes(root.path() + QStringLiteral("/state")));
    plenvoy::enableRunRecords(QStringLiteral("cli"));
    const QString sources = QStringLiteral("/home/ana/Pictures/Holiday 2026/Camera");
    const QString output = QStringLiteral("/home/ana/Pictures/stamped");
    std::vector<plenvoy::FileOutcome> files(1000);
    for (size_t i = 0; i < files.size(); ++i) {
        const QString name = QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        files[i].source = sources + QLatin1Char('/') + name;
        files[i].destination = output + QLatin1Char('/') + name + QStringLiteral(" 12-08-2026");
        files[i].named = {true,
                          65024,
                          ino_t(11000000 + i),
                          4096,
                          1796688739123456789 + qint64(i),
                          1796688740123456789 + qint64(i)};
    }
    std::vector<double> record, index;
    for (int round = 0; round < 5; ++round) {
        plenvoy::RecordWriter run(output, QStringLiteral("Add current date to end of filename"),
                                  {});
        record.push_back(timed([&] {
            for (int i = 0; i < copies; ++i)
                run.add(files[size_t(i) % files.size()]);
            run.finish();
        }));
        plenvoy::CopiedIndexWriter writer;
        index.push_back(timed([&] {
            for (int i = 0; i < copies; ++i) {
                const plenvoy::FileOutcome &file = files[size_t(i) % files.size()];
                writer.note(output, file.destination, file.source, sources, 4096,
                            1796688739123456789, file.named);
            }
            writer.flush();
        }));
    }
    std::printf("%d copies, medians of 5: record line %.0f ns, index line %.0f ns a copy\n", copies,
                median(record) * 1e9 / copies, median(index) * 1e9 / copies);
    return 0;
}
