#pragma once

#include <QString>

namespace plenvoy {

class FileList;
class WindowPort;

inline const QString kOpenSamplesQuestion = QStringLiteral(QT_TRANSLATE_NOOP(
    "MainWindow",
    "Would you like this software to open the folder where these sample files are stored "
    "(so that you can view them before working with them)?"));

/// True when some entry's text equals the path exactly (case-sensitive, whole text).
bool ListHasPath(const FileList &list, const QString &path);

/// Appends every file of the samples folder beside the program that is not listed yet, in
/// listing order, then offers to show that folder in the file manager. A failure leaves
/// the rest undone, the question included.
void appendSampleFiles(FileList &list, WindowPort &ui, const QString &programFolder);

/// "Load Sample/Example Files": appendSampleFiles as one step trapped with kTagLoadSamples.
void loadSampleFiles(FileList &list, WindowPort &ui, const QString &programFolder);

} // namespace plenvoy
