// How long the window goes without processing its events while it adds a large tree and
// copies it.
//   bench_eventgaps [FILES] [FOLDERS] [BASE_FOLDER] [BYTES] [OUTPUT_FOLDER]
// Starts the real main window (offscreen), makes a new tree of FILES *.txt files of BYTES
// each (default 100,000 empty files) in FOLDERS folders (default 100) under BASE_FOLDER,
// adds them with "Add All Files In Folder" through the window's own port, then runs "Start
// Changing" over the list into OUTPUT_FOLDER (default a new folder beside the tree). A zero
// timer fires once each time the window processes its events; the longest time between two
// firings is the longest the window stood still. Onto a slow write path:
// bench/app/eventgaps_throttled.sh.
#include "FixedRunInputs.h"
#include "app/MainWindow.h"
#include "app/MainWindowPort.h"
#include "core/SilentWindowPort.h"
#include "filelist/AddFiles.h"
#include "filelist/FileList.h"
#include "run/StartChanging.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

using namespace plenvoy;

namespace {

/// The window's own event processing, with the answers a user would give.
class AnsweringPort final : public SilentWindowPort {
public:
    explicit AnsweringPort(MainWindowPort &window)
        : m_window(window) {}
    QString askText(const QString &, const QString &) override { return QStringLiteral("txt"); }
    QString chooseFolder(const QString &, const QString &) override { return folder; }
    void processEvents() override { m_window.processEvents(); }
    bool closing() const override { return m_window.closing(); }

    QString folder;

private:
    MainWindowPort &m_window;
};

/// The longest time between two rounds of event processing while it watches.
class GapWatch final {
public:
    GapWatch() {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
            ++m_rounds;
        });
    }
    void start() {
        m_longest = 0;
        m_rounds = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    void stop() {
        m_timer.stop();
        m_longest = std::max(m_longest, m_clock.nsecsElapsed() - m_last);
    }
    double longestMs() const { return m_longest / 1e6; }
    double totalMs() const { return m_clock.nsecsElapsed() / 1e6; }
    qint64 rounds() const { return m_rounds; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    qint64 m_rounds = 0;
};

void makeTree(const QString &root, int files, int folders, qint64 bytes) {
    const QByteArray block(1 << 20, 'x');
    for (int f = 0; f < folders; ++f) {
        const QByteArray folder = QFile::encodeName(root + QStringLiteral("/d%1").arg(f));
        ::mkdir(folder.constData(), 0755);
        for (int i = f; i < files; i += folders) {
            const QByteArray name = folder + "/file" + QByteArray::number(i) + ".txt";
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            for (qint64 left = bytes; left > 0;) {
                const ssize_t put =
                    ::write(fd, block.constData(), size_t(std::min<qint64>(left, block.size())));
                if (put <= 0)
                    break;
                left -= put;
            }
            ::close(fd);
        }
    }
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const int files = args.size() > 1 ? args.at(1).toInt() : 100000;
    const int folders = args.size() > 2 ? args.at(2).toInt() : 100;
    const QString base = args.size() > 3 ? args.at(3) : QDir::tempPath();
    const qint64 bytes = args.size() > 4 ? args.at(4).toLongLong() : 0;
    QTemporaryDir work(base + QStringLiteral("/plenvoy-bench-gaps-XXXXXX"));
    if (!work.isValid())
        return 1;
    const QString tree = work.path() + QStringLiteral("/tree");
    const QString output = args.size() > 5 ? args.at(5) : work.path() + QStringLiteral("/out");
    QDir().mkpath(tree);
    QDir().mkpath(output);
    makeTree(tree, files, folders, bytes);

    MainWindow window;
    window.startUp();
    window.show();
    QCoreApplication::processEvents();
    AnsweringPort ui(window.port());
    ui.folder = tree;
    SettingsStore settings(work.path() + QStringLiteral("/settings.ini"));
    GapWatch watch;

    watch.start();
    addAllFilesInFolder(window.fileList(), settings, ui);
    watch.stop();
    out << "scan of " << window.fileList().count() << " files: " << watch.totalMs()
        << " ms, longest between two event rounds " << watch.longestMs() << " ms ("
        << watch.rounds() << " rounds)\n";
    out.flush();

    FixedRunInputs inputs(window.fileList().entries(), output,
                          QStringLiteral("Add last modified date to end of filename"));
    watch.start();
    RunOutcome outcome = startChanging(inputs, ui);
    watch.stop();
    // Forgetting a million outcomes is timed apart, as the window's handler does it after
    // the run.
    QElapsedTimer forget;
    forget.start();
    forgetOutcome(std::move(outcome));
    const double forgetMs = forget.nsecsElapsed() / 1e6;
    out << "run: " << watch.totalMs() << " ms, longest between two event rounds "
        << watch.longestMs() << " ms (" << watch.rounds()
        << " rounds; goal <= 50 ms); forgetting its outcome " << forgetMs << " ms\n";
    window.close();
    return 0;
}
