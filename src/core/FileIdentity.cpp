#include "FileIdentity.h"

#include <sys/stat.h>
#include <sys/vfs.h>

namespace plenvoy {

namespace {

constexpr unsigned long kMsdosMagic = 0x4d44;
constexpr unsigned long kExfatMagic = 0x2011BAB0;
constexpr unsigned long kFuseMagic = 0x65735546;
constexpr qint64 kSecondNs = 1'000'000'000;

bool sameTime(qint64 written, qint64 now, qint64 step) {
    if (step <= 1)
        return written == now;
    // Floored, so that times before 1970 fall into their step too.
    const auto stepOf = [step](qint64 time) {
        return time >= 0 ? time / step : -((-time + step - 1) / step);
    };
    return stepOf(written) == stepOf(now);
}

} // namespace

qint64 nanosecondsOf(const struct timespec &time) {
    return qint64(time.tv_sec) * kSecondNs + time.tv_nsec;
}

qint64 nanosecondsOf(const struct statx_timestamp &time) {
    return qint64(time.tv_sec) * kSecondNs + time.tv_nsec;
}

FileIdentity FileIdentity::of(const struct stat &status) {
    FileIdentity identity;
    identity.device = qint64(status.st_dev);
    identity.inode = qint64(status.st_ino);
    identity.size = qint64(status.st_size);
    identity.mtimeNs = nanosecondsOf(status.st_mtim);
    identity.ctimeNs = nanosecondsOf(status.st_ctim);
    return identity;
}

IdentityRules IdentityRules::ofType(unsigned long type) {
    IdentityRules rules;
    if (type == kMsdosMagic) {
        rules.inodesHold = false;
        rules.timeStepNs = 2 * kSecondNs;
    } else if (type == kExfatMagic) {
        rules.inodesHold = false;
        rules.timeStepNs = 10'000'000;
    } else if (type == kFuseMagic) {
        rules.inodesHold = false;
    }
    return rules;
}

IdentityRules IdentityRules::ofFolder(int fd) {
    struct statfs system {};
    if (fd < 0 || ::fstatfs(fd, &system) != 0)
        return IdentityRules();
    return ofType(static_cast<unsigned long>(system.f_type));
}

IdentityChange changeSince(const FileIdentity &written, const struct stat &now,
                           const IdentityRules &rules) {
    if (S_ISLNK(now.st_mode))
        return IdentityChange::LinkInPlace;
    if (!S_ISREG(now.st_mode) || (rules.inodesHold && (qint64(now.st_dev) != written.device ||
                                                       qint64(now.st_ino) != written.inode)))
        return IdentityChange::AnotherFile;
    if (qint64(now.st_size) != written.size)
        return IdentityChange::SizeChanged;
    if (!sameTime(written.mtimeNs, nanosecondsOf(now.st_mtim), rules.timeStepNs))
        return IdentityChange::Modified;
    if (rules.inodesHold && nanosecondsOf(now.st_ctim) != written.ctimeNs)
        return IdentityChange::StatusChanged;
    return IdentityChange::None;
}

} // namespace plenvoy
