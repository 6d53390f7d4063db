#include "StartChanging.h"

#include "copying/FilePlacement.h"
#include "copying/ListedPlacement.h"
#include "copying/OutputLayout.h"
#include "core/PathHelpers.h"
#include "records/CopiedIndex.h"
#include "records/RecordWriter.h"

#include "core/LocationTags.h"
#include "core/Translation.h"
#include "core/Trap.h"
#include "core/WindowPort.h"
#include "naming/ComposeNewName.h"
#include "naming/FileMoment.h"
#include "naming/NthValue.h"
#include "naming/RegionalForms.h"
#include "naming/TakenTime.h"

#include "core/PathCodec.h"

#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <utility>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace plenvoy {

namespace {

// The run's step numbers, as the error report names them.
constexpr qint32 kLineNoFilesTest = 100;
constexpr qint32 kLineFolderTest = 102;
constexpr qint32 kLineNthTest = 104;
constexpr qint32 kLineAskN = 106;
constexpr qint32 kLineNumberTest = 108;
constexpr qint32 kLineCount = 110;
constexpr qint32 kLineEvents = 112;
constexpr qint32 kLineBusy = 114;
constexpr qint32 kLineSource = 116;
constexpr qint32 kLineNthEmptyTest = 118;
constexpr qint32 kLineNthDefault = 120;
constexpr qint32 kLineNewName = 122;
constexpr qint32 kLineDestination = 124;
constexpr qint32 kLinePlace = 126;
constexpr qint32 kLineNext = 128;
constexpr qint32 kLineDefaultPointer = 130;
constexpr qint32 kLineDone = 132;
constexpr qint32 kLineFolderMissing = 134;
constexpr qint32 kLineNoFiles = 136;

const QString kNthMarker = QStringLiteral("nth character");
/// Listed files whose identity is read between two looks at the window.
constexpr int kListedFilesPerEventCheck = 8192;
/// Reads the files of the list the first time a copy meets an existing name: a copy never
/// replaces one. A run into a fresh folder never asks, and reads none. What this run wrote
/// before (new names only, as nothing existed until then) is not the list's. A long list
/// lets the window process its events between batches; false when the window closed
/// meanwhile.
bool readListedFiles(ProtectedFiles &files, const RunInputs &inputs, int count,
                     const WrittenFiles &written, WindowPort &ui) {
    try {
        for (int position = 1; position <= count; ++position) {
            files.add(inputs.entryAt(position));
            if (position % kListedFilesPerEventCheck == 0) {
                ui.processEvents();
                if (ui.closing())
                    return false;
            }
        }
    } catch (const std::exception &) {
        // The list shrank meanwhile: the entries read so far are protected.
    }
    written.forEachWritten(
        [&files](const Identity &file) { files.remove(file.first, file.second); });
    return true;
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
                         const FileTimeProvider &times, const StampStyle &style,
                         const FileOutcomeSink &eachFile, const CopyHooks &copyHooks) {
    Trap trap(kTagStartChanging, ui);
    RunOutcome outcome;

    if (trap.test(kLineNoFilesTest, [&] { return inputs.fileCount() == 0; })) {
        trap.step(kLineNoFiles, [&] { ui.showMessage(shownText("Run", kMessageNoFiles)); });
        outcome.end = RunOutcome::End::NoFiles;
        return outcome;
    }
    if (trap.test(kLineFolderTest, [&] { return !FolderExists(inputs.outputFolderText()); })) {
        trap.step(kLineFolderMissing,
                  [&] { ui.showMessage(shownText("Run", kMessageFolderMissing)); });
        outcome.end = RunOutcome::End::FolderMissing;
        return outcome;
    }

    QString nthText;
    bool answeredN = false;
    if (trap.test(kLineNthTest, [&] { return inputs.optionText().contains(kNthMarker); })) {
        do {
            bool answered = false;
            trap.step(kLineAskN, [&] {
                const QString answer = ui.askText(shownText("Run", kPromptEnterN), QString());
                answered = true;
                nthText = answer;
            });
            // Cancel, Escape or a closed box ends the run before any file is touched.
            if (ui.closing()) {
                outcome.end = RunOutcome::End::WindowClosed;
                return outcome;
            }
            if (answered && nthText.isNull()) {
                outcome.end = RunOutcome::End::Cancelled;
                return outcome;
            }
        } while (trap.test(kLineNumberTest, [&] { return !readsAsNumber(nthText); }));
        answeredN = true;
    }

    int count = 0;
    int position = 1;
    trap.step(kLineCount, [&] {
        count = inputs.fileCount();
        position = 1;
    });
    outcome.listed = count;
    WrittenFiles::RunScope runScope(writtenFiles());
    ProtectedFiles listed;
    listed.fillWhenAsked([&inputs, count, &ui](ProtectedFiles &files) {
        return readListedFiles(files, inputs, count, writtenFiles(), ui);
    });
    PlacementContext context{listed, writtenFiles(), copyHooks, {}};
    RecordWriter record(inputs.outputFolderText(), inputs.optionText(), style);
    // A run that ends anyhow leaves what its record holds so far.
    const auto keepRecord = [&outcome, &record] {
        outcome.recordId = record.id();
        outcome.recordProblem = record.problem();
    };
    qint64 sourceSize = 0;
    context.hooks.progress = [&ui, &sourceSize](qint64 written) {
        ui.reportBytes(written, sourceSize);
    };
    context.hooks.statusAfterNaming = record.enabled();
    context.hooks.keepGoing = [&ui, &record, alsoAsk = copyHooks.keepGoing] {
        record.flushIfDue();
        ui.processEvents();
        return !ui.closing() && (!alsoAsk || alsoAsk());
    };
    const bool composeFromOpenedSource = &times == &systemFileTimes();
    LayoutFolders layoutFolders;
    RunCopies runCopies(style.skipCopied);
    const auto madeFolder = [&record](const QString &folder) { record.addMadeFolder(folder); };

    while (position <= count) {
        trap.step(kLineEvents, [&] { ui.processEvents(); });
        if (ui.closing()) {
            outcome.end = RunOutcome::End::WindowClosed;
            keepRecord();
            return outcome;
        }
        trap.step(kLineBusy, [&] { ui.setPointer(PointerMode::Busy); });
        ui.reportProgress(position - 1, count);

        // Each file starts afresh: a failed step never hands it another file's values.
        QString sourcePath;
        QString newName;
        QString destinationPath;
        QString relative; // the folder below the output folder that the layout puts it in
        std::optional<ErrorDetails> failure;
        const auto note = [&](bool completed) {
            if (!completed)
                failure = trap.lastReported();
        };
        trap.setEntry(std::nullopt);
        note(trap.step(kLineSource, [&] { sourcePath = inputs.entryAt(position); }));
        if (!failure)
            trap.setEntry(sourcePath);
        // The source is opened once: its name is composed from the status read through
        // that descriptor, and the copy reads through it, so neither can see another file.
        std::optional<SourceFile> source;
        if (!isBlankPath(sourcePath))
            source.emplace(sourcePath);
        sourceSize = source && source->isOpen() ? qint64(source->status().stx_size) : 0;
        if (trap.test(kLineNthEmptyTest, [&] { return nthText.isEmpty(); }))
            trap.step(kLineNthDefault, [&] { nthText = QString::number(-1); });
        note(trap.step(kLineNewName, [&] {
            const qint16 nthValue = convertNthValue(nthText);
            if (answeredN)
                outcome.nthValue = nthValue;
            // "Taken" reads the photo's or video's metadata through the same descriptor.
            const auto compose = [&](const FileTimeProvider &fileTimes, int fd, qint64 size) {
                const TakenFileTimes taken(fileTimes, sourcePath, fd, size, style.takenShift);
                const FileTimeProvider &stamped =
                    style.creation == CreationTime::Taken ? taken : fileTimes;
                newName = ComposeNewName(sourcePath, inputs.optionText(), nthValue, clock, stamped,
                                         RegionalForms::system(), style);
                if (style.layout != OutputLayout::Flat)
                    relative =
                        layoutFolder(style.layout, sourcePath, inputs.listedThrough(position),
                                     inputs.optionText(), clock, stamped);
            };
            if (composeFromOpenedSource && source && source->isOpen())
                compose(StatusFileTimes(sourcePath, source->status(), times), source->descriptor(),
                        qint64(source->status().stx_size));
            else
                compose(times, -1, 0);
        }));
        note(trap.step(kLineDestination, [&] {
            destinationPath = inputs.outputFolderText() + platformSeparator() +
                              layoutPath(relative, FileNameOf(newName));
        }));
        FileOutcome file;
        file.source = sourcePath;
        const bool placed = trap.step(kLinePlace, [&] {
            const bool open = source && source->isOpen();
            if (open && runCopies.skipped(inputs.outputFolderText(), relative, sourcePath,
                                          inputs.listedThrough(position), source->status(), file))
                return;
            if (relative.isEmpty() || !open ||
                readyLayoutFolder(layoutFolders, inputs.outputFolderText(), relative,
                                  destinationPath, context.folder, madeFolder, file))
                file = placeListedFile(sourcePath, destinationPath, source ? &*source : nullptr,
                                       context);
            if (open)
                runCopies.copied(inputs.outputFolderText(), file, inputs.listedThrough(position),
                                 source->status());
        });
        file.position = position;
        note(placed);
        if (!placed || (!file.copied() && failure && sourcePath.isEmpty())) {
            file.problem = CopyProblem::SystemError;
            file.reason = failure ? failure->description : QString();
            file.failure = failure;
        }
        const bool dropped = file.problem == CopyProblem::Dropped;
        record.setNthValue(outcome.nthValue);
        record.add(file);
        if (eachFile)
            eachFile(file);
        outcome.add(std::move(file));
        if (dropped && ui.closing()) {
            outcome.end = RunOutcome::End::WindowClosed;
            keepRecord();
            return outcome;
        }
        trap.step(kLineNext, [&] { ++position; });
        // Between two files, never half-way through one.
        if (position <= count && ui.stopRequested()) {
            outcome.end = RunOutcome::End::Stopped;
            break;
        }
    }

    ui.reportProgress(qint64(outcome.reachedCount()), count);
    record.finish();
    keepRecord();
    trap.step(kLineDefaultPointer, [&] { ui.setPointer(PointerMode::Default); });
    trap.setEntry(std::nullopt);
    trap.step(kLineDone, [&] {
        QString message = closingMessage(outcome);
        // Said once, in the closing box: the run itself went on.
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
    return outcome;
}

} // namespace plenvoy
