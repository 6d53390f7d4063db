#pragma once

// Writing the record's and the index's lines in place: a run writes two for every copy, so
// numbers and plain paths go into the line without a detour through another buffer.

#include "core/PathCodec.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <algorithm>

#include <cstdint>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plenvoy {

namespace linewriting {

inline constexpr char kDigitPairs[] = "00010203040506070809"
                                      "10111213141516171819"
                                      "20212223242526272829"
                                      "30313233343536373839"
                                      "40414243444546474849"
                                      "50515253545556575859"
                                      "60616263646566676869"
                                      "70717273747576777879"
                                      "80818283848586878889"
                                      "90919293949596979899";

/// Exactly eight digits, leading zeros included.
inline char *writeEightDigits(char *p, std::uint32_t value) {
    const std::uint32_t high = value / 10000;
    const std::uint32_t low = value - high * 10000;
    std::memcpy(p, kDigitPairs + 2 * (high / 100), 2);
    std::memcpy(p + 2, kDigitPairs + 2 * (high % 100), 2);
    std::memcpy(p + 4, kDigitPairs + 2 * (low / 100), 2);
    std::memcpy(p + 6, kDigitPairs + 2 * (low % 100), 2);
    return p + 8;
}

/// A value below 100,000,000 without leading zeros.
inline char *writeShortNumber(char *p, std::uint32_t value) {
    const int digits = 1 + (value >= 10) + (value >= 100) + (value >= 1000) + (value >= 10000) +
                       (value >= 100000) + (value >= 1000000) + (value >= 10000000);
    char *const end = p + digits;
    char *q = end;
    while (value >= 100) {
        q -= 2;
        std::memcpy(q, kDigitPairs + 2 * (value % 100), 2);
        value /= 100;
    }
    if (value >= 10)
        std::memcpy(q - 2, kDigitPairs + 2 * value, 2);
    else
        q[-1] = char('0' + value);
    return end;
}

} // namespace linewriting

/// Writes the value in decimal at p (up to 20 characters) and gives the end.
inline char *writeDecimal(char *p, std::int64_t value) {
    using namespace linewriting;
    std::uint64_t magnitude = std::uint64_t(value);
    if (value < 0) {
        *p++ = '-';
        magnitude = 0 - magnitude;
    }
    constexpr std::uint64_t kEight = 100'000'000;
    if (magnitude < kEight)
        return writeShortNumber(p, std::uint32_t(magnitude));
    const std::uint64_t upper = magnitude / kEight;
    const auto lowest = std::uint32_t(magnitude - upper * kEight);
    if (upper < kEight) {
        p = writeShortNumber(p, std::uint32_t(upper));
    } else {
        const std::uint64_t top = upper / kEight;
        p = writeShortNumber(p, std::uint32_t(top));
        p = writeEightDigits(p, std::uint32_t(upper - top * kEight));
    }
    return writeEightDigits(p, lowest);
}

/// Appends the text as a JSON string when every character is printable ASCII with nothing
/// to escape, as most paths are; otherwise appends nothing and answers false.
inline bool appendPlainAscii(std::string &out, QStringView text) {
    const auto *units = reinterpret_cast<const std::uint16_t *>(text.utf16());
    const size_t size = size_t(text.size());
    const size_t at = out.size();
    out.resize(at + size + 2);
    char *p = &out[at];
    *p++ = '"';
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen characters at a time: narrowed with saturation, anything at or above 0x80
    // (and so anything beyond Latin-1) reads as negative, below the printable range.
    const __m128i firstPrintable = _mm_set1_epi8(0x20);
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    for (; i + 16 <= size; i += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i + 8));
        const __m128i bytes = _mm_packus_epi16(low, high);
        const __m128i bad = _mm_or_si128(
            _mm_cmpgt_epi8(firstPrintable, bytes),
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)));
        if (_mm_movemask_epi8(bad) != 0) {
            out.resize(at);
            return false;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i *>(p), bytes);
        p += 16;
    }
#endif
    for (; i < size; ++i) {
        const std::uint16_t unit = units[i];
        if (unit < 0x20 || unit >= 0x80 || unit == '"' || unit == '\\') {
            out.resize(at);
            return false;
        }
        *p++ = char(unit);
    }
    *p = '"';
    return true;
}

/// The most bytes that writeEncodedPath writes for a path of this many characters.
inline qsizetype encodedPathBound(qsizetype characters) {
    return (characters * 3 + 2) / 3 * 4;
}

/// Writes the base64 form of the path's bytes at p and gives the end; a path of ASCII
/// characters, as most are, is encoded from its characters as it is checked.
inline char *writeEncodedPath(char *p, QStringView path) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char16_t *units = path.utf16();
    const qsizetype size = path.size();
    char *const start = p;
    qsizetype i = 0;
    for (; i + 3 <= size; i += 3) {
        if ((units[i] | units[i + 1] | units[i + 2]) >= 0x80)
            break;
        const unsigned triple =
            unsigned(units[i]) << 16 | unsigned(units[i + 1]) << 8 | units[i + 2];
        p[0] = kDigits[triple >> 18];
        p[1] = kDigits[(triple >> 12) & 63];
        p[2] = kDigits[(triple >> 6) & 63];
        p[3] = kDigits[triple & 63];
        p += 4;
    }
    if (std::any_of(units + i, units + size, [](char16_t unit) { return unit >= 0x80; })) {
        const QByteArray encoded = pathToBytes(path.toString()).toBase64();
        std::memcpy(start, encoded.constData(), size_t(encoded.size()));
        return start + encoded.size();
    }
    if (i < size) {
        const bool two = i + 1 < size;
        const unsigned triple = unsigned(units[i]) << 16 | (two ? unsigned(units[i + 1]) << 8 : 0u);
        p[0] = kDigits[triple >> 18];
        p[1] = kDigits[(triple >> 12) & 63];
        p[2] = two ? kDigits[(triple >> 6) & 63] : '=';
        p[3] = '=';
        p += 4;
    }
    return p;
}

} // namespace plenvoy
