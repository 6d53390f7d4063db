#include "HandedPaths.h"

#include "core/PathCodec.h"
#include "core/WindowPort.h"
#include "filelist/AddFiles.h"
#include "filelist/FileList.h"

#include <sys/stat.h>

namespace plenvoy {

HandedPaths::HandedPaths(FileList &list, WindowPort &port, std::function<bool()> idle,
                         std::function<void(const std::function<void()> &)> runHandler)
    : m_list(list)
    , m_port(port)
    , m_idle(std::move(idle))
    , m_runHandler(std::move(runHandler)) {
    m_idleTimer.setInterval(100);
    QObject::connect(&m_idleTimer, &QTimer::timeout, &m_idleTimer,
                     [this] { walkPendingFolders(); });
}

void HandedPaths::open(const QStringList &paths, const QString &notice) {
    for (const QString &path : paths) {
        struct stat status {};
        const bool folder =
            ::stat(pathToBytes(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
        if (folder)
            m_pendingFolders.append(path);
        else
            m_list.append(path); // as a drop appends, also during a run
    }
    if (!notice.isEmpty())
        m_pendingNotices.append(notice);
    if (!m_pendingFolders.isEmpty() || !m_pendingNotices.isEmpty())
        m_idleTimer.start();
}

void HandedPaths::walkPendingFolders() {
    if (!m_idle() || m_port.closing())
        return;
    if (m_pendingFolders.isEmpty() && m_pendingNotices.isEmpty()) {
        m_idleTimer.stop();
        return;
    }
    m_runHandler([this] {
        if (!m_pendingFolders.isEmpty()) {
            m_port.setPointer(PointerMode::Busy);
            // Folders handed over during the walk join the queue and are walked in this turn.
            while (!m_pendingFolders.isEmpty() && !m_port.closing())
                addFolderTree(m_list, m_pendingFolders.takeFirst(), QStringLiteral("*"), m_port);
            if (!m_port.closing())
                m_port.setPointer(PointerMode::Default);
        }
        // A folder handed over while a box is open is listed before the next box.
        while (!m_pendingNotices.isEmpty() && m_pendingFolders.isEmpty() && !m_port.closing())
            m_port.showMessage(m_pendingNotices.takeFirst());
    });
}

} // namespace plenvoy
