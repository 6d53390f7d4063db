#include "PseudoFileSystems.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSet>

#include <linux/magic.h>
#include <sys/sysmacros.h>

namespace plenvoy {

namespace {

// Device numbers of the devtmpfs mounts: statfs reports them as tmpfs, so the mount table
// tells them apart.
QSet<dev_t> devtmpfsDevices() {
    QSet<dev_t> devices;
    QFile mounts(QStringLiteral("/proc/self/mountinfo"));
    if (!mounts.open(QIODevice::ReadOnly))
        return devices;
    // Each line: id parent major:minor root mount-point options... - fstype source options
    for (const QByteArray &line : mounts.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf(QByteArray("-"));
        if (fields.size() < 3 || dash < 0 || dash + 1 >= fields.size())
            continue;
        if (fields.at(dash + 1) != "devtmpfs")
            continue;
        const QList<QByteArray> numbers = fields.at(2).split(':');
        if (numbers.size() == 2)
            devices.insert(makedev(numbers.at(0).toUInt(), numbers.at(1).toUInt()));
    }
    return devices;
}

} // namespace

bool isPseudoFileSystem(unsigned long type, dev_t device) {
    switch (type) {
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
        // devtmpfs reports itself as tmpfs: the mount table tells them apart.
        static const QSet<dev_t> devtmpfs = devtmpfsDevices();
        return devtmpfs.contains(device);
    }
    default:
        return false;
    }
}

} // namespace plenvoy
