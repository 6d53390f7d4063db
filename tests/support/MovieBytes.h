#pragma once

// ISO base media files (MP4, MOV) written byte by byte, for the movie header reader.

#include <QByteArray>
#include <QList>

namespace plenvoy::test {

inline QByteArray bigEndian(quint64 value, int bytes) {
    QByteArray out;
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.append(char(value >> shift & 0xff));
    return out;
}

/// A box: 32-bit size, type and contents.
inline QByteArray box(const char *type, const QByteArray &contents) {
    return bigEndian(quint64(8 + contents.size()), 4) + QByteArray(type, 4) + contents;
}

/// A box with a 64-bit size (the 32-bit size is 1).
inline QByteArray largeBox(const char *type, const QByteArray &contents) {
    return bigEndian(1, 4) + QByteArray(type, 4) + bigEndian(quint64(16 + contents.size()), 8) +
           contents;
}

/// Seconds since 1904-01-01 UTC of a moment given in seconds since 1970.
inline quint64 movieSeconds(qint64 unixSeconds) {
    return quint64(unixSeconds + 2'082'844'800);
}

/// The movie header: version 0 holds 32-bit times, version 1 64-bit ones.
inline QByteArray movieHeader(int version, quint64 creation) {
    const int width = version == 1 ? 8 : 4;
    QByteArray contents = bigEndian(quint64(version) << 24, 4); // version and flags
    contents += bigEndian(creation, width);                     // creation time
    contents += bigEndian(creation, width);                     // modification time
    contents += bigEndian(600, 4);                              // time scale
    contents += bigEndian(6000, width);                         // duration
    contents += QByteArray(80, '\0');                           // rate, volume, matrix...
    return box("mvhd", contents);
}

/// A small MP4: file type, movie (with its header and a track stub) and media data.
inline QByteArray movieFile(int version, quint64 creation) {
    return box("ftyp", QByteArray("isom\0\0\2\0isomiso2mp41", 20)) +
           box("moov", movieHeader(version, creation) + box("trak", QByteArray(16, '\0'))) +
           box("mdat", QByteArray(64, '\x5a'));
}

} // namespace plenvoy::test
