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

inline dev_t deviceOf(const struct statx &status) {
    return makedev(status.stx_dev_major, status.stx_dev_minor);
}

} // namespace plenvoy::copying
