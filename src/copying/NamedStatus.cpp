#include "FilePlacement.h"

#include <QByteArray>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy {

NamedStatus namedStatus(const struct stat &status) {
    NamedStatus named;
    named.known = true;
    named.device = status.st_dev;
    named.inode = status.st_ino;
    named.size = qint64(status.st_size);
    named.mtimeNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    named.ctimeNs = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
    return named;
}

StatusByName::~StatusByName() {
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

NamedStatus StatusByName::of(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash <= 0 ? QByteArray("/") : path.left(slash);
    if (folder != m_folderPath) {
        if (m_folderFd >= 0)
            ::close(m_folderFd);
        m_folderFd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        m_folderPath = folder;
    }
    struct stat status {};
    if (m_folderFd < 0 ||
        ::fstatat(m_folderFd, path.constData() + slash + 1, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return NamedStatus();
    return namedStatus(status);
}

} // namespace plenvoy
