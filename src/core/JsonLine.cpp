#include "JsonLine.h"

namespace plenvoy {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUtf8(QByteArray &out, unsigned code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

/// The character a one-letter escape stands for; 0 for none.
char escapedCharacter(char escaped) {
    switch (escaped) {
    case '"':
    case '\\':
    case '/':
        return escaped;
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return 0;
    }
}

} // namespace

bool JsonLine::hex4(unsigned &value) {
    if (m_end - m_p < 4)
        return false;
    value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexValue(m_p[i]);
        if (digit < 0)
            return false;
        value = value * 16 + unsigned(digit);
    }
    m_p += 4;
    return true;
}

bool JsonLine::string(QByteArray *out) {
    if (!take('"'))
        return false;
    const char *run = m_p;
    for (;;) {
        const char *stop = m_p;
        while (stop < m_end && *stop != '"' && *stop != '\\' &&
               static_cast<unsigned char>(*stop) >= 0x20)
            ++stop;
        m_p = stop;
        if (m_p >= m_end || static_cast<unsigned char>(*m_p) < 0x20)
            return false;
        // What runs up to the quote or backslash is plain.
        if (out)
            out->append(run, m_p - run);
        if (*m_p == '"') {
            ++m_p;
            return true;
        }
        ++m_p;
        if (m_p >= m_end)
            return false;
        const char escaped = *m_p++;
        if (escaped == 'u') {
            unsigned code = 0;
            if (!hex4(code))
                return false;
            if (code >= 0xD800 && code < 0xDC00) {
                unsigned low = 0;
                if (!take('\\') || !take('u') || !hex4(low) || low < 0xDC00 || low >= 0xE000)
                    return false;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            } else if (code >= 0xDC00 && code < 0xE000) {
                return false;
            }
            if (out)
                appendUtf8(*out, code);
        } else {
            const char plain = escapedCharacter(escaped);
            if (plain == 0)
                return false;
            if (out)
                *out += plain;
        }
        run = m_p;
    }
}

bool JsonLine::text(QByteArrayView &view, QByteArray &scratch) {
    const char *const start = m_p + 1;
    const char *stop = start;
    while (stop < m_end && *stop != '"' && *stop != '\\' &&
           static_cast<unsigned char>(*stop) >= 0x20)
        ++stop;
    if (m_p < m_end && *m_p == '"' && stop < m_end && *stop == '"') {
        view = QByteArrayView(start, stop - start);
        m_p = stop + 1;
        return true;
    }
    scratch.resize(0);
    if (!string(&scratch))
        return false;
    view = scratch;
    return true;
}

bool JsonLine::skipValue(int depth) {
    if (depth > 16 || m_p >= m_end)
        return false;
    switch (*m_p) {
    case '"':
        return string(nullptr);
    case 'n':
        return word("null");
    case 't':
        return word("true");
    case 'f':
        return word("false");
    case '{':
    case '[': {
        const char close = *m_p == '{' ? '}' : ']';
        ++m_p;
        skipBlanks();
        if (take(close))
            return true;
        for (;;) {
            skipBlanks();
            if (close == '}') {
                if (!string(nullptr))
                    return false;
                skipBlanks();
                if (!take(':'))
                    return false;
                skipBlanks();
            }
            if (!skipValue(depth + 1))
                return false;
            skipBlanks();
            if (take(close))
                return true;
            if (!take(','))
                return false;
        }
    }
    default: {
        double number = 0;
        const auto [next, error] = std::from_chars(m_p, m_end, number);
        if (error != std::errc() || next == m_p)
            return false;
        m_p = next;
        return true;
    }
    }
}

} // namespace plenvoy
