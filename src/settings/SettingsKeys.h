#pragma once

#include <QString>

namespace plenvoy {

// The names that the settings file is made of, each written here once and used by the code
// that reads it as by the code that writes it. They are part of the stored format: a changed
// name would lose what users chose. The keys of "Add All Files In Folder" are kept with it,
// in filelist/AddFiles.h, below this folder.

/// The file's application name and the section of the window's choices.
inline const QString kSettingsApplication = QStringLiteral("Marnoval");
inline const QString kSettingsSection = QStringLiteral("Plenvoy");
/// The section of the saved presets, one key for each preset's name.
inline const QString kPresetsSection = QStringLiteral("Presets");

// The window's drop-down position, its output folder and the folder last browsed to.
inline const QString kKeyChosenOption = QStringLiteral("Combo1");
inline const QString kKeyOutputFolder = QStringLiteral("Text1");
inline const QString kKeyLastOutputFolder = QStringLiteral("LastFolderDot");
// The stamp settings: "regional", "sortable", "compact" or "custom"; "file" or "taken".
inline const QString kKeyStampForm = QStringLiteral("StampForm");
inline const QString kKeyCreationTime = QStringLiteral("CreationTime");
/// Where copies go: "flat", "tree" or "dates".
inline const QString kKeyLayout = QStringLiteral("Layout");
/// "true" when files copied before are skipped.
inline const QString kKeySkipCopied = QStringLiteral("SkipCopied");
/// The pattern of the custom form, as typed.
inline const QString kKeyStampPattern = QStringLiteral("StampPattern");
/// The shift of taken times, "+D:HH:MM:SS" or "-D:HH:MM:SS".
inline const QString kKeyTakenShift = QStringLiteral("TakenShift");
// The window's own: its size when the user resized it ("WIDTHxHEIGHT"), whether the list
// shows "New Name" ("1" or "0"), and n as last answered to "Enter n:".
inline const QString kKeyWindowSize = QStringLiteral("WindowSize");
inline const QString kKeyShowNewNames = QStringLiteral("ShowNewNames");
inline const QString kKeyLastN = QStringLiteral("LastN");

} // namespace plenvoy
