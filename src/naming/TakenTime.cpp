#include "TakenTime.h"

#include "core/Descriptor.h"
#include "core/PathCodec.h"
#include "core/PseudoFileSystems.h"

#include <cerrno>
#include <memory>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <time.h>
#include <unistd.h>

namespace plenvoy {

namespace {

qint64 nowUtcTicks() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return (qint64(now.tv_sec) + kSecondsFrom1601To1970) * kTicksPerSecond + now.tv_nsec / 100;
}

/// How much of a file's start tells exiv2's format tests what it is.
constexpr qint64 kFormatProbeBytes = 4096;

} // namespace

qint64 readAt(int descriptor, qint64 offset, uchar *out, qint64 count) {
    qint64 done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(descriptor, out + done, size_t(count - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

std::optional<LocalMoment> takenMomentOfBytes(const uchar *data, qint64 size, qint64 now,
                                              qint64 shiftSeconds) {
    if (data == nullptr || size <= 0)
        return std::nullopt;
    if (const std::optional<qint64> movie = movieCreationTime(data, size, now, shiftSeconds))
        return localMomentOf(localTicksFromUtc(*movie));
    return photoTakenMoment(data, size, now, shiftSeconds);
}

std::optional<LocalMoment> takenMomentOfDescriptor(int descriptor, qint64 size,
                                                   qint64 shiftSeconds) {
    if (descriptor < 0 || size <= 0)
        return std::nullopt;
    const qint64 now = nowUtcTicks();
    if (const std::optional<qint64> movie =
            movieCreationTimeAt(descriptor, size, now, shiftSeconds))
        return localMomentOf(localTicksFromUtc(*movie));
    // Only a format that exiv2 knows is read whole, and only when it is of a photo's size.
    uchar probe[kFormatProbeBytes];
    const qint64 probed = readAt(descriptor, 0, probe, qMin(size, kFormatProbeBytes));
    if (probed <= 0 || !startsKnownPhoto(probe, probed) || size > kLargestPhotoRead)
        return std::nullopt;
    const std::unique_ptr<uchar[]> whole(new (std::nothrow) uchar[size_t(size)]);
    if (!whole)
        return std::nullopt;
    // A file that shrank meanwhile is read as far as it goes.
    const qint64 read = readAt(descriptor, 0, whole.get(), size);
    if (read <= 0)
        return std::nullopt;
    return photoTakenMoment(whole.get(), read, now, shiftSeconds);
}

std::optional<LocalMoment> takenMomentOfFile(const QString &path, qint64 shiftSeconds) {
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
    return takenMomentOfDescriptor(file.get(), qint64(status.stx_size), shiftSeconds);
}

TakenFileTimes::TakenFileTimes(const FileTimeProvider &files, qint64 shiftSeconds)
    : TakenMomentTimes(files)
    , m_shift(shiftSeconds) {}

TakenFileTimes::TakenFileTimes(const FileTimeProvider &files, const QString &openedPath,
                               int descriptor, qint64 size, qint64 shiftSeconds)
    : TakenMomentTimes(files)
    , m_openedPath(openedPath)
    , m_descriptor(descriptor)
    , m_size(size)
    , m_shift(shiftSeconds) {}

std::optional<LocalMoment> TakenFileTimes::taken(const QString &path) const {
    return m_descriptor >= 0 && path == m_openedPath
               ? takenMomentOfDescriptor(m_descriptor, m_size, m_shift)
               : takenMomentOfFile(path, m_shift);
}

std::optional<qint64> TakenMomentTimes::fileTime(const QString &path, TimeSource source) const {
    if (source == TimeSource::Creation) {
        if (const std::optional<LocalMoment> moment = taken(path))
            if (const std::optional<qint64> utc =
                    utcTicksFromLocal(moment->date, moment->secondsOfDay))
                return utc;
    }
    return m_files.fileTime(path, source);
}

std::optional<LocalMoment> TakenMomentTimes::localMoment(const QString &path,
                                                         TimeSource source) const {
    if (source == TimeSource::Creation) {
        if (const std::optional<LocalMoment> moment = taken(path))
            return moment;
    }
    return m_files.localMoment(path, source);
}

} // namespace plenvoy
