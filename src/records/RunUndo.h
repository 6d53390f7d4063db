#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace plenvoy {

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

/// The records in the record folder, newest first. Each damaged line is named in damaged.
QList<RunSummary> listRunRecords(QStringList *damaged = nullptr);

/// A copy that undo left where it is, and why.
struct LeftCopy {
    QString path;
    QString why;
};

/// What taking a run back did (or, in a dry run, would do).
struct UndoResult {
    enum class Status {
        Done,          ///< every copy was looked at
        AlreadyUndone, ///< the run was taken back before: nothing removed
        UnknownId,     ///< no record, or more than one, has that id
        NoRun          ///< no record is left to take back
    };
    Status status = Status::Done;
    QString id;
    QString output;
    /// How many copies were removed (or would be).
    qint64 removedCount = 0;
    /// The copies removed (or that would be), in list order; empty when undoRun handed
    /// each one to its eachRemoved instead.
    QStringList removed;
    /// The copies left, each with what changed since the run wrote it.
    QList<LeftCopy> left;
    /// Damaged record lines, skipped, each named.
    QStringList damaged;
    /// Why the record could not be marked as undone; empty when it was (or in a dry run).
    QString markProblem;
};

/// Why a copy that replaced an earlier file of its name is left in place.
inline const QString kKeptReplaced =
    QStringLiteral(QT_TRANSLATE_NOOP("Undo", "kept: it replaced an earlier file"));

/// The id of the record that the text names, whole or by its 4-hex tail where that is
/// unique; the newest record not yet undone for an empty text. Empty when none is found.
QString findRunRecord(const QString &text, UndoResult::Status *status = nullptr);

/// Takes back the run: every copy it wrote is removed when it is still the same file,
/// unchanged since (device, inode, size, modification and change time; on vfat, exfat and
/// FUSE file systems, whose inodes don't survive a re-plug, the name, size and modification
/// time). Names are removed relative to the output folder opened once, and only when its
/// device and inode are those the run wrote into, so a link put in place of the folder is
/// never followed. Sources, and copies that replaced earlier files, are never touched. The
/// record is marked as undone. A dry run removes and marks nothing. progress is called now
/// and then, so that a window can answer. The record is read line by line, and a large run
/// is taken back by two threads, each with half of the names: when eachRemoved is given,
/// each removed copy's path (in the file system's bytes) goes there in record order, a few
/// hundred at a time as they go, and result.removed stays empty.
UndoResult undoRun(const QString &id, bool dryRun, const std::function<void()> &progress = {},
                   const std::function<void(const QByteArray &path)> &eachRemoved = {});

/// The record file of a run id.
QString runRecordPath(const QString &id);

} // namespace plenvoy

namespace plenvoy {

class WindowPort;

/// The runs one window made, so that Ctrl+Z there takes back its newest one not yet undone.
class WindowRuns final {
public:
    /// Notes the record of a run that the window made (an empty id, of a run that wrote no
    /// copy, is ignored).
    void note(const QString &id);
    /// Asks first, naming the count and the output folder ("Remove the 1,234 copies this run
    /// made in /home/ana/stamped?"), then takes the run back, letting the window answer
    /// meanwhile, and tells how many were removed and which were left and why. Nothing
    /// happens when no run of this window is left to take back. Returns what undo did.
    UndoResult offerUndo(WindowPort &ui);

private:
    QStringList m_ids;
};

/// The question asked before a run is taken back.
QString undoQuestion(qint64 copies, const QString &outputFolder);
/// The report after: how many were removed, and the copies left with why (at most ten).
QString undoReport(const UndoResult &result);

} // namespace plenvoy
