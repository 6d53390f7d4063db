#include "AddFiles.h"

#include "BrowseForFolder.h"
#include "FileAttributes.h"
#include "FileList.h"
#include "FolderListing.h"
#include "core/LocationTags.h"
#include "core/PathHelpers.h"
#include "core/SettingsAccess.h"
#include "core/Translation.h"
#include "core/Trap.h"
#include "core/WindowPort.h"

namespace plenvoy {

namespace {

constexpr int kHiddenArchiveOnly = Attribute::Hidden | Attribute::Archive; // 34

// Steps of "Add File(s)" that the error report numbers.
constexpr qint32 kStepDialogTitle = 108;
constexpr qint32 kStepChooseFiles = 112;
constexpr qint32 kStepNoneChosenTest = 114;
constexpr qint32 kStepLastPosition = 116;
constexpr qint32 kStepOneChosenTest = 118;
constexpr qint32 kStepTakeTheOne = 120;
constexpr qint32 kStepAppendTheOne = 122;
constexpr qint32 kStepTakeNext = 136;
constexpr qint32 kStepCleanSeparators = 138;
constexpr qint32 kStepReadableTest = 140;
constexpr qint32 kStepAppendReadable = 142;
constexpr qint32 kStepRefuseUnreadable = 144;

// Steps of "Add All Files In Folder" that the error report numbers.
constexpr qint32 kStepAskExtension = 100;
constexpr qint32 kStepNoExtensionTest = 102;
constexpr qint32 kStepChooseFolder = 104;
constexpr qint32 kStepNoFolderTest = 106;
constexpr qint32 kStepBusyPointer = 112;
constexpr qint32 kStepStartFolderList = 114;
constexpr qint32 kStepWalk = 116;
constexpr qint32 kStepTakeFolder = 120;
constexpr qint32 kStepListFiles = 122;
constexpr qint32 kStepCountFiles = 124;
constexpr qint32 kStepTakeNameTest = 126;
constexpr qint32 kStepJoinPath = 128;
constexpr qint32 kStepHiddenArchiveTestAndAppend = 132;
constexpr qint32 kStepDefaultPointer = 136;
constexpr qint32 kStepKeepLastFolder = 333;
constexpr qint32 kStepStoreLastFolder = 334;

/// The most files of one folder that join the list at once.
constexpr qsizetype kBatchSize = 4096;

/// The walk and the per-file tests of "Add All Files In Folder".
/// The extension that an answer names: blanks around it, and a leading "*." or "." typed
/// out of habit (".txt", "*.txt"), are dropped, so they list what "txt" lists.
QString extensionOfAnswer(const QString &answer) {
    const QString trimmed = answer.trimmed();
    if (trimmed.startsWith(QStringLiteral("*.")))
        return trimmed.mid(2);
    if (trimmed.startsWith(QLatin1Char('.')))
        return trimmed.mid(1);
    return trimmed;
}

/// Appends the files of one listed folder that the tree takes (not "~" names, not hidden
/// archive-only files), in batches: a view attached to the list takes in one insertion per
/// batch instead of one per file.
void appendFolderFiles(Trap &trap, FileList &list, const QString &folder, const FolderNames &names,
                       QList<bool> *seenRegular) {
    const QChar separator = platformSeparator();
    int upper = 0;
    trap.step(kStepCountFiles, [&] { upper = names.upperBound(); });
    // The files of a folder join the list together: a view attached to it takes in one
    // insertion instead of one per file. Nothing is shown between them.
    QStringList batch;
    QList<bool> batchSeen;
    const auto appendBatch = [&] {
        if (!batch.isEmpty())
            trap.step(kStepHiddenArchiveTestAndAppend, [&] {
                list.append(batch);
                if (seenRegular)
                    seenRegular->append(batchSeen);
            });
        batch.clear();
        batchSeen.clear();
    };
    for (int position = 1; position <= upper; ++position) {
        QString name;
        trap.step(kStepTakeNameTest, [&] { name = names.at(position); });
        if (!trap.test(kStepTakeNameTest, [&] { return !name.startsWith(QLatin1Char('~')); }))
            continue;
        QString path;
        trap.step(kStepJoinPath, [&] { path = folder + separator + name; });
        // The listing has just found each name present (a regular file, or a link to
        // one), so the presence test is not asked a second time. Only a name that
        // begins with "." can carry the hidden bit, so only such a name can have the
        // attributes 34; for the others the attributes are not read at all. That keeps
        // the scan of a large tree near the speed of find.
        const bool hiddenName = name.startsWith(QLatin1Char('.'));
        // Attributes that cannot be read are reported; the file is then listed.
        if (!hiddenName || trap.test(kStepHiddenArchiveTestAndAppend,
                                     [&] { return FileAttributes(path) != kHiddenArchiveOnly; }))
            trap.step(kStepHiddenArchiveTestAndAppend, [&] {
                batch.append(collapseDoubledSeparators(path));
                batchSeen.append(names.seenRegular(position));
            });
        if (batch.size() >= kBatchSize)
            appendBatch();
    }
    appendBatch();
}

void addTree(Trap &trap, FileList &list, const QString &chosen, const QString &extension,
             WindowPort &ui, const LeftOutReport &leftOut = {},
             QList<bool> *seenRegular = nullptr) {
    const QChar separator = platformSeparator();
    // Each file keeps the folder it came through: a copy may keep its path below it.
    const FileList::ListingThrough through(list, collapseDoubledSeparators(chosen));
    QStringList folders;
    trap.step(kStepStartFolderList, [&] { folders = QStringList{chosen + separator}; });
    // The walk keeps what it read of each folder, so each folder is read once.
    KeptFileEntries kept;
    trap.step(kStepWalk, [&] { appendSubFolders(folders, true, ui, leftOut, &kept); });
    if (ui.closing())
        return;

    const QString pattern = QStringLiteral("*.") + extensionOfAnswer(extension);
    QString folder;
    FolderNames names;
    // The folder list is read by position: the walk is over, it no longer changes.
    for (qsizetype f = 0; f < folders.size(); ++f) {
        // Every folder's text ends in its separator, which the listing does without.
        trap.step(kStepTakeFolder, [&] {
            const QString &text = folders.at(f);
            folder = text.left(text.size() - 1);
        });
        trap.step(kStepListFiles, [&] {
            // A folder the walk did not read (the chosen one, when the walk could not) is
            // read now; the kept entries go once listed, so they are not held twice.
            const auto found = kept.find(folders.at(f));
            if (found == kept.end()) {
                names = ListFolderFiles(folder, pattern);
                return;
            }
            const QByteArray entries = std::move(found.value());
            kept.erase(found);
            names = ListKeptFiles(folder, pattern, entries);
        });
        appendFolderFiles(trap, list, folder, names, seenRegular);
        // A million files would otherwise be listed without the window answering once.
        ui.processEvents();
        if (ui.closing())
            return;
    }
}

} // namespace

void addChosenFiles(FileList &list, WindowPort &ui) {
    Trap trap(kTagAddFiles, ui);
    // Qt's dialog is set up by each call (several files allowed, every file shown), so
    // of the dialog's settings only the title remains a step.
    QString title;
    trap.step(kStepDialogTitle, [&] { title = shownText("FileList", kAddFilesDialogTitle); });
    QStringList chosen;
    trap.step(kStepChooseFiles, [&] { chosen = ui.chooseFiles(title); });
    if (trap.test(kStepNoneChosenTest, [&] { return chosen.isEmpty(); }))
        return;

    qsizetype last = 0;
    trap.step(kStepLastPosition, [&] { last = chosen.size() - 1; });
    if (trap.test(kStepOneChosenTest, [&] { return last == 0; })) {
        QString path;
        trap.step(kStepTakeTheOne, [&] { path = chosen.value(0); });
        // A single file is listed exactly as the dialog gives it, with no test.
        trap.step(kStepAppendTheOne, [&] { list.append(path); });
        return;
    }
    // From here at least two files were chosen.
    for (qsizetype position = 0; position <= last; ++position) {
        QString path;
        trap.step(kStepTakeNext, [&] { path = chosen.at(position); });
        trap.step(kStepCleanSeparators, [&] { path = collapseDoubledSeparators(path); });
        if (trap.test(kStepReadableTest, [&] { return !AttributesUnreadable(path); }))
            trap.step(kStepAppendReadable, [&] { list.append(path); });
        else
            trap.step(kStepRefuseUnreadable, [&] {
                ui.showMessage(path + QStringLiteral("\r\r") +
                               shownText("FileList", kBadCharactersMessage));
            });
    }
}

void addAllFilesInFolder(FileList &list, SettingsAccess &settings, WindowPort &ui) {
    Trap trap(kTagAddFolder, ui);
    QString extension;
    trap.step(kStepAskExtension, [&] {
        extension = ui.askText(shownText("FileList", kExtensionPrompt),
                               settings.readSetting(kKeyExtension, QStringLiteral("*")));
    });
    // Blanks alone are no answer; any other answer is kept as typed.
    const auto unanswered = [&] { return extension.trimmed().isEmpty(); };
    if (trap.test(kStepAskExtension, [&] { return !unanswered(); }))
        trap.step(kStepAskExtension, [&] { settings.writeSetting(kKeyExtension, extension); });
    if (trap.test(kStepNoExtensionTest, unanswered))
        return;

    QString lastFolder;
    QString chosen;
    trap.step(kStepChooseFolder,
              [&] { lastFolder = settings.readSetting(kKeyLastAddedFolder, QString()); });
    trap.step(kStepChooseFolder, [&] {
        chosen = BrowseForFolder(ui, shownText("FileList", kPromptSelectFolder), lastFolder);
    });
    if (trap.test(kStepNoFolderTest, [&] { return chosen.isEmpty(); }))
        return;
    trap.step(kStepKeepLastFolder, [&] { lastFolder = chosen; });
    trap.step(kStepStoreLastFolder,
              [&] { settings.writeSetting(kKeyLastAddedFolder, lastFolder); });

    trap.step(kStepBusyPointer, [&] { ui.setPointer(PointerMode::Busy); });
    addTree(trap, list, chosen, extension, ui);
    if (ui.closing())
        return;
    trap.step(kStepDefaultPointer, [&] { ui.setPointer(PointerMode::Default); });
}

void addFolderTree(FileList &list, const QString &folder, const QString &extension, WindowPort &ui,
                   const LeftOutReport &leftOut, QList<bool> *seenRegular) {
    Trap trap(kTagAddFolder, ui);
    addTree(trap, list, folder, extension, ui, leftOut, seenRegular);
}

} // namespace plenvoy
