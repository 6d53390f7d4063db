#include "CopiedIndex.h"

#include "RecordReader.h"
#include "RecordWriter.h"
#include "copying/FileOutcome.h"
#include "copying/OutputLayout.h"
#include "core/FileIdentity.h"
#include "core/FolderBelow.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "naming/RegionalForms.h"

#include <QDateTime>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy {

namespace {

/// The path from the root, doubled and trailing separators gone ("/" stays). A relative path
/// is taken from the working folder, read into workingFolder when a path first needs it.
QString cleanFolder(const QString &path, QString &workingFolder) {
    QString clean = collapseDoubledSeparators(path);
    if (!clean.startsWith(QLatin1Char('/'))) {
        if (workingFolder.isEmpty()) {
            char folder[PATH_MAX];
            if (::getcwd(folder, sizeof folder))
                workingFolder = pathFromBytes(folder);
        }
        if (!workingFolder.isEmpty())
            clean = collapseDoubledSeparators(workingFolder + QLatin1Char('/') + clean);
    }
    while (clean.size() > 1 && clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    return clean;
}

QString cleanFolder(const QString &path) {
    QString workingFolder;
    return cleanFolder(path, workingFolder);
}

/// The source's key (see sourceKeyOf), the working folder read at most once.
QString sourceKeyIn(const QString &source, const QString &listedThrough, QString &workingFolder) {
    const QString path = collapseDoubledSeparators(source);
    if (listedThrough.isEmpty())
        return cleanFolder(path, workingFolder);
    const QString root = cleanFolder(listedThrough, workingFolder);
    const QString prefix = root == QLatin1String("/") ? root : root + QLatin1Char('/');
    const QString full = cleanFolder(path, workingFolder);
    return full.startsWith(prefix) ? full.mid(prefix.size()) : full;
}

QByteArray keyOf(const QString &folder, const QString &sourceKey, qint64 size, qint64 mtimeNs) {
    return pathToBytes(folder) + '\0' + pathToBytes(sourceKey) + '\0' + QByteArray::number(size) +
           '\0' + QByteArray::number(mtimeNs);
}

/// A path below a clean folder, as cleanFolder leaves it: not empty, without doubled,
/// leading or trailing separators.
bool isCleanBelow(QStringView path) {
    const char16_t *units = path.utf16();
    const qsizetype size = path.size();
    if (size == 0 || units[0] == u'/' || units[size - 1] == u'/')
        return false;
    for (qsizetype i = 1; i < size; ++i)
        if (units[i] == u'/' && units[i - 1] == u'/')
            return false;
    return true;
}

/// An absolute path without doubled or trailing separators, as cleanFolder leaves it.
bool isCleanPath(QStringView path) {
    return path == u"/" || (path.startsWith(u'/') && isCleanBelow(path.mid(1)));
}

/// Whether two texts are the same, at once when they share their characters.
bool sameText(const QString &a, const QString &b) {
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

} // namespace

QString sourceKeyOf(const QString &source, const QString &listedThrough) {
    QString workingFolder;
    return sourceKeyIn(source, listedThrough, workingFolder);
}

QString copiedBeforeReason(const CopiedBefore &copy, const RegionalForms &forms) {
    const QDate day = QDateTime::fromSecsSinceEpoch(copy.madeAt).date();
    return QStringLiteral("copied before on %1 as %2")
        .arg(forms.shortDate(day), pathForDisplay(FileNameOf(copy.copy)));
}

CopiedIndex::CopiedIndex(const QString &outputFolder)
    : m_output(cleanFolder(outputFolder)) {
    const QByteArray outputBytes = pathToBytes(m_output);
    if (!outputBytes.contains('\0'))
        m_outputFd = ::open(outputBytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_outputFd < 0)
        return;
    readIndexLines(m_output, [this](const IndexLine &line) { take(line); });
}

void CopiedIndex::take(const IndexLine &line) {
    CopiedBefore copy;
    copy.copy = line.copy;
    copy.identity = line.identity;
    copy.madeAt = line.madeAt;
    const qsizetype slash = copy.copy.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : copy.copy.left(slash);
    // A later copy of the same source into the same folder is the one that counts.
    m_copies.insert(keyOf(folder, line.sourceKey, line.sourceSize, line.sourceMtimeNs), copy);
}

CopiedIndex::~CopiedIndex() {
    if (m_outputFd >= 0)
        ::close(m_outputFd);
}

std::optional<CopiedBefore> CopiedIndex::find(const QString &folder, const QString &sourceKey,
                                              qint64 size, qint64 mtimeNs) const {
    const auto found = m_copies.constFind(keyOf(folder, sourceKey, size, mtimeNs));
    if (found == m_copies.cend() || m_outputFd < 0)
        return std::nullopt;
    const CopiedBefore &copy = found.value();
    const int folderFd = openFolderBelow(m_outputFd, folder);
    if (folderFd < 0)
        return std::nullopt;
    struct stat now {};
    const QByteArray name = pathToBytes(FileNameOf(copy.copy));
    const bool there = ::fstatat(folderFd, name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0;
    const IdentityRules rules = IdentityRules::ofFolder(folderFd);
    ::close(folderFd);
    if (!there || changeSince(copy.identity, now, rules) != IdentityChange::None)
        return std::nullopt;
    return copy;
}

namespace {
bool g_copiesIndexed = true;
} // namespace

void setCopiesIndexed(bool indexed) {
    g_copiesIndexed = indexed;
}

CopiedIndexWriter::CopiedIndexWriter()
    : m_enabled(runRecordsEnabled() && g_copiesIndexed) {}

CopiedIndexWriter::~CopiedIndexWriter() = default;

void CopiedIndexWriter::note(const QString &outputFolder, const QString &destination,
                             const QString &source, const QString &listedThrough, qint64 size,
                             qint64 mtimeNs, const NamedStatus &named) {
    if (!m_enabled)
        return;
    // A run notes thousands of copies into one output folder, mostly listed through one
    // folder: each is cleaned once.
    if (m_outputField.isEmpty() || !sameText(outputFolder, m_outputGiven)) {
        m_outputGiven = outputFolder;
        m_output = cleanFolder(outputFolder, m_workingFolder);
        m_prefix = m_output == QLatin1String("/") ? m_output : m_output + QLatin1Char('/');
        m_outputField = indexOutputField(m_output);
    }
    if (!m_rootKnown || !sameText(listedThrough, m_rootGiven)) {
        m_rootKnown = true;
        m_rootGiven = listedThrough;
        const QString root =
            listedThrough.isEmpty() ? QString() : cleanFolder(listedThrough, m_workingFolder);
        m_rootPrefix =
            root.isEmpty() || root == QLatin1String("/") ? root : root + QLatin1Char('/');
    }
    // Most paths are clean and begin with their folder's clean form: only what follows it
    // is looked at.
    QString cleaned;
    QStringView below = QStringView(destination).mid(m_prefix.size());
    if (!destination.startsWith(m_prefix) || !isCleanBelow(below)) {
        cleaned = cleanFolder(destination, m_workingFolder);
        if (!cleaned.startsWith(m_prefix))
            return;
        below = QStringView(cleaned).mid(m_prefix.size());
    }
    // The identity as the copy's name holds it now.
    const NamedStatus status =
        named.known ? named : m_status.of(pathToBytes(m_prefix + below.toString()));
    if (!status.known)
        return;
    // The source's key: its path below the folder it was listed through.
    QString keyed;
    QStringView key = QStringView(source).mid(m_rootPrefix.size());
    if (m_rootPrefix.isEmpty() || !source.startsWith(m_rootPrefix) || !isCleanBelow(key)) {
        key = source;
        if (!isCleanPath(key) || (!m_rootPrefix.isEmpty() && key.startsWith(m_rootPrefix))) {
            keyed = sourceKeyIn(source, listedThrough, m_workingFolder);
            key = keyed;
        }
    }
    // The line is written in place, in room enough for its longest form, then held where
    // an ending signal finds it.
    const qsizetype room = indexLineBound(m_outputField.size(), below.size(), key.size());
    if (m_line.size() < room)
        m_line.resize(room);
    char *const start = m_line.data();
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    const FileIdentity identity{qint64(status.device), qint64(status.inode), status.size,
                                status.mtimeNs, status.ctimeNs};
    char *const p = writeIndexLine(start, m_outputField, below, key, size, mtimeNs, identity,
                                   qint64(now.tv_sec));
    if (!m_out.isOpen() && !openIndex())
        return;
    m_out.append(start, size_t(p - start));
}

bool CopiedIndexWriter::openIndex() {
    if (m_openFailed)
        return false;
    makeRunRecordFolder();
    const int fd = ::open(pathToBytes(copiedIndexPath()).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    m_openFailed = fd < 0 || !m_out.open(fd);
    if (m_openFailed && fd >= 0)
        ::close(fd);
    return !m_openFailed;
}

void CopiedIndexWriter::flush() {
    m_out.flush();
}

RunCopies::RunCopies(bool skipCopied)
    : m_skip(skipCopied) {}

RunCopies::~RunCopies() = default;

std::optional<CopiedIndex::Skipped> CopiedIndex::skipped(const QString &relative,
                                                         const QString &sourceKey,
                                                         const struct statx &status,
                                                         const RegionalForms &forms) const {
    const std::optional<CopiedBefore> before =
        find(relative, sourceKey, qint64(status.stx_size), nanosecondsOf(status.stx_mtime));
    if (!before)
        return std::nullopt;
    return Skipped{collapseDoubledSeparators(m_output + QLatin1Char('/') + before->copy),
                   copiedBeforeReason(*before, forms)};
}

bool RunCopies::skipped(const QString &outputFolder, const QString &relative, const QString &source,
                        const QString &listedThrough, const struct statx &status,
                        FileOutcome &file) {
    if (!m_skip)
        return false;
    // Read once for the run; again only when the output folder is changed mid-run.
    if (!m_index || !sameText(outputFolder, m_outputGiven)) {
        if (!m_index || m_index->outputFolder() != cleanFolder(outputFolder, m_workingFolder))
            m_index = std::make_unique<CopiedIndex>(outputFolder);
        m_outputGiven = outputFolder;
    }
    const std::optional<CopiedIndex::Skipped> before =
        m_index->skipped(relative, sourceKeyIn(source, listedThrough, m_workingFolder), status,
                         RegionalForms::system());
    if (!before)
        return false;
    file.destination = before->destination;
    file.problem = CopyProblem::CopiedBefore;
    file.reason = before->reason;
    return true;
}

void RunCopies::copied(const QString &outputFolder, const FileOutcome &file,
                       const QString &listedThrough, const struct statx &status) {
    if (!file.copied())
        return;
    m_writer.note(outputFolder, file.destination, file.source, listedThrough,
                  qint64(status.stx_size), nanosecondsOf(status.stx_mtime), file.named);
}

} // namespace plenvoy
