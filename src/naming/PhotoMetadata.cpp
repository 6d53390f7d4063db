#include "TakenTime.h"

#include <QDate>

#include <mutex>

// exiv2 0.27 hands images out in std::auto_ptr, deprecated since C++11.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace plenvoy {

namespace {

/// Reads `count` decimal digits at `at`; -1 when one of them is not a digit.
int digitsAt(const std::string &text, size_t at, size_t count) {
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

/// A date and time of day as written, when it is a real one: nullopt for an invalid date
/// or a time out of range.
std::optional<LocalMoment> wallClock(int year, int month, int day, int hour, int minute,
                                     int second) {
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 || hour > 23 ||
        minute > 59 || second > 59)
        return std::nullopt;
    LocalMoment moment;
    moment.date = QDate(year, month, day);
    if (!moment.date.isValid())
        return std::nullopt;
    moment.secondsOfDay = hour * 3600 + minute * 60 + second;
    return moment;
}

/// Exif's "YYYY:MM:DD HH:MM:SS" (any separators).
std::optional<LocalMoment> exifMoment(const std::string &text) {
    return wallClock(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2),
                     digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2));
}

/// "+hh:mm" or "-hh:mm" at `at`.
bool isOffsetAt(const std::string &text, size_t at) {
    return at + 6 == text.size() && (text[at] == '+' || text[at] == '-') &&
           digitsAt(text, at + 1, 2) >= 0 && text[at + 3] == ':' && digitsAt(text, at + 4, 2) >= 0;
}

/// XMP's ISO 8601 form: "YYYY-MM-DD", optionally "Thh:mm[:ss[.s...]]" and "Z" or "+hh:mm";
/// the fraction and the zone are checked but left out.
std::optional<LocalMoment> xmpMoment(const std::string &text) {
    if (text.size() < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    if (text.size() == 10)
        return wallClock(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2), 0, 0, 0);
    if (text[10] != 'T' || text.size() < 16 || text[13] != ':')
        return std::nullopt;
    size_t at = 16;
    int second = 0;
    if (at < text.size() && text[at] == ':') {
        second = digitsAt(text, at + 1, 2);
        at += 3;
        if (at < text.size() && text[at] == '.') {
            ++at;
            while (at < text.size() && text[at] >= '0' && text[at] <= '9')
                ++at;
        }
    }
    if (at < text.size() && !(text[at] == 'Z' && at + 1 == text.size()) && !isOffsetAt(text, at))
        return std::nullopt;
    return wallClock(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2),
                     digitsAt(text, 11, 2), digitsAt(text, 14, 2), second);
}

std::string exifText(const Exiv2::ExifData &exif, const char *key) {
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    return found == exif.end() ? std::string() : found->toString();
}

std::string xmpText(const Exiv2::XmpData &xmp, const char *key) {
    const auto found = xmp.findKey(Exiv2::XmpKey(key));
    return found == xmp.end() ? std::string() : found->toString();
}

/// The XMP toolkit under exiv2 keeps shared state: photos read on two threads at once (the
/// preview's worker and a run) take turns through this lock.
void lockXmpToolkit(void *lock, bool locking) {
    auto *mutex = static_cast<std::mutex *>(lock);
    if (locking)
        mutex->lock();
    else
        mutex->unlock();
}

/// exiv2 set up once: its log silenced (a damaged file must not print), HEIF and the other
/// ISO base media stills enabled (they give nothing without it), the XMP parser ready and
/// safe to use from several threads.
void prepareExiv2() {
    static const bool ready = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::LogMsg::setHandler(nullptr);
        Exiv2::enableBMFF(true);
        static std::mutex xmpToolkit;
        Exiv2::XmpParser::initialize(lockXmpToolkit, &xmpToolkit);
        return true;
    }();
    Q_UNUSED(ready);
}

} // namespace

bool startsKnownPhoto(const uchar *data, qint64 size) {
    if (data == nullptr || size <= 0 || size > std::numeric_limits<long>::max())
        return false;
    prepareExiv2();
    try {
        return Exiv2::ImageFactory::getType(data, long(size)) != Exiv2::ImageType::none;
    } catch (...) {
        return false;
    }
}

QString photoLibraryVersion() {
    return QString::fromStdString(Exiv2::versionString());
}

std::optional<LocalMoment> photoTakenMoment(const uchar *data, qint64 size, qint64 nowUtcTicks,
                                            qint64 shiftSeconds) {
    if (data == nullptr || size <= 0 || size > std::numeric_limits<long>::max())
        return std::nullopt;
    prepareExiv2();
    // A camera whose clock was never set, or a value written by mistake, is no date: the
    // next source is asked. A day's grace covers every zone the camera may be in.
    const qint64 earliest = localTicksOf(LocalMoment{QDate(1900, 1, 1), 0});
    const qint64 latest = localTicksFromUtc(nowUtcTicks) + kTicksPerDay;
    // The shift of a wrong camera clock comes first: the limits judge the corrected moment.
    const auto plausible = [&](std::optional<LocalMoment> moment) {
        if (moment) {
            const qint64 ticks = localTicksOf(*moment) + shiftSeconds * kTicksPerSecond;
            if (ticks < earliest || ticks > latest)
                moment.reset();
            else if (shiftSeconds != 0)
                moment = localMomentOf(ticks);
        }
        return moment;
    };
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(data, long(size));
        if (image.get() == nullptr)
            return std::nullopt;
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        if (const auto original =
                plausible(exifMoment(exifText(exif, "Exif.Photo.DateTimeOriginal"))))
            return original;
        if (const auto digitized =
                plausible(exifMoment(exifText(exif, "Exif.Photo.DateTimeDigitized"))))
            return digitized;
        const Exiv2::XmpData &xmp = image->xmpData();
        if (const auto original = plausible(xmpMoment(xmpText(xmp, "Xmp.exif.DateTimeOriginal"))))
            return original;
        return plausible(xmpMoment(xmpText(xmp, "Xmp.xmp.CreateDate")));
    } catch (...) {
        // Unknown formats and damaged metadata alike: the file keeps its file time.
        return std::nullopt;
    }
}

} // namespace plenvoy

#pragma GCC diagnostic pop
