#include "NamePlanner.h"

#include "RunSteps.h"

#include "RunOutcome.h"
#include "copying/ListedPlacement.h"
#include "copying/OutputLayout.h"
#include "core/Failure.h"
#include "core/LocationTags.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "core/PseudoFileSystems.h"
#include "naming/ComposeNewName.h"
#include "naming/NewNameOf.h"
#include "naming/RenameOptions.h"
#include "naming/TakenTime.h"
#include "records/CopiedIndex.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace plenvoy {

namespace {

/// The step of "Start Changing" that composes the new name, as its reports number it.
/// Numbered names tried before a clash is given up.

CopyProblem problemOfErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return CopyProblem::SourceGone;
    case EACCES:
    case EPERM:
        return CopyProblem::PermissionDenied;
    case ENAMETOOLONG:
        return CopyProblem::NameTooLong;
    default:
        return CopyProblem::SystemError;
    }
}

void refuse(PlannedName &plan, CopyProblem problem, int errorNumber = 0) {
    plan.verdict = Verdict::NotCopied;
    plan.problem = problem;
    plan.errorNumber = errorNumber;
    plan.reason = copyProblemText(problem, errorNumber);
}

/// A copy keeps its source's permission bits: it is read-only when they give nobody the
/// right to write, or not this user, its owner.
bool copyIsReadOnly(mode_t sourceMode) {
    static const bool root = ::geteuid() == 0;
    return (sourceMode & 0222) == 0 || (!root && (sourceMode & 0200) == 0);
}

/// What the plan keeps of a file's status.
template <typename Identity> Identity identityFrom(const struct statx &status) {
    Identity identity;
    identity.read = true;
    identity.known = true;
    identity.device = makedev(status.stx_dev_major, status.stx_dev_minor);
    identity.inode = ino_t(status.stx_ino);
    identity.readOnly = copyIsReadOnly(status.stx_mode & 0777);
    return identity;
}

/// The identity of the file at a path, read now.
template <typename Identity> Identity identityAt(const QString &path) {
    const QByteArray bytes = systemPathBytes(path).value_or(QByteArray());
    struct statx status {};
    if (bytes.isEmpty() ||
        ::statx(AT_FDCWD, bytes.constData(), 0, STATX_BASIC_STATS, &status) != 0) {
        Identity unknown;
        unknown.read = true;
        return unknown;
    }
    return identityFrom<Identity>(status);
}

/// Two identities name the same file only when both were read.
template <typename Identity> bool sameFile(const Identity &a, const Identity &b) {
    return a.known && b.known && a.device == b.device && a.inode == b.inode;
}

} // namespace

struct NamePlanner::Source {
    QString path; ///< doubled separators collapsed
    bool present = false;
    CopyProblem problem = CopyProblem::SourceGone;
    int errorNumber = ENOENT;
    /// Read with the status, or later when first asked (a source a listing has just seen).
    Identity identity;
    struct statx status {};
};

NamePlanner::NamePlanner(PlanRequest request, QStringList entries, const ClockProvider &clock,
                         const FileTimeProvider &times, const RegionalForms &forms)
    : NamePlanner(
          std::move(request), int(entries.size()),
          [listed = entries](int index) { return listed.at(index); }, clock, times, forms) {}

NamePlanner::NamePlanner(PlanRequest request, int count, std::function<QString(int)> entryAt,
                         const ClockProvider &clock, const FileTimeProvider &times,
                         const RegionalForms &forms)
    : m_request(std::move(request))
    , m_rule{m_request.optionText, m_request.nthValue, m_request.style}
    , m_count(count)
    , m_entryAt(std::move(entryAt))
    , m_clock(clock)
    , m_times(times)
    , m_forms(forms) {
    m_planned.reserve(m_count);
    const int option = renameOptionIndex(m_request.optionText);
    m_needsFileTimes = option >= 0 && renameOptions().at(option).source != TimeSource::Clock;
    if (!m_request.outputFolder)
        return;
    if (m_request.style.skipCopied)
        m_copied = std::make_unique<CopiedIndex>(*m_request.outputFolder);
    const QString folder = collapseDoubledSeparators(*m_request.outputFolder);
    const QByteArray bytes = systemPathBytes(folder).value_or(QByteArray());
    if (!bytes.isEmpty() && FolderExists(*m_request.outputFolder))
        m_folderFd = ::open(bytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0)
        return;
    const long nameMax = ::fpathconf(m_folderFd, _PC_NAME_MAX);
    if (nameMax > 0 && nameMax < m_nameMax)
        m_nameMax = nameMax;
    // A folder this user can't write into takes no copy (root writes anywhere).
    if (::faccessat(m_folderFd, ".", W_OK | X_OK, AT_EACCESS) != 0) {
        m_folderWritable = false;
        m_folderError = errno;
    }
}

NamePlanner::~NamePlanner() {
    if (m_folderFd >= 0)
        ::close(m_folderFd);
    if (m_sourceFolderFd >= 0)
        ::close(m_sourceFolderFd);
}

bool NamePlanner::onPseudoFileSystem(const QByteArray &bytes, dev_t device) {
    // The kernel's own file systems have no disk: only those devices are asked.
    if (major(device) != 0)
        return false;
    const auto known = m_pseudo.constFind(device);
    if (known != m_pseudo.cend())
        return known.value();
    struct statfs info {};
    const bool pseudo = ::statfs(bytes.constData(), &info) == 0 &&
                        isPseudoFileSystem(static_cast<unsigned long>(info.f_type), device);
    m_pseudo.insert(device, pseudo);
    return pseudo;
}

NamePlanner::Source NamePlanner::readSource(const QString &path) {
    Source source;
    source.path = collapseDoubledSeparators(path);
    const QByteArray bytes = systemPathBytes(path).value_or(QByteArray());
    if (bytes.isEmpty())
        return source;
    // Entries come in runs from one folder: its path is looked up once for the run.
    const qsizetype cut = bytes.lastIndexOf('/');
    int folder = AT_FDCWD;
    const char *name = bytes.constData();
    if (cut > 0) {
        const QByteArray folderBytes = bytes.left(cut);
        if (folderBytes != m_sourceFolder) {
            if (m_sourceFolderFd >= 0)
                ::close(m_sourceFolderFd);
            m_sourceFolder = folderBytes;
            m_sourceFolderFd = ::open(folderBytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        }
        if (m_sourceFolderFd >= 0) {
            folder = m_sourceFolderFd;
            name = bytes.constData() + cut + 1;
        }
    }
    if (*name == '\0') { // a path that ends in "/" is looked up whole
        name = bytes.constData();
        folder = AT_FDCWD;
    }
    if (::statx(folder, name, 0, STATX_BASIC_STATS | STATX_BTIME, &source.status) != 0) {
        source.errorNumber = errno;
        source.problem = problemOfErrno(source.errorNumber);
        if (source.problem == CopyProblem::NameTooLong)
            source.problem = CopyProblem::SystemError;
        return source;
    }
    source.present = true;
    source.errorNumber = 0;
    source.problem = CopyProblem::None;
    source.identity = identityFrom<Identity>(source.status);
    if (!S_ISREG(source.status.stx_mode) || onPseudoFileSystem(bytes, source.identity.device)) {
        source.problem = CopyProblem::NotRegularFile;
        return source;
    }
    // The copy opens it for reading: a file not everyone may read is asked about.
    if ((source.status.stx_mode & 0444) != 0444 && ::geteuid() != 0 &&
        ::faccessat(AT_FDCWD, bytes.constData(), R_OK, AT_EACCESS) != 0) {
        source.errorNumber = errno;
        source.problem = problemOfErrno(source.errorNumber);
    }
    return source;
}

NamePlanner::Source NamePlanner::seenSource(const QString &path) {
    Source source;
    source.path = collapseDoubledSeparators(path);
    source.present = true;
    source.errorNumber = 0;
    source.problem = CopyProblem::None;
    return source;
}

const NamePlanner::Identity &NamePlanner::identityOf(Source &source) {
    if (!source.identity.read)
        source.identity = identityAt<Identity>(source.path);
    return source.identity;
}

QString NamePlanner::compose(const QString &path, const Source &source, PlannedName &plan) {
    try {
        const StatusFileTimes fromStatus(path, source.status, m_times);
        const FileTimeProvider &files = source.present && source.identity.known
                                            ? static_cast<const FileTimeProvider &>(fromStatus)
                                            : m_times;
        const TakenFileTimes taken(files, m_request.style.takenShift);
        const QString through = m_listedThroughAt && m_rule.needsListedThrough()
                                    ? m_listedThroughAt(m_next - 1)
                                    : QString();
        const NewName name = NewNameOf(
            {path, through}, m_rule, m_clock, files,
            m_takenTimes ? *m_takenTimes : static_cast<const FileTimeProvider &>(taken), m_forms);
        if (m_request.outputFolder)
            m_relative = name.folder;
        return name.composed;
    } catch (const Failure &failure) {
        plan.failure = ErrorDetails{kTagStartChanging, kStepNewName, failure.number(),
                                    failure.description(), path};
    } catch (const std::bad_alloc &) {
        plan.failure = ErrorDetails{kTagStartChanging, kStepNewName, ErrorNumber::Other,
                                    QStringLiteral("Out of memory"), path};
    }
    return QString();
}

QString NamePlanner::keyOf(const QString &target) const {
    return m_request.outputFolder ? layoutPath(m_relative, FileNameOf(target)) : target;
}

bool NamePlanner::refusedForLayoutFolder(const QString &key, PlannedName &plan) {
    if (m_relative.isEmpty())
        return false;
    if (layoutPathTooLong(*m_request.outputFolder, key)) {
        refuse(plan, CopyProblem::NameTooLong, ENAMETOOLONG);
        return true;
    }
    if (m_folderFd < 0)
        return false;
    auto state = m_layoutFolders.find(m_relative);
    if (state == m_layoutFolders.end()) {
        const int fd = openFolderBelow(m_folderFd, m_relative);
        state = m_layoutFolders.insert(m_relative, fd >= 0 ? 0 : errno);
        if (fd >= 0)
            ::close(fd);
    }
    if (state.value() == 0 || state.value() == ENOENT)
        return false;
    refuse(plan,
           state.value() == ENAMETOOLONG ? CopyProblem::NameTooLong : CopyProblem::SystemError,
           state.value());
    return true;
}

bool NamePlanner::listed(dev_t device, ino_t inode) {
    if (!m_listed) {
        m_listed.emplace();
        m_listed->reserve(m_count);
        for (int index = 0; index < m_count; ++index) {
            const QByteArray bytes = systemPathBytes(m_entryAt(index)).value_or(QByteArray());
            struct stat status {};
            if (!bytes.isEmpty() && ::stat(bytes.constData(), &status) == 0)
                m_listed->insert({quint64(status.st_dev), quint64(status.st_ino)});
        }
    }
    return m_listed->contains({quint64(device), quint64(inode)});
}

NamePlanner::Holder NamePlanner::holderOf(const QString &key, Source &source) {
    // Only the facts are gathered here; the clash rule gives the verdict.
    HolderFacts facts;
    Holder holder;
    const auto planned = m_planned.find(key);
    if (planned != m_planned.end()) {
        if (!planned->identity.read)
            planned->identity = identityAt<Identity>(planned->source);
        const bool fromThisSource = sameFile(planned->identity, identityOf(source));
        facts.exists = true;
        facts.regular = true;
        facts.writtenFromThisSource = fromThisSource;
        facts.writtenFromAnotherSource = !fromThisSource;
        facts.readOnly = planned->identity.readOnly;
        holder.who = planned->source;
    } else if (!m_request.outputFolder) {
        // Beside the sources, only the list is asked: another entry of that path. A name
        // the option leaves as it is names the source itself.
        if (key != source.path) {
            if (!m_listedPaths) {
                m_listedPaths.emplace();
                m_listedPaths->reserve(m_count);
                for (int index = 0; index < m_count; ++index)
                    m_listedPaths->insert(collapseDoubledSeparators(m_entryAt(index)));
            }
            facts.exists = facts.regular = facts.listed = m_listedPaths->contains(key);
            holder.who = key;
        }
    } else if (m_folderFd >= 0) {
        readHolderFacts(key, source, facts);
        // Named only when something holds the name: most names are free.
        if (facts.exists)
            holder.who =
                collapseDoubledSeparators(*m_request.outputFolder + platformSeparator() + key);
    }
    holder.kind = holderOfName(facts);
    holder.errorNumber = facts.lookError;
    return holder;
}

void NamePlanner::readHolderFacts(const QString &key, Source &source, HolderFacts &facts) {
    // The key is the path below the output folder, whose folders were found no links.
    const QByteArray bytes = systemPathBytes(key).value_or(QByteArray());
    struct stat status {};
    if (bytes.isEmpty() ||
        ::fstatat(m_folderFd, bytes.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT)
            facts.lookError = errno;
        return;
    }
    facts.exists = true;
    facts.regular =
        S_ISREG(status.st_mode) ||
        (S_ISLNK(status.st_mode) && ::fstatat(m_folderFd, bytes.constData(), &status, 0) == 0 &&
         S_ISREG(status.st_mode));
    if (!facts.regular)
        return;
    const Identity &own = identityOf(source);
    facts.isSource = own.known && status.st_dev == own.device && status.st_ino == own.inode;
    // The list's identities are read only when a file other than the source holds the name.
    facts.listed = !facts.isSource && listed(status.st_dev, status.st_ino);
    facts.readOnly = (status.st_mode & 0222) == 0 ||
                     ::faccessat(m_folderFd, bytes.constData(), W_OK, AT_EACCESS) != 0;
}

void NamePlanner::decide(Source &source, const QString &target, PlannedName &plan) {
    const QString name = FileNameOf(target);
    // No unit of text takes more than three bytes: a short name is not measured.
    const qsizetype nameBytes = name.size() * 3 <= m_nameMax ? 0 : pathToBytes(name).size();
    if (name.isEmpty()) {
        refuse(plan, CopyProblem::SystemError, EINVAL);
        return;
    }
    if (nameBytes > m_nameMax) {
        refuse(plan, CopyProblem::NameTooLong);
        if (!m_request.outputFolder)
            plan.reason = kReasonNameTooLongForAnyFolder;
        return;
    }
    if (!m_folderWritable) {
        refuse(plan, problemOfErrno(m_folderError), m_folderError);
        return;
    }
    if (m_request.outputFolder && refusedForLayoutFolder(keyOf(target), plan))
        return;
    const Holder holder = holderOf(keyOf(target), source);
    if (holder.kind == NameHolder::Unreadable) {
        refuse(plan, problemOfErrno(holder.errorNumber), holder.errorNumber);
        return;
    }
    const CopyProblem problem = clashProblem(holder.kind);
    if (problem == CopyProblem::None) {
        if (holder.kind == NameHolder::Replaceable)
            plan.verdict = Verdict::Replaces;
        return;
    }
    if (problem != CopyProblem::ListedFileInTheWay) {
        refuse(plan, problem);
        return;
    }
    // The first numbered name that nothing holds, or this source's own earlier copy.
    NameHolder taken = NameHolder::Nothing;
    const QString folderPart = target.left(target.size() - name.size());
    const NumberedName numbered =
        firstFreeNumberedName(name, 2, m_nameMax, [&](const QString &candidate) {
            taken = holderOf(keyOf(folderPart + candidate), source).kind;
            return takesNumberedName(taken);
        });
    if (numbered.tooLong) {
        refuse(plan, CopyProblem::NameTooLong);
        if (!m_request.outputFolder)
            plan.reason = kReasonNameTooLongForAnyFolder;
        return;
    }
    if (numbered.number == 0) {
        refuse(plan, CopyProblem::NameTaken);
        return;
    }
    plan.destination = folderPart + numbered.name;
    plan.number = numbered.number;
    plan.clashWith = holder.who;
    // This source's own earlier copy under the numbered name may still be read-only.
    if (clashProblem(taken) != CopyProblem::None) {
        refuse(plan, clashProblem(taken));
        return;
    }
    plan.verdict = Verdict::Numbered;
}

PlannedName NamePlanner::next() {
    PlannedName plan;
    if (atEnd())
        return plan;
    const int index = m_next++;
    const QString path = m_entryAt(index);
    m_relative.clear();
    // As root a file that a listing has just seen needs no second look, unless its times
    // make the name or its size and time tell whether it was copied before: root may read
    // every file.
    static const bool root = ::geteuid() == 0;
    Source source = root && !m_needsFileTimes && !m_copied && m_seenRegular && m_seenRegular(index)
                        ? seenSource(path)
                        : readSource(path);
    const QString composed = compose(path, source, plan);
    plan.composed = plan.failure ? path : composed;

    QString target;
    if (m_request.outputFolder) {
        // As the run builds it: the folder as typed and the composed name's last part.
        const QString destination = *m_request.outputFolder + platformSeparator() +
                                    layoutPath(m_relative, FileNameOf(composed));
        if (isBlankPath(destination) || isBlankPath(path)) {
            refuse(plan, CopyProblem::SourceGone, ENOENT);
            return plan;
        }
        target =
            landingPath(collapseDoubledSeparators(path), collapseDoubledSeparators(destination));
    } else {
        if (plan.failure || isBlankPath(path)) {
            refuse(plan, CopyProblem::SourceGone, ENOENT);
            if (plan.failure)
                plan.reason = plan.failure->description;
            return plan;
        }
        target = collapseDoubledSeparators(composed);
    }
    plan.destination = target;
    if (source.problem != CopyProblem::None) {
        refuse(plan, source.problem, source.errorNumber);
        return plan;
    }
    if (m_copied) {
        const std::optional<CopiedIndex::Skipped> before = m_copied->skipped(
            m_relative,
            sourceKeyOf(path, m_listedThroughAt ? m_listedThroughAt(m_next - 1) : QString()),
            source.status, m_forms);
        if (before) {
            refuse(plan, CopyProblem::CopiedBefore);
            plan.destination = before->destination;
            plan.reason = before->reason;
            // Its earlier copy keeps the name, as the run keeps it.
            m_planned.insert(keyOf(plan.destination), Planned{source.path, source.identity});
            return plan;
        }
    }
    decide(source, target, plan);
    if (plan.copied()) {
        m_planned.insert(keyOf(plan.destination), Planned{source.path, source.identity});
    }
    return plan;
}

QList<PlannedName> NamePlanner::planAll(const std::function<bool()> &keepGoing) {
    QList<PlannedName> plans;
    plans.reserve(m_count - m_next);
    while (!atEnd()) {
        plans.append(next());
        if (keepGoing && !keepGoing())
            break;
    }
    return plans;
}

} // namespace plenvoy
