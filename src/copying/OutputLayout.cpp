#include "OutputLayout.h"

#include "FileOutcome.h"
#include "ListedPlacement.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy {

LayoutFolders::~LayoutFolders() {
    closeLast();
    if (m_outputFd >= 0)
        ::close(m_outputFd);
}

void LayoutFolders::closeLast() {
    if (m_lastFd >= 0)
        ::close(m_lastFd);
    m_lastFd = -1;
    m_last.clear();
}

int LayoutFolders::open(const QString &outputFolder, const QString &relative, int &errorNumber,
                        QStringList &made) {
    if (outputFolder != m_output || m_outputFd < 0) {
        closeLast();
        if (m_outputFd >= 0)
            ::close(m_outputFd);
        const std::optional<QByteArray> bytes =
            systemPathBytes(collapseDoubledSeparators(outputFolder));
        m_outputFd = bytes ? ::open(bytes->constData(), O_PATH | O_DIRECTORY | O_CLOEXEC) : -1;
        m_output = outputFolder;
        if (m_outputFd < 0) {
            errorNumber = bytes ? errno : EINVAL;
            m_output.clear();
            return -1;
        }
    }
    if (m_lastFd >= 0 && relative == m_last) {
        // A folder removed since is made again.
        struct stat status {};
        if (::fstat(m_lastFd, &status) == 0 && status.st_nlink > 0)
            return m_lastFd;
    }
    closeLast();
    m_lastFd = openFolderBelow(m_outputFd, relative, &made);
    if (m_lastFd < 0) {
        errorNumber = errno;
        return -1;
    }
    m_last = relative;
    return m_lastFd;
}

bool readyLayoutFolder(LayoutFolders &folders, const QString &outputFolder, const QString &relative,
                       const QString &destination, OpenedFolder &opened,
                       const std::function<void(const QString &)> &madeFolder, FileOutcome &file) {
    const QString cleanDestination = collapseDoubledSeparators(destination);
    file.destination = cleanDestination;
    const auto refuse = [&file](CopyProblem problem, int errorNumber) {
        file.problem = problem;
        file.errorNumber = errorNumber;
        file.reason = layoutFolderProblemText(errorNumber);
        return false;
    };
    if (pathToBytes(cleanDestination).size() >= kPathLimitBytes)
        return refuse(CopyProblem::NameTooLong, ENAMETOOLONG);
    int errorNumber = 0;
    QStringList made;
    const int fd = folders.open(outputFolder, relative, errorNumber, made);
    const QString base = collapseDoubledSeparators(outputFolder + QLatin1Char('/'));
    for (const QString &folder : made)
        madeFolder(base + folder);
    if (fd < 0)
        return refuse(errorNumber == ENAMETOOLONG ? CopyProblem::NameTooLong
                                                  : CopyProblem::SystemError,
                      errorNumber);
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return refuse(CopyProblem::SystemError, errno);
    opened.adopt(FolderOf(cleanDestination), copy);
    return true;
}

QString layoutFolderProblemText(int errorNumber) {
    return copyProblemText(errorNumber == ENAMETOOLONG ? CopyProblem::NameTooLong
                                                       : CopyProblem::SystemError,
                           errorNumber);
}

} // namespace plenvoy
