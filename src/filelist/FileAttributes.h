#pragma once

#include <QString>

namespace plenvoy {

/// File attribute bits as the folder services report them. The system bit (4) has no
/// counterpart here and is never set.
namespace Attribute {
constexpr int ReadOnly = 1;
constexpr int Hidden = 2;
constexpr int Folder = 16;
constexpr int Archive = 32;
constexpr int ReparsePoint = 1024;
} // namespace Attribute

/// The attributes of a path as a number: Folder (16) for a folder, reached through links,
/// Archive (32) for anything else; plus Hidden when the name begins with "."; plus ReadOnly
/// when the current user may not write it or its mode has no write bit at all; plus
/// ReparsePoint when the path itself is a symbolic link.
/// A path that cannot be examined raises the failure of its system error.
int FileAttributes(const QString &path);

/// True when the attributes of the path cannot be read, for any reason (nothing under that
/// name, a name the file system rejects, no access). Changes nothing, never fails.
bool AttributesUnreadable(const QString &path);

/// True when the text holds a control character (code below 32, or 127 to 159). Letters of
/// every script, punctuation, "?" and the codec's escaped bytes are good.
bool HasBadCharacters(const QString &text);

} // namespace plenvoy
