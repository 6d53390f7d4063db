#pragma once

#include <QCursor>
#include <QIcon>
#include <QString>

namespace plenvoy {

/// Reads a Windows cursor or icon file as a pointer, with the hot spot that the cursor
/// file names (an icon's hot spot is its centre). Raises "Invalid picture" when the file
/// cannot be read as either.
QCursor LoadPointerImage(const QString &path);

/// The program's icon, built into the executable.
QIcon programIcon();

} // namespace plenvoy
