#pragma once

// Every line of a run's record and of the index of copied files, written and read here;
// the grammar opens RecordFormat.cpp.

#include "core/FileIdentity.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonValue>
#include <QString>
#include <QStringView>

#include <optional>
#include <string>

namespace plenvoy {

/// The folder that holds the run records: $XDG_STATE_HOME/plenvoy/runs, by default
/// ~/.local/state/plenvoy/runs.
QString runRecordFolder();
/// Makes the record folder and its parents, the last two (".../plenvoy/runs") private to
/// this user; false, with errno set, when it can't.
bool makeRunRecordFolder();
/// The record file of a run id.
QString runRecordPath(const QString &id);
/// The index of copied files, beside the folder of the records.
QString copiedIndexPath();

/// The format new records are written in. A record whose first line names none is of
/// format 1, as version 1.1.0 wrote it: the same lines, without the skipped count.
inline constexpr int kRecordFormat = 2;

/// A record's first line: the run and the choices it was made with.
struct RecordHeader {
    QString id;
    QString start;
    /// The version of the program that wrote the record.
    QString version;
    QString front;
    QString output;
    /// The output folder's identity; -1 when it was not known.
    qint64 outputDevice = -1;
    qint64 outputInode = -1;
    QString option;
    std::optional<qint16> nthValue;
    QString form;
    QString pattern; ///< only with the custom form
    QString creation;
    QString shift; ///< only when a shift was set
    QString layout;
    int format = kRecordFormat;

    bool operator==(const RecordHeader &other) const {
        return id == other.id && start == other.start && version == other.version &&
               front == other.front && output == other.output &&
               outputDevice == other.outputDevice && outputInode == other.outputInode &&
               option == other.option && nthValue == other.nthValue && form == other.form &&
               pattern == other.pattern && creation == other.creation && shift == other.shift &&
               layout == other.layout && format == other.format;
    }
};

/// What a run did with one listed file, as the record names it.
enum class RecordOutcome { Copied, Numbered, Replaced, NotCopied, Skipped };
inline constexpr int kRecordOutcomes = 5;

/// One listed file's line. Paths are in the file system's bytes.
struct RecordedCopy {
    /// The source and the reason are read only when all fields are asked for.
    QByteArray source;
    QByteArray destination;
    RecordOutcome outcome = RecordOutcome::Copied;
    QString reason;
    /// The copy as the run left it: all -1 when no copy was made, or it could not be read.
    FileIdentity identity;

    bool notCopied() const {
        return outcome == RecordOutcome::NotCopied || outcome == RecordOutcome::Skipped;
    }
    bool replaced() const { return outcome == RecordOutcome::Replaced; }
};

/// The closing line: when the run ended and how many files had each outcome.
struct RecordEnd {
    QString at;
    qint64 counts[kRecordOutcomes] = {};
};

/// The line undo adds once the run is taken back.
struct RecordUndone {
    QString at;
    qint64 removed = 0;
    qint64 left = 0;
};

QByteArray headerLine(const RecordHeader &header);
/// Appends a listed file's line to line, in place: numbers and plain paths go straight into
/// it. identity is null when no copy was made or its identity is not known.
void appendCopyLine(std::string &line, const QString &source, const QString &destination,
                    RecordOutcome outcome, const QString &reason, const FileIdentity *identity);
/// A folder the run made for its copies.
QByteArray madeLine(const QString &folder);
QByteArray endLine(const RecordEnd &end);
QByteArray undoneLine(const RecordUndone &undone);

/// The kinds of a record's lines.
enum class RecordLine { Header, Copy, Made, End, Undone, Damaged, Blank };

/// Reads a record's lines one at a time (without their line feed). A copy line as a run
/// writes it is read with a few searches, any other spelling of it by JSON's rules; the
/// other lines are few and read as documents.
class RecordLineReader final {
public:
    enum class Fields {
        Undo, ///< what undo and a list of runs need: no source, no reason
        All
    };
    explicit RecordLineReader(Fields fields = Fields::Undo)
        : m_all(fields == Fields::All) {}

    /// The line's kind; a copy line goes into copy, the others into the members below.
    RecordLine read(const char *begin, const char *end, RecordedCopy &copy);

    RecordHeader header;
    QString made;
    RecordEnd closing;
    RecordUndone undone;

private:
    bool readCopyAsWritten(const char *begin, const char *end, RecordedCopy &copy);
    bool readCopy(const char *begin, const char *end, RecordedCopy &copy);
    RecordLine readDocument(const char *begin, const char *end);

    bool m_all;
    QByteArray m_key;
    QByteArray m_outcome;
};

/// Whether the line is undo's line (read without taking the rest of the record).
bool isUndoneLine(QByteArrayView line);

/// A path as the record holds it: a JSON string when it is valid UTF-8, otherwise
/// {"b64": "..."} of its bytes.
QByteArray recordPathJson(const QString &path);
/// The path of a value written by recordPathJson: a string, or {"b64": "..."} of its bytes.
QString recordPathFrom(const QJsonValue &value);
/// A JSON string, escaped.
QByteArray recordStringJson(const QString &text);

/// One line of the index of copied files.
struct IndexLine {
    /// The output folder, absolute and clean.
    QString output;
    /// The copy's path below the output folder.
    QString copy;
    /// The source's path below the folder it was listed through (see sourceKeyOf).
    QString sourceKey;
    qint64 sourceSize = 0;
    qint64 sourceMtimeNs = 0;
    FileIdentity identity;
    /// When the copy was made, in seconds since 1970 (UTC).
    qint64 madeAt = 0;

    bool operator==(const IndexLine &other) const {
        return output == other.output && copy == other.copy && sourceKey == other.sourceKey &&
               sourceSize == other.sourceSize && sourceMtimeNs == other.sourceMtimeNs &&
               identity == other.identity && madeAt == other.madeAt;
    }
};

/// The output folder as the index's lines begin with it, without the tab that follows.
QByteArray indexOutputField(const QString &output);
/// The most bytes writeIndexLine writes, line feed included.
qsizetype indexLineBound(qsizetype outputFieldBytes, qsizetype copyCharacters,
                         qsizetype keyCharacters);
/// Writes an index line at p, in place, and gives its end.
char *writeIndexLine(char *p, QByteArrayView outputField, QStringView copy, QStringView sourceKey,
                     qint64 sourceSize, qint64 sourceMtimeNs, const FileIdentity &identity,
                     qint64 madeAt);
/// The line of the fields, line feed included.
QByteArray indexLine(const IndexLine &line);
/// Reads an index line without its line feed; false for one that is not.
bool readIndexLine(QByteArrayView line, IndexLine &out);

} // namespace plenvoy
