#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace plenvoy {

/// The one way between a path as text and a path as the file system holds it (bytes).
///
/// Valid UTF-8 decodes as usual. Each byte that is not part of valid UTF-8 becomes the
/// lone low surrogate U+DC00 + byte (U+DC80..U+DCFF) and turns back into that same byte
/// on the way out, so every name the file system holds survives the round trip exactly
/// and none can be taken for another. Qt's own file-name conversion turns such bytes
/// into U+FFFD and so may name a different file: never use it for a path that goes to
/// the system.
QByteArray pathToBytes(const QString &path);
QString pathFromBytes(const char *bytes, qsizetype size);
QString pathFromBytes(const QByteArray &bytes);
/// A NUL-terminated name, as readdir and the command line give them.
QString pathFromBytes(const char *bytes);

/// The path in the bytes a system call takes; nullopt when it holds a NUL, which would end
/// it early and so name another file. An empty path gives empty bytes.
std::optional<QByteArray> systemPathBytes(const QString &path);
/// As systemPathBytes for a path that must name something: an empty path, or one that holds
/// a NUL, raises the failure of a missing path (ENOENT).
QByteArray systemPathBytesOrFail(const QString &path);

/// True when the text holds an escaped byte (a lone U+DC80..U+DCFF).
bool hasEscapedBytes(const QString &path);
/// The path as a window shows it: each escaped byte as the replacement mark U+FFFD.
QString pathForDisplay(const QString &path);

/// True when the unit at index begins a surrogate pair (a high surrogate followed by a
/// low one); a stamp inserted after unit n must then go after the pair.
bool startsSurrogatePair(const QString &text, qsizetype index);

} // namespace plenvoy
