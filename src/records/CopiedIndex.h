#pragma once

#include "copying/FilePlacement.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>

struct statx;

namespace plenvoy {

class RegionalForms;

/// The file beside the run records that lists every copy a recorded run made: the output
/// folder, the copy's path below it, the source as it was known then (its path below the
/// folder it was listed through, its size and modification time), the copy's identity and
/// when it was made. Runs append to it as they go; pruning the records leaves it alone.
QString copiedIndexPath();

/// How a source is known across runs: its path below the folder it was listed through, so
/// that a card plugged in again under another device is the same; its full path when it
/// was listed on its own.
QString sourceKeyOf(const QString &source, const QString &listedThrough);

/// A copy made before, as the index holds it.
struct CopiedBefore {
    /// The copy's path below the output folder.
    QString copy;
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = 0;
    qint64 mtime = 0;
    qint64 ctime = 0;
    /// When it was made, in seconds since 1970 (UTC).
    qint64 madeAt = 0;
};

/// "copied before on 7/12/2026 as IMG_0001 12-6-2026.jpg": the day in the locale's short
/// form and the copy's name.
QString copiedBeforeReason(const CopiedBefore &copy, const RegionalForms &forms);

/// The copies made before into one output folder, read from the index once (a run or a
/// preview reads it when it starts; no record is read per file).
class CopiedIndex final {
public:
    explicit CopiedIndex(const QString &outputFolder);
    ~CopiedIndex();
    CopiedIndex(const CopiedIndex &) = delete;
    CopiedIndex &operator=(const CopiedIndex &) = delete;

    QString outputFolder() const { return m_output; }
    /// The copy of this source into the folder (below the output folder; empty for the
    /// output folder itself) when it is still there and unchanged, checked as undo checks a
    /// copy: same device, inode, size, modification and change time, or on file systems
    /// whose inodes don't survive a re-plug, same name, size and modification time.
    std::optional<CopiedBefore> find(const QString &folder, const QString &sourceKey, qint64 size,
                                     qint64 mtimeNs) const;

private:
    void takeLine(const QByteArray &line);

    QString m_output;
    int m_outputFd = -1;
    QHash<QByteArray, CopiedBefore> m_copies;
};

/// Runs note their copies in the index whenever the run records are on; a benchmark turns
/// this off to weigh a record alone.
void setCopiesIndexed(bool indexed);

/// Appends the copies of one run to the index: lines are gathered and written when a
/// megabyte is due and at the end, each copy's identity read as it then is.
class CopiedIndexWriter final {
public:
    /// Writes nothing unless the run records are on.
    CopiedIndexWriter();
    ~CopiedIndexWriter();
    CopiedIndexWriter(const CopiedIndexWriter &) = delete;
    CopiedIndexWriter &operator=(const CopiedIndexWriter &) = delete;

    /// A copy written at `destination` (a whole path below the output folder) from `source`,
    /// listed through the folder `listedThrough` (empty when listed on its own), of this size
    /// and modification time. `named` is the copy's status once it had its name, when the
    /// copy read it; otherwise it is read here.
    void note(const QString &outputFolder, const QString &destination, const QString &source,
              const QString &listedThrough, qint64 size, qint64 mtimeNs,
              const NamedStatus &named = NamedStatus());
    /// Writes what is gathered.
    void flush();

private:
    bool m_enabled = false;
    QString m_workingFolder; // read once, for relative paths
    QByteArray m_lines;
    StatusByName m_status;
    // The output folder as last given, and as written (clean, absolute) with its field.
    QString m_outputGiven;
    QString m_output;
    QString m_prefix;
    QByteArray m_outputField;
    // The folder the sources were last listed through, and its clean form ending in "/"
    // (empty for files listed on their own).
    bool m_rootKnown = false;
    QString m_rootGiven;
    QString m_rootPrefix;
};

struct FileOutcome;

/// A run's side of the index: it skips the files copied before (when asked to) and notes
/// the copies it makes.
class RunCopies final {
public:
    explicit RunCopies(bool skipCopied);
    ~RunCopies();
    RunCopies(const RunCopies &) = delete;
    RunCopies &operator=(const RunCopies &) = delete;

    /// True, with the file's outcome set to why, when the source was copied before into
    /// the folder `relative` below the output folder and that copy is still there unchanged.
    bool skipped(const QString &outputFolder, const QString &relative, const QString &source,
                 const QString &listedThrough, const struct statx &status, FileOutcome &file);
    /// Notes the file's copy, when it was copied.
    void copied(const QString &outputFolder, const FileOutcome &file, const QString &listedThrough,
                const struct statx &status);
    /// Writes the copies noted so far to the index.
    void flush() { m_writer.flush(); }

private:
    bool m_skip;
    QString m_workingFolder; // read once, for relative paths
    QString m_outputGiven;   // the output folder the index was last checked against
    std::unique_ptr<CopiedIndex> m_index;
    CopiedIndexWriter m_writer;
};

} // namespace plenvoy
