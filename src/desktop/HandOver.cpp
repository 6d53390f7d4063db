#include "HandOver.h"

#include "core/PathCodec.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QVariant>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace plenvoy {

namespace {

const QByteArray kHeader = QByteArrayLiteral("plenvoy-open-1");
constexpr int kLockWaitMs = 10000;
constexpr int kAnswerWaitMs = 10000;

QByteArray runtimeFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat status {};
    if (runtime.startsWith('/') && ::stat(runtime.constData(), &status) == 0 &&
        S_ISDIR(status.st_mode))
        return runtime;
    // Qt's own fallback, made for this user with the right mode.
    return pathToBytes(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
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

bool writeAll(int socket, const QByteArray &data) {
    qsizetype written = 0;
    while (written < data.size()) {
        const ssize_t n = ::send(socket, data.constData() + written,
                                 static_cast<size_t>(data.size() - written), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

/// The window's one-byte answer, once it has taken the paths.
bool answered(int socket) {
    pollfd entry{socket, POLLIN, 0};
    if (::poll(&entry, 1, kAnswerWaitMs) <= 0)
        return false;
    char answer = 0;
    return ::recv(socket, &answer, 1, 0) == 1 && answer == '1';
}

} // namespace

QByteArray handOverSocketPath() {
    QByteArray display = qgetenv("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qgetenv("DISPLAY");
    if (display.isEmpty())
        display = "nodisplay";
    return runtimeFolder() + "/plenvoy-" + QByteArray::number(::getuid()) + '-' + nameSafe(display);
}

QByteArray handOverMessage(const QStringList &paths) {
    QByteArray message = kHeader + '\0';
    for (const QString &path : paths)
        message += pathToBytes(path) + '\0';
    return message + '\0';
}

bool readHandOverMessage(const QByteArray &message, QStringList &paths) {
    const QByteArray head = QByteArray(kHeader + '\0');
    if (!message.startsWith(head) || !message.endsWith(QByteArrayLiteral("\0\0")))
        return false;
    paths.clear();
    qsizetype start = head.size();
    while (start < message.size()) {
        const qsizetype end = message.indexOf('\0', start);
        if (end == start)
            return end == message.size() - 1;
        paths.append(pathFromBytes(message.constData() + start, end - start));
        start = end + 1;
    }
    return false;
}

HandOver::HandOver(const QByteArray &socketPath)
    : m_socketPath(socketPath)
    , m_lock(pathFromBytes(socketPath + ".lock")) {}

HandOver::~HandOver() {
    if (m_locked)
        m_lock.unlock();
}

bool HandOver::handOver(const QStringList &paths) {
    // Without the lock (a start that hangs elsewhere) this start opens its own window.
    if (!m_locked)
        m_locked = m_lock.tryLock(kLockWaitMs);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(m_socketPath.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, m_socketPath.constData(),
                static_cast<size_t>(m_socketPath.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    bool delivered = false;
    if (::connect(socket, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0) {
        delivered = writeAll(socket, handOverMessage(paths)) && answered(socket);
    } else if (errno == ECONNREFUSED && m_locked) {
        // Nobody listens: the window that made it has gone without removing it.
        ::unlink(m_socketPath.constData());
    }
    ::close(socket);
    return delivered;
}

bool HandOver::listen(std::function<void(const QStringList &)> received) {
    m_received = std::move(received);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
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
    const QByteArray buffer =
        QByteArray(socket->property("plenvoyBuffer").toByteArray() + socket->readAll());
    QStringList paths;
    if (!readHandOverMessage(buffer, paths)) {
        socket->setProperty("plenvoyBuffer", buffer);
        if (buffer.size() > kHeader.size() && !buffer.startsWith(kHeader))
            socket->abort();
        return;
    }
    socket->setProperty("plenvoyBuffer", QByteArray());
    socket->write("1", 1);
    socket->flush();
    socket->disconnectFromServer();
    if (m_received)
        m_received(paths);
}

} // namespace plenvoy
