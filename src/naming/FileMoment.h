#pragma once

#include "RenameOptions.h"

#include <QDate>
#include <QString>

#include <optional>

#include <sys/stat.h>

namespace plenvoy {

class RegionalForms;

/// 100-nanosecond ticks per second and per day, and the seconds from 1 January 1601 to
/// 1 January 1970 (both UTC).
constexpr qint64 kTicksPerSecond = 10'000'000;
constexpr qint64 kTicksPerDay = 86'400 * kTicksPerSecond;
constexpr qint64 kSecondsFrom1601To1970 = 11'644'473'600;
/// Days from 1 January 1601 to 30 December 1899, the day that moments count from.
constexpr qint64 kDaysFrom1601To1899 = 109'205;
/// The years a stamp is written for; a file time outside them is taken as no time.
constexpr int kFirstStampYear = 1601;
constexpr int kLastStampYear = 9999;
/// The Julian day of 1 January 1601.
constexpr qint64 kJulianDay1601 = 2'305'814;

/// A local date and time rounded to the nearest whole second.
struct LocalMoment {
    QDate date;
    int secondsOfDay = 0;

    int hour() const { return secondsOfDay / 3600; }
    int minute() const { return secondsOfDay / 60 % 60; }
    int second() const { return secondsOfDay % 60; }
    /// The day that moments count from (30 December 1899): its text is the time alone.
    bool isDayZero() const;
};

/// File times: 100-ns ticks since 1601-01-01 UTC, or nullopt when the file has no entry.
class FileTimeProvider {
public:
    virtual ~FileTimeProvider();
    virtual std::optional<qint64> fileTime(const QString &path, TimeSource source) const = 0;
    /// The local date and time that a stamp shows: by default the file time converted to
    /// local time and rounded to the second. A provider whose moment is already a wall-clock
    /// time (a photo's, as the camera wrote it) gives it here without any conversion.
    virtual std::optional<LocalMoment> localMoment(const QString &path, TimeSource source) const;
};

/// The file system's times, read with one statx of the link target: the birth time for
/// Creation (the modification time where the file system keeps no birth time), the
/// modification time for LastWrite, the access time for LastAccess.
const FileTimeProvider &systemFileTimes();

/// The times of one file from a status already read (e.g. with statx of the descriptor
/// the copy reads from), with the same rules as systemFileTimes(); other paths are asked
/// of the fallback. The status should hold STATX_MTIME, STATX_ATIME and, where the file
/// system keeps it, STATX_BTIME.
class StatusFileTimes final : public FileTimeProvider {
public:
    StatusFileTimes(const QString &path, const struct statx &status,
                    const FileTimeProvider &fallback);
    std::optional<qint64> fileTime(const QString &path, TimeSource source) const override;

private:
    QString m_path;
    struct statx m_status;
    const FileTimeProvider &m_fallback;
};

/// Local ticks for a UTC tick count, with the time-zone rules in force at that moment
/// (a summer time keeps its summer offset whenever it is read). When the conversion
/// fails the result is the moment 0, midnight at the start of 30 December 1899.
qint64 localTicksFromUtc(qint64 utcTicks);
/// UTC ticks for a local wall-clock date and time of day, with the time-zone rules in force
/// then (as mktime gives them: a time in the hour that summer time skips moves on by that
/// hour); nullopt for an invalid date or one the system cannot convert.
std::optional<qint64> utcTicksFromLocal(const QDate &date, int secondsOfDay);
/// The local moment of a local tick count, rounded to the nearest second.
LocalMoment localMomentOf(qint64 localTicks);
/// The local tick count of a local moment (whole seconds): localMomentOf undone.
qint64 localTicksOf(const LocalMoment &moment);
/// The moment's text: short date, one blank, long time; the date alone at exactly
/// midnight, the time alone on day 0.
QString momentText(const LocalMoment &moment, const RegionalForms &forms);

/// The file's local moment for one of the three file sources, or nullopt when the file
/// has no entry.
std::optional<LocalMoment> fileMoment(const QString &path, TimeSource source,
                                      const FileTimeProvider &times);

/// The file's time as local date-time text in the system's regional forms, or nullopt
/// when the file cannot be found. Never fails.
std::optional<QString> FileMomentText(const QString &path, TimeSource source);
std::optional<QString> FileMomentText(const QString &path, TimeSource source,
                                      const FileTimeProvider &times);
std::optional<QString> FileMomentText(const QString &path, TimeSource source,
                                      const FileTimeProvider &times, const RegionalForms &forms);

} // namespace plenvoy
