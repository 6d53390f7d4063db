#pragma once

#include <QtGlobal>

#include <ctime>

struct stat;
struct statx_timestamp;

namespace plenvoy {

/// Nanoseconds since 1970 of a file time.
qint64 nanosecondsOf(const struct timespec &time);
qint64 nanosecondsOf(const struct statx_timestamp &time);

/// What a file was when it was written: its device, inode, size, modification and change
/// time. -1 stands for a field not known (a record's "null").
struct FileIdentity {
    qint64 device = -1;
    qint64 inode = -1;
    qint64 size = -1;
    qint64 mtimeNs = -1;
    qint64 ctimeNs = -1;

    static FileIdentity of(const struct stat &status);
    bool operator==(const FileIdentity &other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               mtimeNs == other.mtimeNs && ctimeNs == other.ctimeNs;
    }
    bool operator!=(const FileIdentity &other) const { return !(*this == other); }
};

/// How a file system lets a file be known again. vfat, exFAT and FUSE file systems give new
/// inode numbers after a re-plug (and FUSE change times are the server's), so there a file
/// is known by its name, size and modification time, the time only as fine as the file
/// system keeps it.
struct IdentityRules {
    bool inodesHold = true;
    /// The step of the modification times the file system keeps, in nanoseconds.
    qint64 timeStepNs = 1;

    /// The rules of a file system type (statfs's f_type).
    static IdentityRules ofType(unsigned long type);
    /// The rules of the file system the descriptor is on; inodes hold when it can't be read.
    static IdentityRules ofFolder(int fd);
};

/// What changed since a file was written, in the order it is told.
enum class IdentityChange {
    None,
    LinkInPlace, ///< a symbolic link has its name
    AnotherFile, ///< another file (or not a regular file) has its name
    SizeChanged,
    Modified,
    StatusChanged ///< permissions, links or name
};

/// The one test of "is this still the file we wrote": what changed between the identity
/// written and the status the name has now (a link not followed).
IdentityChange changeSince(const FileIdentity &written, const struct stat &now,
                           const IdentityRules &rules);

} // namespace plenvoy
