#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace plenvoy {

/// The socket through which a second start hands its paths to the running window: in the
/// user's runtime folder, named with the user and the display, so that each session has one.
QByteArray handOverSocketPath();

/// One window per session. A start first calls handOver(): when a window already listens,
/// the paths go to it and the start is over. Otherwise the start keeps the lock, opens its
/// window and calls listen(), which releases the lock; two starts at once thus never both
/// open a window. Needs no QCoreApplication until listen().
class HandOver final : public QObject {
    Q_OBJECT

public:
    explicit HandOver(const QByteArray &socketPath = handOverSocketPath());
    ~HandOver() override;

    /// Delivers the paths (empty: only "come to the front") to the running window and true
    /// when one answered; false, with the lock held, when none listens. A stale socket (a
    /// window that crashed) is removed.
    bool handOver(const QStringList &paths);
    /// Accepts later starts' paths; each delivery calls received. Releases the lock.
    bool listen(std::function<void(const QStringList &paths)> received);

    const QByteArray &socketPath() const { return m_socketPath; }

private:
    void readFrom(QLocalSocket *socket);

    QByteArray m_socketPath;
    QLockFile m_lock;
    bool m_locked = false;
    QLocalServer *m_server = nullptr;
    std::function<void(const QStringList &)> m_received;
};

/// The message a start sends: a header record, each path's bytes, an empty closing record;
/// each record ends with a NUL byte.
QByteArray handOverMessage(const QStringList &paths);
/// The paths of a complete message; false while it is incomplete or when it is not one.
bool readHandOverMessage(const QByteArray &message, QStringList &paths);

} // namespace plenvoy
