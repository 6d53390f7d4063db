#include "HandOver.h"

#include "core/PathCodec.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QVariant>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace plenvoy {

namespace {

const QByteArray kHeader = QByteArrayLiteral("plenvoy-open-2");
constexpr char kPathRecord = 'P';
constexpr char kRefusedRecord = 'R';
constexpr char kRefusedCountRecord = 'N';
constexpr char kX11TokenRecord = 'X';
constexpr char kWaylandTokenRecord = 'W';
constexpr char kAnswerByRecord = 'D';
/// Room in each message for the moment by which it must be answered.
constexpr qsizetype kAnswerByRoom = 32;
/// The window's answers: taken with the launch's feedback ended, taken without, refused.
constexpr char kAnswerTaken = '1';
constexpr char kAnswerTakenFeedbackLeft = '2';
constexpr char kAnswerRefused = '0';

constexpr int kLockWaitMs = 10000;
/// Starts that talk to the window at once; more are turned away.
constexpr int kMaxConnections = 16;
/// A refused path is named with at most this many characters, a token with as many bytes.
constexpr qsizetype kLongestNamed = 1024;
constexpr qsizetype kLongestToken = 4096;
/// Longer display texts go into the socket's name as a digest.
constexpr qsizetype kLongestPlainDisplay = 40;

const char *const kBufferProperty = "plenvoyBuffer";
const char *const kAnsweredProperty = "plenvoyAnswered";

QByteArray userName() {
    passwd entry{};
    passwd *found = nullptr;
    QByteArray buffer(16384, '\0');
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), static_cast<size_t>(buffer.size()),
                     &found) == 0 &&
        found && found->pw_name && *found->pw_name)
        return QByteArray(found->pw_name);
    return QByteArray::number(::getuid());
}

QByteArray localHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof(name) - 1) != 0)
        return QByteArray();
    return QByteArray(name);
}

/// The session's runtime folder when it is private; otherwise the folder Qt falls back to
/// for a session without one, made for this user when missing and used only when private.
QByteArray runtimeFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (privateFolder(runtime))
        return runtime;
    const QByteArray fallback = pathToBytes(QDir::tempPath()) + "/runtime-" + userName();
    ::mkdir(fallback.constData(), 0700);
    return privateFolder(fallback) ? fallback : QByteArray();
}

/// Only letters, digits, "." and "-" go into the name; anything else becomes "_".
QByteArray nameSafe(const QByteArray &text) {
    QByteArray safe = text;
    for (char &c : safe) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-';
        if (!plain)
            c = '_';
    }
    return safe;
}

bool allDigits(const QByteArray &text) {
    if (text.isEmpty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

QByteArray record(char tag, const QByteArray &content) {
    QByteArray bytes = content;
    bytes.replace('\0', QByteArray()); // a record ends at its first NUL
    return tag + bytes + '\0';
}

qint64 monotonicMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

/// Waits until the socket is ready for events or the deadline passes.
bool waitFor(int socket, short events, const QDeadlineTimer &deadline) {
    for (;;) {
        pollfd entry{socket, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        return ready > 0;
    }
}

bool sendAll(int socket, const QByteArray &data, const QDeadlineTimer &deadline) {
    qsizetype written = 0;
    while (written < data.size()) {
        const ssize_t n = ::send(socket, data.constData() + written,
                                 static_cast<size_t>(data.size() - written), MSG_NOSIGNAL);
        if (n > 0) {
            written += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (!waitFor(socket, POLLOUT, deadline))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

/// The window's one-byte answer once it has taken the message; 0 without one in time.
char answerOf(int socket, const QDeadlineTimer &deadline) {
    char answer = 0;
    while (waitFor(socket, POLLIN, deadline)) {
        const ssize_t n = ::recv(socket, &answer, 1, 0);
        if (n == 1)
            return answer;
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        break;
    }
    return 0;
}

/// Turns a start away, telling it so, and reads nothing more from it.
void refuse(QLocalSocket *socket) {
    socket->setProperty(kAnsweredProperty, true);
    socket->setProperty(kBufferProperty, QByteArray());
    socket->write(&kAnswerRefused, 1);
    socket->flush();
    socket->disconnectFromServer();
}

} // namespace

QByteArray sessionDisplay(const QByteArray &waylandDisplay, const QByteArray &x11Display,
                          const QByteArray &runtimeFolder, const QByteArray &localHostName) {
    if (!waylandDisplay.isEmpty()) {
        QByteArray path =
            waylandDisplay.startsWith('/') ? waylandDisplay : runtimeFolder + '/' + waylandDisplay;
        while (path.contains("//"))
            path.replace("//", "/");
        if (path.size() > 1 && path.endsWith('/'))
            path.chop(1);
        return path;
    }
    // [host]:number[.screen]; any other form is taken as it is.
    const qsizetype colon = x11Display.lastIndexOf(':');
    if (colon < 0)
        return x11Display;
    QByteArray host = x11Display.left(colon);
    QByteArray number = x11Display.mid(colon + 1);
    const qsizetype dot = number.indexOf('.');
    if (dot >= 0) {
        if (!allDigits(number.mid(dot + 1)))
            return x11Display;
        number.truncate(dot);
    }
    if (!allDigits(number))
        return x11Display;
    const QByteArray lowerHost = host.toLower();
    if (lowerHost == "unix" || lowerHost == "localhost" ||
        (!localHostName.isEmpty() && lowerHost == localHostName.toLower()))
        host.clear();
    return host + ':' + QByteArray::number(number.toLongLong());
}

bool privateFolder(const QByteArray &folder) {
    struct stat status {};
    return folder.startsWith('/') && ::stat(folder.constData(), &status) == 0 &&
           S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
           (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QByteArray handOverSocketPath() {
    const QByteArray folder = runtimeFolder();
    if (folder.isEmpty())
        return QByteArray();
    const QByteArray display = sessionDisplay(qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"),
                                              qgetenv("XDG_RUNTIME_DIR"), localHostName());
    QByteArray name = display.isEmpty() ? QByteArrayLiteral("nodisplay") : nameSafe(display);
    if (name.size() > kLongestPlainDisplay)
        name = QCryptographicHash::hash(display, QCryptographicHash::Sha256).toHex().left(32);
    return folder + "/plenvoy-" + QByteArray::number(::getuid()) + '-' + name;
}

StartupToken StartupToken::fromEnvironment() {
    return {qgetenv("DESKTOP_STARTUP_ID"), qgetenv("XDG_ACTIVATION_TOKEN")};
}

QList<QByteArray> handOverMessages(const HandOverRequest &request) {
    const QByteArray head = kHeader + '\0';
    const QByteArray closing(1, '\0');
    QByteArray tail;
    for (const QString &line : request.refused.mid(0, kRefusedNamed))
        tail += record(kRefusedRecord, line.left(kLongestNamed).toUtf8());
    if (request.refusedCount > 0)
        tail += record(kRefusedCountRecord, QByteArray::number(request.refusedCount));
    if (!request.token.x11.isEmpty())
        tail += record(kX11TokenRecord, request.token.x11.left(kLongestToken));
    if (!request.token.wayland.isEmpty())
        tail += record(kWaylandTokenRecord, request.token.wayland.left(kLongestToken));

    const qsizetype limit = kHandOverMessageLimit - kAnswerByRoom;
    QList<QByteArray> messages;
    QByteArray current = head;
    for (const QString &path : request.paths) {
        const QByteArray item = record(kPathRecord, pathToBytes(path));
        if (current.size() > head.size() && current.size() + item.size() + closing.size() > limit) {
            messages.append(current + closing);
            current = head;
        }
        current += item;
    }
    if (current.size() > head.size() && current.size() + tail.size() + closing.size() > limit) {
        messages.append(current + closing);
        current = head;
    }
    messages.append(current + tail + closing);
    return messages;
}

MessageState readHandOverMessage(const QByteArray &message, HandOverRequest &request) {
    const QByteArray head = kHeader + '\0';
    if (!message.startsWith(head))
        return head.startsWith(message) ? MessageState::Incomplete : MessageState::Invalid;
    request = HandOverRequest();
    qsizetype start = head.size();
    for (;;) {
        const qsizetype end = message.indexOf('\0', start);
        if (end < 0)
            return MessageState::Incomplete;
        if (end == start)
            return end == message.size() - 1 ? MessageState::Complete : MessageState::Invalid;
        const QByteArray content = message.mid(start + 1, end - start - 1);
        switch (message.at(start)) {
        case kPathRecord:
            request.paths.append(pathFromBytes(content));
            break;
        case kRefusedRecord:
            request.refused.append(QString::fromUtf8(content));
            break;
        case kRefusedCountRecord:
            request.refusedCount = content.toInt();
            break;
        case kX11TokenRecord:
            request.token.x11 = content;
            break;
        case kWaylandTokenRecord:
            request.token.wayland = content;
            break;
        case kAnswerByRecord:
            request.answerBy = content.toLongLong();
            break;
        default:
            return MessageState::Invalid;
        }
        start = end + 1;
    }
}

HandOver::HandOver(const QByteArray &socketPath)
    : m_socketPath(socketPath)
    , m_lock(pathFromBytes(socketPath + ".lock")) {
    // A lock is taken from its holder only when that process has ended, however old it is.
    m_lock.setStaleLockTime(0);
}

HandOver::~HandOver() {
    if (m_locked)
        m_lock.unlock();
}

HandOver::Result HandOver::handOver(const HandOverRequest &request) {
    if (m_socketPath.isEmpty())
        return Result::NoWindow;
    if (!m_locked) {
        m_locked = m_lock.tryLock(kLockWaitMs);
        // A live start holds it and has not yet answered: never a second window beside it.
        if (!m_locked && m_lock.error() == QLockFile::LockFailedError)
            return Result::NotAnswering;
    }
    const QList<QByteArray> messages = handOverMessages(request);
    Result result = Result::NoWindow;
    for (qsizetype i = 0; i < messages.size(); ++i) {
        result = deliver(messages.at(i));
        if (result == Result::NoWindow && i > 0)
            return Result::NotAnswering; // the window went away half-way
        if (result == Result::NoWindow || result == Result::NotAnswering)
            return result;
    }
    return result;
}

HandOver::Result HandOver::deliver(const QByteArray &message) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(m_socketPath.size()) >= sizeof(address.sun_path))
        return Result::NoWindow;
    std::memcpy(address.sun_path, m_socketPath.constData(),
                static_cast<size_t>(m_socketPath.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket < 0)
        return Result::NoWindow;
    const QDeadlineTimer deadline(kHandOverWaitMs);
    // A window that reads the message after this start has given up (it was stopped) drops
    // it: the start has said that nothing was handed over.
    const qsizetype head = kHeader.size() + 1;
    const QByteArray stamped =
        message.left(head) +
        record(kAnswerByRecord, QByteArray::number(monotonicMs() + kHandOverWaitMs)) +
        message.mid(head);
    Result result = Result::NotAnswering;
    if (::connect(socket, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0) {
        if (sendAll(socket, stamped, deadline)) {
            const char answer = answerOf(socket, deadline);
            if (answer == kAnswerTaken)
                result = Result::Delivered;
            else if (answer == kAnswerTakenFeedbackLeft)
                result = Result::DeliveredFeedbackLeft;
        }
    } else if (errno == EAGAIN) {
        // The window's queue of starts is full: it takes none.
        result = Result::NotAnswering;
    } else {
        // Nobody listens: when the socket is there, the window that made it has gone.
        if (errno == ECONNREFUSED && m_locked)
            ::unlink(m_socketPath.constData());
        result = Result::NoWindow;
    }
    ::close(socket);
    return result;
}

bool HandOver::listen(Receiver received) {
    m_received = std::move(received);
    if (m_socketPath.isEmpty())
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (m_server->findChildren<QLocalSocket *>(Qt::FindDirectChildrenOnly).size() >
                kMaxConnections) {
                socket->abort();
                continue;
            }
            // Qt reads no more ahead than this; the message itself is bounded below.
            socket->setReadBufferSize(64 * 1024);
            auto *deadline = new QTimer(socket);
            deadline->setSingleShot(true);
            connect(deadline, &QTimer::timeout, socket, [socket] {
                if (!socket->property(kAnsweredProperty).toBool())
                    refuse(socket);
            });
            deadline->start(kHandOverWaitMs);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
            readFrom(socket);
        }
    });
    const bool listening = m_server->listen(pathFromBytes(m_socketPath));
    if (m_locked) {
        m_lock.unlock();
        m_locked = false;
    }
    return listening;
}

void HandOver::readFrom(QLocalSocket *socket) {
    if (socket->property(kAnsweredProperty).toBool()) {
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property(kBufferProperty).toByteArray();
    buffer += socket->read(kHandOverMessageLimit + 1 - buffer.size());
    if (buffer.size() > kHandOverMessageLimit) {
        refuse(socket);
        return;
    }
    HandOverRequest request;
    switch (readHandOverMessage(buffer, request)) {
    case MessageState::Incomplete:
        socket->setProperty(kBufferProperty, buffer);
        return;
    case MessageState::Invalid:
        refuse(socket);
        return;
    case MessageState::Complete:
        break;
    }
    if (request.answerBy != 0 && monotonicMs() > request.answerBy) {
        refuse(socket);
        return;
    }
    socket->setProperty(kAnsweredProperty, true);
    socket->setProperty(kBufferProperty, QByteArray());
    const bool feedbackEnded = m_received && m_received(request);
    const char answer = feedbackEnded ? kAnswerTaken : kAnswerTakenFeedbackLeft;
    socket->write(&answer, 1);
    socket->flush();
    socket->disconnectFromServer();
}

} // namespace plenvoy
