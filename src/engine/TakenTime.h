#pragma once

#include "engine/FileMoment.h"

#include <QString>

#include <optional>

namespace plenvoy {

// The moment a photo or video was taken, as 100-ns ticks since 1601-01-01 UTC, read from
// the metadata only. nullopt when the file records none or cannot be read: such a file keeps
// its file time, with no error.

/// Photos: Exif DateTimeOriginal (its sub-seconds round, its offset converts to local time),
/// then DateTimeDigitized, then XMP exif:DateTimeOriginal and xmp:CreateDate. A time without
/// an offset is the camera's local wall-clock time. Videos (MP4, MOV, M4V, 3GP): the movie
/// header's creation time; one before 1990 or after `nowUtcTicks` counts as none.
std::optional<qint64> takenTimeOfBytes(const uchar *data, qint64 size, qint64 nowUtcTicks);
/// The same for an open descriptor, mapped into memory; `size` is the file's size when it
/// was opened.
std::optional<qint64> takenTimeOfDescriptor(int descriptor, qint64 size);
/// The same for the file at the path, opened so that reading leaves its access time alone.
std::optional<qint64> takenTimeOfFile(const QString &path);

/// The movie header's creation time of an ISO base media file (MP4, MOV, M4V, 3GP), read
/// from its box structure alone; nullopt for other files, a damaged structure, or a zero or
/// absurd time (before 1990, after `nowUtcTicks`).
std::optional<qint64> movieCreationTime(const uchar *data, qint64 size, qint64 nowUtcTicks);
/// The photo's taken time from its Exif and XMP metadata, read with exiv2.
std::optional<qint64> photoTakenTime(const uchar *data, qint64 size);

/// File times where Creation is the moment a photo or video was taken, when its metadata
/// records one; everything else, and files without such a moment, come from `files`.
class TakenFileTimes final : public FileTimeProvider {
public:
    explicit TakenFileTimes(const FileTimeProvider &files);
    /// The metadata of `openedPath` is read through its open descriptor, `size` bytes long.
    TakenFileTimes(const FileTimeProvider &files, const QString &openedPath, int descriptor,
                   qint64 size);
    std::optional<qint64> fileTime(const QString &path, TimeSource source) const override;

private:
    const FileTimeProvider &m_files;
    QString m_openedPath;
    int m_descriptor = -1;
    qint64 m_size = 0;
};

} // namespace plenvoy
