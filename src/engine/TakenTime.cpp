#include "TakenTime.h"

#include "core/Descriptor.h"
#include "core/PathCodec.h"
#include "core/PseudoFileSystems.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <time.h>

namespace plenvoy {

namespace {

qint64 nowUtcTicks() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return (qint64(now.tv_sec) + kSecondsFrom1601To1970) * kTicksPerSecond + now.tv_nsec / 100;
}

/// A read-only mapping of a whole file, undone when it goes out of scope.
class Mapping final {
public:
    Mapping(int descriptor, qint64 size) {
        if (size <= 0)
            return;
        void *address = ::mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE, descriptor, 0);
        if (address == MAP_FAILED)
            return;
        // Only the headers are read: no read-ahead of the pictures or the movie data.
        ::madvise(address, size_t(size), MADV_RANDOM);
        m_data = static_cast<const uchar *>(address);
        m_size = size;
    }
    ~Mapping() {
        if (m_data != nullptr)
            ::munmap(const_cast<uchar *>(m_data), size_t(m_size));
    }
    Mapping(const Mapping &) = delete;
    Mapping &operator=(const Mapping &) = delete;

    const uchar *data() const { return m_data; }
    qint64 size() const { return m_size; }

private:
    const uchar *m_data = nullptr;
    qint64 m_size = 0;
};

} // namespace

std::optional<qint64> takenTimeOfBytes(const uchar *data, qint64 size, qint64 now) {
    if (data == nullptr || size <= 0)
        return std::nullopt;
    if (const std::optional<qint64> movie = movieCreationTime(data, size, now))
        return movie;
    return photoTakenTime(data, size);
}

std::optional<qint64> takenTimeOfDescriptor(int descriptor, qint64 size) {
    // Pages past the end of a file that shrank meanwhile would fault when read: map no
    // more than the file holds now.
    struct stat now {};
    if (::fstat(descriptor, &now) != 0)
        return std::nullopt;
    const Mapping mapping(descriptor, qMin(size, qint64(now.st_size)));
    return takenTimeOfBytes(mapping.data(), mapping.size(), nowUtcTicks());
}

std::optional<qint64> takenTimeOfFile(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    if (bytes.isEmpty())
        return std::nullopt;
    // Non-blocking, so that a pipe in the file's place cannot make the reading wait.
    const Descriptor file(::open(bytes.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct statx status {};
    if (!file.isValid() ||
        ::statx(file.get(), "", AT_EMPTY_PATH, STATX_TYPE | STATX_SIZE | STATX_UID, &status) != 0 ||
        !S_ISREG(status.stx_mode))
        return std::nullopt;
    struct statfs system {};
    if (::fstatfs(file.get(), &system) != 0 ||
        isPseudoFileSystem(static_cast<unsigned long>(system.f_type),
                           makedev(status.stx_dev_major, status.stx_dev_minor)))
        return std::nullopt;
    // The kernel allows O_NOATIME to the owner and to root; elsewhere relatime applies.
    static const uid_t user = ::geteuid();
    if (status.stx_uid == user || user == 0)
        ::fcntl(file.get(), F_SETFL, O_NONBLOCK | O_NOATIME);
    return takenTimeOfDescriptor(file.get(), qint64(status.stx_size));
}

TakenFileTimes::TakenFileTimes(const FileTimeProvider &files)
    : m_files(files) {}

TakenFileTimes::TakenFileTimes(const FileTimeProvider &files, const QString &openedPath,
                               int descriptor, qint64 size)
    : m_files(files)
    , m_openedPath(openedPath)
    , m_descriptor(descriptor)
    , m_size(size) {}

std::optional<qint64> TakenFileTimes::fileTime(const QString &path, TimeSource source) const {
    if (source == TimeSource::Creation) {
        const std::optional<qint64> taken = m_descriptor >= 0 && path == m_openedPath
                                                ? takenTimeOfDescriptor(m_descriptor, m_size)
                                                : takenTimeOfFile(path);
        if (taken)
            return taken;
    }
    return m_files.fileTime(path, source);
}

} // namespace plenvoy
