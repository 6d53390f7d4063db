#pragma once

#include "CommandLinePaths.h"

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace plenvoy {

/// The display a start belongs to, one text for every spelling of it. X11: ":N" when the
/// host part names this machine (empty, "unix", "localhost" or localHostName), otherwise
/// "host:N"; the screen number is dropped. Wayland (preferred when set): the socket's
/// absolute path, a bare name taken in runtimeFolder as the Wayland library takes it.
/// Empty when neither is set.
QByteArray sessionDisplay(const QByteArray &waylandDisplay, const QByteArray &x11Display,
                          const QByteArray &runtimeFolder, const QByteArray &localHostName);

/// True when folder may hold the hand-over's socket: an absolute path to a folder owned by
/// this user that neither group nor others may write.
bool privateFolder(const QByteArray &folder);

/// The socket through which a second start hands its paths to the running window: in the
/// user's private runtime folder, named with the user and the session's display, so that
/// each session has one. Empty when no private folder can be had: no hand-over then.
QByteArray handOverSocketPath();

/// The launch's tokens that a start got from its launcher, to end the launch's busy
/// feedback and to let the window come to the front. A launcher may give both.
struct StartupToken {
    /// DESKTOP_STARTUP_ID
    QByteArray x11;
    /// XDG_ACTIVATION_TOKEN
    QByteArray wayland;

    /// The tokens of this process's environment.
    static StartupToken fromEnvironment();
    bool operator==(const StartupToken &other) const {
        return x11 == other.x11 && wayland == other.wayland;
    }
};

/// What a start gives the running window.
struct HandOverRequest {
    /// Absolute paths to list.
    QStringList paths;
    /// The first of the paths that could not be added, as the window shows them.
    QStringList refused;
    /// How many could not be added in all.
    int refusedCount = 0;
    StartupToken token;
    /// When the start stops waiting for the answer, in milliseconds of the system's
    /// monotonic clock; 0 when it waits for ever. A request read later is not acted on.
    qint64 answerBy = 0;
};

/// One window per session. A start first calls handOver(): when a window already listens,
/// the paths go to it and the start is over. Otherwise the start keeps the lock, opens its
/// window and calls listen(), which releases the lock; two starts at once thus never both
/// open a window. Needs no QCoreApplication until listen().
class HandOver final : public QObject {
    Q_OBJECT

public:
    enum class Result {
        /// The window took everything and ended the launch's feedback.
        Delivered,
        /// The window took everything; the start ends the launch's feedback itself.
        DeliveredFeedbackLeft,
        /// No window listens: this start opens one (it holds the lock).
        NoWindow,
        /// A window is there (or starting) but did not answer in time.
        NotAnswering,
    };
    /// The window's side: lists what came and answers whether it ended the launch's feedback.
    using Receiver = std::function<bool(const HandOverRequest &request)>;

    explicit HandOver(const QByteArray &socketPath = handOverSocketPath());
    ~HandOver() override;

    /// Delivers the request (no paths: only "come to the front") to the running window, in
    /// as many messages as the size limit needs; the refused paths and the token go with the
    /// last. A stale socket (a window that crashed) is removed.
    Result handOver(const HandOverRequest &request);
    /// Accepts later starts' requests; each complete one calls received. Releases the lock.
    bool listen(Receiver received);

    const QByteArray &socketPath() const { return m_socketPath; }

private:
    Result deliver(const QByteArray &message);
    void readFrom(QLocalSocket *socket);

    QByteArray m_socketPath;
    QLockFile m_lock;
    bool m_locked = false;
    QLocalServer *m_server = nullptr;
    Receiver m_received;
};

/// The largest message the window reads, and how long it waits for one to be complete (and
/// a start for the window's answer).
constexpr qsizetype kHandOverMessageLimit = 1024 * 1024;
constexpr int kHandOverWaitMs = 5000;

/// The messages a start sends for a request, each at most kHandOverMessageLimit bytes: a
/// header record, then one record per item (a letter, then its bytes), then an empty
/// closing record; each record ends with a NUL byte.
QList<QByteArray> handOverMessages(const HandOverRequest &request);

enum class MessageState { Complete, Incomplete, Invalid };
/// Reads one message into request.
MessageState readHandOverMessage(const QByteArray &message, HandOverRequest &request);

} // namespace plenvoy
