#pragma once

#include "copying/FilePlacement.h"

#include <QString>

namespace plenvoy {

/// Copies the source file to the destination path and never reports a failure.
///
/// A destination ending in the separator names a folder: the copy goes into it under the
/// source's own name. An existing destination is replaced only by renaming a complete
/// temporary file, made in the destination folder, over it; its name is never opened for
/// writing. A destination that is the source itself (by any spelling or link), a folder,
/// not a regular file, or read-only (no write bit at all, or not writable by this user)
/// is left as it was. The copy carries the source's modification and access times and
/// its permission bits (mode & 0777). A copy that fails half-way leaves the earlier
/// destination exactly as it was and no partial file behind. The source is opened for
/// reading only and copied only when it is a regular file.
void CopyFileQuiet(const QString &source, const QString &destination);

/// Places one source file at the destination: nothing happens when either path is blank
/// (spaces only), both paths have their doubled separators collapsed, and the copy is
/// made only when the source is a file and the destination's folder exists. Failures of
/// the copy are swallowed; only the overflow of FolderOf for a destination whose last
/// separator lies beyond position 32767 reaches the caller.
void PlaceFile(const QString &source, const QString &destination);
/// As above, and a destination that is one of the protected files is left alone too.
void PlaceFile(const QString &source, const QString &destination,
               const ProtectedFiles &protectedFiles);

namespace detail {

/// A failure injected into the copy's write step, for tests: once afterBytes bytes have
/// been written, the next write fails with errorNumber. A negative afterBytes injects
/// nothing.
struct WriteFault {
    qint64 afterBytes = -1;
    int errorNumber = 0;
};

/// CopyFileQuiet with its protected files and an injected write failure; true when it
/// wrote the destination.
bool copyFileQuiet(const QString &source, const QString &destination,
                   const ProtectedFiles *protectedFiles, const WriteFault &fault);

} // namespace detail

} // namespace plenvoy
