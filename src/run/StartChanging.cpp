#include "StartChanging.h"

#include "RunContext.h"
#include "RunSteps.h"
#include "core/LocationTags.h"
#include "core/PathHelpers.h"
#include "core/Translation.h"
#include "core/Trap.h"
#include "core/WindowPort.h"
#include "naming/ComposeNewName.h"
#include "naming/FileMoment.h"
#include "naming/NthValue.h"
#include "naming/RenameOptions.h"
#include "records/RecordWriter.h"

#include <optional>
#include <variant>

namespace plenvoy {

namespace {

/// Nothing listed or no output folder: said, and nothing is touched.
std::optional<RunOutcome::End> refusedBeforeAnyFile(Trap &trap, const RunInputs &inputs,
                                                    WindowPort &ui) {
    if (trap.test(kStepNoFilesTest, [&] { return inputs.fileCount() == 0; })) {
        trap.step(kStepNoFiles, [&] { ui.showMessage(shownText("Run", kMessageNoFiles)); });
        return RunOutcome::End::NoFiles;
    }
    if (trap.test(kStepFolderTest, [&] { return !FolderExists(inputs.outputFolderText()); })) {
        trap.step(kStepFolderMissing,
                  [&] { ui.showMessage(shownText("Run", kMessageFolderMissing)); });
        return RunOutcome::End::FolderMissing;
    }
    return std::nullopt;
}

/// "Enter n:" until the answer reads as a number, for an option that puts the stamp after
/// the nth character. The answer, none for another option; or how the run ends when the
/// question was cancelled or the window closed.
std::variant<std::optional<QString>, RunOutcome::End> askForN(Trap &trap, const RunInputs &inputs,
                                                              WindowPort &ui) {
    if (!trap.test(kStepNthTest, [&] { return needsNthValue(inputs.optionText()); }))
        return std::optional<QString>();
    QString nthText;
    do {
        bool answered = false;
        trap.step(kStepAskN, [&] {
            const QString answer = ui.askText(shownText("Run", kPromptEnterN), QString());
            answered = true;
            nthText = answer;
        });
        // Cancel, Escape or a closed box ends the run before any file is touched.
        if (ui.closing())
            return RunOutcome::End::WindowClosed;
        if (answered && nthText.isNull())
            return RunOutcome::End::Cancelled;
    } while (trap.test(kStepNumberTest, [&] { return !readsAsNumber(nthText); }));
    return std::optional<QString>(nthText);
}

/// The closing box, with the record's problem said once: the run itself went on.
void closeRun(Trap &trap, RunOutcome &outcome, const RunInputs &inputs, WindowPort &ui) {
    trap.step(kStepDefaultPointer, [&] { ui.setPointer(PointerMode::Default); });
    trap.setEntry(std::nullopt);
    trap.step(kStepDone, [&] {
        QString message = closingMessage(outcome);
        if (!outcome.recordProblem.isEmpty()) {
            // The record's problem is kept in English; its fixed part is shown translated.
            QString problem = outcome.recordProblem;
            if (problem.startsWith(kRecordNotWritten))
                problem.replace(0, kRecordNotWritten.size(), shownText("Run", kRecordNotWritten));
            message += QStringLiteral("\r\r") + problem;
        }
        outcome.undoAsked =
            ui.showRunClosingBox(message, closingDetails(outcome, inputs.outputFolderText()),
                                 !outcome.recordId.isEmpty(),
                                 outcome.copiedCount() > 0 ? inputs.outputFolderText() : QString());
    });
}

} // namespace

RunInputs::~RunInputs() = default;

QString RunInputs::listedThrough(int) const {
    return QString();
}

RunOutcome startChanging(RunInputs &inputs, WindowPort &ui) {
    return startChanging(inputs, ui, systemClock(), systemFileTimes());
}

RunOutcome startChanging(RunInputs &inputs, WindowPort &ui, const ClockProvider &clock,
                         const FileTimeProvider &times, const RunChoices &style,
                         const FileOutcomeSink &eachFile, const CopyHooks &copyHooks) {
    Trap trap(kTagStartChanging, ui);
    RunOutcome outcome;
    if (const auto end = refusedBeforeAnyFile(trap, inputs, ui)) {
        outcome.end = *end;
        return outcome;
    }
    const auto asked = askForN(trap, inputs, ui);
    if (const auto *end = std::get_if<RunOutcome::End>(&asked)) {
        outcome.end = *end;
        return outcome;
    }
    int count = 0;
    int position = 1;
    trap.step(kStepCount, [&] {
        count = inputs.fileCount();
        position = 1;
    });
    outcome.listed = count;
    RunContext run(inputs, ui, trap, count, std::get<std::optional<QString>>(asked), style, clock,
                   times, copyHooks);

    bool windowClosed = false;
    while (position <= count) {
        trap.step(kStepEvents, [&] { ui.processEvents(); });
        if ((windowClosed = ui.closing()))
            break;
        trap.step(kStepBusy, [&] { ui.setPointer(PointerMode::Busy); });
        ui.reportProgress(position - 1, count);
        FileOutcome file = run.placeEntry(position);
        outcome.nthValue = run.nthValue();
        const bool dropped = file.problem == CopyProblem::Dropped;
        if (eachFile)
            eachFile(file);
        outcome.add(std::move(file));
        if ((windowClosed = dropped && ui.closing()))
            break;
        trap.step(kStepNext, [&] { ++position; });
        // Between two files, never half-way through one.
        if (position <= count && ui.stopRequested()) {
            outcome.end = RunOutcome::End::Stopped;
            break;
        }
    }
    if (windowClosed) {
        outcome.end = RunOutcome::End::WindowClosed;
        run.keepRecord(outcome);
        return outcome;
    }
    ui.reportProgress(qint64(outcome.reachedCount()), count);
    run.finish();
    run.keepRecord(outcome);
    closeRun(trap, outcome, inputs, ui);
    return outcome;
}

} // namespace plenvoy
