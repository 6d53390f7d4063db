// The memory the program needs to hold a long list.
//   bench_listmemory [ENTRIES]
// Starts the real main window (offscreen), appends ENTRIES paths (default 100,000) of
// typical length, lets the view lay them out and scroll to the end, and prints the
// process's peak resident memory before and after.
#include "app/MainWindow.h"
#include "filelist/FileList.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>

using namespace plenvoy;

namespace {

/// A line of /proc/self/status, in KiB.
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

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int entries = app.arguments().size() > 1 ? app.arguments().at(1).toInt() : 100000;

    MainWindow window;
    window.startUp();
    window.show();
    QCoreApplication::processEvents();
    const qint64 before = statusKiB("VmHWM");

    const QString folder = QStringLiteral("/home/someone/Pictures/Holidays 2026/Camera roll/");
    for (int i = 0; i < entries; ++i)
        window.fileList().append(folder +
                                 QStringLiteral("IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0')));
    QCoreApplication::processEvents();
    if (auto *view = window.findChild<QTreeView *>())
        view->scrollToBottom();
    QCoreApplication::processEvents();
    const qint64 after = statusKiB("VmHWM");

    out << "entries: " << window.fileList().count() << '\n'
        << "peak resident memory: empty window " << before / 1024.0 << " MiB, with the list "
        << after / 1024.0 << " MiB; the list costs " << (after - before) / 1024.0 << " MiB ("
        << (after - before) * 1024.0 / entries << " bytes an entry)\n";
    window.close();
    return 0;
}
