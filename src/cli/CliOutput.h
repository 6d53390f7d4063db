#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace plenvoy::cli {

// Everything plenvoy-cli prints goes through here. Names are printed as the bytes the
// file system holds (the path codec); for text without escaped bytes that is UTF-8.

/// Writes to standard output. After the first failed write nothing more is written there:
/// the failure is told once on standard error and finishOutput() answers false.
void printOut(const QByteArray &bytes);
/// The bytes and a line feed, without a copy of them.
void printOutLine(const QByteArray &bytes);
/// The text and a line feed on standard output.
void printLine(const QString &text);
/// The text and a line feed on standard error, after what standard output holds.
void printErrorLine(const QString &text);
/// "plenvoy-cli: [SUBJECT: ]TEXT" on standard error.
void printError(const std::optional<QString> &subject, const QString &text);
/// "plenvoy-cli: warning: TEXT" on standard error.
void printWarning(const QString &text);
/// Flushes standard output and checks it; true when every write to it succeeded.
bool finishOutput();

/// The records that name files on standard output: lines, or NUL-ended names with -0.
class RecordWriter final {
public:
    explicit RecordWriter(bool nullSeparated)
        : m_nullSeparated(nullSeparated) {}

    /// One record for the file at the 1-based list position. With -0 each field ends with
    /// NUL; otherwise the fields are joined by " -> " into one line, or an empty line with
    /// a warning when a field holds a line break, which would read as two records.
    void write(int position, const QStringList &fields);
    bool nullSeparated() const { return m_nullSeparated; }
    /// True when some record was printed as an empty line in its place.
    bool lineBreakSeen() const { return m_lineBreakSeen; }

private:
    bool m_nullSeparated;
    bool m_lineBreakSeen = false;
};

} // namespace plenvoy::cli
