#include "TestFiles.h"
#include "app/MainWindow.h"
#include "core/PathCodec.h"
#include "desktop/CommandLinePaths.h"
#include "desktop/HandOver.h"
#include "desktop/LaunchFeedback.h"
#include "desktop/RunProgress.h"
#include "settings/AppTexts.h"
#include "settings/ShellRules.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

Q_DECLARE_METATYPE(plenvoy::HandOverRequest)
Q_DECLARE_METATYPE(plenvoy::StartupToken)

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

/// An X server of the test's own, and a client of it that hears the launch messages sent
/// to its root window, as a launcher's busy pointer does.
class TestXServer {
public:
    ~TestXServer() {
        if (m_connection)
            xcb_disconnect(m_connection);
        if (m_server.state() != QProcess::NotRunning) {
            m_server.kill();
            m_server.waitForFinished();
        }
    }

    bool start() {
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!m_server.waitForStarted(5000))
            return false;
        const QDeadlineTimer deadline(15000);
        while (!m_server.canReadLine() && !deadline.hasExpired())
            m_server.waitForReadyRead(100);
        m_display = ':' + m_server.readLine().trimmed();
        m_connection = xcb_connect(m_display.constData(), nullptr);
        if (m_display == ":" || xcb_connection_has_error(m_connection))
            return false;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_begin = atom("_NET_STARTUP_INFO_BEGIN");
        m_more = atom("_NET_STARTUP_INFO");
        xcb_flush(m_connection);
        return true;
    }
    const QByteArray &display() const { return m_display; }

    /// Every complete launch message heard so far.
    QList<QByteArray> launchMessages() {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            const auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                (message->type == m_begin || message->type == m_more)) {
                QByteArray &text = m_pieces[message->window];
                if (message->type == m_begin)
                    text.clear();
                text += QByteArray(reinterpret_cast<const char *>(message->data.data8), 20);
                if (const qsizetype end = text.indexOf('\0'); end >= 0) {
                    m_messages << text.left(end);
                    m_pieces.remove(message->window);
                }
            }
            std::free(event);
        }
        return m_messages;
    }

    /// The launch id of each window shown on the screen (empty text when it has none).
    QList<QByteArray> windowStartupIds() {
        QList<QByteArray> ids;
        xcb_query_tree_reply_t *tree =
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr);
        if (!tree)
            return ids;
        const xcb_window_t *children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr);
            const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributes);
            if (!shown)
                continue;
            xcb_get_property_reply_t *property = xcb_get_property_reply(
                m_connection,
                xcb_get_property(m_connection, 0, children[i], atom("_NET_STARTUP_ID"),
                                 XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                nullptr);
            ids << (property
                        ? QByteArray(static_cast<const char *>(xcb_get_property_value(property)),
                                     xcb_get_property_value_length(property))
                        : QByteArray());
            std::free(property);
        }
        std::free(tree);
        return ids;
    }

private:
    xcb_atom_t atom(const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return found;
    }

    QProcess m_server;
    QByteArray m_display;
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_begin = XCB_ATOM_NONE;
    xcb_atom_t m_more = XCB_ATOM_NONE;
    QHash<xcb_window_t, QByteArray> m_pieces;
    QList<QByteArray> m_messages;
};

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
        QTest::addColumn<HandOverRequest>("request");
        QTest::newRow("none") << HandOverRequest();
        QTest::newRow("two") << HandOverRequest{
            {QStringLiteral("/a b/c"), QStringLiteral("/d\nline")}, {}, 0, {}};
        QTest::newRow("bytes not UTF-8")
            << HandOverRequest{{pathFromBytes(QByteArrayLiteral("/x/caf\xe9\xff"))}, {}, 0, {}};
        QTest::newRow("refused and an X11 token") << HandOverRequest{
            {QStringLiteral("/a")}, {QStringLiteral("/b: does not exist")}, 12, {"id 1_TIME5", {}}};
        QTest::newRow("both tokens") << HandOverRequest{{}, {}, 0, {"x-tok", "wl-tok"}};
    }
    void messageRoundTrip() {
        QFETCH(HandOverRequest, request);
        const QList<QByteArray> messages = handOverMessages(request);
        QCOMPARE(messages.size(), 1);
        const QByteArray &message = messages.first();
        HandOverRequest read;
        QCOMPARE(readHandOverMessage(message, read), MessageState::Complete);
        QCOMPARE(read.paths, request.paths);
        QCOMPARE(pathToBytes(read.paths.value(0)), pathToBytes(request.paths.value(0)));
        QCOMPARE(read.refused, request.refused);
        QCOMPARE(read.refusedCount, request.refusedCount);
        QVERIFY(read.token == request.token);
        // Cut anywhere, the message is not yet complete.
        for (qsizetype cut = 0; cut < message.size(); ++cut)
            QVERIFY2(readHandOverMessage(message.left(cut), read) == MessageState::Incomplete,
                     qPrintable(QString::number(cut)));
        QCOMPARE(readHandOverMessage(QByteArrayLiteral("other\0\0"), read), MessageState::Invalid);
        QCOMPARE(readHandOverMessage(message + 'x', read), MessageState::Invalid);
    }

    void sessionDisplay_data() {
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("x11");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow(":71") << QByteArray() << QByteArray(":71") << QByteArray(":71");
        QTest::newRow("screen number") << QByteArray() << QByteArray(":71.0") << QByteArray(":71");
        QTest::newRow("unix") << QByteArray() << QByteArray("unix:71") << QByteArray(":71");
        QTest::newRow("localhost, screen")
            << QByteArray() << QByteArray("LocalHost:71.1") << QByteArray(":71");
        QTest::newRow("this machine's name")
            << QByteArray() << QByteArray("thisbox:71") << QByteArray(":71");
        QTest::newRow("another machine")
            << QByteArray() << QByteArray("far.example:71.0") << QByteArray("far.example:71");
        QTest::newRow("not a display form")
            << QByteArray() << QByteArray("x:y") << QByteArray("x:y");
        QTest::newRow("Wayland before X11")
            << QByteArray("wayland-1") << QByteArray(":0") << QByteArray("/run/u/wayland-1");
        QTest::newRow("Wayland absolute")
            << QByteArray("/run/u//wayland-1") << QByteArray() << QByteArray("/run/u/wayland-1");
        QTest::newRow("none") << QByteArray() << QByteArray() << QByteArray();
    }
    void sessionDisplay() {
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, x11);
        QFETCH(QByteArray, expected);
        QCOMPARE(plenvoy::sessionDisplay(wayland, x11, "/run/u/", "thisbox"), expected);
    }

    /// The socket goes only into a folder of this user's that no one else may write; any
    /// other runtime folder gives way to a private one in the temporary folder.
    void socketOnlyInAPrivateFolder_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("otherOwner");
        QTest::addColumn<bool>("fallbackOpened"); // someone made the fallback writable
        QTest::addColumn<bool>("inRuntime");
        QTest::newRow("private") << 0700 << false << false << true;
        QTest::newRow("group may read") << 0750 << false << false << true;
        QTest::newRow("group may write") << 0770 << false << false << false;
        QTest::newRow("anyone may write") << 0777 << false << false << false;
        QTest::newRow("another user's") << 0700 << true << false << false;
        QTest::newRow("fallback not private either") << 0777 << false << true << false;
    }
    void socketOnlyInAPrivateFolder() {
        QFETCH(int, mode);
        QFETCH(bool, otherOwner);
        QFETCH(bool, fallbackOpened);
        QFETCH(bool, inRuntime);
        const QByteArray root = pathToBytes(m_dir.path()) + "/" + QTest::currentDataTag();
        const QByteArray runtime = root + "/run";
        const QByteArray temporary = root + "/tmp";
        QVERIFY(::mkdir(root.constData(), 0755) == 0);
        QVERIFY(::mkdir(runtime.constData(), 0700) == 0 && ::chmod(runtime.constData(), mode) == 0);
        QVERIFY(!otherOwner || ::chown(runtime.constData(), 65534, 65534) == 0);
        QVERIFY(::mkdir(temporary.constData(), 0700) == 0);
        const QByteArray oldTemporary = qgetenv("TMPDIR");
        qputenv("TMPDIR", temporary);
        qputenv("XDG_RUNTIME_DIR", runtime);
        qputenv("DISPLAY", ":3.0");
        qunsetenv("WAYLAND_DISPLAY");
        QByteArray path = handOverSocketPath();
        if (fallbackOpened) {
            QVERIFY(::chmod(path.left(path.lastIndexOf('/')).constData(), 0777) == 0);
            path = handOverSocketPath();
        }
        if (oldTemporary.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", oldTemporary);
        qunsetenv("DISPLAY");
        if (inRuntime) {
            QCOMPARE(path, runtime + "/plenvoy-" + QByteArray::number(::getuid()) + "-_3");
        } else if (fallbackOpened) {
            QVERIFY2(path.isEmpty(), path.constData());
        } else {
            QVERIFY2(path.startsWith(QByteArray(temporary + "/runtime-")), path.constData());
            QVERIFY(privateFolder(path.left(path.lastIndexOf('/'))));
        }
    }

    void commandLinePaths() {
        const QByteArray root = pathToBytes(m_dir.path());
        QVERIFY(writeFile(pathFromBytes(root + "/" + kLatin1Name)));
        QVERIFY(writeFile(pathFromBytes(root + "/a b#1.txt")));
        QVERIFY(::mkdir(QByteArray(root + "/folder").constData(), 0755) == 0 || errno == EEXIST);
        const CommandLine line = readCommandLine(
            {kLatin1Name, "folder/", root + "/folder", "missing", "--", "--version",
             // Launchers that pass URIs: percent-decoded to the name's bytes.
             "file://" + root + "/caf%E9.txt", "FILE://localhost" + root + "/a%20b%231.txt",
             "file:" + root + "/folder/", "file://far.example" + root + "/folder",
             "file://" + root + "/folder%00"},
            root);
        QCOMPARE(line.version, false);
        const QByteArray latin1 = root + "/" + kLatin1Name;
        const QByteArray folder = root + "/folder";
        QList<QByteArray> paths;
        for (const QString &path : line.paths)
            paths.append(pathToBytes(path));
        QCOMPARE(paths,
                 (QList<QByteArray>{latin1, folder, folder, latin1, root + "/a b#1.txt", folder}));
        // missing, "--version" after "--" as a path, another machine's file, a NUL
        QCOMPARE(line.problems.size(), 4);
        QVERIFY(line.problems.at(0).startsWith(QStringLiteral("missing:")));
        QCOMPARE(line.refused.size(), 4);
        QCOMPARE(line.refused.at(0), m_dir.path() + QStringLiteral("/missing: does not exist"));
        QVERIFY(readCommandLine({"--version"}, root).version);
    }

    void refusedPathsMessage_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one") << 1 << QStringLiteral("1 path could not be added:\r/p1: why");
        QTest::newRow("twelve, two counted")
            << 12
            << QStringLiteral("12 paths could not be added:\r/p1: why\r/p2: why\r/p3: why\r"
                              "/p4: why\r/p5: why\r/p6: why\r/p7: why\r/p8: why\r/p9: why\r"
                              "/p10: why\rand 2 more.");
    }
    void refusedPathsMessage() {
        QFETCH(int, count);
        QFETCH(QString, expected);
        QStringList refused;
        for (int i = 1; i <= count; ++i)
            refused << QStringLiteral("/p%1: why").arg(i);
        QCOMPARE(plenvoy::refusedPathsMessage(refused.mid(0, kRefusedNamed), count), expected);
    }

    /// The second start is a real process: its paths, made absolute by it with their
    /// bytes intact, the paths it refused and its launch's token reach the running side,
    /// and it ends at once with status 0.
    void secondStartHandsItsPathsOver() {
        const QByteArray root = pathToBytes(m_dir.path());
        QVERIFY(writeFile(pathFromBytes(root + "/" + kLatin1Name)));
        QVERIFY(::mkdir(QByteArray(root + "/folder").constData(), 0755) == 0 || errno == EEXIST);
        HandOver running(handOverPathFor(m_runtime));
        QCOMPARE(running.handOver({}), HandOver::Result::NoWindow);
        QList<HandOverRequest> received;
        QVERIFY(running.listen([&](const HandOverRequest &request) {
            received.append(request);
            return true;
        }));

        QProcess second;
        second.setWorkingDirectory(m_dir.path());
        QProcessEnvironment environment = startEnvironment();
        environment.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), QStringLiteral("wl-token"));
        second.setProcessEnvironment(environment);
        // The shell passes the name's bytes; QProcess would encode the text itself.
        second.start(QStringLiteral("/bin/sh"),
                     {QStringLiteral("-c"),
                      QStringLiteral("exec \"$0\" \"$(printf 'caf\\351.txt')\" folder gone"),
                      kProgram});
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        const HandOverRequest &request = received.at(0);
        QCOMPARE(request.paths.size(), 2);
        QCOMPARE(pathToBytes(request.paths.at(0)), root + "/" + kLatin1Name);
        QCOMPARE(pathToBytes(request.paths.at(1)), root + "/folder");
        QCOMPARE(request.refused,
                 QStringList{m_dir.path() + QStringLiteral("/gone: does not exist")});
        QCOMPARE(request.refusedCount, 1);
        QVERIFY((request.token == StartupToken{{}, "wl-token"}));
        QVERIFY(second.readAllStandardError().contains("gone: No such file or folder"));

        // Without paths the start only brings the window to the front.
        QProcess third;
        environment = startEnvironment();
        environment.insert(QStringLiteral("DESKTOP_STARTUP_ID"), QStringLiteral("x11-id"));
        third.setProcessEnvironment(environment);
        third.start(kProgram, {});
        QTRY_COMPARE_WITH_TIMEOUT(third.state(), QProcess::NotRunning, 10000);
        QCOMPARE(third.exitCode(), 0);
        QTRY_COMPARE(received.size(), 2);
        QVERIFY(received.at(1).paths.isEmpty());
        QVERIFY((received.at(1).token == StartupToken{"x11-id", {}}));
    }

    /// Run as another user, a start names a path it may not read among those it refused.
    void unreadablePathIsRefused() {
        if (::getuid() != 0)
            QSKIP("needs root to start a process as another user");
        const QByteArray root = pathToBytes(m_dir.path());
        QVERIFY(::chmod(root.constData(), 0755) == 0);
        const QByteArray runtime = root + "/nobody-runtime";
        QVERIFY(::mkdir(runtime.constData(), 0700) == 0 &&
                ::chown(runtime.constData(), 65534, 65534) == 0);
        QVERIFY(writeFile(m_dir.path() + QStringLiteral("/secret.txt")));
        QVERIFY(::chmod(QByteArray(root + "/secret.txt").constData(), 0600) == 0);
        QVERIFY(writeFile(m_dir.path() + QStringLiteral("/open.txt")));
        const QByteArray path = runtime + "/plenvoy-65534-nodisplay";
        HandOver running(path);
        QList<HandOverRequest> received;
        QVERIFY(running.listen([&](const HandOverRequest &request) {
            received.append(request);
            return true;
        }));
        QVERIFY(::chmod(path.constData(), 0666) == 0);
        QProcess start;
        QProcessEnvironment environment = startEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), pathFromBytes(runtime));
        start.setProcessEnvironment(environment);
        start.setWorkingDirectory(m_dir.path());
        start.start(QStringLiteral("setpriv"),
                    {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                     QStringLiteral("--clear-groups"), kProgram, QStringLiteral("secret.txt"),
                     QStringLiteral("open.txt")});
        QTRY_COMPARE_WITH_TIMEOUT(start.state(), QProcess::NotRunning, 10000);
        QCOMPARE(start.exitCode(), 0);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).paths, QStringList{m_dir.path() + QStringLiteral("/open.txt")});
        QCOMPARE(received.at(0).refused,
                 QStringList{m_dir.path() + QStringLiteral("/secret.txt: cannot be read")});
    }

    /// More paths than one message may hold arrive whole and in order, in several messages;
    /// the token comes once.
    void largeRequestArrivesWhole() {
        HandOver running(handOverPathFor(m_runtime));
        QCOMPARE(running.handOver({}), HandOver::Result::NoWindow);
        HandOverRequest all;
        QStringList received;
        int tokens = 0;
        QVERIFY(running.listen([&](const HandOverRequest &request) {
            received += request.paths;
            tokens += request.token.x11.isEmpty() ? 0 : 1;
            return true;
        }));
        for (int i = 0; i < 3000; ++i)
            all.paths << QStringLiteral("/%1/").arg(i) + QString(400, QLatin1Char('n'));
        all.token = {"id", {}};
        QVERIFY(handOverMessages(all).size() > 1);
        for (const QByteArray &message : handOverMessages(all))
            QVERIFY(message.size() <= kHandOverMessageLimit);
        // The client waits for each answer, so the window's side runs in another thread.
        HandOver::Result result = HandOver::Result::NoWindow;
        const std::unique_ptr<QThread> client(QThread::create([&] {
            HandOver second(running.socketPath());
            result = second.handOver(all);
        }));
        client->start();
        QTRY_VERIFY_WITH_TIMEOUT(client->isFinished(), 20000);
        QCOMPARE(result, HandOver::Result::Delivered);
        QCOMPARE(received, all.paths);
        QCOMPARE(tokens, 1);
    }

    /// The window drops a message that grows past the limit, stays incomplete or comes
    /// after its start stopped waiting, and tells the start so; nothing of it is listed.
    void overlongOrStalledMessageIsDropped_data() {
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("larger than the limit") << QByteArray("plenvoy-open-2\0P/", 17) +
                                                      QByteArray(kHandOverMessageLimit, 'a') +
                                                      QByteArray(2, '\0');
        QTest::newRow("never complete") << QByteArray("plenvoy-open-2\0P/a\0", 19);
        QTest::newRow("after the start gave up") << QByteArray("plenvoy-open-2\0D1\0P/a\0", 23);
    }
    void overlongOrStalledMessageIsDropped() {
        QFETCH(QByteArray, sent);
        HandOver running(handOverPathFor(m_runtime));
        QCOMPARE(running.handOver({}), HandOver::Result::NoWindow);
        int received = 0;
        QVERIFY(running.listen([&](const HandOverRequest &) { return ++received > 0; }));
        QLocalSocket client;
        client.connectToServer(pathFromBytes(running.socketPath()));
        QVERIFY(client.waitForConnected(5000));
        client.write(sent);
        QTRY_VERIFY_WITH_TIMEOUT(client.state() == QLocalSocket::UnconnectedState ||
                                     client.bytesAvailable() > 0,
                                 3 * kHandOverWaitMs);
        QCOMPARE(client.readAll(), QByteArray("0"));
        QCOMPARE(received, 0);
    }

    void staleSocketIsRemoved() {
        const QByteArray path = handOverPathFor(m_runtime);
        QVERIFY(makeStaleSocket(path));
        QVERIFY(exists(path));
        HandOver start(path);
        QCOMPARE(start.handOver({{QStringLiteral("/x")}, {}, 0, {}}), HandOver::Result::NoWindow);
        QVERIFY(!exists(path));
        QVERIFY(start.listen([](const HandOverRequest &) { return true; }));
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
        QCOMPARE(later.handOver({}), HandOver::Result::Delivered);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }

    /// Two starts at once open one window, however each spells the display: the other
    /// hands its path over and ends.
    void twoStartsAtOnceOpenOneWindow_data() {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        const QString x11 = QStringLiteral("DISPLAY");
        QTest::newRow("same") << x11 << QStringLiteral(":71") << QStringLiteral(":71");
        QTest::newRow("screen number") << x11 << QStringLiteral(":71") << QStringLiteral(":71.0");
        QTest::newRow("unix and localhost")
            << x11 << QStringLiteral("unix:71") << QStringLiteral("localhost:71.0");
        QTest::newRow("Wayland name and path")
            << QStringLiteral("WAYLAND_DISPLAY") << QStringLiteral("wayland-7")
            << QStringLiteral("RUNTIME/wayland-7");
    }
    void twoStartsAtOnceOpenOneWindow() {
        QFETCH(QString, variable);
        QFETCH(QString, first);
        QFETCH(QString, second);
        const QString file = m_dir.path() + QStringLiteral("/both.txt");
        QVERIFY(writeFile(file));
        QProcess starts[2];
        for (int i = 0; i < 2; ++i) {
            QProcessEnvironment environment = startEnvironment();
            environment.insert(variable,
                               QString(i == 0 ? first : second)
                                   .replace(QStringLiteral("RUNTIME"), pathFromBytes(m_runtime)));
            starts[i].setProcessEnvironment(environment);
            starts[i].start(kProgram, {file});
        }
        QVERIFY(starts[0].waitForStarted() && starts[1].waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(starts[0].state() == QProcess::NotRunning ||
                                     starts[1].state() == QProcess::NotRunning,
                                 15000);
        QProcess &ended = starts[0].state() == QProcess::NotRunning ? starts[0] : starts[1];
        QProcess &window = &ended == &starts[0] ? starts[1] : starts[0];
        QCOMPARE(ended.exitCode(), 0);
        QTest::qWait(500);
        QCOMPARE(window.state(), QProcess::Running);
        window.kill();
        window.waitForFinished();
    }

    /// A start meeting a stopped window says so and ends: the window is never doubled.
    void frozenWindowGetsNoTwin() {
        const QByteArray path = handOverPathFor(m_runtime);
        QProcess window;
        window.setProcessEnvironment(startEnvironment());
        window.start(kProgram, {});
        QVERIFY(window.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(listening(path), 15000);
        QVERIFY(::kill(static_cast<pid_t>(window.processId()), SIGSTOP) == 0);
        QProcess second;
        second.setProcessEnvironment(startEnvironment());
        second.start(kProgram, {m_dir.path()});
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 4 * kHandOverWaitMs);
        ::kill(static_cast<pid_t>(window.processId()), SIGCONT);
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(second.readAllStandardError(),
                 QByteArray("Plenvoy is running but not answering\n"));
        // Resumed, the window drops what came too late and answers the next start.
        HandOver later(path);
        QCOMPARE(later.handOver({}), HandOver::Result::Delivered);
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
        window.openPaths({file, folder}, QStringLiteral("1 path could not be added:"));
        QCOMPARE(window.fileList().entries(), QStringList{file});
        QTest::qWait(300);
        QCOMPARE(window.fileList().count(), 1);
        QCOMPARE(window.pendingFolders(), QStringList{folder});
        // The paths that could not be added are told in a box once the others are listed.
        QStringList told;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            auto *shown = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!shown || shown == &box)
                return;
            told << shown->text() + QStringLiteral(" after ") +
                        QString::number(window.fileList().count());
            shown->accept();
        });
        closer.start(10);
        box.close();
        QTRY_COMPARE(told, QStringList{QStringLiteral("1 path could not be added: after 4")});
        QCOMPARE(window.fileList().count(), 4);
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

    /// After a hand-over the launcher's busy feedback ends: the window ends it when it can
    /// use the launch's id (it then also carries the id), otherwise the start does.
    void launchFeedbackEndsAfterAHandOver_data() {
        QTest::addColumn<QString>("windowPlatform");
        QTest::addColumn<bool>("windowEndsIt");
        QTest::newRow("window on the display") << QStringLiteral("xcb") << true;
        QTest::newRow("window elsewhere") << QStringLiteral("offscreen") << false;
    }
    void launchFeedbackEndsAfterAHandOver() {
        QFETCH(QString, windowPlatform);
        QFETCH(bool, windowEndsIt);
        TestXServer server;
        if (!server.start())
            QSKIP("Xvfb could not be started: the X11 launch feedback is not tested");
        qputenv("XDG_RUNTIME_DIR", m_runtime);
        qputenv("DISPLAY", server.display());
        const QByteArray path = handOverSocketPath();
        qunsetenv("DISPLAY");
        QProcess window;
        QProcessEnvironment environment = startEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), QString::fromUtf8(server.display()));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), windowPlatform);
        window.setProcessEnvironment(environment);
        window.start(kProgram, {});
        QTRY_VERIFY_WITH_TIMEOUT(listening(path), 15000);
        // A window on the display is shown before it is handed anything.
        QTRY_COMPARE_WITH_TIMEOUT(server.windowStartupIds().size(), windowEndsIt ? 1 : 0, 15000);

        QProcess second;
        environment.insert(QStringLiteral("DISPLAY"),
                           QString::fromUtf8(server.display()) + QStringLiteral(".0"));
        environment.insert(QStringLiteral("DESKTOP_STARTUP_ID"),
                           QStringLiteral("plenvoy test_TIME42"));
        second.setProcessEnvironment(environment);
        second.start(kProgram, {m_dir.path()});
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 15000);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(server.launchMessages(),
                                  QList<QByteArray>{"remove: ID=\"plenvoy test_TIME42\""}, 10000);
        QCOMPARE(server.windowStartupIds().contains("plenvoy test_TIME42"), windowEndsIt);
        window.kill();
        window.waitForFinished();
    }

    /// A Wayland token is given to Qt's Wayland plugin as the window asks to be activated;
    /// an X11 token that the window cannot use is left to the start.
    void activationUsesTheTokenOfItsWindowSystem_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<StartupToken>("token");
        QTest::addColumn<bool>("x11Done"); // false: the start ends the X11 launch
        QTest::addColumn<QByteArray>("environment");
        const StartupToken wayland{{}, "wl-7"};
        QTest::newRow("Wayland") << QStringLiteral("wayland") << wayland << true
                                 << QByteArray("wl-7");
        QTest::newRow("both tokens on Wayland")
            << QStringLiteral("wayland") << StartupToken{"x-7", "wl-7"} << false
            << QByteArray("wl-7");
        QTest::newRow("Wayland token, other system")
            << QStringLiteral("offscreen") << wayland << true << QByteArray();
        QTest::newRow("X11 token, other system")
            << QStringLiteral("offscreen") << StartupToken{"x-7", {}} << false << QByteArray();
    }
    void activationUsesTheTokenOfItsWindowSystem() {
        QFETCH(QString, platform);
        QFETCH(StartupToken, token);
        QFETCH(bool, x11Done);
        QFETCH(QByteArray, environment);
        qunsetenv("XDG_ACTIVATION_TOKEN");
        QWidget widget;
        widget.show();
        SystemWindowActivation activation(platform);
        QCOMPARE(activation.activate(widget.windowHandle(), token), x11Done);
        QCOMPARE(qgetenv("XDG_ACTIVATION_TOKEN"), environment);
        qunsetenv("XDG_ACTIVATION_TOKEN");
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
