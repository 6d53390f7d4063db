#pragma once

#include <QStringList>
#include <QTimer>

#include <functional>

namespace plenvoy {

class FileList;
class WindowPort;

/// Paths handed to the window from the command line or a later start. Files are appended at
/// once, as a drop appends them; folders are walked as "Add All Files In Folder" walks them
/// with every extension, and notices told in a box, once the window is idle.
class HandedPaths final {
public:
    /// `idle` tells that no handler runs and no box is open; the walk runs through
    /// `runHandler`, so that the window counts it as running.
    HandedPaths(FileList &list, WindowPort &port, std::function<bool()> idle,
                std::function<void(const std::function<void()> &)> runHandler);

    void open(const QStringList &paths, const QString &notice);
    /// Folders given but not yet walked.
    const QStringList &pendingFolders() const { return m_pendingFolders; }

private:
    void walkPendingFolders();

    FileList &m_list;
    WindowPort &m_port;
    std::function<bool()> m_idle;
    std::function<void(const std::function<void()> &)> m_runHandler;
    QStringList m_pendingFolders;
    QStringList m_pendingNotices;
    QTimer m_idleTimer;
};

} // namespace plenvoy
