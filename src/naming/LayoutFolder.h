#pragma once

#include "RunChoices.h"

#include <QString>

namespace plenvoy {

class ClockProvider;
class FileTimeProvider;

/// The folder below the output folder that a listed file's copy goes into, "/" between its
/// names; empty for the output folder itself. Tree: the path of the source's folder below
/// the folder it was listed through, under that folder's own name (empty when listed on its
/// own, or when the source is not below that folder). Dates: "YYYY/YYYY-MM-DD" of the moment
/// the option stamps with (the clock for an option that names none); empty when the file
/// has no such time.
QString layoutFolder(OutputLayout layout, const QString &source, const QString &listedThrough,
                     const QString &optionText, const ClockProvider &clock,
                     const FileTimeProvider &times);

/// The relative path of a copy: the layout folder and the name, "/" between them.
QString layoutPath(const QString &folder, const QString &name);

/// True when a copy's whole path, output folder and all, passes what the system can name.
bool layoutPathTooLong(const QString &outputFolder, const QString &relativePath);

} // namespace plenvoy
