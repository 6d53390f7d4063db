#include "PathCodec.h"

#include "Failure.h"

#include <cerrno>
#include <cstring>

namespace plenvoy {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool isEscapedByte(char16_t unit) {
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

/// Length of the valid UTF-8 sequence that starts at bytes[0], or 0 when it is not one
/// (overlong forms, surrogates and code points past U+10FFFF are not valid).
int validSequenceLength(const unsigned char *bytes, qsizetype available) {
    const unsigned char lead = bytes[0];
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong below
        else if (lead == 0xED)
            high = 0x9F; // surrogates above
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (available < length)
        return 0;
    if (bytes[1] < low || bytes[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (bytes[i] < 0x80 || bytes[i] > 0xBF)
            return 0;
    }
    return length;
}

void appendUtf8(QByteArray &out, char32_t code) {
    if (code < 0x80) {
        out.append(char(code));
    } else if (code < 0x800) {
        out.append(char(0xC0 | (code >> 6)));
        out.append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.append(char(0xE0 | (code >> 12)));
        out.append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    } else {
        out.append(char(0xF0 | (code >> 18)));
        out.append(char(0x80 | ((code >> 12) & 0x3F)));
        out.append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    }
}

} // namespace

QByteArray pathToBytes(const QString &path) {
    const qsizetype size = path.size();
    const char16_t *units = reinterpret_cast<const char16_t *>(path.utf16());
    bool plain = true;
    for (qsizetype i = 0; i < size && plain; ++i)
        plain = units[i] < 0x80;
    if (plain)
        return path.toLatin1();

    QByteArray out;
    out.reserve(size * 3);
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1])) {
            appendUtf8(out, QChar::surrogateToUcs4(unit, units[i + 1]));
            ++i;
        } else if (isEscapedByte(unit)) {
            out.append(char(unit - kEscapeBase));
        } else {
            // Any other lone surrogate cannot come from a name on disk; it is written in
            // the generalized form, which no valid name spells, so it names nothing else.
            appendUtf8(out, unit);
        }
    }
    return out;
}

QString pathFromBytes(const char *bytes, qsizetype size) {
    const unsigned char *data = reinterpret_cast<const unsigned char *>(bytes);
    qsizetype valid = 0;
    while (valid < size) {
        const int length = validSequenceLength(data + valid, size - valid);
        if (length == 0)
            break;
        valid += length;
    }
    if (valid == size)
        return QString::fromUtf8(bytes, size);

    QString out;
    out.reserve(size);
    out.append(QString::fromUtf8(bytes, valid));
    qsizetype i = valid;
    while (i < size) {
        const int length = validSequenceLength(data + i, size - i);
        if (length == 0) {
            out.append(QChar(char16_t(kEscapeBase + data[i])));
            ++i;
        } else {
            out.append(QString::fromUtf8(bytes + i, length));
            i += length;
        }
    }
    return out;
}

QString pathFromBytes(const QByteArray &bytes) {
    return pathFromBytes(bytes.constData(), bytes.size());
}

QString pathFromBytes(const char *bytes) {
    return pathFromBytes(bytes, qsizetype(std::strlen(bytes)));
}

std::optional<QByteArray> systemPathBytes(const QString &path) {
    QByteArray bytes = pathToBytes(path);
    if (bytes.contains('\0'))
        return std::nullopt;
    return bytes;
}

QByteArray systemPathBytesOrFail(const QString &path) {
    std::optional<QByteArray> bytes = systemPathBytes(path);
    if (!bytes || bytes->isEmpty())
        throw Failure::fromErrno(ENOENT);
    return *std::move(bytes);
}

bool hasEscapedBytes(const QString &path) {
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() &&
            QChar::isLowSurrogate(path.at(i + 1).unicode())) {
            ++i;
        } else if (isEscapedByte(unit)) {
            return true;
        }
    }
    return false;
}

QString pathForDisplay(const QString &path) {
    if (!hasEscapedBytes(path))
        return path;
    QString shown = path;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t unit = shown.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < shown.size() &&
            QChar::isLowSurrogate(shown.at(i + 1).unicode()))
            ++i;
        else if (isEscapedByte(unit))
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

bool startsSurrogatePair(const QString &text, qsizetype index) {
    return index >= 0 && index + 1 < text.size() && text.at(index).isHighSurrogate() &&
           text.at(index + 1).isLowSurrogate();
}

} // namespace plenvoy
