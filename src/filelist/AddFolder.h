#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace plenvoy {

class WindowPort;

/// File attribute bits as the folder services report them.
namespace Attribute {
constexpr int ReadOnly = 1;
constexpr int Hidden = 2;
constexpr int System = 4;
constexpr int Folder = 16;
constexpr int Archive = 32;
constexpr int ReparsePoint = 1024;
} // namespace Attribute

/// The attributes of a path as a number: Folder (16) for a folder, reached through links,
/// Archive (32) for anything else; plus Hidden when the name begins with "."; plus ReadOnly
/// when the current user may not write it or its mode has no write bit at all; plus
/// ReparsePoint when the path itself is a symbolic link. The System bit is never set.
/// A path that cannot be examined raises the failure of its system error.
int FileAttributes(const QString &path);

/// True when the attributes of the path cannot be read, for any reason (nothing under that
/// name, a name the file system rejects, no access). Changes nothing, never fails.
bool AttributesUnreadable(const QString &path);

/// Shows the folder dialog through the window, titled with the prompt and opened at the
/// start folder. Returns the chosen folder without a trailing separator ("/" stays "/"), or
/// empty text on Cancel. A failure of the window's dialog passes to the caller.
QString BrowseForFolder(WindowPort &ui, const QString &prompt, const QString &start);

/// Why the walk leaves a sub-folder out (with everything below it).
enum class LeftOutReason {
    Unreadable,       ///< permission denied, or it vanished during the walk
    ControlCharacter, ///< its name holds a control character
    PathTooLong,      ///< its path reaches the system's path limit
};

/// Told of each folder the walk leaves out, with the folder's text as the walk would have
/// listed it (ending in "/"). Links to folders and pseudo file systems are left out silently.
using LeftOutReport = std::function<void(const QString &folder, LeftOutReason reason)>;

/// The system's path limit in bytes: a folder whose encoded path is this long or longer
/// cannot be opened, so the walk and the listing leave it out.
constexpr int kPathLimitBytes = 4096;

/// Appends to the folder list (texts ending in "/") every sub-folder of its folders, level
/// by level; with deeper false only the first level. Sub-folders that are symbolic links or
/// lie on the kernel's pseudo file systems are left out silently with everything below
/// them; those whose name holds a control character or whose path reaches the path limit
/// are left out and told to leftOut. A folder that cannot be listed (permission denied,
/// vanished) is removed from the list and told to leftOut; there is no message. Other
/// failures show the error report tagged kTagFolderWalk. Lets the window process its events
/// once per folder and once per sub-folder, and returns at once when the window is closing.
void appendSubFolders(QStringList &folders, bool deeper, WindowPort &ui,
                      const LeftOutReport &leftOut = {});

/// True when the text holds a control character (code below 32, or 127 to 159). Letters of
/// every script, punctuation, "?" and the codec's escaped bytes are good.
bool HasBadCharacters(const QString &text);

/// The names that ListFolderFiles returns, at 1-based positions 1..upperBound(). With no
/// names the array holds one empty slot at position 0, so a loop from 1 to upperBound()
/// does nothing.
class FolderNames final {
public:
    FolderNames() = default;
    explicit FolderNames(QStringList names)
        : m_names(std::move(names)) {}

    int lowerBound() const { return m_names.isEmpty() ? 0 : 1; }
    int upperBound() const { return static_cast<int>(m_names.size()); }
    /// The name at a position between the bounds; raises "Subscript out of range" otherwise.
    QString at(int position) const;
    /// The names in listing order (empty when none matched).
    const QStringList &names() const { return m_names; }

private:
    QStringList m_names;
};

/// A wildcard pattern matched as the Windows listing does: case-insensitive, "*" for any
/// run of characters, "?" for any one character; a name without "." matches as if it
/// ended with ".", so "*.*" takes every name.
class WildcardPattern final {
public:
    explicit WildcardPattern(const QString &pattern);
    bool matches(const QString &name) const;
    /// The same test on a file name's bytes: 1 or 0 when the answer is known without
    /// decoding the name (a plain ASCII name and pattern), -1 when the name must be decoded.
    int matchesAscii(const char *name) const;

private:
    QString m_folded;
    QByteArray m_asciiFolded;
    bool m_asciiPattern = false;
    bool m_takesEverything = false;
};

/// The names of the files (regular files, or links to them; hidden ones included, folders
/// excluded) in the folder that match the pattern, in the order the system lists them.
/// A missing or unreadable folder, one that cannot be searched (its files cannot be opened)
/// and one whose path reaches the path limit give no names.
FolderNames ListFolderFiles(const QString &folder, const QString &pattern);

} // namespace plenvoy
