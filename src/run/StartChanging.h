#pragma once

#include "RunOutcome.h"
#include "copying/FilePlacement.h"
#include "naming/RunChoices.h"

#include <QList>
#include <QString>

namespace plenvoy {

class ClockProvider;
class FileTimeProvider;
class WindowPort;

// The run's own texts, as the user sees them in English; shown in the window's language.
inline const QString kMessageNoFiles = QStringLiteral(QT_TRANSLATE_NOOP("Run", "No files added."));
inline const QString kMessageFolderMissing = QStringLiteral(
    QT_TRANSLATE_NOOP("Run", "Folder does not exist. Please select another folder."));
inline const QString kPromptEnterN = QStringLiteral(QT_TRANSLATE_NOOP("Run", "Enter n:"));
inline const QString kMessageDone = QStringLiteral(QT_TRANSLATE_NOOP("Run", "Done."));
/// The first block of a stopped run's closing box: files reached, files listed.
inline const QString kMessageStopped =
    QStringLiteral(QT_TRANSLATE_NOOP("Run", "Stopped after %1 of %2 files."));

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
    /// The folder the entry at a 1-based position was listed through; empty when it was
    /// listed on its own.
    virtual QString listedThrough(int position) const;
};

/// The "Start Changing" run: every listed file is copied into the output folder under
/// its new name. Trapped: a failing step is reported with the step's line and the run
/// goes on. Ends with the closing box (closingMessage); a stop asked through the port ends
/// it after the file in hand, with the closing box. It stops at once, with no message,
/// when the window closes during the run or "Enter n:" is cancelled. Another run may
/// start inside this one (from the window's event processing) and runs to its end first.
/// Returns what it did; every front reports from that.
RunOutcome startChanging(RunInputs &inputs, WindowPort &ui);
/// The same run with the clock and the file times it stamps with, and the stamp's form and
/// creation time. eachFile is handed every file as the run reaches it: the outcome counts
/// them but keeps only those a front names (RunOutcome::files). copyHooks are given to every
/// copy (a test slows a copy down or acts half-way through it).
RunOutcome startChanging(RunInputs &inputs, WindowPort &ui, const ClockProvider &clock,
                         const FileTimeProvider &times, const RunChoices &style = RunChoices(),
                         const FileOutcomeSink &eachFile = {},
                         const CopyHooks &copyHooks = CopyHooks());

} // namespace plenvoy
