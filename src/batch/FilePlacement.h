#pragma once

#include <QString>

#include <sys/types.h>

#include <set>
#include <utility>

namespace plenvoy {

/// Files that a copy must never replace, told apart by device and inode so that every
/// spelling of a path, a symbolic link and a hard link all name the same file.
class ProtectedFiles final {
public:
    /// Adds the file that the path names (through links); a path that names nothing is
    /// ignored. Never fails.
    void add(const QString &path);
    bool contains(dev_t device, ino_t inode) const;
    bool isEmpty() const { return m_files.empty(); }
    std::size_t size() const { return m_files.size(); }

private:
    std::set<std::pair<dev_t, ino_t>> m_files;
};

/// Copies the source file to the destination path and never reports a failure.
///
/// A destination ending in the separator names a folder: the copy goes into it under the
/// source's own name. An existing destination is replaced only by renaming a complete
/// temporary file, made in the destination folder, over it; its name is never opened for
/// writing. A destination that is the source itself (by any spelling or link), a folder,
/// not a regular file, or read-only (no write bit at all, or not writable by this user)
/// is left as it was. The copy carries the source's modification time and its
/// permission bits (mode & 0777). A copy that fails half-way leaves the earlier
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

/// What one placement did.
struct Placement {
    /// Where the copy landed or would have landed: the destination with its doubled
    /// separators collapsed and, when it names a folder, the source's own name added.
    /// Empty when either path was blank.
    QString destination;
    /// True when this placement wrote the file there.
    bool written = false;
};

/// PlaceFile with protected files that tells what it did.
Placement PlaceFileAndTell(const QString &source, const QString &destination,
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
