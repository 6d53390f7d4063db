#include "TemporaryName.h"

#include <QRandomGenerator>
#include <QString>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy::copying {

namespace {

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
constexpr int kSignalCount = sizeof(kCleanupSignals) / sizeof(kCleanupSignals[0]);
constexpr int kCleanupSlots = 32;

/// One temporary name that the handler removes; the name is written before the folder is
/// published, so the handler never reads half a name.
struct CleanupSlot {
    std::atomic<bool> taken{false};
    std::atomic<int> folderFd{-1};
    char name[NAME_MAX + 1] = {};
};

CleanupSlot g_cleanupSlots[kCleanupSlots];
struct sigaction g_previousActions[kSignalCount];
bool g_handlerInstalled[kSignalCount] = {};
std::mutex g_cleanupMutex;
bool g_handlersInstalled = false;

/// Only async-signal-safe calls: unlink the prepared names, put the earlier disposition
/// back and raise the signal again, so the program ends (or goes on) as it would have.
void removeTemporariesAndReraise(int signal) {
    const int savedErrno = errno;
    for (CleanupSlot &slot : g_cleanupSlots) {
        const int folder = slot.folderFd.load();
        if (folder >= 0)
            ::unlinkat(folder, slot.name, 0);
    }
    for (int i = 0; i < kSignalCount; ++i)
        if (kCleanupSignals[i] == signal)
            ::sigaction(signal, &g_previousActions[i], nullptr);
    errno = savedErrno;
    ::raise(signal);
}

/// Keeps one temporary name registered for removal on SIGINT, SIGTERM, SIGHUP and SIGPIPE
/// while it lives. The handlers are installed with the first name and then stay: with no
/// name registered they only put the earlier disposition back and raise the signal again,
/// which ends the program as before, and a replacing copy then costs no calls for them.
/// An ignored signal stays ignored.
} // namespace

class InterruptCleanup final {
public:
    InterruptCleanup(int folderFd, const QByteArray &name) {
        if (name.size() >= qsizetype(sizeof(CleanupSlot::name)))
            return;
        std::lock_guard<std::mutex> lock(g_cleanupMutex);
        for (CleanupSlot &slot : g_cleanupSlots) {
            if (slot.taken.exchange(true))
                continue;
            std::memcpy(slot.name, name.constData(), size_t(name.size()) + 1);
            m_slot = &slot;
            break;
        }
        if (!m_slot)
            return; // more unfinished copies than slots: this one goes unguarded
        if (!g_handlersInstalled) {
            install();
            g_handlersInstalled = true;
        }
        m_slot->folderFd.store(folderFd);
    }
    ~InterruptCleanup() {
        if (!m_slot)
            return;
        m_slot->folderFd.store(-1);
        m_slot->taken.store(false);
    }
    InterruptCleanup(const InterruptCleanup &) = delete;
    InterruptCleanup &operator=(const InterruptCleanup &) = delete;

private:
    static void install() {
        struct sigaction action {};
        action.sa_handler = removeTemporariesAndReraise;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < kSignalCount; ++i) {
            g_handlerInstalled[i] =
                ::sigaction(kCleanupSignals[i], &action, &g_previousActions[i]) == 0;
            const bool ignored = g_handlerInstalled[i] &&
                                 !(g_previousActions[i].sa_flags & SA_SIGINFO) &&
                                 g_previousActions[i].sa_handler == SIG_IGN;
            if (ignored) {
                ::sigaction(kCleanupSignals[i], &g_previousActions[i], nullptr);
                g_handlerInstalled[i] = false;
            }
        }
    }
    CleanupSlot *m_slot = nullptr;
};

TemporaryName::TemporaryName() = default;

TemporaryName::~TemporaryName() {
    remove();
}

void TemporaryName::prepare(int folderFd, const QByteArray &name) {
    m_cleanup.reset(); // an earlier try whose name was someone else's
    m_made = false;
    m_folderFd = folderFd;
    m_name = name;
    m_cleanup.reset(new InterruptCleanup(folderFd, name));
}

void TemporaryName::adopt(TemporaryName &other) {
    m_cleanup = std::move(other.m_cleanup);
    m_folderFd = other.m_folderFd;
    m_name = other.m_name;
    m_made = other.m_made;
    other.m_made = false;
}

void TemporaryName::release() {
    m_cleanup.reset();
    m_made = false;
}

void TemporaryName::remove() {
    if (m_made)
        ::unlinkat(m_folderFd, m_name.constData(), 0);
    release();
}

namespace {

const QByteArray kTemporaryPrefix = QByteArrayLiteral(".plenvoy-");
const QByteArray kTemporarySuffix = QByteArrayLiteral(".tmp");

/// When this process started, as the files' change times count.
const struct timespec g_startedAt = [] {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}();

} // namespace

QByteArray temporaryName() {
    return kTemporaryPrefix + QByteArray::number(qint64(::getpid())) + '-' +
           QByteArray::number(QRandomGenerator::global()->generate64(), 36) + kTemporarySuffix;
}

void removeLeftTemporaries(int folderFd) {
    const int readable = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable < 0)
        return;
    DIR *folder = ::fdopendir(readable);
    if (!folder) {
        ::close(readable);
        return;
    }
    const pid_t self = ::getpid();
    while (const struct dirent *entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(kTemporaryPrefix) || !name.endsWith(kTemporarySuffix))
            continue;
        const qsizetype dash = name.indexOf('-', kTemporaryPrefix.size());
        bool isNumber = false;
        const qint64 pid =
            name.mid(kTemporaryPrefix.size(), dash - kTemporaryPrefix.size()).toLongLong(&isNumber);
        if (dash < 0 || !isNumber || pid <= 0 || pid == self)
            continue;
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue; // its process still runs (or can't be asked)
        // A file that changed since this process started belongs to a copy still under way,
        // perhaps of a process this one can't see.
        struct stat status {};
        if (::fstatat(readable, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(status.st_mode) || status.st_ctim.tv_sec > g_startedAt.tv_sec ||
            (status.st_ctim.tv_sec == g_startedAt.tv_sec &&
             status.st_ctim.tv_nsec >= g_startedAt.tv_nsec))
            continue;
        ::unlinkat(readable, entry->d_name, 0);
    }
    ::closedir(folder);
}

} // namespace plenvoy::copying
