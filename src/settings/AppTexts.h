#pragma once

#include <QString>

namespace plenvoy {

// Texts of the application shell as the user sees them (the names of the settings file are
// in SettingsKeys.h). The texts are English; shownText() gives them in the window's language, in
// the context that each names.

inline const QString kProductName = QStringLiteral("Plenvoy");

// Told once a run when the settings file cannot be used as it is.
inline const QString kSettingsUnreadableMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Settings", "Your settings could not be read; Plenvoy starts with its defaults."));
inline const QString kSettingsUnwritableMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Settings", "Your settings will not be saved: the settings file cannot be written."));
/// %1 is the path under which the unparsable file was kept.
inline const QString kSettingsKeptAsideMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Settings",
    "Your settings file could not be read and was kept as %1; Plenvoy starts with its defaults."));

// Captions of the main window's controls; "&" marks the letter that Alt underlines.
inline const QString kCaptionAddFiles =
    QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "&Add File(s)"));
inline const QString kCaptionAddFolder =
    QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Add All Files In &Folder"));
inline const QString kCaptionStartChanging =
    QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "&Start Changing"));
/// "Start Changing" while a run goes on: it stops the run.
inline const QString kCaptionStop = QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "&Stop"));
inline const QString kCaptionClearList =
    QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "&Clear List"));
inline const QString kCaptionLoadSamples =
    QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "&Load Sample/Example Files"));
inline const QString kCaptionBrowse = QStringLiteral("...");
inline const QString kCaptionOptions = QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Options"));
inline const QString kCaptionOutputFrame =
    QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Save Results To This Folder"));

// The stamp settings dialog and the button that opens it.
inline const QString kCaptionStampSettingsButton = QStringLiteral("...");
inline const QString kTipStampSettings =
    QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Stamp settings"));
inline const QString kTitleStampSettings =
    QStringLiteral(QT_TRANSLATE_NOOP("StampSettings", "Stamp Settings"));
inline const QString kCaptionStampForm =
    QStringLiteral(QT_TRANSLATE_NOOP("StampSettings", "Stamp form"));
inline const QString kCaptionFormRegional =
    QStringLiteral(QT_TRANSLATE_NOOP("StampSettings", "As this computer writes dates"));
inline const QString kCaptionFormSortable =
    QStringLiteral(QT_TRANSLATE_NOOP("StampSettings", "Sortable (2026-12-07 14-05-09)"));
inline const QString kCaptionFormCompact =
    QStringLiteral(QT_TRANSLATE_NOOP("StampSettings", "Compact (20261207-140509)"));
inline const QString kCaptionCreationTime =
    QStringLiteral(QT_TRANSLATE_NOOP("StampSettings", "Creation time of photos and videos"));
inline const QString kCaptionCreationFile = QStringLiteral(
    QT_TRANSLATE_NOOP("StampSettings", "When the file was created on this computer"));
inline const QString kCaptionCreationTaken =
    QStringLiteral(QT_TRANSLATE_NOOP("StampSettings", "When the photo or video was taken"));
/// %1 is the new name of the example file.
inline const QString kStampExample =
    QStringLiteral(QT_TRANSLATE_NOOP("StampSettings", "Example: %1"));
/// The example when the list is empty.
inline const QString kStampExampleName =
    QStringLiteral(QT_TRANSLATE_NOOP("StampSettings", "Holiday.jpg"));

inline const QString kErrorReportTitle =
    QStringLiteral(QT_TRANSLATE_NOOP("ErrorReport", "Application Error"));

// Optional files beside the executable.
inline const QString kPointerFileName = QStringLiteral("HAND-M.CUR");
inline const QString kSkinFileName = QStringLiteral("x/o.cjs");
inline const QString kSamplesFolderName = QStringLiteral("Samples");

} // namespace plenvoy
