#pragma once

#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

#include <bitset>
#include <functional>
#include <optional>

#include <set>
#include <utility>

namespace plenvoy {

/// Files that a copy must never replace, told apart by device and inode so that every
/// spelling of a path, a symbolic link and a hard link all name the same file.
class ProtectedFiles final {
public:
    /// Adds the file that the path names (through links); a path that names nothing is
    /// ignored. Never fails.
    void add(const QString &path);
    void add(dev_t device, ino_t inode) { m_files.emplace(device, inode); }
    void remove(dev_t device, ino_t inode) { m_files.erase({device, inode}); }
    bool contains(dev_t device, ino_t inode) const;
    bool isEmpty() const { return m_files.empty(); }
    std::size_t size() const { return m_files.size(); }

    /// The files are read only when first asked about: a run into a fresh folder never
    /// meets an existing name, and never pays a status call per listed file. The filler
    /// answers false when it was stopped; every file then counts as protected.
    void fillWhenAsked(std::function<bool(ProtectedFiles &)> filler) {
        m_filler = std::move(filler);
    }
    /// True when the filler was stopped before it read every file.
    bool incomplete() const { return m_incomplete; }

private:
    void fillNow() const;

    mutable std::set<std::pair<dev_t, ino_t>> m_files;
    mutable std::function<bool(ProtectedFiles &)> m_filler;
    mutable bool m_incomplete = false;
};

/// True when the text is empty or blanks only: such a path names nothing to place.
bool isBlankPath(const QString &text);
/// The path a copy to the destination lands at: a destination that names a folder (ends in
/// the separator) takes the source's own name.
QString landingPath(const QString &source, const QString &destination);

/// Why a file was not copied. The run and plenvoy-cli tell the user in plain words.
enum class CopyProblem {
    None,               ///< copied
    SourceGone,         ///< the source no longer exists (ENOENT, ENOTDIR)
    PermissionDenied,   ///< EACCES, EPERM on the source or in the output folder
    OutputFull,         ///< ENOSPC, EDQUOT, EFBIG
    ReadOnlyInTheWay,   ///< an existing destination is read-only and was left alone
    NameTooLong,        ///< ENAMETOOLONG for the destination name
    SourceChanged,      ///< the source's size or modification time changed during the copy
    NotRegularFile,     ///< not a regular file, or a file of a pseudo file system (/proc, /sys)
    OwnSource,          ///< the destination is the source itself (any spelling or link)
    ListedFileInTheWay, ///< the destination is one of the protected (listed) files
    NotAFileInTheWay,   ///< a folder or another non-file holds the destination name
    NameTaken,          ///< ExistingName::Keep and the destination name exists
    NameRefused,        ///< the output folder's file system refuses a character of the name
    Dropped,            ///< keepGoing answered false: the unfinished copy was dropped
    CopiedBefore,       ///< an earlier run's copy of it is in that folder, unchanged
    SystemError         ///< any other failure; errorNumber tells which
};

/// A source opened for copying: read-only and non-blocking, with O_NOATIME where the
/// kernel allows it (decided from the status: this user owns the file, or is root), so
/// reading never changes its access time. Its status is read once, from the descriptor
/// (statx with the birth time), and serves both the new name and the copy's checks.
/// Never throws; problem() tells why it could not be opened or is no file to copy.
class SourceFile final {
public:
    explicit SourceFile(const QString &path);
    ~SourceFile();
    SourceFile(const SourceFile &) = delete;
    SourceFile &operator=(const SourceFile &) = delete;

    /// True when open and a regular file that is not on a pseudo file system.
    bool isOpen() const { return m_fd >= 0 && m_problem == CopyProblem::None; }
    CopyProblem problem() const { return m_problem; }
    int errorNumber() const { return m_errorNumber; }
    int descriptor() const { return m_fd; }
    /// The status read at opening (valid when isOpen()).
    const struct statx &status() const { return m_status; }

private:
    int m_fd = -1;
    CopyProblem m_problem = CopyProblem::SystemError;
    int m_errorNumber = 0;
    struct statx m_status {};
};

/// What the copy may do with a destination name that exists.
enum class ExistingName {
    Replace, ///< replace it as designed, unless it must be left alone
    Keep     ///< never touch any existing name: fail with NameTaken (numbered names)
};

/// A copy's status as its name holds it (naming changes the change time): what a run's
/// record keeps to tell later that the copy was not touched since.
struct NamedStatus {
    bool known = false;
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;
};

/// The identity a file's status gives.
NamedStatus namedStatus(const struct stat &status);

/// Reads files' status by path, each inside its folder, kept open while the files come from
/// it: a path resolved again for every file costs more than the rest of the lookup.
class StatusByName final {
public:
    StatusByName() = default;
    ~StatusByName();
    StatusByName(const StatusByName &) = delete;
    StatusByName &operator=(const StatusByName &) = delete;

    /// The status of the file at path, a link not followed; not known when it can't be read.
    NamedStatus of(const QByteArray &path);

private:
    QByteArray m_folderPath;
    int m_folderFd = -1;
};

/// What one copy did.
struct CopyResult {
    CopyProblem problem = CopyProblem::SystemError;
    int errorNumber = 0;   ///< for SystemError and the errno-based problems
    bool replaced = false; ///< an earlier file of that name was replaced
    dev_t device = 0;      ///< the written destination's identity (when copied)
    ino_t inode = 0;
    /// The copy was kept although its file system could not take the permission bits.
    bool modeNotKept = false;
    /// Read once the copy had its name, when CopyHooks::statusAfterNaming asked for it.
    NamedStatus named;
    bool copied() const { return problem == CopyProblem::None; }
};

/// How a complete copy gets its name, tried in this order on a folder's first copy: an
/// anonymous file linked under the name; an exclusively created temporary name renamed with
/// RENAME_NOREPLACE; the same linked under the name and then unlinked; and last, where a
/// file system has none of these, the name itself created exclusively and written directly
/// (removed when the copy fails or a signal ends the program).
enum class NamingRoute { Unknown, AnonymousFile, ExclusiveRename, LinkThenUnlink, DirectName };

/// Faults and platform gaps that a test or a benchmark makes one copy meet; a run's copies
/// meet none of them.
struct CopyFaults {
    /// Called once after the first chunk was written (a test changes the source there).
    std::function<void()> afterFirstChunk;
    /// Once this many bytes are written the next write fails with faultErrorNumber.
    qint64 faultAfterBytes = -1;
    int faultErrorNumber = 0;
    /// Behave as on a file system without O_TMPFILE (vfat, NFS, FUSE, old overlayfs).
    bool withoutAnonymousFile = false;
    /// Behave as where renameat2(RENAME_NOREPLACE) answers EINVAL.
    bool withoutNoReplaceRename = false;
    /// Behave as where hard links are refused (EPERM: FUSE exFAT and FAT).
    bool withoutHardLinks = false;
    /// Behave as where the permission bits can't be set (fchmod answers ENOSYS).
    bool withoutPermissionBits = false;
    /// A fixed chunk size in bytes; 0 or less sizes each chunk to take about 25 ms.
    qint64 chunkBytes = 0;
    /// The route to try first (the routes after it follow where it is missing); Unknown
    /// starts with the anonymous file.
    NamingRoute firstRoute = NamingRoute::Unknown;
};

/// What a copy asks its caller and what a run keeps between copies; the defaults are what
/// a single copy uses.
struct CopyHooks {
    /// Asked about every 50 ms while a long copy runs; false drops the unfinished copy.
    std::function<bool()> keepGoing;
    /// Told the bytes written so far, just before each keepGoing question.
    std::function<void(qint64 written)> progress;
    /// Read the copy's status once it has its name (from its own descriptor where it is
    /// still open) into CopyResult::named.
    bool statusAfterNaming = false;
    /// The permission bits (mode & 0777) that new files in the folder were found to get as
    /// asked; kept by a run per output folder. Null: each copy looks again.
    std::bitset<512> *keptBits = nullptr;
    /// Where the route found on a folder's first copy is kept for the copies after it (a
    /// run keeps one per output folder; the first copy also removes the temporary files that
    /// a killed run left there). Null: each copy finds it again.
    NamingRoute *folderRoute = nullptr;
    /// Faults to meet, set by tests and benchmarks only.
    std::optional<CopyFaults> faults;
};

/// The faults the hooks ask for; none unless a test or a benchmark set them.
const CopyFaults &faultsOf(const CopyHooks &hooks);

/// A test of an existing destination (device, inode): true when the copy must leave it
/// alone as it does a protected file.
using KeptFileTest = std::function<bool(dev_t, ino_t)>;

/// As copySourceFile, into a folder opened once (an O_PATH descriptor) under a name in the
/// file system's bytes, so that no path is resolved again per file. nameIsFree tells that
/// the name need not be looked at before the copy: the copy is named only if the name is
/// still free (a link never replaces), and a name found taken then is judged as an existing
/// one. alsoKept leaves more existing files alone, as protected files are
/// (ListedFileInTheWay); it is asked only when the name exists.
CopyResult copySourceFileInto(const SourceFile &source, int folderFd, const QByteArray &name,
                              const ProtectedFiles *protectedFiles, ExistingName existing,
                              const CopyHooks &hooks = {}, bool nameIsFree = false,
                              const KeptFileTest &alsoKept = {});

/// Copies an opened source to the destination path (folder and name, no trailing
/// separator). The copy gets the destination name only when complete and checked: it is
/// written into an anonymous file in the destination folder (or an exclusively created
/// temporary file where there is none), then linked under the name, or renamed over an
/// existing name. Only where the file system has neither anonymous files nor an exclusive
/// rename nor hard links is a new name written directly, and removed when the copy fails or
/// a signal ends the program. Permission bits the file system can't keep are left out
/// (modeNotKept); times it rounds are not an error. Holes are kept. The copy reads at most
/// the size the source had when opened, and is dropped when the source's size or
/// modification time changed. Keeps the source's modification and access times and
/// mode & 0777. Never throws.
CopyResult copySourceFile(const SourceFile &source, const QString &destinationPath,
                          const ProtectedFiles *protectedFiles, ExistingName existing,
                          const CopyHooks &hooks = {});

} // namespace plenvoy
