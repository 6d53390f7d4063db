#include "FilePlacement.h"

#include "CopySupport.h"
#include "core/PseudoFileSystems.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/statfs.h>

namespace plenvoy {

using copying::deviceOf;

namespace {

/// True for the kernel's pseudo file systems, whose "files" are views of the system (reading
/// /proc/self/pagemap once filled a disk with zeros).
bool askPseudoFileSystem(int fd, dev_t device) {
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0)
        return false;
    return isPseudoFileSystem(static_cast<unsigned long>(info.f_type), device);
}

/// The same answer, remembered for the last block device asked: a run reads its sources
/// from one or two disks, and a disk's device number names one file system while mounted.
/// Devices without a disk (major 0: tmpfs, proc, overlays) have numbers that a later mount
/// may take over, so they are asked each time.
bool onPseudoFileSystem(int fd, dev_t device) {
    thread_local dev_t lastDevice = 0;
    thread_local bool lastAnswer = false;
    if (major(device) != 0 && device == lastDevice)
        return lastAnswer;
    const bool answer = askPseudoFileSystem(fd, device);
    if (major(device) != 0) {
        lastDevice = device;
        lastAnswer = answer;
    }
    return answer;
}

} // namespace

SourceFile::SourceFile(const QString &path) {
    try {
        const QByteArray bytes = systemPathBytes(path).value_or(QByteArray());
        // Non-blocking, so that a pipe put in the file's place can't make the copy wait.
        m_fd = bytes.isEmpty() ? -1 : ::open(bytes.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0) {
            m_errorNumber = bytes.isEmpty() ? ENOENT : errno;
        } else if (::statx(m_fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &m_status) !=
                   0) {
            m_errorNumber = errno;
        } else if (!S_ISREG(m_status.stx_mode) || onPseudoFileSystem(m_fd, deviceOf(m_status))) {
            m_problem = CopyProblem::NotRegularFile;
        } else {
            // Reading must not change the access time. The kernel allows O_NOATIME to the
            // owner and to root only; decided from the status and set on this descriptor, it
            // needs no second open (for anyone else the kernel's relatime rule applies).
            static const uid_t user = ::geteuid();
            if (m_status.stx_uid == user || user == 0)
                ::fcntl(m_fd, F_SETFL, O_NONBLOCK | O_NOATIME);
            m_problem = CopyProblem::None;
            return;
        }
    } catch (...) {
        m_errorNumber = ENOMEM;
    }
    if (m_problem != CopyProblem::NotRegularFile) {
        switch (m_errorNumber) {
        case ENOENT:
        case ENOTDIR:
            m_problem = CopyProblem::SourceGone;
            break;
        case EACCES:
        case EPERM:
            m_problem = CopyProblem::PermissionDenied;
            break;
        default:
            m_problem = CopyProblem::SystemError;
        }
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

SourceFile::~SourceFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace plenvoy
