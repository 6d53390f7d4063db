#include "FileAttributes.h"

#include "FolderEntries.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "core/PathText.h"

#include <exception>

#include <unistd.h>

namespace plenvoy {

int FileAttributes(const QString &path) {
    const QString named = withoutTrailingSeparators(path);
    const QByteArray encoded = systemPathBytesOrFail(named);
    const PathStatus status = readPathStatus(encoded);
    const struct stat &target = status.target;
    int attributes = S_ISDIR(target.st_mode) ? Attribute::Folder : Attribute::Archive;
    const QString name = FileNameOf(named, kFolderSeparator);
    if (name.startsWith(QLatin1Char('.')) && name != QLatin1String(".") &&
        name != QLatin1String(".."))
        attributes |= Attribute::Hidden;
    if (status.targetKnown &&
        ((target.st_mode & 0222) == 0 || ::access(encoded.constData(), W_OK) != 0))
        attributes |= Attribute::ReadOnly;
    if (status.isLink)
        attributes |= Attribute::ReparsePoint;
    return attributes;
}

bool AttributesUnreadable(const QString &path) {
    try {
        FileAttributes(path);
        return false;
    } catch (const std::exception &) {
        return true;
    }
}

bool HasBadCharacters(const QString &text) {
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 32 || (code >= 127 && code <= 159))
            return true;
    }
    return false;
}

} // namespace plenvoy
