#include "TakenTime.h"

namespace plenvoy {

namespace {

/// Seconds from 1 January 1601 to 1 January 1904 (both UTC), where movie times count from.
constexpr qint64 kSecondsFrom1601To1904 = 110'667LL * 86'400;
/// Seconds from 1 January 1904 to 1 January 1990: earlier movie times are taken as unset.
constexpr quint64 kSecondsFrom1904To1990 = 31'412ULL * 86'400;
/// A hostile file could chain millions of empty boxes; real files have a handful.
constexpr int kMostBoxes = 4096;

constexpr quint32 fourCc(const char (&code)[5]) {
    return quint32(uchar(code[0])) << 24 | quint32(uchar(code[1])) << 16 |
           quint32(uchar(code[2])) << 8 | quint32(uchar(code[3]));
}

quint32 read32(const uchar *p) {
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

quint64 read64(const uchar *p) {
    return quint64(read32(p)) << 32 | read32(p + 4);
}

struct Box {
    quint32 type = 0;
    qint64 body = 0; // offset of the contents, after the header
    qint64 end = 0;  // offset just past the box
};

/// The box whose header starts at `offset`; false when the header is cut off or the box
/// claims more room than its parent has left (a damaged or truncated file).
bool boxAt(const uchar *data, qint64 offset, qint64 limit, Box &box) {
    const qint64 room = limit - offset;
    if (room < 8)
        return false;
    quint64 size = read32(data + offset);
    qint64 header = 8;
    if (size == 1) {
        if (room < 16)
            return false;
        size = read64(data + offset + 8);
        header = 16;
    } else if (size == 0) {
        size = quint64(room); // the box runs to the end of its parent
    }
    if (size < quint64(header) || size > quint64(room))
        return false;
    box.type = read32(data + offset + 4);
    box.body = offset + header;
    box.end = offset + qint64(size);
    return true;
}

/// Boxes that a movie file's top level starts with.
bool startsMovie(quint32 type) {
    return type == fourCc("ftyp") || type == fourCc("moov") || type == fourCc("mdat") ||
           type == fourCc("free") || type == fourCc("skip") || type == fourCc("wide") ||
           type == fourCc("pnot");
}

/// The first box of the given type among the children in [offset, limit).
std::optional<Box> findChild(const uchar *data, qint64 offset, qint64 limit, quint32 type) {
    Box box;
    for (int count = 0; offset < limit && count < kMostBoxes; ++count) {
        if (!boxAt(data, offset, limit, box))
            return std::nullopt;
        if (box.type == type)
            return box;
        offset = box.end;
    }
    return std::nullopt;
}

} // namespace

std::optional<qint64> movieCreationTime(const uchar *data, qint64 size, qint64 nowUtcTicks) {
    Box first;
    if (data == nullptr || !boxAt(data, 0, size, first) || !startsMovie(first.type))
        return std::nullopt;
    const std::optional<Box> movie = findChild(data, 0, size, fourCc("moov"));
    if (!movie)
        return std::nullopt;
    const std::optional<Box> header = findChild(data, movie->body, movie->end, fourCc("mvhd"));
    if (!header)
        return std::nullopt;
    // Full box: one byte of version, three of flags, then the creation time, 32 bits in
    // version 0 and 64 bits in version 1.
    const qint64 length = header->end - header->body;
    const uchar *body = data + header->body;
    quint64 seconds = 0;
    if (length >= 8 && body[0] == 0)
        seconds = read32(body + 4);
    else if (length >= 12 && body[0] == 1)
        seconds = read64(body + 4);
    else
        return std::nullopt;
    const quint64 nowSeconds = quint64(nowUtcTicks / kTicksPerSecond - kSecondsFrom1601To1904);
    if (seconds < kSecondsFrom1904To1990 || seconds > nowSeconds)
        return std::nullopt;
    return (qint64(seconds) + kSecondsFrom1601To1904) * kTicksPerSecond;
}

} // namespace plenvoy
