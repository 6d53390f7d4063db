#pragma once

#include "RecordFormat.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace plenvoy {

/// A run's record read line by line, in chunks: nothing of it is held beyond the line in
/// hand. The list of runs, undo and the window read records through it; each damaged line
/// is named and skipped.
class RecordReader final {
public:
    /// What the record's own lines said, besides its copies.
    RecordHeader header;
    bool finished = false;
    bool undone = false;
    /// The folders the run made, in the order it made them.
    QStringList made;

    RecordReader(const QString &id, QStringList *damaged,
                 RecordLineReader::Fields fields = RecordLineReader::Fields::Undo);
    ~RecordReader();
    RecordReader(const RecordReader &) = delete;
    RecordReader &operator=(const RecordReader &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    /// Reads up to the next copy line: false at the end of the record.
    bool next(RecordedCopy &copy);
    /// Reads the record to its end, counting what it copied and did not; progress is called
    /// every few hundred lines.
    void count(qint64 &copied, qint64 &notCopied, const std::function<void()> &progress = {});

private:
    bool fill();
    bool line(const char *begin, const char *end, RecordedCopy &copy);

    QString m_id;
    QStringList *m_damaged;
    int m_fd;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    qint64 m_line = 0;
    RecordLineReader m_lines;
};

/// The record ids in the record folder, newest first.
QStringList recordIds();
/// Whether the record was taken back, read from its last lines (the undo line is the last).
bool recordUndone(const QString &id);

/// One record as a list of runs shows it.
struct RunSummary {
    QString id;
    QString start;
    QString front;
    QString output;
    qint64 copied = 0;
    qint64 notCopied = 0;
    /// The record holds its closing line.
    bool finished = false;
    bool undone = false;
};

/// The record read to its end; each damaged line is named in damaged.
RunSummary readSummary(const QString &id, QStringList *damaged,
                       const std::function<void()> &progress = {});
/// The records in the record folder, newest first. Each damaged line is named in damaged.
QList<RunSummary> listRunRecords(QStringList *damaged = nullptr);

/// Hands each line of the index of copied files that is about this output folder (absolute
/// and clean) to take, in the order they were written.
void readIndexLines(const QString &output, const std::function<void(const IndexLine &)> &take);

} // namespace plenvoy
