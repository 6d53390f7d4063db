#include "FileMoment.h"

#include "RegionalForms.h"
#include "core/PathCodec.h"

#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

namespace plenvoy {

namespace {

qint64 floorDiv(qint64 value, qint64 divisor) {
    const qint64 quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

/// A statx time as ticks since 1601; times beyond what the count can hold (some 29,000
/// years either way) are held at its ends.
qint64 ticksOf(const struct statx_timestamp &stamp) {
    qint64 ticks = 0;
    if (__builtin_add_overflow(qint64(stamp.tv_sec), kSecondsFrom1601To1970, &ticks) ||
        __builtin_mul_overflow(ticks, kTicksPerSecond, &ticks) ||
        __builtin_add_overflow(ticks, qint64(stamp.tv_nsec) / 100, &ticks))
        return stamp.tv_sec < 0 ? std::numeric_limits<qint64>::min()
                                : std::numeric_limits<qint64>::max();
    return ticks;
}

/// statx of the link target. ASCII paths are encoded on the stack, others through the
/// path codec, so that a name that is not UTF-8 is looked up as its own bytes.
bool statxOf(const QString &path, unsigned int mask, struct statx &status) {
    char buffer[512];
    bool ascii = path.size() < qsizetype(sizeof buffer);
    for (qsizetype i = 0; ascii && i < path.size(); ++i) {
        const char16_t c = path.at(i).unicode();
        ascii = c != 0 && c < 0x80;
        buffer[i] = char(c);
    }
    if (ascii) {
        buffer[path.size()] = '\0';
        return ::statx(AT_FDCWD, buffer, AT_STATX_SYNC_AS_STAT, mask, &status) == 0;
    }
    const QByteArray encoded = pathToBytes(path);
    return ::statx(AT_FDCWD, encoded.constData(), AT_STATX_SYNC_AS_STAT, mask, &status) == 0;
}

/// The time of one source in a status read with (at least) the mask that maskFor gives.
qint64 timeOf(const struct statx &status, TimeSource source) {
    switch (source) {
    case TimeSource::Creation:
        if (status.stx_mask & STATX_BTIME)
            return ticksOf(status.stx_btime);
        return ticksOf(status.stx_mtime);
    case TimeSource::LastAccess:
        return ticksOf(status.stx_atime);
    case TimeSource::LastWrite:
    case TimeSource::Clock:
        break;
    }
    return ticksOf(status.stx_mtime);
}

unsigned int maskFor(TimeSource source) {
    switch (source) {
    case TimeSource::Creation:
        return STATX_MTIME | STATX_BTIME;
    case TimeSource::LastAccess:
        return STATX_ATIME;
    case TimeSource::LastWrite:
    case TimeSource::Clock:
        break;
    }
    return STATX_MTIME;
}

class StatxFileTimes final : public FileTimeProvider {
public:
    std::optional<qint64> fileTime(const QString &path, TimeSource source) const override {
        if (path.isEmpty())
            return std::nullopt;
        struct statx status {};
        if (!statxOf(path, maskFor(source), status))
            return std::nullopt;
        return timeOf(status, source);
    }
};

} // namespace

FileTimeProvider::~FileTimeProvider() = default;

std::optional<LocalMoment> FileTimeProvider::localMoment(const QString &path,
                                                         TimeSource source) const {
    const std::optional<qint64> utc = fileTime(path, source);
    if (!utc)
        return std::nullopt;
    return localMomentOf(localTicksFromUtc(*utc));
}

const FileTimeProvider &systemFileTimes() {
    static const StatxFileTimes times;
    return times;
}

StatusFileTimes::StatusFileTimes(const QString &path, const struct statx &status,
                                 const FileTimeProvider &fallback)
    : m_path(path)
    , m_status(status)
    , m_fallback(fallback) {}

std::optional<qint64> StatusFileTimes::fileTime(const QString &path, TimeSource source) const {
    if (path != m_path)
        return m_fallback.fileTime(path, source);
    return timeOf(m_status, source);
}

bool LocalMoment::isDayZero() const {
    return date.toJulianDay() == kJulianDay1601 + kDaysFrom1601To1899;
}

qint64 localTicksFromUtc(qint64 utcTicks) {
    constexpr qint64 momentZero = kDaysFrom1601To1899 * kTicksPerDay;
    const time_t seconds = time_t(floorDiv(utcTicks, kTicksPerSecond) - kSecondsFrom1601To1970);
    struct tm local {};
    qint64 localTicks = 0;
    if (::localtime_r(&seconds, &local) == nullptr ||
        __builtin_add_overflow(utcTicks, qint64(local.tm_gmtoff) * kTicksPerSecond, &localTicks))
        return momentZero;
    return localTicks;
}

std::optional<qint64> utcTicksFromLocal(const QDate &date, int secondsOfDay) {
    if (!date.isValid() || secondsOfDay < 0 || secondsOfDay >= 86'400 || date.year() < 1601 ||
        date.year() > 30'000)
        return std::nullopt;
    struct tm local {};
    local.tm_year = date.year() - 1900;
    local.tm_mon = date.month() - 1;
    local.tm_mday = date.day();
    local.tm_hour = secondsOfDay / 3600;
    local.tm_min = secondsOfDay / 60 % 60;
    local.tm_sec = secondsOfDay % 60;
    local.tm_isdst = -1;
    local.tm_wday = -1; // mktime sets it on success; -1 is also a valid result
    const time_t seconds = ::mktime(&local);
    if (seconds == time_t(-1) && local.tm_wday == -1)
        return std::nullopt;
    return (qint64(seconds) + kSecondsFrom1601To1970) * kTicksPerSecond;
}

LocalMoment localMomentOf(qint64 localTicks) {
    qint64 seconds = floorDiv(localTicks, kTicksPerSecond);
    if (localTicks - seconds * kTicksPerSecond >= kTicksPerSecond / 2)
        ++seconds;
    const qint64 days = floorDiv(seconds, 86'400);
    LocalMoment moment;
    moment.date = QDate::fromJulianDay(kJulianDay1601 + days);
    moment.secondsOfDay = int(seconds - days * 86'400);
    return moment;
}

qint64 localTicksOf(const LocalMoment &moment) {
    return ((moment.date.toJulianDay() - kJulianDay1601) * 86'400 + moment.secondsOfDay) *
           kTicksPerSecond;
}

QString momentText(const LocalMoment &moment, const RegionalForms &forms) {
    const QString time = forms.longTime(moment.hour(), moment.minute(), moment.second());
    if (moment.isDayZero())
        return time;
    const QString date = forms.shortDate(moment.date);
    if (moment.secondsOfDay == 0)
        return date;
    return date + QLatin1Char(' ') + time;
}

std::optional<LocalMoment> fileMoment(const QString &path, TimeSource source,
                                      const FileTimeProvider &times) {
    std::optional<LocalMoment> moment = times.localMoment(path, source);
    // A time outside the years a stamp can write (a damaged or forged one) is no time.
    if (moment && (!moment->date.isValid() || moment->date.year() < kFirstStampYear ||
                   moment->date.year() > kLastStampYear))
        return std::nullopt;
    return moment;
}

std::optional<QString> FileMomentText(const QString &path, TimeSource source,
                                      const FileTimeProvider &times, const RegionalForms &forms) {
    const std::optional<LocalMoment> moment = fileMoment(path, source, times);
    if (!moment)
        return std::nullopt;
    return momentText(*moment, forms);
}

std::optional<QString> FileMomentText(const QString &path, TimeSource source,
                                      const FileTimeProvider &times) {
    return FileMomentText(path, source, times, RegionalForms::system());
}

std::optional<QString> FileMomentText(const QString &path, TimeSource source) {
    return FileMomentText(path, source, systemFileTimes(), RegionalForms::system());
}

} // namespace plenvoy
