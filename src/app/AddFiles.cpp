#include "AddFiles.h"

#include "AppTexts.h"
#include "SettingsStore.h"
#include "core/PathHelpers.h"
#include "core/LocationTags.h"
#include "core/Trap.h"
#include "core/WindowPort.h"
#include "filelist/AddFolder.h"
#include "filelist/FileList.h"

namespace plenvoy {

namespace {

constexpr int kHiddenArchiveOnly = Attribute::Hidden | Attribute::Archive; // 34

/// Steps 10 to 21 of "Add All Files In Folder": the walk and the per-file tests.
void addTree(Trap &trap, FileList &list, const QString &chosen, const QString &extension,
             WindowPort &ui, const LeftOutReport &leftOut = {}) {
    const QChar separator = platformSeparator();
    QStringList folders;
    trap.step(114, [&] { folders = QStringList{chosen + separator}; });
    trap.step(116, [&] { appendSubFolders(folders, true, ui, leftOut); });
    if (ui.closing())
        return;

    const QString pattern = QStringLiteral("*.") + extension;
    QString folder;
    FolderNames names;
    // The folder list is read by position: the walk is over, it no longer changes.
    for (qsizetype f = 0; f < folders.size(); ++f) {
        trap.step(120, [&] {
            const QString &text = folders.at(f);
            if (text.isEmpty())
                throwFailure(ErrorNumber::InvalidProcedureCall);
            folder = text.left(text.size() - 1);
        });
        trap.step(122, [&] { names = ListFolderFiles(folder, pattern); });
        int upper = 0;
        trap.step(124, [&] { upper = names.upperBound(); });
        for (int position = 1; position <= upper; ++position) {
            QString name;
            trap.step(126, [&] { name = names.at(position); });
            if (!trap.test(126, [&] { return !name.startsWith(QLatin1Char('~')); }))
                continue;
            QString path;
            trap.step(128, [&] { path = folder + separator + name; });
            // The listing has just found each name present (a regular file, or a link to
            // one), so the presence test is not asked a second time. Only a name that
            // begins with "." can carry the hidden bit, so only such a name can have the
            // attributes 34; for the others the attributes are not read at all. That keeps
            // the scan of a large tree near the speed of find.
            const bool hiddenName = name.startsWith(QLatin1Char('.'));
            // Attributes that cannot be read are reported; the file is then listed.
            if (!hiddenName ||
                trap.test(132, [&] { return FileAttributes(path) != kHiddenArchiveOnly; }))
                trap.step(132, [&] { list.append(collapseDoubledSeparators(path)); });
        }
    }
}

} // namespace

void addChosenFiles(FileList &list, WindowPort &ui) {
    Trap trap(kTagAddFiles, ui);
    // Qt's dialog is set up by each call (several files allowed, every file shown), so
    // of the dialog's settings only the title remains a step.
    QString title;
    trap.step(108, [&] { title = kAddFilesDialogTitle; });
    QStringList chosen;
    trap.step(112, [&] { chosen = ui.chooseFiles(title); });
    if (trap.test(114, [&] { return chosen.isEmpty(); }))
        return;

    qsizetype last = 0;
    trap.step(116, [&] { last = chosen.size() - 1; });
    if (trap.test(118, [&] { return last == 0; })) {
        QString path;
        trap.step(120, [&] { path = chosen.value(0); });
        // A single file is listed exactly as the dialog gives it, with no test.
        trap.step(122, [&] { list.append(path); });
        return;
    }
    if (trap.test(124, [&] { return last < 1; }))
        return;
    for (qsizetype position = 0; position <= last; ++position) {
        QString path;
        trap.step(136, [&] { path = chosen.at(position); });
        trap.step(138, [&] { path = collapseDoubledSeparators(path); });
        if (trap.test(140, [&] { return !AttributesUnreadable(path); }))
            trap.step(142, [&] { list.append(path); });
        else
            trap.step(144, [&] {
                ui.showMessage(path + QStringLiteral("\r\r") + kBadCharactersMessage);
            });
    }
}

void addAllFilesInFolder(FileList &list, SettingsStore &settings, WindowPort &ui) {
    Trap trap(kTagAddFolder, ui);
    QString extension;
    trap.step(100, [&] {
        extension =
            ui.askText(kExtensionPrompt, settings.readSetting(kKeyExtension, QStringLiteral("*")));
    });
    if (trap.test(100, [&] { return !extension.isEmpty(); }))
        trap.step(100, [&] { settings.writeSetting(kKeyExtension, extension); });
    if (trap.test(102, [&] { return extension.isEmpty(); }))
        return;

    QString lastFolder;
    QString chosen;
    trap.step(104, [&] { lastFolder = settings.readSetting(kKeyLastAddedFolder, QString()); });
    trap.step(104, [&] { chosen = BrowseForFolder(ui, kPromptSelectFolder, lastFolder); });
    if (trap.test(106, [&] { return chosen.isEmpty(); }))
        return;
    trap.step(333, [&] { lastFolder = chosen; });
    trap.step(334, [&] { settings.writeSetting(kKeyLastAddedFolder, lastFolder); });

    trap.step(112, [&] { ui.setPointer(PointerMode::Busy); });
    addTree(trap, list, chosen, extension, ui);
    if (ui.closing())
        return;
    trap.step(136, [&] { ui.setPointer(PointerMode::Default); });
}

void addFolderTree(FileList &list, const QString &folder, const QString &extension, WindowPort &ui,
                   const LeftOutReport &leftOut) {
    Trap trap(kTagAddFolder, ui);
    addTree(trap, list, folder, extension, ui, leftOut);
}

} // namespace plenvoy
