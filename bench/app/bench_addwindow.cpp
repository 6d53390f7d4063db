// "Add All Files In Folder" in the window, with its list and "New Name" column shown, against
// the same handler filling a list that no view shows.
//   bench_addwindow [FILES] [FOLDERS] [BASE_FOLDER] [ROUNDS]
// Makes a new tree of FILES empty *.txt files (default 1,000,000) in FOLDERS folders (default
// 1,000) under BASE_FOLDER (default: the system's temporary folder). Each round adds the
// tree once without a view and once in the real main window (offscreen), each time into an
// empty list, the one or the other first, until the window has laid out and shown the whole
// list; it prints the medians and their ratio.
#include "app/MainWindow.h"
#include "app/MainWindowPort.h"
#include "core/SilentWindowPort.h"
#include "filelist/AddFiles.h"
#include "filelist/FileList.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace plenvoy;

namespace {

/// The answers a user gives to the handler's two questions; events are processed as the
/// window's port processes them (at most every 4 ms), through the window when there is one.
class AnsweringPort final : public SilentWindowPort {
public:
    explicit AnsweringPort(QString folder, MainWindowPort *window = nullptr)
        : m_folder(std::move(folder))
        , m_window(window) {}
    QString askText(const QString &, const QString &) override { return QStringLiteral("txt"); }
    QString chooseFolder(const QString &, const QString &) override { return m_folder; }
    void processEvents() override {
        if (m_window) {
            m_window->processEvents();
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - m_last < std::chrono::milliseconds(4))
            return;
        QCoreApplication::processEvents();
        m_last = std::chrono::steady_clock::now();
    }
    bool closing() const override { return m_window && m_window->closing(); }

private:
    QString m_folder;
    MainWindowPort *m_window;
    std::chrono::steady_clock::time_point m_last{};
};

void makeTree(const QString &root, int files, int folders) {
    for (int f = 0; f < folders; ++f) {
        const QByteArray folder = QFile::encodeName(root + QStringLiteral("/d%1").arg(f));
        ::mkdir(folder.constData(), 0755);
        for (int i = f; i < files; i += folders) {
            const QByteArray name = folder + "/IMG_" + QByteArray::number(i) + ".txt";
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (fd >= 0)
                ::close(fd);
        }
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values.at(values.size() / 2);
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
    const int files = args.size() > 1 ? args.at(1).toInt() : 1000000;
    const int folders = args.size() > 2 ? args.at(2).toInt() : 1000;
    const QString base = args.size() > 3 ? args.at(3) : QDir::tempPath();
    const int rounds = args.size() > 4 ? args.at(4).toInt() : 5;
    QTemporaryDir work(base + QStringLiteral("/plenvoy-bench-addwindow-XXXXXX"));
    if (!work.isValid())
        return 1;
    const QString tree = work.path() + QStringLiteral("/tree");
    QDir().mkpath(tree);
    makeTree(tree, files, folders);
    SettingsStore settings(work.path() + QStringLiteral("/settings.ini"));

    MainWindow window;
    window.startUp();
    window.show();
    QCoreApplication::processEvents();
    auto *view = window.findChild<QTreeView *>();

    std::vector<double> alone, shown;
    int listedAlone = 0, listedShown = 0;
    const auto addAlone = [&] {
        FileList list;
        AnsweringPort ui(tree);
        QElapsedTimer timer;
        timer.start();
        addAllFilesInFolder(list, settings, ui);
        alone.push_back(timer.nsecsElapsed() / 1e6);
        listedAlone = list.count();
    };
    const auto addShown = [&] {
        window.fileList().clear();
        QCoreApplication::processEvents();
        AnsweringPort ui(tree, &window.port());
        QElapsedTimer timer;
        timer.start();
        addAllFilesInFolder(window.fileList(), settings, ui);
        // The handler is done when the window shows the list it made, laid out to its end.
        const QModelIndex last = view->model()->index(view->model()->rowCount() - 1, 0);
        while (!view->visualRect(last).isValid())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        view->viewport()->repaint();
        shown.push_back(timer.nsecsElapsed() / 1e6);
        listedShown = window.fileList().count();
    };
    // Each goes first in every other round.
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            addAlone();
            addShown();
        } else {
            addShown();
            addAlone();
        }
        ::malloc_trim(0);
    }
    out << listedAlone << " files listed without a view, " << listedShown << " in the window\n"
        << QStringLiteral("Add All Files In Folder in the window: median %1 ms; without a view: "
                          "median %2 ms; ratio %3 (goal: at most 1.5)\n")
               .arg(median(shown), 0, 'f', 1)
               .arg(median(alone), 0, 'f', 1)
               .arg(median(shown) / median(alone), 0, 'f', 2);
    window.close();
    return 0;
}
