#pragma once

#include "FilePlacement.h"

#include <QList>
#include <QString>

namespace plenvoy {

class ClockProvider;
class FileTimeProvider;
class WindowPort;

// The run's own texts, as the user sees them.
inline const QString kMessageNoFiles = QStringLiteral("No files added.");
inline const QString kMessageFolderMissing =
    QStringLiteral("Folder does not exist. Please select another folder.");
inline const QString kPromptEnterN = QStringLiteral("Enter n:");
inline const QString kMessageDone = QStringLiteral("Done.");
inline const QString kReasonOutputFolderGone = QStringLiteral("the output folder no longer exists");
/// The closing box names at most this many files that were not copied.
constexpr int kMaxFilesNamedWhenDone = 10;

/// What the run reads afresh during the loop: the list, the output-folder box and the
/// drop-down, as they stand at the moment of each read.
class RunInputs {
public:
    virtual ~RunInputs();
    /// Number of list entries.
    virtual int fileCount() const = 0;
    /// The entry at a 1-based position; raises SubscriptOutOfRange outside 1..count.
    virtual QString entryAt(int position) const = 0;
    /// The output-folder box's text as typed.
    virtual QString outputFolderText() const = 0;
    /// The drop-down's current text.
    virtual QString optionText() const = 0;
};

/// What became of one listed file in a run.
struct FileOutcome {
    /// The list entry as the run read it (empty when it could not be read).
    QString source;
    /// Where the copy landed, or would have landed; empty when no place was reached.
    QString destination;
    /// None when the file was copied.
    CopyProblem problem = CopyProblem::None;
    int errorNumber = 0;
    /// Why the file was not copied, in plain words; empty when it was copied.
    QString reason;
    /// The copy got a numbered name ("Base (2).ext") to avoid a clash.
    bool renamed = false;

    bool copied() const { return reason.isEmpty(); }
};

/// What a run did: why it ended and what became of each file it reached.
struct RunOutcome {
    enum class End {
        NoFiles,       ///< "No files added.": nothing touched
        FolderMissing, ///< the output folder does not exist: nothing touched
        Cancelled,     ///< "Enter n:" was cancelled: nothing touched
        WindowClosed,  ///< the window closed during the run: no closing box
        Finished       ///< every listed position was reached
    };
    End end = End::Finished;
    /// The number of listed files when the loop started.
    int listed = 0;
    /// One outcome per position reached, in list order.
    QList<FileOutcome> files;

    int copiedCount() const;
    int notCopiedCount() const;
    int renamedCount() const;
};

/// The reason a copy problem gives the user, in plain words ("it no longer exists").
QString copyProblemText(CopyProblem problem, int errorNumber);

/// The closing box's text: "Done." when every listed file was copied under its new name,
/// otherwise "Done." and blocks naming the files not copied (at most ten, with their
/// reasons, the list entries as the window shows them) and the count renamed.
QString closingMessage(const RunOutcome &outcome);

/// The "Start Changing" run: every listed file is copied into the output folder under
/// its new name. Trapped: a failing step is reported with the step's line and the run
/// goes on. Ends with the closing box (closingMessage); stops at once, with no message,
/// when the window closes during the run or "Enter n:" is cancelled. Another run may
/// start inside this one (from the window's event processing) and runs to its end first.
/// Returns what it did; every front reports from that.
RunOutcome startChanging(RunInputs &inputs, WindowPort &ui);
/// The same run with the clock and the file times it stamps with.
RunOutcome startChanging(RunInputs &inputs, WindowPort &ui, const ClockProvider &clock,
                         const FileTimeProvider &times);

} // namespace plenvoy
