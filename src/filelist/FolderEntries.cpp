#include "FolderEntries.h"

#include "core/Failure.h"
#include "core/PathCodec.h"

#include <cerrno>

namespace plenvoy {

QString nameFromBytes(const char *name, qsizetype *length) {
    // Plain ASCII names, by far the most common, skip the codec's check of every byte.
    qsizetype size = 0;
    bool ascii = true;
    for (; name[size] != '\0'; ++size)
        ascii = ascii && static_cast<unsigned char>(name[size]) < 0x80;
    *length = size;
    return ascii ? QString::fromLatin1(name, size) : pathFromBytes(name, size);
}

PathStatus readPathStatus(const QByteArray &encoded) {
    struct stat own {};
    if (::lstat(encoded.constData(), &own) != 0)
        throw Failure::fromErrno(errno);
    PathStatus status;
    status.isLink = S_ISLNK(own.st_mode);
    status.targetKnown = !status.isLink || ::stat(encoded.constData(), &status.target) == 0;
    if (!status.isLink || !status.targetKnown)
        status.target = own; // a broken link stands for itself
    return status;
}

} // namespace plenvoy
