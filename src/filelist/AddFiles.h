#pragma once

#include "FolderWalk.h"

#include <QList>
#include <QString>

namespace plenvoy {

class FileList;
class SettingsAccess;
class WindowPort;

// Texts of the two adding buttons, as the user sees them.
inline const QString kAddFilesDialogTitle = QStringLiteral(
    QT_TRANSLATE_NOOP("FileList", "Add File(s) - Hold Ctrl to select multiple files"));
inline const QString kBadCharactersMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("FileList", "was not added because it has bad characters in the filename."));
inline const QString kExtensionPrompt = QStringLiteral(QT_TRANSLATE_NOOP(
    "FileList", "Enter file extension to load:\r\r(* for all files, txt for all txt files, "
                "doc for all doc files, etc.)"));

// The stored answers of "Add All Files In Folder": the last extension and the last folder.
inline const QString kKeyExtension = QStringLiteral("Extension");
inline const QString kKeyLastAddedFolder = QStringLiteral("LastFolder");

/// "Add File(s)": one chosen file is appended exactly as the dialog gives it; several are
/// each cleaned of doubled separators and appended when their attributes can be read, or
/// refused with a message naming the path. Failures are reported with kTagAddFiles.
void addChosenFiles(FileList &list, WindowPort &ui);

/// "Add All Files In Folder": asks for an extension (default: the stored kKeyExtension) and
/// a folder (opened at kKeyLastAddedFolder), walks the folder tree level by level and appends
/// every matching file, except names starting with "~", vanished files and hidden files with
/// exactly the attributes 34. Failures are reported with kTagAddFolder.
void addAllFilesInFolder(FileList &list, SettingsAccess &settings, WindowPort &ui);

/// Appends the files of one folder tree that match "*." + extension, by the rules of
/// "Add All Files In Folder", without questions, settings or pointer changes. Failures
/// are reported through the trap. Used by the command-line front as well, which names
/// each sub-folder that the walk leaves out through leftOut. With seenRegular, one flag is
/// appended there for each entry added: true when the folder's listing saw a regular file
/// itself (not a link to one), which a plan made at once need not examine again.
void addFolderTree(FileList &list, const QString &folder, const QString &extension, WindowPort &ui,
                   const LeftOutReport &leftOut = {}, QList<bool> *seenRegular = nullptr);

} // namespace plenvoy
