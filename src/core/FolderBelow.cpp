#include "FolderBelow.h"

#include "PathCodec.h"

#include <QByteArrayList>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy {

namespace {

constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

/// -1 with errno kept as it was, after the descriptor is closed.
int failAfterClosing(int fd, int error) {
    ::close(fd);
    errno = error;
    return -1;
}

} // namespace

bool isPlainName(QStringView name) {
    return !name.isEmpty() && name != u"." && name != u"..";
}

int openFolderBelow(int base, const QString &relative, QStringList *made) {
    const std::optional<QByteArray> bytes = systemPathBytes(relative);
    const QStringList parts = relative.isEmpty() ? QStringList() : relative.split(u'/');
    if (!bytes || !std::all_of(parts.cbegin(), parts.cend(), isPlainName)) {
        errno = EINVAL;
        return -1;
    }
    const QByteArrayList names = bytes->isEmpty() ? QByteArrayList() : bytes->split('/');
    int current = ::fcntl(base, F_DUPFD_CLOEXEC, 0);
    for (qsizetype i = 0; current >= 0 && i < names.size(); ++i) {
        const char *name = names.at(i).constData();
        int next = ::openat(current, name, kFolderFlags);
        if (next < 0 && errno == ENOENT && made) {
            if (::mkdirat(current, name, 0777) == 0) {
                const QByteArrayList madeNames = names.mid(0, i + 1);
                made->append(pathFromBytes(madeNames.join('/')));
            } else if (errno != EEXIST) {
                return failAfterClosing(current, errno);
            }
            next = ::openat(current, name, kFolderFlags);
        }
        // A link that is in the way gives ELOOP on some kernels, ENOTDIR on others.
        if (next < 0)
            return failAfterClosing(current, errno == ELOOP ? ENOTDIR : errno);
        ::close(current);
        current = next;
    }
    return current;
}

} // namespace plenvoy
