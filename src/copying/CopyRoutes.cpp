#include "CopyRoutes.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace plenvoy::copying {

CopyResult outcome(CopyProblem problem, int errorNumber) {
    CopyResult result;
    result.problem = problem;
    result.errorNumber = errorNumber;
    return result;
}

/// A failure of the output side, told by its errno.
CopyResult outputFailure(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return outcome(CopyProblem::OutputFull, error);
    case ENAMETOOLONG:
        return outcome(CopyProblem::NameTooLong, error);
    case EACCES:
    case EPERM:
        return outcome(CopyProblem::PermissionDenied, error);
    default:
        return outcome(CopyProblem::SystemError, error);
    }
}

namespace {

/// The descriptor of this process's folder of descriptors in /proc; kNotOpened until the
/// first copy asks, -1 where there is no /proc (a chroot without it).
constexpr int kNotOpened = -2;
std::atomic<int> procFdFolderOfThisProcess{kNotOpened};

/// In a child made by fork(): the folder opened by the parent lists the parent's
/// descriptors, so the child lets it go and opens its own when it copies.
void forgetProcFdFolder() {
    const int inherited = procFdFolderOfThisProcess.exchange(kNotOpened);
    if (inherited >= 0)
        ::close(inherited);
}

} // namespace

/// This process's folder of descriptors in /proc, opened once: a copy is named through it
/// with one name looked up rather than four.
int procFdFolder() {
    const int known = procFdFolderOfThisProcess.load();
    if (known != kNotOpened)
        return known;
    static const bool forgottenInChildren =
        ::pthread_atfork(nullptr, nullptr, forgetProcFdFolder) == 0;
    if (!forgottenInChildren)
        return -1; // without the fork handler a child could name the parent's descriptors
    const int opened = ::open("/proc/self/fd", O_PATH | O_DIRECTORY | O_CLOEXEC);
    int expected = kNotOpened;
    if (procFdFolderOfThisProcess.compare_exchange_strong(expected, opened))
        return opened;
    if (opened >= 0)
        ::close(opened); // another thread opened it first
    return expected;
}

/// Gives a name in a folder to the file open as descriptor fd through its magic link in
/// /proc: a name that exists is never replaced (EEXIST).
int linkDescriptor(int procFolder, int fd, int folder, const char *name) {
    char fdName[16];
    std::snprintf(fdName, sizeof fdName, "%d", fd);
    return ::linkat(procFolder, fdName, folder, name, AT_SYMLINK_FOLLOW);
}

/// Errors that tell a route to a name is not there on this file system, rather than that
/// something went wrong.
bool routeRefused(int error) {
    switch (error) {
    case EPERM:
    case EINVAL:
    case ENOSYS:
    case EOPNOTSUPP:
#if ENOTSUP != EOPNOTSUPP
    case ENOTSUP:
#endif
        return true;
    default:
        return false;
    }
}

/// The route after the given one, in the order they are tried.
NamingRoute nextRoute(NamingRoute route) {
    switch (route) {
    case NamingRoute::Unknown:
        return NamingRoute::AnonymousFile;
    case NamingRoute::AnonymousFile:
        return NamingRoute::ExclusiveRename;
    case NamingRoute::ExclusiveRename:
        return NamingRoute::LinkThenUnlink;
    case NamingRoute::LinkThenUnlink:
    case NamingRoute::DirectName:
        break;
    }
    return NamingRoute::DirectName;
}

} // namespace plenvoy::copying
