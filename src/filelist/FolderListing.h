#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace plenvoy {

/// The names that ListFolderFiles returns, at 1-based positions 1..upperBound(). With no
/// names the array holds one empty slot at position 0, so a loop from 1 to upperBound()
/// does nothing.
class FolderNames final {
public:
    FolderNames() = default;
    explicit FolderNames(QStringList names, QList<bool> regular = {})
        : m_names(std::move(names))
        , m_regular(std::move(regular)) {}

    int lowerBound() const { return m_names.isEmpty() ? 0 : 1; }
    int upperBound() const { return static_cast<int>(m_names.size()); }
    /// The name at a position between the bounds; raises "Subscript out of range" otherwise.
    QString at(int position) const;
    /// The names in listing order (empty when none matched).
    const QStringList &names() const { return m_names; }
    /// True when the listing saw the name at the position as a regular file itself (not a
    /// link to one, nor an entry whose type had to be read).
    bool seenRegular(int position) const { return m_regular.value(position - 1, false); }

private:
    QStringList m_names;
    QList<bool> m_regular;
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

/// The same names as ListFolderFiles gives for the folder, from the entries that a folder
/// walk kept when it read the folder (see KeptFileEntries), so the folder is not read again.
FolderNames ListKeptFiles(const QString &folder, const QString &pattern, const QByteArray &entries);

} // namespace plenvoy
