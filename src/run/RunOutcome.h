#pragma once

#include "copying/FileOutcome.h"
#include "core/ErrorReport.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace plenvoy {

/// The closing box names at most this many files that were not copied; a run's outcome
/// keeps as many of each kind it counts.
constexpr int kMaxFilesNamedWhenDone = 10;

/// What a run did: why it ended and what became of each file it reached.
struct RunOutcome {
    enum class End {
        NoFiles,       ///< "No files added.": nothing touched
        FolderMissing, ///< the output folder does not exist: nothing touched
        Cancelled,     ///< "Enter n:" was cancelled: nothing touched
        WindowClosed,  ///< the window closed during the run: no closing box
        Stopped,       ///< the user stopped the run: it ended after the file in hand
        Finished       ///< every listed position was reached
    };
    End end = End::Finished;
    /// The number of listed files when the loop started.
    int listed = 0;
    /// The answer to "Enter n:" as converted, when one was given and converts.
    std::optional<qint16> nthValue;
    /// The files a front names, in list order: the first ten not copied, the first ten
    /// numbered copies and the first ten copies that replaced an earlier file. The rest are
    /// only counted: a front that tells of every file is handed each one as the run
    /// reaches it (FileOutcomeSink).
    QList<FileOutcome> files;
    /// The id of the run's record, when one was written (a run that copied nothing has none).
    QString recordId;
    /// Why the run's record could not be written; empty when it could, or when none was due.
    QString recordProblem;
    /// "Undo Run" was chosen in the closing box.
    bool undoAsked = false;

    /// Counts the file, and keeps it in files when a front names it.
    void add(FileOutcome &&file);
    int copiedCount() const { return m_copied; }
    int notCopiedCount() const { return m_notCopied; }
    int renamedCount() const { return m_renamed; }
    int replacedCount() const { return m_replaced; }
    /// Files left out as copied before (counted among those not copied).
    int skippedCount() const { return m_skipped; }
    /// The positions the run reached.
    int reachedCount() const { return m_copied + m_notCopied; }

private:
    int m_copied = 0;
    int m_notCopied = 0;
    int m_renamed = 0;
    int m_replaced = 0;
    int m_skipped = 0;
};

/// Lets the outcome go. A large one (a million files take tens of milliseconds to free) is
/// freed on a worker thread, so that the window answers at once after the run.
void forgetOutcome(RunOutcome &&outcome);

/// The closing box's text: "Done." (or, for a stopped run, "Stopped after K of N files.") when
/// every listed file was copied under its new name, otherwise "Done." and blocks naming the files
/// not copied (at most ten, with their reasons, the list entries as the window shows them) and the
/// count renamed.
QString closingMessage(const RunOutcome &outcome);
/// The closing box's informative text: "Copied: A, numbered: B, replaced: C, not copied: D"
/// and, on a line of its own, the output folder.
QString closingDetails(const RunOutcome &outcome, const QString &outputFolder);

} // namespace plenvoy
