#include "AddFolder.h"

#include "core/PathHelpers.h"
#include "core/Failure.h"
#include "core/LocationTags.h"
#include "core/PathCodec.h"
#include "core/Trap.h"
#include "core/WindowPort.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <cerrno>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace plenvoy {

namespace {

constexpr QChar kSeparator = QLatin1Char('/');
// Attribute values of hidden system folders and of the links the system marks the same way.
constexpr int kHiddenSystemFolder = Attribute::Folder | Attribute::System | Attribute::Hidden;
constexpr int kHiddenSystemLink = kHiddenSystemFolder | Attribute::ReparsePoint;

QByteArray encodedPath(const QString &path) {
    const QByteArray encoded = pathToBytes(path);
    if (encoded.isEmpty() || encoded.contains('\0'))
        throw Failure::fromErrno(ENOENT);
    return encoded;
}

// The path without trailing separators, so that a link is examined itself; "/" stays.
QString withoutTrailingSeparators(const QString &path) {
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == kSeparator)
        --end;
    return path.left(end);
}

bool isRootFolder(const QString &folder) {
    if (folder.isEmpty())
        return false;
    for (const QChar c : folder) {
        if (c != kSeparator)
            return false;
    }
    return true;
}

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

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
        const bool pseudo = isPseudo(static_cast<unsigned long>(info.f_type), device);
        m_answers.insert(device, pseudo);
        return pseudo;
    }

private:
    bool isPseudo(unsigned long type, dev_t device) {
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
        case TMPFS_MAGIC:
            // devtmpfs reports itself as tmpfs: the mount table tells them apart.
            if (!m_devicesRead) {
                m_devtmpfs = devtmpfsDevices();
                m_devicesRead = true;
            }
            return m_devtmpfs.contains(device);
        default:
            return false;
        }
    }

    QHash<dev_t, bool> m_answers;
    bool m_devicesRead = false;
    QSet<dev_t> m_devtmpfs;
};

// The attributes of a path without trailing separators; the status of what it names
// (the link's target, or a broken link itself) goes to target.
int attributesOf(const QByteArray &encoded, const QString &named, struct stat *target,
                 bool withReadOnly) {
    struct stat own {};
    if (::lstat(encoded.constData(), &own) != 0)
        throw Failure::fromErrno(errno);
    const bool isLink = S_ISLNK(own.st_mode);
    const bool targetKnown = !isLink || ::stat(encoded.constData(), target) == 0;
    if (!isLink || !targetKnown)
        *target = own; // a broken link stands for itself
    int attributes = S_ISDIR(target->st_mode) ? Attribute::Folder : Attribute::Archive;
    const QString name = FileNameOf(named, kSeparator);
    if (name.startsWith(QLatin1Char('.')) && name != QLatin1String(".") &&
        name != QLatin1String(".."))
        attributes |= Attribute::Hidden;
    if (withReadOnly && targetKnown &&
        ((target->st_mode & 0222) == 0 || ::access(encoded.constData(), W_OK) != 0))
        attributes |= Attribute::ReadOnly;
    if (isLink)
        attributes |= Attribute::ReparsePoint;
    return attributes;
}

// Thrown when the window is closing: not a std::exception, so no trap catches it and the
// walk ends at once at every level.
struct WalkClosed {};

// A sub-folder's name, and its length in the file system's bytes.
struct SubFolder {
    QString name;
    qsizetype bytes = 0;
};

// A name as readdir gives it: plain ASCII names, by far the most common, skip the codec's
// check of every byte.
QString nameFromBytes(const char *name, qsizetype *length) {
    qsizetype size = 0;
    bool ascii = true;
    for (; name[size] != '\0'; ++size)
        ascii = ascii && static_cast<unsigned char>(name[size]) < 0x80;
    *length = size;
    return ascii ? QString::fromLatin1(name, size) : pathFromBytes(name, size);
}

class FolderWalk final {
public:
    FolderWalk(WindowPort &ui, const LeftOutReport &leftOut)
        : m_ui(ui)
        , m_leftOut(leftOut) {}

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
        const QString named = withoutTrailingSeparators(folder);
        const QByteArray encoded = encodedPath(named);
        struct stat target {};
        // The read-only bit is left out: the two values tested carry the system bit, which
        // the attributes never hold, so it cannot change the answer and costs a call.
        const int attributes = attributesOf(encoded, named, &target, false);
        return attributes == kHiddenSystemFolder || attributes == kHiddenSystemLink ||
               m_pseudo.holds(encoded, target.st_dev);
    }

    QList<SubFolder> subFolderNames(const QString &folder);

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
        const QString named = withoutTrailingSeparators(folder);
        const QByteArray encoded = pathToBytes(named);
        if (encoded.isEmpty() || encoded.contains('\0'))
            return look;
        struct stat target {};
        int attributes = 0;
        try {
            attributes = attributesOf(encoded, named, &target, false);
        } catch (const Failure &) {
            return look; // nothing there
        }
        look.exists = S_ISDIR(target.st_mode);
        look.keptOut = !isRootFolder(folder) &&
                       (attributes == kHiddenSystemFolder || attributes == kHiddenSystemLink ||
                        m_pseudo.holds(encoded, target.st_dev));
        return look;
    }

    WindowPort &m_ui;
    const LeftOutReport &m_leftOut;
    PseudoFileSystems m_pseudo;
    QHash<QString, Look> m_looks;
};

// The names of the real sub-folders of a folder in the system's order; links to folders
// are not sub-folders, so link cycles end.
QList<SubFolder> FolderWalk::subFolderNames(const QString &folder) {
    const QByteArray encoded = encodedPath(folder);
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
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            isFolder =
                ::fstatat(dirFd, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
        }
        if (isFolder) {
            SubFolder found;
            found.name = nameFromBytes(name, &found.bytes);
            names.append(found);
        }
    }
    if (errno != 0)
        throw Failure::fromErrno(errno);
    return names;
}

void FolderWalk::level(QStringList &folders, bool deeper) {
    Trap trap(kTagFolderWalk, m_ui);
    // Line 100 obtains the file-system layer: the system calls need nothing set up.
    QStringList newFolders; // line 104
    // Once a folder's sub-folders are being read, failures go to the sub-folder trap.
    bool subFolderTrap = false;
    // The sub-folder trap: a folder that cannot be listed leaves the caller's work.
    auto subFolderFailure = [&](const QString &folder, int number, qsizetype &index) {
        if (number != ErrorNumber::PermissionDenied && number != ErrorNumber::PathNotFound)
            return;
        const qsizetype found = folders.indexOf(folder); // lines 142 to 146
        if (found < 0)
            return;
        folders.removeAt(found); // line 148
        if (found <= index)
            --index; // the next folder is still taken
        report(folder, LeftOutReason::Unreadable);
    };
    // Runs one step under whichever trap is in force; false when it failed. Under the
    // sub-folder trap a failure ends the folder's sub-folder listing.
    auto guarded = [&](qint32 line, qsizetype &index, const QString &folder, auto &&body) {
        if (!subFolderTrap)
            return trap.step(line, body);
        try {
            body();
            return true;
        } catch (const Failure &failure) {
            subFolderFailure(folder, failure.number(), index);
        } catch (const std::exception &) {
            subFolderFailure(folder, ErrorNumber::Other, index);
        }
        return false;
    };

    for (qsizetype i = 0; i < folders.size(); ++i) { // line 106
        const QString folder = folders.at(i);
        // A test that fails counts as passed, so its "go to the next folder" runs.
        bool skip = true;
        if (!guarded(108, i, folder, [&] { skip = !FolderExists(folder); }) && subFolderTrap)
            continue;
        if (skip)
            continue;
        // Line 110: a path the system cannot open is not entered.
        // Each trailing separator is one byte.
        const qsizetype folderBytes = pathToBytes(folder).size();
        const qsizetype trailing = folder.size() - withoutTrailingSeparators(folder).size();
        if (folderBytes - trailing >= kPathLimitBytes) {
            report(folder, LeftOutReason::PathTooLong);
            continue;
        }
        // Line 112: the folder object; what it stands for is read at line 116.
        if (!guarded(114, i, folder, [&] { yield(); }) && subFolderTrap)
            continue;
        skip = true;
        if (!guarded(116, i, folder, [&] { skip = keptOut(folder); }) && subFolderTrap)
            continue;
        if (skip)
            continue;
        subFolderTrap = true; // line 116
        QList<SubFolder> names;
        if (!guarded(118, i, folder, [&] { names = subFolderNames(folder); }))
            continue;
        for (const SubFolder &sub : std::as_const(names)) {
            if (!guarded(120, i, folder, [&] { yield(); }))
                break;
            // The folder's text ends in its separator, so the sub-folder's path is the two
            // joined; no name can pass the system's own name limit.
            const QString subFolder = folder + sub.name + kSeparator;
            if (folderBytes + sub.bytes >= kPathLimitBytes) { // line 124
                report(subFolder, LeftOutReason::PathTooLong);
                continue;
            }
            if (HasBadCharacters(sub.name)) { // line 126
                report(subFolder, LeftOutReason::ControlCharacter);
                continue;
            }
            newFolders.append(subFolder); // lines 130 to 134: readdir gave no "." or ".."
        }
    } // line 148

    if (deeper && !newFolders.isEmpty()) { // line 150
        qsizetype none = -1;
        guarded(150, none, QString(), [&] { level(newFolders, true); });
    }
    subFolderTrap = false; // line 150

    for (const QString &candidate : std::as_const(newFolders)) { // line 152
        // Existence and attributes come from one reading of the sub-folder's status.
        Look look;
        if (!trap.test(154, [&] { return (look = lookAt(candidate)).exists; })) {
            // Gone since its folder was read, or its folder cannot be searched.
            report(candidate, LeftOutReason::Unreadable);
            continue;
        }
        trap.step(156, [&] { yield(); });
        if (trap.test(158, [&] { return !look.keptOut; }))
            trap.step(160, [&] { folders.append(candidate); });
    }
}

bool isDotOrDotDot(const char *name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

int FileAttributes(const QString &path) {
    const QString named = withoutTrailingSeparators(path);
    struct stat target {};
    return attributesOf(encodedPath(named), named, &target, true);
}

bool AttributesUnreadable(const QString &path) {
    try {
        FileAttributes(path);
        return false;
    } catch (const std::exception &) {
        return true;
    }
}

QString BrowseForFolder(WindowPort &ui, const QString &prompt, const QString &start) {
    const QString chosen = ui.chooseFolder(prompt, start);
    if (chosen.isEmpty())
        return QString();
    return withoutTrailingSeparators(chosen);
}

void appendSubFolders(QStringList &folders, bool deeper, WindowPort &ui,
                      const LeftOutReport &leftOut) {
    FolderWalk walk(ui, leftOut);
    try {
        walk.level(folders, deeper);
    } catch (const WalkClosed &) {
        // The window is closing: the walk stops where it yielded.
    }
}

bool HasBadCharacters(const QString &text) {
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 32 || (code >= 127 && code <= 159))
            return true;
    }
    return false;
}

QString FolderNames::at(int position) const {
    if (m_names.isEmpty() && position == 0)
        return QString();
    if (position < 1 || position > upperBound())
        throwFailure(ErrorNumber::SubscriptOutOfRange);
    return m_names.at(position - 1);
}

WildcardPattern::WildcardPattern(const QString &pattern)
    : m_folded(pattern.toCaseFolded())
    , m_takesEverything(pattern == QLatin1String("*") || pattern == QLatin1String("*.*")) {
    bool ascii = true;
    for (const QChar c : std::as_const(m_folded))
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        m_asciiFolded = m_folded.toLatin1();
    m_asciiPattern = ascii;
}

namespace {

// Matches "*" and "?" with one back-tracking point, the usual linear-space way. The name
// is read through nameAt, already folded to one case.
template <typename PatternAt, typename NameAt>
bool globMatch(PatternAt patternAt, qsizetype patternLength, NameAt nameAt, qsizetype nameLength) {
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starP = -1; // the last "*" seen, and the name position it was tried from
    qsizetype starN = 0;
    while (n < nameLength) {
        if (p < patternLength && patternAt(p) == '*') {
            starP = p++;
            starN = n;
        } else if (p < patternLength && (patternAt(p) == '?' || patternAt(p) == nameAt(n))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < patternLength && patternAt(p) == '*')
        ++p;
    return p == patternLength;
}

} // namespace

bool WildcardPattern::matches(const QString &name) const {
    if (m_takesEverything)
        return true;
    // A name without "." is matched as if it ended with ".".
    const qsizetype nameLength = name.size() + (name.contains(QLatin1Char('.')) ? 0 : 1);
    auto nameAt = [&](qsizetype i) -> char16_t {
        return i < name.size() ? QChar::toCaseFolded(name.at(i).unicode()) : u'.';
    };
    auto patternAt = [&](qsizetype i) -> char16_t { return m_folded.at(i).unicode(); };
    return globMatch(patternAt, m_folded.size(), nameAt, nameLength);
}

int WildcardPattern::matchesAscii(const char *name) const {
    if (m_takesEverything)
        return 1;
    if (!m_asciiPattern)
        return -1;
    qsizetype length = 0;
    bool dotted = false;
    for (; name[length] != '\0'; ++length) {
        if (static_cast<unsigned char>(name[length]) >= 0x80)
            return -1;
        dotted = dotted || name[length] == '.';
    }
    auto nameAt = [&](qsizetype i) -> char {
        if (i == length)
            return '.';
        const char c = name[i];
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    auto patternAt = [&](qsizetype i) -> char { return m_asciiFolded.at(i); };
    return globMatch(patternAt, m_asciiFolded.size(), nameAt, length + (dotted ? 0 : 1)) ? 1 : 0;
}

FolderNames ListFolderFiles(const QString &folder, const QString &pattern) {
    // An empty folder text is the root, as the walk's "/" comes back without its separator.
    const QString named =
        folder.isEmpty() ? QString(kSeparator) : withoutTrailingSeparators(folder);
    const QByteArray encoded = pathToBytes(named);
    if (encoded.contains('\0') || encoded.size() >= kPathLimitBytes)
        return FolderNames();
    DirHandle dir(::opendir(encoded.constData()));
    if (!dir)
        return FolderNames();
    // A folder that can be read but not searched lists names whose files cannot be opened:
    // none of them is present. One test answers for the whole folder.
    if (::faccessat(AT_FDCWD, encoded.constData(), X_OK, AT_EACCESS) != 0)
        return FolderNames();
    const int dirFd = ::dirfd(dir.get());
    const WildcardPattern wildcard(pattern);
    QStringList names;
    names.reserve(100);
    while (const dirent *entry = ::readdir(dir.get())) {
        const unsigned char type = entry->d_type;
        if (type == DT_DIR || isDotOrDotDot(entry->d_name))
            continue;
        if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN)
            continue; // pipes, sockets and devices are not files
        // Plain ASCII names are matched on their bytes; only the names taken become text.
        const int asciiMatch = wildcard.matchesAscii(entry->d_name);
        if (asciiMatch == 0)
            continue;
        qsizetype length = 0;
        const QString name = nameFromBytes(entry->d_name, &length);
        if (asciiMatch < 0 && !wildcard.matches(name))
            continue;
        // A regular file is present as listed; a link or an unknown type is examined by
        // its own bytes, so the status read is that of this very entry.
        struct stat info {};
        const bool present = type == DT_REG || (::fstatat(dirFd, entry->d_name, &info, 0) == 0 &&
                                                S_ISREG(info.st_mode));
        if (present)
            names.append(name);
    }
    return FolderNames(std::move(names));
}

} // namespace plenvoy
