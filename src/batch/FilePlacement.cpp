#include "FilePlacement.h"

#include "PathHelpers.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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

/// The path in the file system's encoding; empty when the path can't be named there.
QByteArray encoded(const QString &path) {
    const QByteArray bytes = QFile::encodeName(path);
    return bytes.contains('\0') ? QByteArray() : bytes;
}

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

/// Writes all of the buffer, going on after short writes. False (errno set) on failure.
bool writeAll(int to, const char *data, size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(to, data, size);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

/// Copies the rest of one open file into another, with the kernel's copy where it can.
/// False (errno set) when a read or a write failed.
bool copyContent(int from, int to, const detail::WriteFault &fault) {
    constexpr size_t kKernelChunk = size_t(1) << 30;
    constexpr size_t kBufferSize = size_t(256) << 10;
    qint64 written = 0;
    bool kernelCopy = true;
    std::vector<char> buffer;
    for (;;) {
        size_t want = kernelCopy ? kKernelChunk : kBufferSize;
        if (fault.afterBytes >= 0) {
            if (written >= fault.afterBytes) {
                errno = fault.errorNumber;
                return false;
            }
            want = std::min(want, static_cast<size_t>(fault.afterBytes - written));
        }
        if (kernelCopy) {
            const ssize_t done = ::copy_file_range(from, nullptr, to, nullptr, want, 0);
            if (done > 0) {
                written += done;
                continue;
            }
            if (done == 0) {
                // Files whose size reads as zero (some pseudo files) may still have
                // content: a read tells for sure.
                if (written > 0)
                    return true;
                kernelCopy = false;
                continue;
            }
            if (errno == EINTR)
                continue;
            if (!kernelCopyUnsupported(errno))
                return false;
            kernelCopy = false; // the loop below goes on from the current offsets
            continue;
        }
        if (buffer.empty())
            buffer.resize(kBufferSize);
        const ssize_t got = ::read(from, buffer.data(), want);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        if (!writeAll(to, buffer.data(), static_cast<size_t>(got)))
            return false;
        written += got;
    }
}

/// Fills the new file from the source and gives it the source's permission bits and
/// modification time, then closes it. False when any of that failed.
bool fillNewFile(int sourceFd, const struct stat &sourceInfo, Descriptor &target,
                 const detail::WriteFault &fault) {
    if (!copyContent(sourceFd, target.get(), fault))
        return false;
    if (::fchmod(target.get(), sourceInfo.st_mode & 0777) != 0)
        return false;
    const struct timespec times[2] = {{0, UTIME_OMIT}, sourceInfo.st_mtim};
    if (::futimens(target.get(), times) != 0)
        return false;
    return target.close();
}

bool sameFile(const struct stat &a, const struct stat &b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// Removes a name this copy created, unless something else has taken the name since.
void removeOwnFile(int folderFd, const char *name, const struct stat &own) {
    struct stat now {};
    if (::fstatat(folderFd, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(now, own))
        ::unlinkat(folderFd, name, 0);
}

enum class NewName { Written, Failed, Taken };

/// Writes a destination name that did not exist. Taken when the name appeared in the
/// meantime (the caller then treats it as an existing destination).
NewName copyToNewName(int sourceFd, const struct stat &sourceInfo, int folderFd, const char *name,
                      const detail::WriteFault &fault) {
    Descriptor target(::openat(folderFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!target.isValid())
        return errno == EEXIST ? NewName::Taken : NewName::Failed;
    struct stat own {};
    if (::fstat(target.get(), &own) != 0) {
        target.close();
        ::unlinkat(folderFd, name, 0); // just made, still empty
        return NewName::Failed;
    }
    if (!fillNewFile(sourceFd, sourceInfo, target, fault)) {
        target.close();
        removeOwnFile(folderFd, name, own);
        return NewName::Failed;
    }
    return NewName::Written;
}

/// Opens a fresh temporary file in the destination folder, created exclusively.
int createTemporary(int folderFd, QByteArray &name) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        name =
            ".plenvoy-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        const int fd =
            ::openat(folderFd, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

/// Replaces an existing destination by renaming a complete temporary file over it,
/// unless it must be left alone. True when it was replaced.
bool replaceExisting(int sourceFd, const struct stat &sourceInfo, int folderFd, const char *name,
                     const ProtectedFiles *protectedFiles, const detail::WriteFault &fault) {
    struct stat existing {};
    if (::fstatat(folderFd, name, &existing, 0) != 0)
        return false; // a broken link: nothing of it is a file to replace
    if (!S_ISREG(existing.st_mode) || sameFile(existing, sourceInfo))
        return false;
    if (protectedFiles && protectedFiles->contains(existing.st_dev, existing.st_ino))
        return false;
    // Read-only: no write bit at all (so also for root), or not writable by this user.
    if ((existing.st_mode & 0222) == 0 || ::faccessat(folderFd, name, W_OK, AT_EACCESS) != 0)
        return false;

    QByteArray temporaryName;
    Descriptor temporary(createTemporary(folderFd, temporaryName));
    if (!temporary.isValid())
        return false;
    struct stat own {};
    if (::fstat(temporary.get(), &own) != 0) {
        temporary.close();
        ::unlinkat(folderFd, temporaryName.constData(), 0);
        return false;
    }
    if (!fillNewFile(sourceFd, sourceInfo, temporary, fault) ||
        ::renameat(folderFd, temporaryName.constData(), folderFd, name) != 0) {
        temporary.close();
        removeOwnFile(folderFd, temporaryName.constData(), own);
        return false;
    }
    return true;
}

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
                       const ProtectedFiles *protectedFiles, const detail::WriteFault &fault) {
    if (destination.isEmpty())
        return false;
    const QString target = landingPath(source, destination);
    const qsizetype cut = target.lastIndexOf(platformSeparator());
    const QString folder = cut < 0 ? QStringLiteral(".") : target.left(cut + 1);
    const QString name = target.mid(cut + 1);
    const QByteArray sourcePath = encoded(source);
    const QByteArray folderPath = encoded(folder);
    const QByteArray fileName = encoded(name);
    if (sourcePath.isEmpty() || folderPath.isEmpty() || fileName.isEmpty())
        return false;

    // Non-blocking, so that a pipe put in the file's place can't make the copy wait.
    Descriptor sourceFd(::open(sourcePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!sourceFd.isValid())
        return false;
    struct stat sourceInfo {};
    if (::fstat(sourceFd.get(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode))
        return false;
    Descriptor folderFd(::open(folderPath.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd.isValid())
        return false;

    struct stat existing {};
    if (::fstatat(folderFd.get(), fileName.constData(), &existing, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT)
            return false;
        const NewName made =
            copyToNewName(sourceFd.get(), sourceInfo, folderFd.get(), fileName.constData(), fault);
        if (made != NewName::Taken)
            return made == NewName::Written;
        // The name appeared in the meantime: it is now an existing destination.
    }
    return replaceExisting(sourceFd.get(), sourceInfo, folderFd.get(), fileName.constData(),
                           protectedFiles, fault);
}

bool isBlank(const QString &text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}

Placement placeFile(const QString &source, const QString &destination,
                    const ProtectedFiles *protectedFiles) {
    Placement placement;
    if (isBlank(destination) || isBlank(source))
        return placement;
    const QString cleanSource = CollapseBackslashes(source);
    const QString cleanDestination = CollapseBackslashes(destination);
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

void ProtectedFiles::add(const QString &path) {
    const QByteArray bytes = encoded(path);
    struct stat info {};
    if (!bytes.isEmpty() && ::stat(bytes.constData(), &info) == 0)
        m_files.emplace(info.st_dev, info.st_ino);
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
        written = copyFileOrNothing(source, destination, protectedFiles, fault);
    } catch (...) {
        // The copy reports nothing, whatever went wrong (memory included).
    }
    errno = savedErrno;
    return written;
}

} // namespace detail

} // namespace plenvoy
