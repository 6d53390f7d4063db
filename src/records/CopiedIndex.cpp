#include "CopiedIndex.h"

#include "LineWriting.h"

#include "RunRecord.h"
#include "copying/FileOutcome.h"
#include "copying/OutputLayout.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "naming/RegionalForms.h"

#include <QDateTime>
#include <QDir>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace plenvoy {

namespace {

// File systems whose inode numbers don't survive a re-plug.
constexpr unsigned long kMsdosMagic = 0x4d44;
constexpr unsigned long kExfatMagic = 0x2011BAB0;
constexpr unsigned long kFuseMagic = 0x65735546;
/// Lines gathered before they are written.
constexpr qsizetype kWriteEveryBytes = 1 << 20;
constexpr int kFields = 11;
/// The index is read this much at a time.
constexpr qsizetype kReadChunkBytes = 1 << 20;

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

qint64 nanoseconds(const struct timespec &time) {
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

QByteArray keyOf(const QString &folder, const QString &sourceKey, qint64 size, qint64 mtimeNs) {
    return pathToBytes(folder) + '\0' + pathToBytes(sourceKey) + '\0' + QByteArray::number(size) +
           '\0' + QByteArray::number(mtimeNs);
}

QByteArray encodedField(const QString &path) {
    return pathToBytes(path).toBase64();
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

/// The most bytes that writeEncodedPath writes for a path of this many characters.
qsizetype encodedPathBound(qsizetype characters) {
    return (characters * 3 + 2) / 3 * 4;
}

/// Writes the base64 form of the path's bytes at p and gives the end; a path of ASCII
/// characters, as most are, is encoded from its characters as it is checked.
char *writeEncodedPath(char *p, QStringView path) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char16_t *units = path.utf16();
    const qsizetype size = path.size();
    char *const start = p;
    qsizetype i = 0;
    for (; i + 3 <= size; i += 3) {
        if ((units[i] | units[i + 1] | units[i + 2]) >= 0x80)
            break;
        const unsigned triple =
            unsigned(units[i]) << 16 | unsigned(units[i + 1]) << 8 | units[i + 2];
        p[0] = kDigits[triple >> 18];
        p[1] = kDigits[(triple >> 12) & 63];
        p[2] = kDigits[(triple >> 6) & 63];
        p[3] = kDigits[triple & 63];
        p += 4;
    }
    if (std::any_of(units + i, units + size, [](char16_t unit) { return unit >= 0x80; })) {
        const QByteArray encoded = encodedField(path.toString());
        std::memcpy(start, encoded.constData(), size_t(encoded.size()));
        return start + encoded.size();
    }
    if (i < size) {
        const bool two = i + 1 < size;
        const unsigned triple = unsigned(units[i]) << 16 | (two ? unsigned(units[i + 1]) << 8 : 0u);
        p[0] = kDigits[triple >> 18];
        p[1] = kDigits[(triple >> 12) & 63];
        p[2] = two ? kDigits[(triple >> 6) & 63] : '=';
        p[3] = '=';
        p += 4;
    }
    return p;
}

QString decodedField(const QByteArray &field) {
    return pathFromBytes(QByteArray::fromBase64(field));
}

/// Whether two texts are the same, at once when they share their characters.
bool sameText(const QString &a, const QString &b) {
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

} // namespace

QString copiedIndexPath() {
    // Beside the folder of the records, which holds nothing but records.
    const QString runs = runRecordFolder();
    return runs.left(runs.lastIndexOf(QLatin1Char('/'))) + QStringLiteral("/copied.index");
}

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
    const int fd = ::open(pathToBytes(copiedIndexPath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    // The index holds the copies into every folder: it is read in chunks, and only the lines
    // of this output folder, found by their start, are taken apart.
    const QByteArray start = '\n' + encodedField(m_output) + '\t';
    QByteArray window("\n");
    for (;;) {
        const qsizetype kept = window.size();
        window.resize(kept + kReadChunkBytes);
        const ssize_t got = ::read(fd, window.data() + kept, size_t(kReadChunkBytes));
        if (got < 0 && errno == EINTR) {
            window.resize(kept);
            continue;
        }
        window.resize(kept + qMax<ssize_t>(got, 0));
        const bool atEnd = got <= 0;
        if (atEnd)
            window.append('\n');
        const char *data = window.constData();
        const char *end = data + window.size();
        const char *from = data;
        while (const char *hit = static_cast<const char *>(
                   ::memmem(from, size_t(end - from), start.constData(), size_t(start.size())))) {
            const char *lineEnd =
                static_cast<const char *>(std::memchr(hit + 1, '\n', size_t(end - hit - 1)));
            if (!lineEnd)
                break;
            takeLine(QByteArray(hit + 1, lineEnd - hit - 1));
            from = lineEnd;
        }
        if (atEnd)
            break;
        // The part after the last line break may begin a line of this folder.
        const qsizetype lastBreak = window.lastIndexOf('\n');
        window.remove(0, qMax<qsizetype>(lastBreak, 0));
    }
    ::close(fd);
}

void CopiedIndex::takeLine(const QByteArray &line) {
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != kFields)
        return;
    CopiedBefore copy;
    copy.copy = decodedField(fields[1]);
    const QString sourceKey = decodedField(fields[2]);
    const qint64 size = fields[3].toLongLong();
    const qint64 mtime = fields[4].toLongLong();
    copy.device = fields[5].toLongLong();
    copy.inode = fields[6].toLongLong();
    copy.size = fields[7].toLongLong();
    copy.mtime = fields[8].toLongLong();
    copy.ctime = fields[9].toLongLong();
    copy.madeAt = fields[10].toLongLong();
    const qsizetype slash = copy.copy.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : copy.copy.left(slash);
    // A later copy of the same source into the same folder is the one that counts.
    m_copies.insert(keyOf(folder, sourceKey, size, mtime), copy);
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
    const int folderFd = openLayoutFolder(m_outputFd, folder, nullptr);
    if (folderFd < 0)
        return std::nullopt;
    struct stat now {};
    const QByteArray name = pathToBytes(FileNameOf(copy.copy));
    const bool there = ::fstatat(folderFd, name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0;
    struct statfs system {};
    const bool inodesHold = ::fstatfs(folderFd, &system) != 0 ||
                            (static_cast<unsigned long>(system.f_type) != kMsdosMagic &&
                             static_cast<unsigned long>(system.f_type) != kExfatMagic &&
                             static_cast<unsigned long>(system.f_type) != kFuseMagic);
    ::close(folderFd);
    if (!there || !S_ISREG(now.st_mode) || qint64(now.st_size) != copy.size ||
        nanoseconds(now.st_mtim) != copy.mtime)
        return std::nullopt;
    if (inodesHold && (qint64(now.st_dev) != copy.device || qint64(now.st_ino) != copy.inode ||
                       nanoseconds(now.st_ctim) != copy.ctime))
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

CopiedIndexWriter::~CopiedIndexWriter() {
    flush();
}

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
        m_outputField = encodedField(m_output);
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
    // The line is written in place, in room enough for its longest form.
    const qsizetype at = m_lines.size();
    const qsizetype room = m_outputField.size() + encodedPathBound(below.size()) +
                           encodedPathBound(key.size()) + 11 * 24;
    if (m_lines.capacity() < at + room)
        m_lines.reserve(std::max(kWriteEveryBytes, at + room) + 4096);
    m_lines.resize(at + room);
    char *const start = m_lines.data() + at;
    char *p = start;
    std::memcpy(p, m_outputField.constData(), size_t(m_outputField.size()));
    p += m_outputField.size();
    *p++ = '\t';
    p = writeEncodedPath(p, below);
    *p++ = '\t';
    p = writeEncodedPath(p, key);
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    for (const qint64 value : {size, mtimeNs, qint64(status.device), qint64(status.inode),
                               status.size, status.mtimeNs, status.ctimeNs, qint64(now.tv_sec)}) {
        *p++ = '\t';
        p = writeDecimal(p, value);
    }
    *p++ = '\n';
    m_lines.resize(at + (p - start));
    if (m_lines.size() >= kWriteEveryBytes)
        flush();
}

void CopiedIndexWriter::flush() {
    if (m_lines.isEmpty())
        return;
    // The records' folder and its parent are private to this user, as the records make them.
    const QByteArray runs = pathToBytes(runRecordFolder());
    const QByteArray plenvoy = runs.left(runs.lastIndexOf('/'));
    QDir().mkpath(pathFromBytes(plenvoy.left(plenvoy.lastIndexOf('/'))));
    ::mkdir(plenvoy.constData(), 0700);
    ::mkdir(runs.constData(), 0700);
    const int fd = ::open(pathToBytes(copiedIndexPath()).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        const char *data = m_lines.constData();
        qsizetype left = m_lines.size();
        while (left > 0) {
            const ssize_t written = ::write(fd, data, size_t(left));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                break;
            data += written;
            left -= written;
        }
        ::close(fd);
    }
    m_lines.resize(0);
}

RunCopies::RunCopies(bool skipCopied)
    : m_skip(skipCopied) {}

RunCopies::~RunCopies() = default;

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
    const std::optional<CopiedBefore> before = m_index->find(
        relative, sourceKeyIn(source, listedThrough, m_workingFolder), qint64(status.stx_size),
        qint64(status.stx_mtime.tv_sec) * 1'000'000'000 + status.stx_mtime.tv_nsec);
    if (!before)
        return false;
    file.destination =
        collapseDoubledSeparators(m_index->outputFolder() + QLatin1Char('/') + before->copy);
    file.problem = CopyProblem::CopiedBefore;
    file.reason = copiedBeforeReason(*before, RegionalForms::system());
    return true;
}

void RunCopies::copied(const QString &outputFolder, const FileOutcome &file,
                       const QString &listedThrough, const struct statx &status) {
    if (!file.copied())
        return;
    m_writer.note(
        outputFolder, file.destination, file.source, listedThrough, qint64(status.stx_size),
        qint64(status.stx_mtime.tv_sec) * 1'000'000'000 + status.stx_mtime.tv_nsec, file.named);
}

} // namespace plenvoy
