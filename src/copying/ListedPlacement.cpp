#include "ListedPlacement.h"

#include "core/PathCodec.h"
#include "core/PathHelpers.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

namespace plenvoy {

namespace {

/// The longest name a Linux file system holds, in bytes.
constexpr qsizetype kNameMaxBytes = 255;

enum class NameState { Missing, Exists, Unknown };

/// Whether the name is taken, and by what (a link's target; a link that leads nowhere still
/// holds the name). A missing name, the common case, costs one call.
NameState stateOf(int folder, const QByteArray &name, struct stat &status) {
    if (::fstatat(folder, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? NameState::Missing : NameState::Unknown;
    if (S_ISLNK(status.st_mode))
        ::fstatat(folder, name.constData(), &status, 0);
    return NameState::Exists;
}

/// The name in the file system's bytes; empty when it can't be named there.
QByteArray nameBytes(const QString &name) {
    const QByteArray bytes = pathToBytes(name);
    return bytes.contains('\0') ? QByteArray() : bytes;
}

/// True when the opened folder was removed (perhaps made again under its path): the kernel
/// refuses new files in it, with one errno or another.
bool folderVanished(int folderFd) {
    struct stat status {};
    return ::fstat(folderFd, &status) == 0 && status.st_nlink == 0;
}

void setProblem(FileOutcome &outcome, CopyProblem problem, int errorNumber) {
    outcome.problem = problem;
    outcome.errorNumber = errorNumber;
    outcome.reason = copyProblemText(problem, errorNumber);
}

/// Copies under the first numbered name that is free, or over this source's own earlier
/// numbered copy: the names are tried as the planner tries them, each on the disk now.
void placeUnderNumberedName(const SourceFile &source, int folderFd, const QString &folder,
                            const QString &name, PlacementContext &context, FileOutcome &outcome) {
    const Identity sourceIdentity = identityOf(source.status());
    NameState state = NameState::Missing;
    const auto taken = [&](const QString &candidate) {
        struct stat status {};
        state = stateOf(folderFd, nameBytes(candidate), status);
        return state == NameState::Exists &&
               !context.written.writtenFrom(identityOf(status), sourceIdentity);
    };
    for (int from = 2;;) {
        const NumberedName numbered = firstFreeNumberedName(name, from, kNameMaxBytes, taken);
        if (numbered.tooLong) {
            setProblem(outcome, CopyProblem::NameTooLong, ENAMETOOLONG);
            return;
        }
        if (numbered.number == 0) {
            setProblem(outcome, CopyProblem::NameTaken, EEXIST);
            return;
        }
        const ExistingName existing =
            state == NameState::Exists ? ExistingName::Replace : ExistingName::Keep;
        const CopyResult result =
            copySourceFileInto(source, folderFd, nameBytes(numbered.name), &context.listed,
                               existing, context.hooks, state == NameState::Missing);
        if (result.problem == CopyProblem::NameTaken ||
            result.problem == CopyProblem::ListedFileInTheWay) {
            from = numbered.number + 1; // taken meanwhile
            continue;
        }
        outcome.destination = folder + numbered.name;
        outcome.renamed = true;
        outcome.modeNotKept = result.modeNotKept;
        outcome.named = result.named;
        if (!result.copied()) {
            setProblem(outcome, result.problem, result.errorNumber);
            return;
        }
        context.written.record({result.device, result.inode}, sourceIdentity);
        return;
    }
}

/// The listed protection could not be read to the end (the window closed meanwhile): the
/// file is not placed rather than risk replacing a listed file.
bool droppedForUnreadList(const PlacementContext &context, FileOutcome &outcome) {
    if (!context.listed.incomplete())
        return false;
    setProblem(outcome, CopyProblem::Dropped, 0);
    return true;
}

/// The clash rule inside the opened folder. True, with nothing placed, when the folder
/// turned out to be gone and mayRetry allows looking it up again.
bool placeInFolder(const SourceFile &source, int folderFd, const QString &folder,
                   const QString &target, PlacementContext &context, FileOutcome &outcome,
                   bool mayRetry) {
    const QByteArray name = nameBytes(FileNameOf(target));
    const Identity sourceIdentity = identityOf(source.status());
    // The name is not looked at first: most names are free, the copy is named only if its
    // name still is, and a name found taken is judged then (the file itself, another listed
    // file or this run's copy of another file are left alone; anything else is replaced).
    bool ownEarlierCopy = false;
    const KeptFileTest writtenFromAnotherSource = [&](dev_t device, ino_t inode) {
        ownEarlierCopy = context.written.writtenFrom({device, inode}, sourceIdentity);
        return context.written.writtenFromAnotherSource({device, inode}, sourceIdentity);
    };
    const CopyResult result =
        copySourceFileInto(source, folderFd, name, &context.listed, ExistingName::Replace,
                           context.hooks, true, writtenFromAnotherSource);
    if (result.problem == CopyProblem::ListedFileInTheWay) {
        if (!droppedForUnreadList(context, outcome))
            placeUnderNumberedName(source, folderFd, folder, FileNameOf(target), context, outcome);
        return false;
    }
    if (!result.copied()) {
        if (mayRetry && folderVanished(folderFd))
            return true;
        setProblem(outcome, result.problem, result.errorNumber);
        return false;
    }
    outcome.modeNotKept = result.modeNotKept;
    outcome.named = result.named;
    context.written.record({result.device, result.inode}, sourceIdentity);
    // This source's own earlier copy was no file from before the run.
    outcome.replaced = result.replaced && !ownEarlierCopy;
    return false;
}

} // namespace

OpenedFolder::~OpenedFolder() {
    forget();
}

int OpenedFolder::open(const QString &folder) {
    if (m_fd >= 0 && folder == m_path)
        return m_fd;
    forget();
    const QByteArray bytes = nameBytes(folder);
    if (bytes.isEmpty())
        return -1;
    m_fd = ::open(bytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_fd >= 0)
        m_path = folder;
    return m_fd;
}

void OpenedFolder::adopt(const QString &folder, int fd) {
    if (m_fd >= 0 && folder == m_path) {
        struct stat held {};
        struct stat given {};
        if (::fstat(m_fd, &held) == 0 && ::fstat(fd, &given) == 0 && held.st_dev == given.st_dev &&
            held.st_ino == given.st_ino) {
            ::close(fd);
            return;
        }
    }
    forget();
    m_fd = fd;
    m_path = folder;
}

void OpenedFolder::forget() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
    m_route = NamingRoute::Unknown;
    m_keptBits.reset();
}

FileOutcome placeListedFile(const QString &sourcePath, const QString &destination,
                            const SourceFile *source, PlacementContext &context) {
    FileOutcome outcome;
    outcome.source = sourcePath;
    if (isBlankPath(destination) || isBlankPath(sourcePath) || source == nullptr) {
        setProblem(outcome, CopyProblem::SourceGone, ENOENT);
        return outcome;
    }
    const QString cleanSource = collapseDoubledSeparators(sourcePath);
    const QString cleanDestination = collapseDoubledSeparators(destination);
    const QString folder = FolderOf(cleanDestination);
    const QString target = landingPath(cleanSource, cleanDestination);
    outcome.destination = target;
    if (!source->isOpen()) {
        setProblem(outcome, source->problem(), source->errorNumber());
        return outcome;
    }
    for (int attempt = 0;; ++attempt) {
        const int folderFd = context.folder.open(folder);
        if (folderFd < 0) {
            outcome.reason = kReasonOutputFolderGone;
            outcome.problem = CopyProblem::SystemError;
            outcome.errorNumber = ENOENT;
            return outcome;
        }
        context.hooks.folderRoute = context.folder.route();
        context.hooks.keptBits = context.folder.keptBits();
        // The opened folder was removed: the path is looked up again, once.
        if (!placeInFolder(*source, folderFd, folder, target, context, outcome, attempt == 0))
            return outcome;
        context.folder.forget();
    }
}

} // namespace plenvoy
