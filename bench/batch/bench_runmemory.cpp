// The memory the window's run takes beyond its list: the list is filled from a folder as
// "Add All Files In Folder" fills it, then the real "Start Changing" run, with its record,
// copies every listed file into the output folder, reading the list as the window does.
// Prints the list's own memory and the run's peak beyond it (VmRSS, VmHWM).
// Usage: bench_runmemory SOURCE_FOLDER OUTPUT_FOLDER

#include "BenchSupport.h"

#include "filelist/AddFiles.h"
#include "filelist/FileList.h"
#include "records/RecordWriter.h"
#include "run/StartChanging.h"

#include <QCoreApplication>
#include <QFile>

namespace {

/// A line of /proc/self/status, in MiB.
double statusMiB(const char *field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

/// What the window's run reads: the list itself, entry by entry.
class ListInputs final : public plenvoy::RunInputs {
public:
    ListInputs(const plenvoy::FileList &list, QString folder)
        : m_list(list)
        , m_folder(std::move(folder)) {}
    int fileCount() const override { return m_list.count(); }
    QString entryAt(int position) const override { return m_list.textAt(position); }
    QString outputFolderText() const override { return m_folder; }
    QString optionText() const override { return QString(); }

private:
    const plenvoy::FileList &m_list;
    QString m_folder;
};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_runmemory SOURCE_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    const QString sources = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const double before = statusMiB("VmRSS");
    plenvoy::FileList list;
    bench::QuietWindow ui;
    plenvoy::addFolderTree(list, sources, QStringLiteral("*"), ui);
    const double withList = statusMiB("VmRSS");
    const double peakBefore = statusMiB("VmHWM");

    plenvoy::enableRunRecords(QStringLiteral("window"));
    ListInputs inputs(list, output);
    const plenvoy::RunOutcome outcome = plenvoy::startChanging(inputs, ui);
    const double peak = statusMiB("VmHWM");
    std::printf("%d listed, %d copied; the list holds %.1f MiB (peak while adding %.1f MiB)\n",
                list.count(), outcome.copiedCount(), withList - before, peakBefore);
    std::printf("peak %.1f MiB: the run takes %.1f MiB beyond the list (goal <= 100)\n", peak,
                peak - withList);
    return outcome.copiedCount() == list.count() ? 0 : 1;
}
