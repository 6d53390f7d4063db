#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace plenvoy {

class WindowPort;

/// Why the walk leaves a sub-folder out (with everything below it).
enum class LeftOutReason {
    Unreadable,       ///< permission denied, or it vanished during the walk
    ControlCharacter, ///< its name holds a control character
    PathTooLong,      ///< its path reaches the system's path limit
};

/// Told of each folder the walk leaves out, with the folder's text as the walk would have
/// listed it (ending in "/"). Links to folders and pseudo file systems are left out silently.
using LeftOutReport = std::function<void(const QString &folder, LeftOutReason reason)>;

/// The entries that may be files of each folder the walk read, by the folder's text as it
/// stands in the folder list; ListKeptFiles lists them as ListFolderFiles lists the folder.
/// A folder that cannot be searched keeps no entries.
using KeptFileEntries = QHash<QString, QByteArray>;

/// Appends to the folder list (texts ending in "/") every sub-folder of its folders, level
/// by level; with deeper false only the first level. Sub-folders that are symbolic links or
/// lie on the kernel's pseudo file systems are left out silently with everything below
/// them; those whose name holds a control character or whose path reaches the path limit
/// are left out and told to leftOut. A folder that cannot be listed (permission denied,
/// vanished) is removed from the list and told to leftOut; there is no message. Other
/// failures show the error report tagged kTagFolderWalk. Lets the window process its events
/// once per folder and once per sub-folder, and returns at once when the window is closing.
/// With kept, the entries of every folder read go there, so its listing needs no second read.
void appendSubFolders(QStringList &folders, bool deeper, WindowPort &ui,
                      const LeftOutReport &leftOut = {}, KeptFileEntries *kept = nullptr);

} // namespace plenvoy
