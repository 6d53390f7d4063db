#pragma once

#include <QString>

namespace plenvoy {

/// The title of message and input boxes that name no title of their own: the product name
/// with its last word cut off, again while it is longer than 40 characters. A text with no
/// blank left stays as it is, so "Plenvoy" keeps its whole name.
QString shortenedTitle(const QString &productName);

/// Sets the application title from the product name; before this it is "Plenvoy".
void SetApplicationTitle(const QString &productName);
void SetApplicationTitle();
QString applicationTitle();

/// The drop-down position stored under "Combo1": the text read as a 16-bit whole number
/// (a fraction rounded to the nearest, an exact half to the even neighbour). Raises
/// "Type mismatch" when the text is not a number, "Overflow" outside -32768..32767 and
/// "Invalid property value" outside -1..optionCount-1; -1 means no selection.
int comboPositionFromSetting(const QString &stored, int optionCount);

/// The user's desktop folder, or the home folder when there is no desktop folder, always
/// with a closing "/". Raises "Path not found" when neither can be determined.
QString DesktopFolder();

/// The folder that holds the files read beside the program, without a closing "/": the
/// executable's folder when they are there (the build tree), otherwise ../share/plenvoy.
QString programFolder();
QString programFolderFor(const QString &executableFolder);

} // namespace plenvoy
