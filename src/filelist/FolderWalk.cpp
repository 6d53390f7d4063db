#include "FolderWalk.h"

#include "FileAttributes.h"
#include "FolderEntries.h"
#include "core/Failure.h"
#include "core/LocationTags.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "core/PathText.h"
#include "core/PseudoFileSystems.h"
#include "core/Trap.h"
#include "core/WindowPort.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <cerrno>
#include <exception>
#include <utility>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace plenvoy {

namespace {

// Steps of the walk that the error report numbers.
constexpr qint32 kStepFolderExists = 108;
constexpr qint32 kStepYieldBeforeFolder = 114;
constexpr qint32 kStepKeptOut = 116;
constexpr qint32 kStepSubFolderExists = 154;
constexpr qint32 kStepYieldBeforeSubFolder = 156;
constexpr qint32 kStepSubFolderKeptOut = 158;
constexpr qint32 kStepAppendSubFolder = 160;

bool isRootFolder(const QString &folder) {
    if (folder.isEmpty())
        return false;
    for (const QChar c : folder) {
        if (c != kFolderSeparator)
            return false;
    }
    return true;
}

// The kernel's pseudo file systems, which the walk leaves out as the system's own folders.
// The answer is kept per device, so each mounted file system is asked about once.
class PseudoFileSystems final {
public:
    bool holds(const QByteArray &encoded, dev_t device) {
        const auto known = m_answers.constFind(device);
        if (known != m_answers.constEnd())
            return known.value();
        struct statfs info {};
        if (::statfs(encoded.constData(), &info) != 0)
            return false; // asked again next time
        const bool pseudo = isPseudoFileSystem(static_cast<unsigned long>(info.f_type), device);
        m_answers.insert(device, pseudo);
        return pseudo;
    }

private:
    QHash<dev_t, bool> m_answers;
};

// The type of an entry that the system listed without one, read from the entry's own status
// (a link stays a link); DT_UNKNOWN when it cannot be examined.
unsigned char typeFromStatus(int dirFd, const char *name) {
    struct stat info {};
    if (::fstatat(dirFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return DT_UNKNOWN;
    return static_cast<unsigned char>(IFTODT(info.st_mode));
}

// Thrown when the window is closing: not a std::exception, so no trap catches it and the
// walk ends at once at every level.
struct WalkClosed {};

// A sub-folder's name, and its length in the file system's bytes.
struct SubFolder {
    QString name;
    qsizetype bytes = 0;
};

// The trap in force while sub-folders are read: a folder that cannot be listed (permission
// denied, vanished) leaves the caller's list and is told as unreadable; any other failure
// only ends the step. Nothing is shown.
class SubFolderTrap final {
public:
    SubFolderTrap(QStringList &folders, const LeftOutReport &leftOut)
        : m_folders(folders)
        , m_leftOut(leftOut) {}

    // Runs one step for the folder at index; false when it failed. When the folder leaves
    // the list, index moves back with it, so the caller's next folder is still taken.
    template <typename F> bool step(const QString &folder, qsizetype &index, F &&body) {
        try {
            std::forward<F>(body)();
            return true;
        } catch (const Failure &failure) {
            leaveOut(folder, failure.number(), index);
        } catch (const std::exception &) {
            leaveOut(folder, ErrorNumber::Other, index);
        }
        return false;
    }

private:
    void leaveOut(const QString &folder, int number, qsizetype &index) {
        if (number != ErrorNumber::PermissionDenied && number != ErrorNumber::PathNotFound)
            return;
        const qsizetype found = m_folders.indexOf(folder);
        if (found < 0)
            return;
        m_folders.removeAt(found);
        if (found <= index)
            --index;
        if (m_leftOut)
            m_leftOut(folder, LeftOutReason::Unreadable);
    }

    QStringList &m_folders;
    const LeftOutReport &m_leftOut;
};

class FolderWalk final {
public:
    FolderWalk(WindowPort &ui, const LeftOutReport &leftOut, KeptFileEntries *kept)
        : m_ui(ui)
        , m_leftOut(leftOut)
        , m_kept(kept) {}

    void level(QStringList &folders, bool deeper);

private:
    void yield() {
        m_ui.processEvents();
        if (m_ui.closing())
            throw WalkClosed{};
    }

    // True when the walk leaves out the sub-folders of the folder (a root is always walked).
    bool keptOut(const QString &folder) {
        if (isRootFolder(folder))
            return false;
        const QByteArray encoded = systemPathBytesOrFail(withoutTrailingSeparators(folder));
        return m_pseudo.holds(encoded, readPathStatus(encoded).target.st_dev);
    }

    // True when the folder's path reaches the path limit; its length in bytes, trailing
    // separators included, goes to folderBytes.
    bool tooLong(const QString &folder, qsizetype &folderBytes) {
        // Each trailing separator is one byte.
        folderBytes = pathToBytes(folder).size();
        const qsizetype trailing = folder.size() - withoutTrailingSeparators(folder).size();
        if (folderBytes - trailing < kPathLimitBytes)
            return false;
        report(folder, LeftOutReason::PathTooLong);
        return true;
    }

    bool opensUnderReportTrap(Trap &trap, const QString &folder, qsizetype &folderBytes);
    bool opensUnderSubFolderTrap(SubFolderTrap &trap, qsizetype &index, const QString &folder,
                                 qsizetype &folderBytes);
    void readSubFolders(SubFolderTrap &trap, qsizetype &index, const QString &folder,
                        qsizetype folderBytes, QStringList &newFolders);
    QList<SubFolder> subFolderNames(const QString &folder, QByteArray *files);

    void report(const QString &folder, LeftOutReason reason) const {
        if (m_leftOut)
            m_leftOut(folder, reason);
    }

    // Whether a folder exists (through links) and whether the walk keeps it out.
    struct Look {
        bool exists = false;
        bool keptOut = false;
    };
    Look lookAt(const QString &folder) {
        // A sub-folder is examined again on every level above it; within one walk the
        // first reading answers for all of them, so a deep tree costs one status call per
        // folder rather than one per folder and level.
        const auto known = m_looks.constFind(folder);
        if (known != m_looks.constEnd())
            return *known;
        const Look look = readLook(folder);
        m_looks.insert(folder, look);
        return look;
    }
    Look readLook(const QString &folder) {
        Look look;
        const QByteArray encoded =
            systemPathBytes(withoutTrailingSeparators(folder)).value_or(QByteArray());
        if (encoded.isEmpty())
            return look;
        PathStatus status;
        try {
            status = readPathStatus(encoded);
        } catch (const Failure &) {
            return look; // nothing there
        }
        look.exists = S_ISDIR(status.target.st_mode);
        look.keptOut = !isRootFolder(folder) && m_pseudo.holds(encoded, status.target.st_dev);
        return look;
    }

    WindowPort &m_ui;
    const LeftOutReport &m_leftOut;
    KeptFileEntries *m_kept;
    PseudoFileSystems m_pseudo;
    QHash<QString, Look> m_looks;
};

// The names of the real sub-folders of a folder in the system's order; links to folders
// are not sub-folders, so link cycles end. With files, the entries that may be files go there.
QList<SubFolder> FolderWalk::subFolderNames(const QString &folder, QByteArray *files) {
    const QByteArray encoded = systemPathBytesOrFail(folder);
    DirHandle dir(::opendir(encoded.constData()));
    if (!dir)
        throw Failure::fromErrno(errno);
    QList<SubFolder> names;
    const int dirFd = ::dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir.get());
        if (!entry)
            break;
        const char *name = entry->d_name;
        if (isDotOrDotDot(name))
            continue;
        const unsigned char type =
            entry->d_type == DT_UNKNOWN ? typeFromStatus(dirFd, name) : entry->d_type;
        if (type == DT_DIR) {
            SubFolder found;
            found.name = nameFromBytes(name, &found.bytes);
            names.append(found);
        } else if (files && (type == DT_REG || type == DT_LNK)) {
            keepFileEntry(*files, type, name); // pipes, sockets and devices are not files
        }
    }
    if (errno != 0)
        throw Failure::fromErrno(errno);
    // A folder that can be read but not searched lists names whose files cannot be opened:
    // none of them is present. One test answers for the whole folder.
    if (files && !files->isEmpty() && ::faccessat(dirFd, "", X_OK, AT_EACCESS | AT_EMPTY_PATH) != 0)
        files->clear();
    return names;
}

// Under the report trap a failing step is reported and the walk goes on; a test that fails
// counts as passed, so the folder is passed over.
bool FolderWalk::opensUnderReportTrap(Trap &trap, const QString &folder, qsizetype &folderBytes) {
    bool missing = true;
    trap.step(kStepFolderExists, [&] { missing = !FolderExists(folder); });
    if (missing || tooLong(folder, folderBytes))
        return false;
    trap.step(kStepYieldBeforeFolder, [&] { yield(); });
    bool kept = true;
    trap.step(kStepKeptOut, [&] { kept = keptOut(folder); });
    return !kept;
}

// Under the sub-folder trap any failing step passes the folder over.
bool FolderWalk::opensUnderSubFolderTrap(SubFolderTrap &trap, qsizetype &index,
                                         const QString &folder, qsizetype &folderBytes) {
    // Existence and attributes come from the walk's one reading of the folder's status: a
    // sub-folder is opened on the level below the one that found it, and looked at again.
    bool missing = true;
    Look look;
    if (!trap.step(folder, index, [&] { missing = !(look = lookAt(folder)).exists; }) || missing)
        return false;
    if (tooLong(folder, folderBytes))
        return false;
    if (!trap.step(folder, index, [&] { yield(); }))
        return false;
    bool kept = true;
    return trap.step(folder, index, [&] { kept = look.keptOut; }) && !kept;
}

void FolderWalk::readSubFolders(SubFolderTrap &trap, qsizetype &index, const QString &folder,
                                qsizetype folderBytes, QStringList &newFolders) {
    QList<SubFolder> names;
    QByteArray files;
    if (!trap.step(folder, index,
                   [&] { names = subFolderNames(folder, m_kept ? &files : nullptr); }))
        return;
    if (m_kept)
        m_kept->insert(folder, std::move(files));
    for (const SubFolder &sub : std::as_const(names)) {
        if (!trap.step(folder, index, [&] { yield(); }))
            break;
        // The folder's text ends in its separator, so the sub-folder's path is the two
        // joined; no name can pass the system's own name limit.
        const QString subFolder = folder + sub.name + kFolderSeparator;
        if (folderBytes + sub.bytes >= kPathLimitBytes) {
            report(subFolder, LeftOutReason::PathTooLong);
            continue;
        }
        if (HasBadCharacters(sub.name)) {
            report(subFolder, LeftOutReason::ControlCharacter);
            continue;
        }
        newFolders.append(subFolder); // readdir gives no "." or ".."
    }
}

void FolderWalk::level(QStringList &folders, bool deeper) {
    Trap trap(kTagFolderWalk, m_ui);
    SubFolderTrap subFolderTrap(folders, m_leftOut);
    QStringList newFolders;

    // The report trap is in force until the first folder's sub-folders are read...
    qsizetype i = 0;
    for (; i < folders.size(); ++i) {
        const QString folder = folders.at(i);
        qsizetype folderBytes = 0;
        if (opensUnderReportTrap(trap, folder, folderBytes)) {
            readSubFolders(subFolderTrap, i, folder, folderBytes, newFolders);
            break;
        }
    }
    // ...and the sub-folder trap from then on, through the deeper levels.
    for (++i; i < folders.size(); ++i) {
        const QString folder = folders.at(i);
        qsizetype folderBytes = 0;
        if (opensUnderSubFolderTrap(subFolderTrap, i, folder, folderBytes))
            readSubFolders(subFolderTrap, i, folder, folderBytes, newFolders);
    }
    if (deeper && !newFolders.isEmpty()) {
        qsizetype none = -1;
        subFolderTrap.step(QString(), none, [&] { level(newFolders, true); });
    }

    // The report trap again: each new sub-folder is looked at once more before it is listed.
    for (const QString &candidate : std::as_const(newFolders)) {
        // Existence and attributes come from one reading of the sub-folder's status.
        Look look;
        if (!trap.test(kStepSubFolderExists, [&] { return (look = lookAt(candidate)).exists; })) {
            // Gone since its folder was read, or its folder cannot be searched.
            report(candidate, LeftOutReason::Unreadable);
            continue;
        }
        trap.step(kStepYieldBeforeSubFolder, [&] { yield(); });
        if (trap.test(kStepSubFolderKeptOut, [&] { return !look.keptOut; }))
            trap.step(kStepAppendSubFolder, [&] { folders.append(candidate); });
    }
}

} // namespace

void appendSubFolders(QStringList &folders, bool deeper, WindowPort &ui,
                      const LeftOutReport &leftOut, KeptFileEntries *kept) {
    FolderWalk walk(ui, leftOut, kept);
    try {
        walk.level(folders, deeper);
    } catch (const WalkClosed &) {
        // The window is closing: the walk stops where it yielded.
    }
}

} // namespace plenvoy
