#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

#include <cstring>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>

namespace plenvoy {

// The system calls that the walk, the listing and the file attributes share.

constexpr QChar kFolderSeparator = QLatin1Char('/');

/// A name as readdir gives it, as text; its length in bytes goes to length.
QString nameFromBytes(const char *name, qsizetype *length);

/// True for the "." and ".." entries of a folder.
inline bool isDotOrDotDot(const char *name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};
/// An open folder, closed when the handle goes.
using DirHandle = std::unique_ptr<DIR, DirCloser>;

/// The entries of one folder that may be files, kept by the walk that read the folder so the
/// listing need not read it again: for each entry in the system's order one type byte (DT_REG
/// or DT_LNK), the name's bytes and a NUL.
inline void keepFileEntry(QByteArray &entries, unsigned char type, const char *name) {
    entries.append(static_cast<char>(type));
    entries.append(name, static_cast<qsizetype>(std::strlen(name)) + 1); // with its NUL
}

/// The status of a path (without trailing separators) and of what it names.
struct PathStatus {
    /// What the path names: the link's target, or a broken link itself.
    struct stat target {};
    bool isLink = false;
    /// False for a broken link.
    bool targetKnown = true;
};

/// Reads the status; a path that cannot be examined raises the failure of its system error.
PathStatus readPathStatus(const QByteArray &encoded);

} // namespace plenvoy
