#include "TestFiles.h"
#include "app/AppTexts.h"
#include "app/MainWindow.h"
#include "app/ShellRules.h"
#include "core/PathCodec.h"
#include "desktop/CommandLinePaths.h"
#include "desktop/HandOver.h"
#include "desktop/RunProgress.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace plenvoy;
using namespace plenvoy::test;

namespace {

const QString kProgram = QStringLiteral(PLENVOY_PROGRAM);
const QByteArray kLatin1Name = QByteArrayLiteral("caf\xe9.txt"); // not UTF-8

/// A socket file that nobody listens on, as a crashed window leaves it.
bool makeStaleSocket(const QByteArray &path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof(address.sun_path));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

/// Someone accepts connections on the socket.
bool listening(const QByteArray &path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof(address.sun_path));
    const bool connected =
        ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return connected;
}

bool exists(const QByteArray &path) {
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0;
}

} // namespace

class HandOverTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanupTestCase() {
        // Qt cannot name the files whose names are not UTF-8; rm takes the bytes.
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), m_dir.path()});
    }

    void init() {
        QVERIFY(m_dir.isValid());
        m_runtime = pathToBytes(m_dir.path()) + "/runtime";
        QVERIFY(::mkdir(m_runtime.constData(), 0700) == 0 || errno == EEXIST);
    }

    void messageRoundTrip_data() {
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("none") << QStringList();
        QTest::newRow("two") << QStringList{QStringLiteral("/a b/c"), QStringLiteral("/d\nline")};
        QTest::newRow("bytes not UTF-8")
            << QStringList{pathFromBytes(QByteArrayLiteral("/x/caf\xe9\xff"))};
    }
    void messageRoundTrip() {
        QFETCH(QStringList, paths);
        const QByteArray message = handOverMessage(paths);
        QStringList read;
        QVERIFY(readHandOverMessage(message, read));
        QCOMPARE(read, paths);
        QCOMPARE(pathToBytes(read.value(0)), pathToBytes(paths.value(0)));
        // Cut anywhere, the message is not yet complete.
        for (qsizetype cut = 0; cut < message.size(); ++cut)
            QVERIFY2(!readHandOverMessage(message.left(cut), read),
                     qPrintable(QString::number(cut)));
        QVERIFY(!readHandOverMessage(QByteArrayLiteral("other\0\0"), read));
    }

    void socketNameHoldsUserAndDisplay() {
        qputenv("XDG_RUNTIME_DIR", m_runtime);
        qputenv("WAYLAND_DISPLAY", "wayland-1");
        qputenv("DISPLAY", ":0");
        QCOMPARE(handOverSocketPath(),
                 m_runtime + "/plenvoy-" + QByteArray::number(::getuid()) + "-wayland-1");
        qunsetenv("WAYLAND_DISPLAY");
        QCOMPARE(handOverSocketPath(),
                 m_runtime + "/plenvoy-" + QByteArray::number(::getuid()) + "-_0");
        qunsetenv("DISPLAY");
    }

    void commandLinePaths() {
        const QByteArray root = pathToBytes(m_dir.path());
        QVERIFY(writeFile(pathFromBytes(root + "/" + kLatin1Name)));
        QVERIFY(::mkdir(QByteArray(root + "/folder").constData(), 0755) == 0 || errno == EEXIST);
        const CommandLine line = readCommandLine(
            {kLatin1Name, "folder/", root + "/folder", "missing", "--", "--version"}, root);
        QCOMPARE(line.version, false);
        QCOMPARE(line.paths.size(), 3);
        QCOMPARE(pathToBytes(line.paths.at(0)), root + "/" + kLatin1Name);
        QCOMPARE(pathToBytes(line.paths.at(1)), root + "/folder");
        QCOMPARE(pathToBytes(line.paths.at(2)), root + "/folder");
        QCOMPARE(line.problems.size(), 2); // missing, and "--version" after "--" as a path
        QVERIFY(line.problems.at(0).startsWith(QStringLiteral("missing:")));
        QVERIFY(readCommandLine({"--version"}, root).version);
    }

    /// The second start is a real process: its paths, made absolute by it with their
    /// bytes intact, reach the running side, and it ends at once with status 0.
    void secondStartHandsItsPathsOver() {
        const QByteArray root = pathToBytes(m_dir.path());
        QVERIFY(writeFile(pathFromBytes(root + "/" + kLatin1Name)));
        QVERIFY(::mkdir(QByteArray(root + "/folder").constData(), 0755) == 0 || errno == EEXIST);
        HandOver running(handOverPathFor(m_runtime));
        QVERIFY(!running.handOver({}));
        QList<QStringList> received;
        QVERIFY(running.listen([&](const QStringList &paths) { received.append(paths); }));

        QProcess second;
        second.setWorkingDirectory(m_dir.path());
        second.setProcessEnvironment(startEnvironment());
        // The shell passes the name's bytes; QProcess would encode the text itself.
        second.start(QStringLiteral("/bin/sh"),
                     {QStringLiteral("-c"),
                      QStringLiteral("exec \"$0\" \"$(printf 'caf\\351.txt')\" folder gone"),
                      kProgram});
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(received.at(0).size(), 2);
        QCOMPARE(pathToBytes(received.at(0).at(0)), root + "/" + kLatin1Name);
        QCOMPARE(pathToBytes(received.at(0).at(1)), root + "/folder");
        QVERIFY(second.readAllStandardError().contains("gone: No such file or folder"));

        // Without paths the start only brings the window to the front.
        QProcess third;
        third.setProcessEnvironment(startEnvironment());
        third.start(kProgram, {});
        QTRY_COMPARE_WITH_TIMEOUT(third.state(), QProcess::NotRunning, 10000);
        QCOMPARE(third.exitCode(), 0);
        QTRY_COMPARE(received.size(), 2);
        QVERIFY(received.at(1).isEmpty());
    }

    void staleSocketIsRemoved() {
        const QByteArray path = handOverPathFor(m_runtime);
        QVERIFY(makeStaleSocket(path));
        QVERIFY(exists(path));
        HandOver start(path);
        QVERIFY(!start.handOver({QStringLiteral("/x")}));
        QVERIFY(!exists(path));
        QVERIFY(start.listen([](const QStringList &) {}));
        QVERIFY(exists(path));
    }

    /// A start meeting a stale socket opens its own window (it does not end at once) and
    /// then takes a later start's paths.
    void startAfterACrashOpensTheWindow() {
        const QByteArray path = handOverPathFor(m_runtime);
        QVERIFY(makeStaleSocket(path));
        QProcess first;
        first.setProcessEnvironment(startEnvironment());
        first.start(kProgram, {});
        QVERIFY(first.waitForStarted());
        // The new window listens on the socket in place of the stale one.
        QTRY_VERIFY_WITH_TIMEOUT(listening(path), 15000);
        HandOver later(path);
        QVERIFY(later.handOver({}));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }

    /// Two starts at once open one window: the other hands its path over and ends.
    void twoStartsAtOnceOpenOneWindow() {
        handOverPathFor(m_runtime);
        const QString file = m_dir.path() + QStringLiteral("/both.txt");
        QVERIFY(writeFile(file));
        QProcess first;
        QProcess second;
        for (QProcess *start : {&first, &second}) {
            start->setProcessEnvironment(startEnvironment());
            start->start(kProgram, {file});
        }
        QVERIFY(first.waitForStarted() && second.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            first.state() == QProcess::NotRunning || second.state() == QProcess::NotRunning, 15000);
        QProcess &ended = first.state() == QProcess::NotRunning ? first : second;
        QProcess &window = &ended == &first ? second : first;
        QCOMPARE(ended.exitCode(), 0);
        QTest::qWait(500);
        QCOMPARE(window.state(), QProcess::Running);
        window.kill();
        window.waitForFinished();
    }

    void windowAddsFilesAtOnceAndFoldersWhenIdle() {
        const QString root = m_dir.path();
        const QString file = root + QStringLiteral("/given.jpg");
        QVERIFY(writeFile(file));
        const QString folder = root + QStringLiteral("/tree");
        QVERIFY(::mkdir(pathToBytes(folder).constData(), 0755) == 0);
        QVERIFY(::mkdir(pathToBytes(folder + QStringLiteral("/deep")).constData(), 0755) == 0);
        QVERIFY(writeFile(folder + QStringLiteral("/Makefile")));
        QVERIFY(writeFile(folder + QStringLiteral("/deep/b.txt")));
        QVERIFY(writeFile(pathFromBytes(pathToBytes(folder) + "/deep/" + kLatin1Name)));

        MainWindow window(m_dir.path());
        window.startUp();
        const QStringList before = settingsFileLines();
        // A box is open: the folder waits, the file does not.
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("t"), QStringLiteral("open"),
                        QMessageBox::Ok, &window);
        window.show();
        box.open();
        QTRY_VERIFY(QApplication::activeModalWidget() == &box);
        window.openPaths({file, folder});
        QCOMPARE(window.fileList().entries(), QStringList{file});
        QTest::qWait(300);
        QCOMPARE(window.fileList().count(), 1);
        QCOMPARE(window.pendingFolders(), QStringList{folder});
        box.close();
        QTRY_COMPARE(window.fileList().count(), 4);
        QStringList listed = window.fileList().entries();
        QCOMPARE(listed.takeFirst(), file);
        listed.sort();
        QStringList expected{folder + QStringLiteral("/Makefile"),
                             folder + QStringLiteral("/deep/b.txt"),
                             pathFromBytes(pathToBytes(folder) + "/deep/" + kLatin1Name)};
        expected.sort();
        QCOMPARE(listed, expected);
        QVERIFY(window.pendingFolders().isEmpty());
        // The walk asks nothing and stores nothing.
        QCOMPARE(settingsFileLines(), before);
    }

    /// During a run the title counts the files; at its end it is the application title.
    void runShowsItsProgressInTheTitle() {
        const QString folder = m_dir.path() + QStringLiteral("/run");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/out")));
        MainWindow window(m_dir.path());
        window.startUp();
        for (int i = 0; i < 3; ++i) {
            const QString file = folder + QStringLiteral("/f%1.txt").arg(i);
            QVERIFY(writeFile(file));
            window.fileList().append(file);
        }
        window.findChild<QLineEdit *>(QStringLiteral("Text1"))
            ->setText(folder + QStringLiteral("/out"));
        QStringList titles;
        connect(&window, &QWidget::windowTitleChanged, this,
                [&](const QString &title) { titles.append(title); });
        // The closing box ("Done.") is answered as soon as it opens.
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->accept();
        });
        closer.start(10);
        window.show();
        window.findChild<QPushButton *>(QStringLiteral("PushButton2"))->click();
        QCOMPARE(titles.value(0), progressTitle(kProductName, 0, 3));
        QCOMPARE(titles.last(), kProductName);
        QCOMPARE(window.windowTitle(), kProductName);
        QCOMPARE(test::namesIn(folder + QStringLiteral("/out")).size(), 3);
    }

    void programFolderBesideOrInShare() {
        const QString root = m_dir.path();
        QVERIFY(::mkdir(pathToBytes(root + QStringLiteral("/build")).constData(), 0755) == 0);
        QVERIFY(::mkdir(pathToBytes(root + QStringLiteral("/build/x")).constData(), 0755) == 0);
        QCOMPARE(programFolderFor(root + QStringLiteral("/build")),
                 root + QStringLiteral("/build"));
        for (const char *sub :
             {"/usr", "/usr/bin", "/usr/share", "/usr/share/plenvoy", "/usr/share/plenvoy/Samples"})
            QVERIFY(::mkdir(QByteArray(pathToBytes(root) + sub).constData(), 0755) == 0);
        QCOMPARE(programFolderFor(root + QStringLiteral("/usr/bin")),
                 root + QStringLiteral("/usr/share/plenvoy"));
        // Neither: the executable's folder, where the optional files are then missing.
        QCOMPARE(programFolderFor(root + QStringLiteral("/usr")), root + QStringLiteral("/usr"));
    }

private:
    /// The path that a start in this environment uses; a stale one is gone first.
    QByteArray handOverPathFor(const QByteArray &runtime) {
        qputenv("XDG_RUNTIME_DIR", runtime);
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        const QByteArray path = handOverSocketPath();
        ::unlink(path.constData());
        return path;
    }

    QProcessEnvironment startEnvironment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), pathFromBytes(m_runtime));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           m_dir.path() + QStringLiteral("/config"));
        return environment;
    }

    QStringList settingsFileLines() const {
        QFile file(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Marnoval.ini"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    }

    QTemporaryDir m_dir;
    QByteArray m_runtime;
};

QTEST_MAIN(HandOverTest)
#include "tst_handover.moc"
