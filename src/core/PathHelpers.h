#pragma once

#include <QChar>
#include <QDir>
#include <QString>

namespace plenvoy {

/// The system's path limit in bytes: a folder whose encoded path is this long or longer
/// cannot be opened, so the walk and the listing leave it out.
constexpr int kPathLimitBytes = 4096;

/// The platform's path separator: "/" on Linux.
inline QChar platformSeparator() {
    return QDir::separator();
}

/// Collapses doubled separators: every pair becomes one, left to right, so three in a row
/// become two. With "\" a path that begins with a separator is a network path and gets
/// exactly two leading separators; with "/" it keeps exactly one.
QString collapseDoubledSeparators(const QString &path, QChar separator = platformSeparator());
/// The part after the last separator; the whole path when there is none.
QString FileNameOf(const QString &path, QChar separator = platformSeparator());
/// The part up to and including the last separator; empty when there is none. A last
/// separator beyond position 32767 raises the overflow failure.
QString FolderOf(const QString &path, QChar separator = platformSeparator());

/// True when the path names an existing folder (through links). Never fails.
bool FolderExists(const QString &path);
/// True when the path names a regular file or a link to one. Never fails.
bool FileIsPresent(const QString &path);
/// True when the path names an existing file or folder. Never fails.
bool PathExists(const QString &path);

} // namespace plenvoy
