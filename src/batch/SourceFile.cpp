#include "FilePlacement.h"

#include "CopySupport.h"

#include <QFile>
#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/statfs.h>

#include <algorithm>
#include <vector>

namespace plenvoy {

using copying::deviceOf;
using copying::encoded;

namespace {

// ---- Sources on pseudo file systems -------------------------------------------------------

/// Device numbers of the devtmpfs mounts, read once: statfs reports them as tmpfs, so the
/// mount table tells them apart.
const std::vector<dev_t> &devtmpfsDevices() {
    static const std::vector<dev_t> devices = [] {
        std::vector<dev_t> found;
        QFile mounts(QStringLiteral("/proc/self/mountinfo"));
        if (!mounts.open(QIODevice::ReadOnly))
            return found;
        // Each line: id parent major:minor root mount-point options... - fstype source options
        for (const QByteArray &line : mounts.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            const qsizetype dash = fields.indexOf(QByteArray("-"));
            if (fields.size() < 3 || dash < 0 || dash + 1 >= fields.size() ||
                fields.at(dash + 1) != "devtmpfs")
                continue;
            const QList<QByteArray> numbers = fields.at(2).split(':');
            if (numbers.size() == 2)
                found.push_back(makedev(numbers.at(0).toUInt(), numbers.at(1).toUInt()));
        }
        return found;
    }();
    return devices;
}

/// True for the kernel's pseudo file systems, whose "files" are views of the system (reading
/// /proc/self/pagemap once filled a disk with zeros).
bool askPseudoFileSystem(int fd, dev_t device) {
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case PSTOREFS_MAGIC:
    case BPF_FS_MAGIC:
    case 0x62656570UL: // configfs
    case EFIVARFS_MAGIC:
    case 0x65735543UL: // fusectl
    case 0x19800202UL: // mqueue
    case HUGETLBFS_MAGIC:
        return true;
    case TMPFS_MAGIC: {
        const std::vector<dev_t> &devtmpfs = devtmpfsDevices();
        return std::find(devtmpfs.begin(), devtmpfs.end(), device) != devtmpfs.end();
    }
    default:
        return false;
    }
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
        const QByteArray bytes = encoded(path);
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
            // owner and to root only; set on this descriptor, it spares a second open.
            static const uid_t user = ::geteuid();
            if (m_status.stx_uid == user || user == 0)
                ::fcntl(m_fd, F_SETFL, O_NONBLOCK | O_NOATIME); // refused: relatime applies
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
