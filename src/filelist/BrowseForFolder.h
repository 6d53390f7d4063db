#pragma once

#include <QString>

namespace plenvoy {

class WindowPort;

/// The folder dialog's prompt, for the folder to add and for the output folder alike.
inline const QString kPromptSelectFolder =
    QStringLiteral(QT_TRANSLATE_NOOP("FileList", "Please select folder:"));

/// Shows the folder dialog through the window, titled with the prompt and opened at the
/// start folder. Returns the chosen folder without a trailing separator ("/" stays "/"), or
/// empty text on Cancel. A failure of the window's dialog passes to the caller.
QString BrowseForFolder(WindowPort &ui, const QString &prompt, const QString &start);

} // namespace plenvoy
