// The "New Name" column over a long list.
//   bench_preview [FILES] [FOLDERS] [BASE_FOLDER]
// Makes FILES empty *.txt files (default 100,000) in FOLDERS folders (default 100) under
// BASE_FOLDER (default /tmp), lists them in the window's list with the preview beside it
// (offscreen), and measures, in rounds that alternate two options:
//  - the names of the visible rows after an option change (to the end of a repaint);
//  - the whole preview (every clash and refusal decided), against plenvoy-cli --dry-run
//    --out of the same files run in the same round (its walk included);
//  - the longest time the window goes without processing its events meanwhile;
//  - the memory each entry costs with the preview computed.
#include "app/NewNamePreview.h"
#include "core/SilentWindowPort.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>
#include <vector>

using namespace plenvoy;

namespace {

const QString kOptionA = QStringLiteral("Add last modified date to end of filename");
const QString kOptionB = QStringLiteral("Add last modified time to beginning of filename");

qint64 statusKiB(const char *field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList arguments = app.arguments();
    const int files = arguments.size() > 1 ? arguments.at(1).toInt() : 100000;
    const int folders = arguments.size() > 2 ? arguments.at(2).toInt() : 100;
    const QString base = arguments.size() > 3 ? arguments.at(3) : QDir::tempPath();

    const qint64 before = statusKiB("VmRSS");
    QTemporaryDir root(base + QStringLiteral("/bench_preview-XXXXXX"));
    const QString tree = root.filePath(QStringLiteral("tree"));
    const QString output = root.filePath(QStringLiteral("out"));
    QDir().mkpath(output);
    QStringList paths;
    paths.reserve(files);
    for (int folder = 0; folder < folders; ++folder) {
        const QString path = tree + QStringLiteral("/d%1").arg(folder);
        QDir().mkpath(path);
        for (int i = folder; i < files; i += folders) {
            const QString file =
                path + QStringLiteral("/IMG_%1.txt").arg(i, 7, 10, QLatin1Char('0'));
            const int fd = ::open(QFile::encodeName(file).constData(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                ::close(fd);
            paths << file;
        }
    }
    out << files << " files in " << folders << " folders under " << base << '\n';
    out.flush();

    FileList list;
    list.append(paths);
    paths = QStringList();
    ::malloc_trim(0);
    const qint64 listed = statusKiB("VmRSS");
    SilentWindowPort ui;
    FileListView view(list, ui);
    NewNamePreview preview(list);
    view.setModel(&preview);
    view.resize(900, 600);
    view.show();
    preview.setOutputFolder(output);

    qint64 longestGap = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    // Every millisecond, not at every turn of the loop: a zero timer would keep a core busy
    // and slow the worker it watches.
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });

    std::vector<double> visible, whole, cli, gaps;
    const int rounds = 5;
    for (int round = 0; round <= rounds; ++round) {
        const QString option = round % 2 == 0 ? kOptionA : kOptionB;
        QElapsedTimer timer;
        timer.start();
        preview.setOption(option);
        view.viewport()->repaint();
        const double shownMs = timer.nsecsElapsed() / 1e6;
        last = clock.nsecsElapsed();
        longestGap = 0;
        ticks.start();
        while (preview.planning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ticks.stop();
        const double wholeSeconds = timer.nsecsElapsed() / 1e9;

        QProcess dryRun;
        dryRun.setStandardOutputFile(QProcess::nullDevice());
        dryRun.setStandardErrorFile(QProcess::nullDevice());
        timer.restart();
        dryRun.start(QStringLiteral(PLENVOY_CLI_PATH),
                     {QStringLiteral("--option"), option, QStringLiteral("--dry-run"),
                      QStringLiteral("--out"), output, QStringLiteral("--folder"), tree,
                      QStringLiteral("--extension"), QStringLiteral("txt")});
        dryRun.waitForFinished(-1);
        const double cliSeconds = timer.nsecsElapsed() / 1e9;
        if (round == 0)
            continue; // the first round warms the caches
        visible.push_back(shownMs);
        whole.push_back(wholeSeconds);
        cli.push_back(cliSeconds);
        gaps.push_back(longestGap / 1e6);
    }
    const qint64 after = statusKiB("VmRSS");

    out << "visible rows named after an option change: median " << median(visible) << " ms\n"
        << "whole preview: median " << median(whole) << " s; plenvoy-cli --dry-run --out: median "
        << median(cli) << " s; ratio " << median(whole) / median(cli) << '\n'
        << "longest time between two event rounds while the preview is computed: median "
        << median(gaps) << " ms\n"
        << "resident memory of the list with its preview: " << (after - before) * 1024.0 / files
        << " bytes an entry, of which the preview " << (after - listed) * 1024.0 / files << '\n';
    return 0;
}
