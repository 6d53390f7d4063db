#include "TakenTime.h"

#include <cstring>

namespace plenvoy {

namespace {

/// Seconds from 1 January 1601 to 1 January 1904 (both UTC), where movie times count from.
constexpr qint64 kSecondsFrom1601To1904 = 110'667LL * 86'400;
/// Seconds from 1 January 1904 to 1 January 1990: earlier movie times are taken as unset.
constexpr quint64 kSecondsFrom1904To1990 = 31'412ULL * 86'400;
/// Seconds from 1904 to beyond the year 9999: a larger time is damage, not a moment.
constexpr quint64 kLargestMovieSeconds = 3'000'000ULL * 86'400;
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

/// Where the boxes are read from: bytes in memory, or a file read a header at a time.
class BoxBytes {
public:
    virtual ~BoxBytes() = default;
    /// The `count` bytes at `offset` (all within the file's size); false when they cannot
    /// be had.
    virtual bool read(qint64 offset, uchar *out, qint64 count) const = 0;
};

class MemoryBytes final : public BoxBytes {
public:
    explicit MemoryBytes(const uchar *data)
        : m_data(data) {}
    bool read(qint64 offset, uchar *out, qint64 count) const override {
        std::memcpy(out, m_data + offset, size_t(count));
        return true;
    }

private:
    const uchar *m_data;
};

class DescriptorBytes final : public BoxBytes {
public:
    explicit DescriptorBytes(int descriptor)
        : m_descriptor(descriptor) {}
    bool read(qint64 offset, uchar *out, qint64 count) const override {
        // A file that shrank since its size was read ends sooner: that is a failed read.
        return readAt(m_descriptor, offset, out, count) == count;
    }

private:
    int m_descriptor;
};

/// The box whose header starts at `offset`; false when the header is cut off, cannot be
/// read, or the box claims more room than its parent has left (a damaged or truncated file).
bool boxAt(const BoxBytes &bytes, qint64 offset, qint64 limit, Box &box) {
    const qint64 room = limit - offset;
    uchar header[16];
    if (room < 8 || !bytes.read(offset, header, 8))
        return false;
    quint64 size = read32(header);
    qint64 headerSize = 8;
    if (size == 1) {
        if (room < 16 || !bytes.read(offset + 8, header + 8, 8))
            return false;
        size = read64(header + 8);
        headerSize = 16;
    } else if (size == 0) {
        size = quint64(room); // the box runs to the end of its parent
    }
    if (size < quint64(headerSize) || size > quint64(room))
        return false;
    box.type = read32(header + 4);
    box.body = offset + headerSize;
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
std::optional<Box> findChild(const BoxBytes &bytes, qint64 offset, qint64 limit, quint32 type) {
    Box box;
    for (int count = 0; offset < limit && count < kMostBoxes; ++count) {
        if (!boxAt(bytes, offset, limit, box))
            return std::nullopt;
        if (box.type == type)
            return box;
        offset = box.end;
    }
    return std::nullopt;
}

std::optional<qint64> creationTime(const BoxBytes &bytes, qint64 size, qint64 nowUtcTicks,
                                   qint64 shiftSeconds) {
    Box first;
    if (!boxAt(bytes, 0, size, first) || !startsMovie(first.type))
        return std::nullopt;
    const std::optional<Box> movie = findChild(bytes, 0, size, fourCc("moov"));
    if (!movie)
        return std::nullopt;
    const std::optional<Box> header = findChild(bytes, movie->body, movie->end, fourCc("mvhd"));
    if (!header)
        return std::nullopt;
    // Full box: one byte of version, three of flags, then the creation time, 32 bits in
    // version 0 and 64 bits in version 1.
    const qint64 length = header->end - header->body;
    uchar body[12];
    if (length < 8 || !bytes.read(header->body, body, qMin<qint64>(length, 12)))
        return std::nullopt;
    quint64 seconds = 0;
    if (body[0] == 0)
        seconds = read32(body + 4);
    else if (length >= 12 && body[0] == 1)
        seconds = read64(body + 4);
    else
        return std::nullopt;
    // A zero time is unset whatever the shift; a time past any calendar is no time at all.
    if (seconds == 0 || seconds > kLargestMovieSeconds)
        return std::nullopt;
    const qint64 shifted = qint64(seconds) + shiftSeconds;
    const qint64 nowSeconds = nowUtcTicks / kTicksPerSecond - kSecondsFrom1601To1904;
    if (shifted < qint64(kSecondsFrom1904To1990) || shifted > nowSeconds)
        return std::nullopt;
    return (shifted + kSecondsFrom1601To1904) * kTicksPerSecond;
}

} // namespace

std::optional<qint64> movieCreationTime(const uchar *data, qint64 size, qint64 nowUtcTicks,
                                        qint64 shiftSeconds) {
    if (data == nullptr)
        return std::nullopt;
    return creationTime(MemoryBytes(data), size, nowUtcTicks, shiftSeconds);
}

std::optional<qint64> movieCreationTimeAt(int descriptor, qint64 size, qint64 nowUtcTicks,
                                          qint64 shiftSeconds) {
    return creationTime(DescriptorBytes(descriptor), size, nowUtcTicks, shiftSeconds);
}

} // namespace plenvoy
