#include "StartChanging.h"

#include "FilePlacement.h"
#include "PathHelpers.h"

#include "core/LocationTags.h"
#include "core/Trap.h"
#include "core/WindowPort.h"
#include "engine/ComposeNewName.h"
#include "engine/FileMoment.h"
#include "engine/NthValue.h"

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

/// The files of the list as the run finds them at its start; a copy never replaces one.
ProtectedFiles listedFiles(const RunInputs &inputs, int count) {
    ProtectedFiles files;
    try {
        for (int position = 1; position <= count; ++position)
            files.add(inputs.entryAt(position));
    } catch (const std::exception &) {
        // The list shrank meanwhile: the entries read so far are protected.
    }
    return files;
}

} // namespace

RunInputs::~RunInputs() = default;

void RunInputs::filePlaced(const QString &, const Placement &) {}

void PushButton2_Click(RunInputs &inputs, WindowPort &ui) {
    PushButton2_Click(inputs, ui, systemClock(), systemFileTimes());
}

void PushButton2_Click(RunInputs &inputs, WindowPort &ui, const ClockProvider &clock,
                       const FileTimeProvider &times) {
    Trap trap(kTagStartChanging, ui);

    if (trap.test(kLineNoFilesTest, [&] { return inputs.fileCount() == 0; })) {
        trap.step(kLineNoFiles, [&] { ui.showMessage(kMessageNoFiles); });
        return;
    }
    if (trap.test(kLineFolderTest, [&] { return !FolderExists(inputs.outputFolderText()); })) {
        trap.step(kLineFolderMissing, [&] { ui.showMessage(kMessageFolderMissing); });
        return;
    }

    QString nthText;
    if (trap.test(kLineNthTest, [&] { return inputs.optionText().contains(kNthMarker); })) {
        do {
            trap.step(kLineAskN, [&] { nthText = ui.askText(kPromptEnterN, QString()); });
            // A closed window answers like Cancel: asking again would never end.
            if (ui.closing())
                return;
        } while (trap.test(kLineNumberTest, [&] { return !readsAsNumber(nthText); }));
    }

    int count = 0;
    int position = 1;
    trap.step(kLineCount, [&] {
        count = inputs.fileCount();
        position = 1;
    });
    const ProtectedFiles sources = listedFiles(inputs, count);

    while (position <= count) {
        trap.step(kLineEvents, [&] { ui.processEvents(); });
        if (ui.closing())
            return;
        trap.step(kLineBusy, [&] { ui.setPointer(PointerMode::Busy); });

        // Each file starts afresh: a failed step never hands it another file's values.
        QString sourcePath;
        QString newName;
        QString destinationPath;
        trap.step(kLineSource, [&] { sourcePath = inputs.entryAt(position); });
        if (trap.test(kLineNthEmptyTest, [&] { return nthText.isEmpty(); }))
            trap.step(kLineNthDefault, [&] { nthText = QString::number(-1); });
        trap.step(kLineNewName, [&] {
            const qint16 nthValue = convertNthValue(nthText);
            newName = ComposeNewName(sourcePath, inputs.optionText(), nthValue, clock, times);
        });
        trap.step(kLineDestination, [&] {
            destinationPath = inputs.outputFolderText() + platformSeparator() + FileNameOf(newName);
        });
        trap.step(kLinePlace, [&] {
            inputs.filePlaced(sourcePath, PlaceFileAndTell(sourcePath, destinationPath, sources));
        });
        trap.step(kLineNext, [&] { ++position; });
    }

    trap.step(kLineDefaultPointer, [&] { ui.setPointer(PointerMode::Default); });
    trap.step(kLineDone, [&] { ui.showMessage(kMessageDone); });
}

} // namespace plenvoy
