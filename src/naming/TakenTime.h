#pragma once

#include "FileMoment.h"

#include <QString>

#include <optional>

namespace plenvoy {

// The moment a photo or video was taken, as the local date and time that its stamp shows,
// read from the metadata only. nullopt when the file records none or cannot be read: such a
// file keeps its file time, with no error. A shift (seconds, either way) corrects a camera
// clock that was wrong: it moves the recorded moment before the limits below are applied.

/// Photos larger than this are not read: they keep their file time.
constexpr qint64 kLargestPhotoRead = 64LL << 20;

/// Photos: Exif DateTimeOriginal, then DateTimeDigitized, then XMP exif:DateTimeOriginal and
/// xmp:CreateDate, each the wall-clock time as the camera wrote it, to the second (any offset
/// and sub-seconds are left out); a value before 1900 or more than a day after `nowUtcTicks`
/// counts as none. Videos (MP4, MOV, M4V, 3GP): the movie header's creation time in local
/// time; one before 1990 or after `nowUtcTicks` counts as none.
std::optional<LocalMoment> takenMomentOfBytes(const uchar *data, qint64 size, qint64 nowUtcTicks,
                                              qint64 shiftSeconds = 0);
/// The same for an open descriptor, read with pread (its offset is left alone); `size` is
/// the file's size when it was opened. A read error, or a photo larger than
/// kLargestPhotoRead, gives nullopt.
std::optional<LocalMoment> takenMomentOfDescriptor(int descriptor, qint64 size,
                                                   qint64 shiftSeconds = 0);
/// The same for the file at the path, opened so that reading leaves its access time alone.
std::optional<LocalMoment> takenMomentOfFile(const QString &path, qint64 shiftSeconds = 0);

/// Reads up to `count` bytes at `offset` of the descriptor with pread, again after an
/// interruption: the bytes read (fewer at the end of the file), or -1 on a read error.
qint64 readAt(int descriptor, qint64 offset, uchar *out, qint64 count);

/// The movie header's creation time (UTC ticks) of an ISO base media file (MP4, MOV, M4V,
/// 3GP), read from its box structure alone; nullopt for other files, a damaged structure,
/// or a zero or absurd time (before 1990, after `nowUtcTicks`).
std::optional<qint64> movieCreationTime(const uchar *data, qint64 size, qint64 nowUtcTicks,
                                        qint64 shiftSeconds = 0);
/// The same read from a descriptor of a file `size` bytes long, box header by box header;
/// a failed read gives nullopt.
std::optional<qint64> movieCreationTimeAt(int descriptor, qint64 size, qint64 nowUtcTicks,
                                          qint64 shiftSeconds = 0);
/// The photo's taken moment from its Exif and XMP metadata, read with exiv2 from memory.
std::optional<LocalMoment> photoTakenMoment(const uchar *data, qint64 size, qint64 nowUtcTicks,
                                            qint64 shiftSeconds = 0);
/// The version of the exiv2 library the program runs with ("0.27.6").
QString photoLibraryVersion();
/// Whether exiv2 knows the image format that these first bytes of a file start.
bool startsKnownPhoto(const uchar *data, qint64 size);

/// File times where Creation is the moment a photo or video was taken, as taken() gives it,
/// when its metadata records one; everything else, and files without such a moment, come
/// from `files`. A photo's wall-clock time is given as this computer's local time would read
/// it, and as the stamp's local moment without any conversion.
class TakenMomentTimes : public FileTimeProvider {
public:
    explicit TakenMomentTimes(const FileTimeProvider &files)
        : m_files(files) {}
    std::optional<qint64> fileTime(const QString &path, TimeSource source) const override;
    std::optional<LocalMoment> localMoment(const QString &path, TimeSource source) const override;

protected:
    /// The taken moment of the file; nullopt when it records none.
    virtual std::optional<LocalMoment> taken(const QString &path) const = 0;

private:
    const FileTimeProvider &m_files;
};

/// Taken moments read from each file's metadata, shifted by `shiftSeconds`.
class TakenFileTimes final : public TakenMomentTimes {
public:
    explicit TakenFileTimes(const FileTimeProvider &files, qint64 shiftSeconds = 0);
    /// The metadata of `openedPath` is read through its open descriptor, `size` bytes long.
    TakenFileTimes(const FileTimeProvider &files, const QString &openedPath, int descriptor,
                   qint64 size, qint64 shiftSeconds = 0);

protected:
    std::optional<LocalMoment> taken(const QString &path) const override;

private:
    QString m_openedPath;
    int m_descriptor = -1;
    qint64 m_size = 0;
    qint64 m_shift = 0;
};

} // namespace plenvoy
