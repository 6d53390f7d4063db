#include "ContentCopy.h"
#include "CopyRoutes.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy::copying {

CopyResult fillCopy(const SourceFile &source, int target, const CopyHooks &hooks,
                    bool madeWithSourceBits) {
    const struct statx &status = source.status();
    const qint64 size = qint64(status.stx_size);
    // Fewer blocks than bytes: there are holes to look for (as cp tells them).
    const bool mayHaveHoles = qint64(status.stx_blocks) * 512 < size;
    ContentCopy content(source.descriptor(), target, hooks);
    switch (content.copy(size, mayHaveHoles)) {
    case ContentCopy::Outcome::Failed:
        return outputFailure(content.errorNumber());
    case ContentCopy::Outcome::Dropped:
        return outcome(CopyProblem::Dropped);
    case ContentCopy::Outcome::Done:
        break;
    }
    // A file system that keeps coarser times (FAT: two seconds) rounds them: no error.
    const struct timespec times[2] = {{status.stx_atime.tv_sec, status.stx_atime.tv_nsec},
                                      {status.stx_mtime.tv_sec, status.stx_mtime.tv_nsec}};
    if (::futimens(target, times) != 0)
        return outputFailure(errno);

    struct statx now {};
    if (::statx(source.descriptor(), "", AT_EMPTY_PATH, STATX_SIZE | STATX_MTIME, &now) != 0)
        return outcome(CopyProblem::SystemError, errno);
    if (now.stx_size != status.stx_size || now.stx_mtime.tv_sec != status.stx_mtime.tv_sec ||
        now.stx_mtime.tv_nsec != status.stx_mtime.tv_nsec)
        return outcome(CopyProblem::SourceChanged);

    CopyResult result = outcome(CopyProblem::None);
    const unsigned wanted = status.stx_mode & 0777;
    // A copy whose status is read once named, made with the source's bits in a folder
    // that gave a new file these very bits before (the umask and a default ACL are the
    // same for every file there): its status is not read twice.
    if (madeWithSourceBits && hooks.statusAfterNaming && hooks.keptBits &&
        hooks.keptBits->test(wanted) && !faultsOf(hooks).withoutPermissionBits)
        return result;
    // The status also tells whether the umask took permission bits away at creation.
    struct stat own {};
    if (::fstat(target, &own) != 0)
        return outputFailure(errno);
    if (madeWithSourceBits && hooks.keptBits && (own.st_mode & 07777) == wanted)
        hooks.keptBits->set(wanted);
    if ((own.st_mode & 07777) != (status.stx_mode & 0777) ||
        faultsOf(hooks).withoutPermissionBits) {
        if (faultsOf(hooks).withoutPermissionBits)
            errno = ENOSYS;
        if (faultsOf(hooks).withoutPermissionBits ||
            ::fchmod(target, status.stx_mode & 0777) != 0) {
            // The bits are a courtesy where the file system can't keep them (FAT, exFAT).
            if (errno != EPERM && errno != ENOSYS && errno != EOPNOTSUPP && errno != ENOTSUP)
                return outputFailure(errno);
            result.modeNotKept = true;
        }
    }
    result.device = own.st_dev;
    result.inode = own.st_ino;
    return result;
}

} // namespace plenvoy::copying
