#pragma once

// Pieces shared by the copy's own sources; not for use elsewhere.

#include <QByteArray>
#include <QString>

#include "core/Descriptor.h"
#include "core/PathCodec.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace plenvoy::copying {

using plenvoy::Descriptor;

/// The path in the file system's bytes; empty when the path can't be named there.
inline QByteArray encoded(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    return bytes.contains('\0') ? QByteArray() : bytes;
}

inline dev_t deviceOf(const struct statx &status) {
    return makedev(status.stx_dev_major, status.stx_dev_minor);
}

} // namespace plenvoy::copying
