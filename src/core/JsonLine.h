#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <charconv>
#include <cstdio>
#include <cstring>

namespace plenvoy {

/// Reads one line of JSON in place, piece by piece, without building a document: a reader
/// of a format takes its keys and values in turn and answers false at the first piece that
/// is not what JSON allows there. The small pieces are inline: a million lines are read in a
/// small part of what acting on them takes.
class JsonLine final {
public:
    JsonLine() = default;
    JsonLine(const char *begin, const char *end)
        : m_p(begin)
        , m_end(end) {}

    bool atEnd() const { return m_p == m_end; }

    void skipBlanks() {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\t' || *m_p == '\r'))
            ++m_p;
    }
    bool take(char c) {
        if (m_p < m_end && *m_p == c) {
            ++m_p;
            return true;
        }
        return false;
    }
    bool next(char c) const { return m_p < m_end && *m_p == c; }
    /// The exact characters of text.
    template <size_t N> bool word(const char (&text)[N]) { return word(text, N - 1); }
    bool word(const char *text, size_t length) {
        if (size_t(m_end - m_p) < length || std::memcmp(m_p, text, length) != 0)
            return false;
        m_p += length;
        return true;
    }
    /// The rest of a string whose opening quote was read, when it holds no escape and no
    /// control character; its text goes to text when one is given.
    bool plainText(QByteArrayView *text = nullptr) {
        const char *const start = m_p;
        const auto *quote =
            static_cast<const char *>(std::memchr(start, '"', size_t(m_end - start)));
        if (!quote)
            return false;
        for (const char *p = start; p < quote; ++p)
            if (*p == '\\' || static_cast<unsigned char>(*p) < 0x20)
                return false;
        if (text)
            *text = QByteArrayView(start, quote - start);
        m_p = quote + 1;
        return true;
    }
    /// A whole number, or null read as -1.
    bool numberOrNull(qint64 &value) {
        if (word("null")) {
            value = -1;
            return true;
        }
        const auto [next, error] = std::from_chars(m_p, m_end, value);
        if (error != std::errc() || next == m_p)
            return false;
        m_p = next;
        return true;
    }

    /// A JSON string; its bytes (escapes undone) go to out when one is given.
    bool string(QByteArray *out);
    /// A JSON string as a view: of the line itself when it holds no escape, otherwise of its
    /// bytes decoded into scratch.
    bool text(QByteArrayView &view, QByteArray &scratch);
    /// Any JSON value, looked at only to be passed over.
    bool skipValue(int depth = 0);

private:
    bool hex4(unsigned &value);

    const char *m_p = nullptr;
    const char *m_end = nullptr;
};

/// Appends the UTF-8 bytes as a JSON string; runs of plain bytes are copied whole. Out is a
/// QByteArray or a std::string that keeps its room between lines.
template <typename Out> void appendJsonString(Out &out, const QByteArray &utf8) {
    out += '"';
    const char *run = utf8.constData();
    const char *const end = run + utf8.size();
    for (const char *p = run; p < end; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte >= 0x20 && byte != '"' && byte != '\\')
            continue;
        out.append(run, p - run);
        if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += '\\';
            out += *p;
        }
        run = p + 1;
    }
    out.append(run, end - run);
    out += '"';
}

} // namespace plenvoy
