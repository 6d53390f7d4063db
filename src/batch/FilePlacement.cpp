#include "FilePlacement.h"

#include "core/PathCodec.h"
#include "core/PathHelpers.h"

#include <QFile>
#include <QList>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace plenvoy {

namespace {

/// Closes its descriptor when it goes out of scope.
class Descriptor final {
public:
    explicit Descriptor(int fd)
        : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    void reset(int fd) {
        close();
        m_fd = fd;
    }
    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    /// Closes now; false when the close reported an error (a late write failure).
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

/// The path in the file system's bytes; empty when the path can't be named there.
QByteArray encoded(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    return bytes.contains('\0') ? QByteArray() : bytes;
}

dev_t deviceOf(const struct statx &status) {
    return makedev(status.stx_dev_major, status.stx_dev_minor);
}

// ---- Sources on pseudo file systems -------------------------------------------------------

/// Device numbers of the devtmpfs mounts, read once: statfs reports them as tmpfs, so the
/// mount table tells them apart.
const std::vector<dev_t> &devtmpfsDevices() {
    static const std::vector<dev_t> devices = [] {
        std::vector<dev_t> found;
        QFile mounts(QStringLiteral("/proc/self/mountinfo"));
        if (!mounts.open(QIODevice::ReadOnly))
            return found;
        // Each line: id parent major:minor root mount-point options... - fstype source options
        for (const QByteArray &line : mounts.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            const qsizetype dash = fields.indexOf(QByteArray("-"));
            if (fields.size() < 3 || dash < 0 || dash + 1 >= fields.size() ||
                fields.at(dash + 1) != "devtmpfs")
                continue;
            const QList<QByteArray> numbers = fields.at(2).split(':');
            if (numbers.size() == 2)
                found.push_back(makedev(numbers.at(0).toUInt(), numbers.at(1).toUInt()));
        }
        return found;
    }();
    return devices;
}

/// True for the kernel's pseudo file systems, whose "files" are views of the system (reading
/// /proc/self/pagemap once filled a disk with zeros).
bool askPseudoFileSystem(int fd, dev_t device) {
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case PSTOREFS_MAGIC:
    case BPF_FS_MAGIC:
    case 0x62656570UL: // configfs
    case EFIVARFS_MAGIC:
    case 0x65735543UL: // fusectl
    case 0x19800202UL: // mqueue
    case HUGETLBFS_MAGIC:
        return true;
    case TMPFS_MAGIC: {
        const std::vector<dev_t> &devtmpfs = devtmpfsDevices();
        return std::find(devtmpfs.begin(), devtmpfs.end(), device) != devtmpfs.end();
    }
    default:
        return false;
    }
}

/// The same answer, remembered for the last block device asked: a run reads its sources
/// from one or two disks, and a disk's device number names one file system while mounted.
/// Devices without a disk (major 0: tmpfs, proc, overlays) have numbers that a later mount
/// may take over, so they are asked each time.
bool onPseudoFileSystem(int fd, dev_t device) {
    thread_local dev_t lastDevice = 0;
    thread_local bool lastAnswer = false;
    if (major(device) != 0 && device == lastDevice)
        return lastAnswer;
    const bool answer = askPseudoFileSystem(fd, device);
    if (major(device) != 0) {
        lastDevice = device;
        lastAnswer = answer;
    }
    return answer;
}

// ---- Temporary names removed when a signal ends the program ------------------------------

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
constexpr int kSignalCount = sizeof(kCleanupSignals) / sizeof(kCleanupSignals[0]);
constexpr int kCleanupSlots = 32;

/// One temporary name that the handler removes; the name is written before the folder is
/// published, so the handler never reads half a name.
struct CleanupSlot {
    std::atomic<bool> taken{false};
    std::atomic<int> folderFd{-1};
    char name[64] = {};
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

/// A temporary name in the destination folder. Prepared (and registered for removal on an
/// interrupting signal) before the file is made under it; removed when the copy is dropped;
/// released once the copy has moved to its destination name.
class TemporaryName final {
public:
    TemporaryName() = default;
    ~TemporaryName() { remove(); }
    TemporaryName(const TemporaryName &) = delete;
    TemporaryName &operator=(const TemporaryName &) = delete;

    void prepare(int folderFd, const QByteArray &name) {
        m_cleanup.reset(); // an earlier try whose name was someone else's
        m_made = false;
        m_folderFd = folderFd;
        m_name = name;
        m_cleanup.reset(new InterruptCleanup(folderFd, name));
    }
    /// The file now exists under the prepared name and is ours to remove.
    void markMade() { m_made = true; }
    bool isSet() const { return m_made; }
    const char *name() const { return m_name.constData(); }
    /// The name is gone (renamed away): nothing left to remove.
    void release() {
        m_cleanup.reset();
        m_made = false;
    }
    void remove() {
        if (m_made)
            ::unlinkat(m_folderFd, m_name.constData(), 0);
        release();
    }

private:
    int m_folderFd = -1;
    QByteArray m_name;
    bool m_made = false;
    std::unique_ptr<InterruptCleanup> m_cleanup;
};

QByteArray temporaryName() {
    return ".plenvoy-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
}

// ---- The copy's content -------------------------------------------------------------------

/// Errors after which the kernel's copy is given up for a plain read and write loop:
/// the two files lie on different file systems, or the file system can't do it.
bool kernelCopyUnsupported(int error) {
    switch (error) {
    case EXDEV:
    case ENOSYS:
    case EINVAL:
    case EOPNOTSUPP:
#if ENOTSUP != EOPNOTSUPP
    case ENOTSUP:
#endif
    case EBADF:
    case EPERM:
    case ETXTBSY:
    case EOVERFLOW:
        return true;
    default:
        return false;
    }
}

/// Copies a source's data into the same places of a fresh file, in chunks, keeping holes.
class ContentCopy final {
public:
    enum class Outcome { Done, Failed, Dropped };

    ContentCopy(int from, int to, const CopyHooks &hooks)
        : m_from(from)
        , m_to(to)
        , m_hooks(hooks)
        , m_chunk(hooks.chunkBytes > 0 ? hooks.chunkBytes : qint64(8) << 20)
        , m_lastAsked(std::chrono::steady_clock::now()) {}

    /// Copies the first size bytes (the size the source had when opened); errorNumber()
    /// tells why it failed. A source that is shorter now ends the copy early: the check of
    /// its status afterwards drops such a copy.
    Outcome copy(qint64 size, bool mayHaveHoles) {
        qint64 offset = 0;
        qint64 dataEnd = 0;
        while (offset < size) {
            qint64 start = offset;
            qint64 end = size;
            if (mayHaveHoles) {
                const off_t data = ::lseek(m_from, offset, SEEK_DATA);
                if (data < 0 && errno == ENXIO)
                    break; // only a hole is left
                if (data >= 0) {
                    if (data >= size)
                        break;
                    const off_t hole = ::lseek(m_from, data, SEEK_HOLE);
                    start = data;
                    end = hole < 0 ? size : std::min<qint64>(hole, size);
                } else {
                    mayHaveHoles = false; // the file system can't tell: copy it all
                }
            }
            bool ended = false;
            const Outcome outcome = copyData(start, end, ended);
            if (outcome != Outcome::Done)
                return outcome;
            dataEnd = end;
            offset = end;
            if (ended)
                break;
        }
        // A hole at the end has no data to write: the size makes it.
        if (dataEnd < size && ::ftruncate(m_to, size) != 0)
            return fail(errno);
        return Outcome::Done;
    }

    int errorNumber() const { return m_errorNumber; }

private:
    Outcome fail(int error) {
        m_errorNumber = error;
        return Outcome::Failed;
    }

    /// Copies [start, end) chunk by chunk; ended is set when the source ended before.
    Outcome copyData(qint64 start, qint64 end, bool &ended) {
        qint64 position = start;
        while (position < end) {
            qint64 want = std::min(m_chunk, end - position);
            if (m_hooks.faultAfterBytes >= 0) {
                if (m_written >= m_hooks.faultAfterBytes)
                    return fail(m_hooks.faultErrorNumber);
                want = std::min(want, m_hooks.faultAfterBytes - m_written);
            }
            const qint64 done =
                m_kernelCopy ? kernelCopy(position, want) : plainCopy(position, want);
            if (done < 0) {
                if (m_errorNumber == EINTR)
                    continue;
                if (m_kernelCopy && kernelCopyUnsupported(m_errorNumber)) {
                    m_kernelCopy = false; // the plain loop goes on from the same place
                    continue;
                }
                return Outcome::Failed;
            }
            if (done == 0) {
                ended = true;
                return Outcome::Done;
            }
            position += done;
            m_written += done;
            if (!m_firstChunkDone) {
                m_firstChunkDone = true;
                if (m_hooks.afterFirstChunk)
                    m_hooks.afterFirstChunk();
            }
            if (!mayGoOn())
                return Outcome::Dropped;
        }
        return Outcome::Done;
    }

    /// The window's events get their turn about every 50 ms, and may stop the copy.
    bool mayGoOn() {
        if (!m_hooks.keepGoing)
            return true;
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastAsked < std::chrono::milliseconds(50))
            return true;
        m_lastAsked = now;
        return m_hooks.keepGoing();
    }

    qint64 kernelCopy(qint64 position, qint64 want) {
        loff_t in = position;
        loff_t out = position;
        const ssize_t done = ::copy_file_range(m_from, &in, m_to, &out, size_t(want), 0);
        if (done < 0)
            m_errorNumber = errno;
        return done;
    }

    qint64 plainCopy(qint64 position, qint64 want) {
        constexpr qint64 kBufferSize = qint64(256) << 10;
        if (m_buffer.empty())
            m_buffer.resize(size_t(kBufferSize));
        const ssize_t got =
            ::pread(m_from, m_buffer.data(), size_t(std::min(want, kBufferSize)), position);
        if (got < 0) {
            m_errorNumber = errno;
            return -1;
        }
        for (ssize_t put = 0; put < got;) {
            const ssize_t done =
                ::pwrite(m_to, m_buffer.data() + put, size_t(got - put), position + put);
            if (done < 0) {
                if (errno == EINTR)
                    continue;
                m_errorNumber = errno;
                return -1;
            }
            put += done;
        }
        return got;
    }

    const int m_from;
    const int m_to;
    const CopyHooks &m_hooks;
    const qint64 m_chunk;
    std::chrono::steady_clock::time_point m_lastAsked;
    qint64 m_written = 0;
    bool m_kernelCopy = true;
    bool m_firstChunkDone = false;
    int m_errorNumber = 0;
    std::vector<char> m_buffer;
};

// ---- Outcomes -----------------------------------------------------------------------------

CopyResult outcome(CopyProblem problem, int errorNumber = 0) {
    CopyResult result;
    result.problem = problem;
    result.errorNumber = errorNumber;
    return result;
}

/// A failure of the output side, told by its errno.
CopyResult outputFailure(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return outcome(CopyProblem::OutputFull, error);
    case ENAMETOOLONG:
        return outcome(CopyProblem::NameTooLong, error);
    case EACCES:
    case EPERM:
        return outcome(CopyProblem::PermissionDenied, error);
    default:
        return outcome(CopyProblem::SystemError, error);
    }
}

// ---- The copy -----------------------------------------------------------------------------

/// True where a descriptor can be named through /proc/self/fd (not in a chroot without /proc).
bool procFdAvailable() {
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

/// One copy of an opened source into a folder, under a name.
class Copier final {
public:
    Copier(const SourceFile &source, const ProtectedFiles *protectedFiles, ExistingName existing,
           const CopyHooks &hooks)
        : m_source(source)
        , m_protected(protectedFiles)
        , m_existing(existing)
        , m_hooks(hooks) {}
    ~Copier() {
        if (m_folder >= 0)
            ::close(m_folder);
    }
    Copier(const Copier &) = delete;
    Copier &operator=(const Copier &) = delete;

    CopyResult run(const QString &destinationPath) {
        if (!m_source.isOpen())
            return outcome(m_source.problem(), m_source.errorNumber());
        const qsizetype cut = destinationPath.lastIndexOf(QLatin1Char('/'));
        const QString folder = cut < 0    ? QStringLiteral(".")
                               : cut == 0 ? QStringLiteral("/")
                                          : destinationPath.left(cut);
        const QByteArray folderBytes = encoded(folder);
        m_name = encoded(destinationPath.mid(cut + 1));
        if (folderBytes.isEmpty() || m_name.isEmpty())
            return outcome(CopyProblem::SystemError, EINVAL);
        if (m_name.size() > NAME_MAX)
            return outcome(CopyProblem::NameTooLong, ENAMETOOLONG);
        m_folder = ::open(folderBytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (m_folder < 0)
            return outputFailure(errno);

        struct stat present {};
        bool exists = true;
        if (::fstatat(m_folder, m_name.constData(), &present, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                return outputFailure(errno);
            exists = false;
        }
        if (exists) {
            const CopyProblem problem = problemWithExistingName();
            if (problem != CopyProblem::None)
                return outcome(problem);
        }

        if (!m_hooks.withoutAnonymousFile && procFdAvailable()) {
            // Never O_EXCL: an anonymous file made with it can't be given a name.
            Descriptor target(::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
            if (target.isValid())
                return throughAnonymousFile(target.get(), exists);
            if (errno != EOPNOTSUPP && errno != EISDIR)
                return outputFailure(errno);
        }
        return throughTemporaryFile(exists);
    }

private:
    /// Why an existing destination name must be left alone, or None when it may be replaced.
    CopyProblem problemWithExistingName() const {
        if (m_existing == ExistingName::Keep)
            return CopyProblem::NameTaken;
        struct stat existing {};
        if (::fstatat(m_folder, m_name.constData(), &existing, 0) != 0)
            return CopyProblem::NotAFileInTheWay; // a broken link: nothing of it is a file
        if (!S_ISREG(existing.st_mode))
            return CopyProblem::NotAFileInTheWay;
        const struct statx &source = m_source.status();
        if (existing.st_dev == deviceOf(source) && existing.st_ino == source.stx_ino)
            return CopyProblem::OwnSource;
        if (m_protected && m_protected->contains(existing.st_dev, existing.st_ino))
            return CopyProblem::ListedFileInTheWay;
        // Read-only: no write bit at all (so also for root), or not writable by this user.
        if ((existing.st_mode & 0222) == 0 ||
            ::faccessat(m_folder, m_name.constData(), W_OK, AT_EACCESS) != 0)
            return CopyProblem::ReadOnlyInTheWay;
        return CopyProblem::None;
    }

    /// Content, permission bits and times, then the check that the source stayed as it
    /// was opened. The copy is complete and checked when this answers None.
    CopyResult fill(int target) {
        const struct statx &status = m_source.status();
        const qint64 size = qint64(status.stx_size);
        // Fewer blocks than bytes: there are holes to look for (as cp tells them).
        const bool mayHaveHoles = qint64(status.stx_blocks) * 512 < size;
        ContentCopy content(m_source.descriptor(), target, m_hooks);
        switch (content.copy(size, mayHaveHoles)) {
        case ContentCopy::Outcome::Failed:
            return outputFailure(content.errorNumber());
        case ContentCopy::Outcome::Dropped:
            return outcome(CopyProblem::Dropped);
        case ContentCopy::Outcome::Done:
            break;
        }
        if (::fchmod(target, status.stx_mode & 0777) != 0)
            return outputFailure(errno);
        const struct timespec times[2] = {{status.stx_atime.tv_sec, status.stx_atime.tv_nsec},
                                          {status.stx_mtime.tv_sec, status.stx_mtime.tv_nsec}};
        if (::futimens(target, times) != 0)
            return outputFailure(errno);

        struct statx now {};
        if (::statx(m_source.descriptor(), "", AT_EMPTY_PATH, STATX_SIZE | STATX_MTIME, &now) != 0)
            return outcome(CopyProblem::SystemError, errno);
        if (now.stx_size != status.stx_size || now.stx_mtime.tv_sec != status.stx_mtime.tv_sec ||
            now.stx_mtime.tv_nsec != status.stx_mtime.tv_nsec)
            return outcome(CopyProblem::SourceChanged);

        struct stat own {};
        if (::fstat(target, &own) != 0)
            return outputFailure(errno);
        CopyResult result = outcome(CopyProblem::None);
        result.device = own.st_dev;
        result.inode = own.st_ino;
        return result;
    }

    /// Gives the name to a complete copy through a hard link from /proc: a name that does
    /// not exist is never replaced (linkat fails when one appeared meanwhile).
    CopyResult throughAnonymousFile(int target, bool exists) {
        CopyResult result = fill(target);
        if (!result.copied())
            return result; // the anonymous file vanishes with its descriptor
        char procPath[48];
        std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", target);
        if (!exists) {
            if (::linkat(AT_FDCWD, procPath, m_folder, m_name.constData(), AT_SYMLINK_FOLLOW) == 0)
                return result;
            if (errno != EEXIST)
                return outputFailure(errno);
            const CopyProblem problem = problemWithExistingName();
            if (problem != CopyProblem::None)
                return outcome(problem);
        }
        // An existing name is replaced by renaming a complete copy over it at once.
        TemporaryName temporary;
        for (int attempt = 0; attempt < 16 && !temporary.isSet(); ++attempt) {
            temporary.prepare(m_folder, temporaryName());
            if (::linkat(AT_FDCWD, procPath, m_folder, temporary.name(), AT_SYMLINK_FOLLOW) == 0)
                temporary.markMade();
            else if (errno != EEXIST)
                return outputFailure(errno);
        }
        return temporary.isSet() ? renameOver(temporary, result)
                                 : outcome(CopyProblem::SystemError, EEXIST);
    }

    /// Where there are no anonymous files: an exclusively created temporary file, removed
    /// when the copy fails or a signal ends the program.
    CopyResult throughTemporaryFile(bool exists) {
        TemporaryName temporary;
        Descriptor target(-1);
        for (int attempt = 0; attempt < 16 && !target.isValid(); ++attempt) {
            temporary.prepare(m_folder, temporaryName());
            const int made =
                ::openat(m_folder, temporary.name(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (made < 0 && errno != EEXIST)
                return outputFailure(errno);
            if (made >= 0) {
                temporary.markMade();
                target.reset(made);
            }
        }
        if (!target.isValid())
            return outcome(CopyProblem::SystemError, EEXIST);
        CopyResult result = fill(target.get());
        if (!result.copied())
            return result;
        if (!target.close()) // a network file system may report a failed write only here
            return outputFailure(errno);
        if (!exists) {
            int error = EINVAL;
            if (!m_hooks.withoutNoReplaceRename) {
                if (::renameat2(m_folder, temporary.name(), m_folder, m_name.constData(),
                                RENAME_NOREPLACE) == 0) {
                    temporary.release();
                    return result;
                }
                error = errno;
            }
            if (error == EINVAL || error == ENOSYS) {
                // No exclusive rename here: a hard link never replaces a name either.
                if (::linkat(m_folder, temporary.name(), m_folder, m_name.constData(), 0) == 0) {
                    temporary.remove();
                    return result;
                }
                error = errno;
            }
            if (error != EEXIST)
                return outputFailure(error);
            const CopyProblem problem = problemWithExistingName();
            if (problem != CopyProblem::None)
                return outcome(problem);
        }
        return renameOver(temporary, result);
    }

    /// Renames the complete copy over the existing name, unless that name became one to
    /// leave alone while the copy ran.
    CopyResult renameOver(TemporaryName &temporary, CopyResult result) {
        struct stat present {};
        if (::fstatat(m_folder, m_name.constData(), &present, AT_SYMLINK_NOFOLLOW) == 0 ||
            errno != ENOENT) {
            const CopyProblem problem = problemWithExistingName();
            if (problem != CopyProblem::None)
                return outcome(problem);
            result.replaced = true;
        }
        if (::renameat(m_folder, temporary.name(), m_folder, m_name.constData()) != 0)
            return outputFailure(errno);
        temporary.release();
        return result;
    }

    const SourceFile &m_source;
    const ProtectedFiles *m_protected;
    const ExistingName m_existing;
    const CopyHooks &m_hooks;
    QByteArray m_name;
    int m_folder = -1;
};

/// The path a copy to the destination lands at: a destination that names a folder (ends in
/// the separator) takes the source's own name.
QString landingPath(const QString &source, const QString &destination) {
    const QChar separator = platformSeparator();
    if (!destination.isEmpty() && destination.endsWith(separator))
        return destination + source.mid(source.lastIndexOf(separator) + 1);
    return destination;
}

/// Copies the source to the destination when it can; true when this call wrote the file.
bool copyFileOrNothing(const QString &source, const QString &destination,
                       const ProtectedFiles *protectedFiles, const CopyHooks &hooks) {
    if (destination.isEmpty())
        return false;
    const SourceFile file(source);
    return copySourceFile(file, landingPath(source, destination), protectedFiles,
                          ExistingName::Replace, hooks)
        .copied();
}

bool isBlank(const QString &text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}

Placement placeFile(const QString &source, const QString &destination,
                    const ProtectedFiles *protectedFiles) {
    Placement placement;
    if (isBlank(destination) || isBlank(source))
        return placement;
    const QString cleanSource = collapseDoubledSeparators(source);
    const QString cleanDestination = collapseDoubledSeparators(destination);
    // "?" and "*" are ordinary name characters here, so there is no wildcard step.
    // Both tests are made before deciding, as before: an overflow of FolderOf reaches the
    // caller even when the source is missing.
    const QString destinationFolder = FolderOf(cleanDestination);
    const bool sourceIsFile = FileIsPresent(cleanSource);
    placement.destination = landingPath(cleanSource, cleanDestination);
    if (sourceIsFile && FolderExists(destinationFolder))
        placement.written =
            detail::copyFileQuiet(cleanSource, cleanDestination, protectedFiles, {});
    return placement;
}

} // namespace

SourceFile::SourceFile(const QString &path) {
    try {
        const QByteArray bytes = encoded(path);
        // Non-blocking, so that a pipe put in the file's place can't make the copy wait.
        m_fd = bytes.isEmpty() ? -1 : ::open(bytes.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0) {
            m_errorNumber = bytes.isEmpty() ? ENOENT : errno;
        } else if (::statx(m_fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &m_status) !=
                   0) {
            m_errorNumber = errno;
        } else if (!S_ISREG(m_status.stx_mode) || onPseudoFileSystem(m_fd, deviceOf(m_status))) {
            m_problem = CopyProblem::NotRegularFile;
        } else {
            // Reading must not change the access time. The kernel allows O_NOATIME to the
            // owner and to root only; set on this descriptor, it spares a second open.
            static const uid_t user = ::geteuid();
            if (m_status.stx_uid == user || user == 0)
                ::fcntl(m_fd, F_SETFL, O_NONBLOCK | O_NOATIME); // refused: relatime applies
            m_problem = CopyProblem::None;
            return;
        }
    } catch (...) {
        m_errorNumber = ENOMEM;
    }
    if (m_problem != CopyProblem::NotRegularFile) {
        switch (m_errorNumber) {
        case ENOENT:
        case ENOTDIR:
            m_problem = CopyProblem::SourceGone;
            break;
        case EACCES:
        case EPERM:
            m_problem = CopyProblem::PermissionDenied;
            break;
        default:
            m_problem = CopyProblem::SystemError;
        }
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

SourceFile::~SourceFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

CopyResult copySourceFile(const SourceFile &source, const QString &destinationPath,
                          const ProtectedFiles *protectedFiles, ExistingName existing,
                          const CopyHooks &hooks) {
    try {
        return Copier(source, protectedFiles, existing, hooks).run(destinationPath);
    } catch (...) {
        // Nothing escapes (memory, a hook that throws): the unfinished copy is gone with
        // its descriptor or its temporary name.
        return outcome(CopyProblem::SystemError, ENOMEM);
    }
}

void ProtectedFiles::add(const QString &path) {
    try {
        const QByteArray bytes = encoded(path);
        struct stat info {};
        if (!bytes.isEmpty() && ::stat(bytes.constData(), &info) == 0)
            m_files.emplace(info.st_dev, info.st_ino);
    } catch (...) {
        // Never fails: a file that can't be added is simply not protected by the list.
    }
}

bool ProtectedFiles::contains(dev_t device, ino_t inode) const {
    return m_files.count({device, inode}) != 0;
}

void CopyFileQuiet(const QString &source, const QString &destination) {
    detail::copyFileQuiet(source, destination, nullptr, {});
}

void PlaceFile(const QString &source, const QString &destination) {
    placeFile(source, destination, nullptr);
}

void PlaceFile(const QString &source, const QString &destination,
               const ProtectedFiles &protectedFiles) {
    placeFile(source, destination, &protectedFiles);
}

Placement PlaceFileAndTell(const QString &source, const QString &destination,
                           const ProtectedFiles &protectedFiles) {
    return placeFile(source, destination, &protectedFiles);
}

namespace detail {

bool copyFileQuiet(const QString &source, const QString &destination,
                   const ProtectedFiles *protectedFiles, const WriteFault &fault) {
    const int savedErrno = errno;
    bool written = false;
    try {
        CopyHooks hooks;
        hooks.faultAfterBytes = fault.afterBytes;
        hooks.faultErrorNumber = fault.errorNumber;
        written = copyFileOrNothing(source, destination, protectedFiles, hooks);
    } catch (...) {
        // The copy reports nothing, whatever went wrong (memory included).
    }
    errno = savedErrno;
    return written;
}

} // namespace detail

} // namespace plenvoy
