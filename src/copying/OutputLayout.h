#pragma once

#include "core/FolderBelow.h"
#include "naming/LayoutFolder.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace plenvoy {

/// Why a copy found no folder to go into, in plain words.
inline const QString kReasonFolderInTheWay =
    QStringLiteral("a link or a file is in the way of its folder");

/// The folders a run copies into below its output folder, made as needed. The last one
/// stays open: entries come in runs from one folder.
class LayoutFolders final {
public:
    LayoutFolders() = default;
    ~LayoutFolders();
    LayoutFolders(const LayoutFolders &) = delete;
    LayoutFolders &operator=(const LayoutFolders &) = delete;

    /// The descriptor of `relative` below the output folder, owned by this object; -1 with
    /// errorNumber set when it can't be reached or made. The folders made are appended to
    /// made as paths below the output folder.
    int open(const QString &outputFolder, const QString &relative, int &errorNumber,
             QStringList &made);

private:
    void closeLast();

    QString m_output;
    int m_outputFd = -1;
    QString m_last;
    int m_lastFd = -1;
};

class OpenedFolder;
struct FileOutcome;

/// Readies the folder of a copy that goes below the output folder: made as needed (each
/// folder made is told to madeFolder as a whole path) and handed to `opened` for the copy's
/// destination. False, with the file's outcome set to why, when the path is too long or the
/// folder can't be reached.
bool readyLayoutFolder(LayoutFolders &folders, const QString &outputFolder, const QString &relative,
                       const QString &destination, OpenedFolder &opened,
                       const std::function<void(const QString &)> &madeFolder, FileOutcome &file);

/// The reason a folder problem gives the user.
QString layoutFolderProblemText(int errorNumber);

} // namespace plenvoy
