#include "TakenTime.h"

#include <QDate>

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

/// Fraction digits ("5" is half a second) as ticks; digits beyond the tick are dropped.
qint64 fractionTicks(const std::string &digits, size_t at) {
    qint64 ticks = 0;
    qint64 scale = kTicksPerSecond;
    for (size_t i = at; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
        scale /= 10;
        ticks += (digits[i] - '0') * scale;
    }
    return ticks;
}

/// "+hh:mm" or "-hh:mm" at `at` as seconds east of UTC; nullopt for anything else.
std::optional<int> offsetAt(const std::string &text, size_t at) {
    if (at >= text.size() || (text[at] != '+' && text[at] != '-'))
        return std::nullopt;
    const int hours = digitsAt(text, at + 1, 2);
    const int minutes = digitsAt(text, at + 4, 2);
    if (hours < 0 || minutes < 0 || text[at + 3] != ':' || hours > 14 || minutes > 59)
        return std::nullopt;
    const int seconds = hours * 3600 + minutes * 60;
    return text[at] == '-' ? -seconds : seconds;
}

/// The moment of a date, time of day, fraction and optional offset: converted from UTC
/// with an offset, taken as the local wall-clock time without one.
std::optional<qint64> momentTicks(int year, int month, int day, int secondsOfDay, qint64 fraction,
                                  std::optional<int> offset) {
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1601)
        return std::nullopt;
    if (!offset) {
        const std::optional<qint64> utc = utcTicksFromLocal(date, secondsOfDay);
        if (!utc)
            return std::nullopt;
        return *utc + fraction;
    }
    constexpr qint64 kJulianDay1601 = 2'305'814;
    const qint64 seconds = (date.toJulianDay() - kJulianDay1601) * 86'400 + secondsOfDay - *offset;
    return seconds * kTicksPerSecond + fraction;
}

/// Exif's "YYYY:MM:DD HH:MM:SS" (any separators), with its sub-second and offset tags.
std::optional<qint64> exifMoment(const std::string &text, const std::string &subSeconds,
                                 const std::string &offset) {
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    const int second = digitsAt(text, 17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 || hour > 23 ||
        minute > 59 || second > 59)
        return std::nullopt;
    size_t fractionStart = 0;
    while (fractionStart < subSeconds.size() && subSeconds[fractionStart] == ' ')
        ++fractionStart;
    return momentTicks(year, month, day, hour * 3600 + minute * 60 + second,
                       fractionTicks(subSeconds, fractionStart), offsetAt(offset, 0));
}

/// XMP's ISO 8601 form: "YYYY-MM-DD", optionally "Thh:mm[:ss[.s...]]" and "Z" or "+hh:mm".
std::optional<qint64> xmpMoment(const std::string &text) {
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    if (year < 0 || month < 0 || day < 0 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int secondsOfDay = 0;
    qint64 fraction = 0;
    std::optional<int> offset;
    if (text.size() > 10) {
        const int hour = digitsAt(text, 11, 2);
        const int minute = digitsAt(text, 14, 2);
        if (text[10] != 'T' || hour < 0 || minute < 0 || text[13] != ':' || hour > 23 ||
            minute > 59)
            return std::nullopt;
        size_t at = 16;
        int second = 0;
        if (at < text.size() && text[at] == ':') {
            second = digitsAt(text, at + 1, 2);
            if (second < 0 || second > 59)
                return std::nullopt;
            at += 3;
            if (at < text.size() && text[at] == '.') {
                fraction = fractionTicks(text, at + 1);
                ++at;
                while (at < text.size() && text[at] >= '0' && text[at] <= '9')
                    ++at;
            }
        }
        secondsOfDay = hour * 3600 + minute * 60 + second;
        if (at < text.size() && text[at] == 'Z')
            offset = 0;
        else if (at < text.size())
            offset = offsetAt(text, at);
        if (at < text.size() && !offset)
            return std::nullopt;
    }
    return momentTicks(year, month, day, secondsOfDay, fraction, offset);
}

std::string exifText(const Exiv2::ExifData &exif, const char *key) {
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    return found == exif.end() ? std::string() : found->toString();
}

std::string xmpText(const Exiv2::XmpData &xmp, const char *key) {
    const auto found = xmp.findKey(Exiv2::XmpKey(key));
    return found == xmp.end() ? std::string() : found->toString();
}

/// exiv2 set up once: its log silenced (a damaged file must not print), HEIF and the other
/// ISO base media stills enabled (they give nothing without it), the XMP parser ready.
void prepareExiv2() {
    static const bool ready = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::LogMsg::setHandler(nullptr);
        Exiv2::enableBMFF(true);
        Exiv2::XmpParser::initialize();
        return true;
    }();
    Q_UNUSED(ready);
}

} // namespace

std::optional<qint64> photoTakenTime(const uchar *data, qint64 size) {
    if (data == nullptr || size <= 0 || size > std::numeric_limits<long>::max())
        return std::nullopt;
    prepareExiv2();
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(data, long(size));
        if (image.get() == nullptr)
            return std::nullopt;
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        if (const auto original = exifMoment(exifText(exif, "Exif.Photo.DateTimeOriginal"),
                                             exifText(exif, "Exif.Photo.SubSecTimeOriginal"),
                                             exifText(exif, "Exif.Photo.OffsetTimeOriginal")))
            return original;
        if (const auto digitized = exifMoment(exifText(exif, "Exif.Photo.DateTimeDigitized"),
                                              exifText(exif, "Exif.Photo.SubSecTimeDigitized"),
                                              exifText(exif, "Exif.Photo.OffsetTimeDigitized")))
            return digitized;
        const Exiv2::XmpData &xmp = image->xmpData();
        if (const auto original = xmpMoment(xmpText(xmp, "Xmp.exif.DateTimeOriginal")))
            return original;
        return xmpMoment(xmpText(xmp, "Xmp.xmp.CreateDate"));
    } catch (...) {
        // Unknown formats and damaged metadata alike: the file keeps its file time.
        return std::nullopt;
    }
}

} // namespace plenvoy

#pragma GCC diagnostic pop
