#pragma once

#include "RecordFormat.h"
#include "SignalSafeLines.h"
#include "copying/FileOutcome.h"
#include "naming/RunChoices.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <string>

namespace plenvoy {

/// What a record says, once, when it could not be written.
inline const QString kRecordNotWritten = QStringLiteral(
    QT_TRANSLATE_NOOP("Run", "This run cannot be taken back: its record could not be written"));

/// Runs write records only once a front has turned them on, naming itself ("window" or
/// "cli"); tests and benchmarks that run the batch directly write none unless they ask.
void enableRunRecords(const QString &front);
void disableRunRecords();
/// True once a front has turned the records on.
bool runRecordsEnabled();

/// Writes the record of one run, one JSON line per listed file (see RecordFormat), beside
/// the run: the file is made with the run's first copy (a run that copies nothing leaves
/// none), lines are buffered and written at least every 100 ms, at the end, and by the
/// signal handler on SIGINT, SIGTERM and SIGHUP, so that an ended run leaves what it did up
/// to that point. A record that cannot be written never stops the run: problem() tells why.
class RecordWriter final {
public:
    /// Removes the records older than 90 days and those beyond the newest 200 when records
    /// are on; otherwise the record writes nothing.
    RecordWriter(const QString &outputFolder, const QString &optionText, const RunChoices &style);
    ~RecordWriter();
    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    void setNthValue(std::optional<qint16> value) { m_nthValue = value; }
    /// True when the record writes lines: a run then asks each copy for its status once
    /// named (FileOutcome::named), so that no copy is looked up again by its name.
    bool enabled() const { return m_enabled; }
    /// The next listed file's outcome; a copy's identity is taken from FileOutcome::named,
    /// or read from its name when the copy did not tell it.
    void add(const FileOutcome &file);
    /// A folder the run made for its copies: undo removes it once it is empty.
    void addMadeFolder(const QString &path);
    /// Writes the buffered lines when the last write is 100 ms old.
    void flushIfDue();
    /// The closing line with the counts; a record without it did not finish.
    void finish();

    /// The run's id (the file name without ".jsonl"); empty while no record exists.
    QString id() const { return m_id; }
    /// Why the record could not be written, in plain words; empty when it could.
    QString problem() const { return m_problem; }

private:
    bool open();
    void append(const QByteArray &line);
    void append(const char *data, size_t size);
    void flush();
    void fail(int errorNumber);
    NamedStatus statusByName(const QByteArray &destination);

    bool m_enabled = false;
    QString m_workingFolder; // read once, for the run's relative paths
    QString m_front;
    QString m_output;
    QString m_option;
    RunChoices m_style;
    std::optional<qint16> m_nthValue;
    QDateTime m_start;
    QString m_id;
    QString m_problem;
    std::string m_line;   // keeps its room from line to line
    QByteArray m_waiting; // lines of files not copied before the first copy
    SignalSafeLines m_lines;
    StatusByName m_status;
    qint64 m_flushedAtMs = 0;
    qint64 m_counts[kRecordOutcomes] = {};
};

} // namespace plenvoy
