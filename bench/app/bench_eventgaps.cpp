// How long the window goes without processing its events while it adds a large tree and
// copies it.
//   bench_eventgaps [FILES] [FOLDERS] [BASE_FOLDER]
// Starts the real main window (offscreen), makes a new tree of FILES empty *.txt files
// (default 100,000) in FOLDERS folders (default 100) under BASE_FOLDER, adds them with
// "Add All Files In Folder" through the window's own port, then runs "Start Changing"
// over the list. A zero timer fires once each time the window processes its events; the
// longest time between two firings is the longest the window stood still.
#include "app/MainWindow.h"
#include "app/MainWindowPort.h"
#include "app/SettingsStore.h"
#include "batch/FixedRunInputs.h"
#include "batch/StartChanging.h"
#include "core/SilentWindowPort.h"
#include "filelist/AddFiles.h"
#include "filelist/FileList.h"

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

void makeTree(const QString &root, int files, int folders) {
    for (int f = 0; f < folders; ++f) {
        const QByteArray folder = QFile::encodeName(root + QStringLiteral("/d%1").arg(f));
        ::mkdir(folder.constData(), 0755);
        for (int i = f; i < files; i += folders) {
            const QByteArray name = folder + "/file" + QByteArray::number(i) + ".txt";
            ::close(::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
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
    QTemporaryDir work(base + QStringLiteral("/plenvoy-bench-gaps-XXXXXX"));
    if (!work.isValid())
        return 1;
    const QString tree = work.path() + QStringLiteral("/tree");
    const QString output = work.path() + QStringLiteral("/out");
    QDir().mkpath(tree);
    QDir().mkpath(output);
    makeTree(tree, files, folders);

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
