#include "RecordWriter.h"

#include "core/PathCodec.h"
#include "core/PathHelpers.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

namespace plenvoy {

namespace {

constexpr qint64 kFlushEveryMs = 100;
constexpr int kKeepDays = 90;
constexpr int kKeepRecords = 200;
QString g_front;

/// A clock read for every file: the coarse one, a few milliseconds fine, costs least.
qint64 coarseMilliseconds() {
    struct timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

QByteArray timeText(const QDateTime &moment) {
    return moment.toUTC().toString(Qt::ISODateWithMs).toUtf8();
}

RecordOutcome outcomeOf(const FileOutcome &file) {
    if (file.problem == CopyProblem::CopiedBefore)
        return RecordOutcome::Skipped;
    if (!file.copied())
        return RecordOutcome::NotCopied;
    if (file.renamed)
        return RecordOutcome::Numbered;
    return file.replaced ? RecordOutcome::Replaced : RecordOutcome::Copied;
}

/// The path from the root: a record is read from any working folder. The working folder
/// is read once, when a path first needs it, into workingFolder.
QString absolute(const QString &path, QString &workingFolder) {
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')))
        return path;
    if (workingFolder.isEmpty()) {
        char folder[PATH_MAX];
        if (!::getcwd(folder, sizeof folder))
            return path;
        workingFolder = pathFromBytes(folder);
        if (!workingFolder.endsWith(QLatin1Char('/')))
            workingFolder += QLatin1Char('/');
    }
    return workingFolder + path;
}

/// Removes the records older than 90 days and those beyond the newest 200; their names
/// begin with their start time in UTC, so the names sort by age.
void pruneRecords(const QString &folder) {
    const QByteArray bytes = pathToBytes(folder);
    DIR *dir = ::opendir(bytes.constData());
    if (!dir)
        return;
    std::vector<QByteArray> names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.endsWith(".jsonl") && name.size() > 20)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), std::greater<>());
    const QByteArray oldest = QDateTime::currentDateTimeUtc()
                                  .addDays(-kKeepDays)
                                  .toString(QStringLiteral("yyyy-MM-ddTHH-mm-ssZ"))
                                  .toLatin1();
    for (size_t i = 0; i < names.size(); ++i)
        if (i >= size_t(kKeepRecords) || names[i].left(oldest.size()) < oldest)
            ::unlinkat(::dirfd(dir), names[i].constData(), 0);
    ::closedir(dir);
}

} // namespace

void enableRunRecords(const QString &front) {
    g_front = front;
}

bool runRecordsEnabled() {
    return !g_front.isEmpty();
}

void disableRunRecords() {
    g_front.clear();
}

RecordWriter::RecordWriter(const QString &outputFolder, const QString &optionText,
                           const RunChoices &style)
    : m_enabled(!g_front.isEmpty())
    , m_front(g_front)
    , m_output(absolute(outputFolder, m_workingFolder))
    , m_option(optionText)
    , m_style(style)
    , m_start(QDateTime::currentDateTimeUtc()) {
    if (m_enabled)
        pruneRecords(runRecordFolder());
}

RecordWriter::~RecordWriter() = default;

bool RecordWriter::open() {
    const QString folder = runRecordFolder();
    if (!makeRunRecordFolder()) {
        fail(errno);
        return false;
    }
    const QString stamp = m_start.toString(QStringLiteral("yyyy-MM-ddTHH-mm-ssZ"));
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        m_id = stamp + QLatin1Char('-') +
               QStringLiteral("%1").arg(QRandomGenerator::global()->bounded(0x10000), 4, 16,
                                        QLatin1Char('0'));
        const QByteArray path =
            pathToBytes(folder + QLatin1Char('/') + m_id + QStringLiteral(".jsonl"));
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0 || !m_lines.open(fd)) {
        fail(fd < 0 ? errno : EMFILE);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(pathToBytes(folder + QLatin1Char('/') + m_id + QStringLiteral(".jsonl"))
                         .constData());
        }
        m_id.clear();
        return false;
    }
    m_flushedAtMs = coarseMilliseconds();

    struct stat folderStatus {};
    const bool known = ::stat(pathToBytes(m_output).constData(), &folderStatus) == 0;
    RecordHeader header;
    header.id = m_id;
    header.start = QString::fromLatin1(timeText(m_start));
    header.version = QStringLiteral(PLENVOY_VERSION);
    header.front = m_front;
    header.output = m_output;
    if (known) {
        header.outputDevice = qint64(folderStatus.st_dev);
        header.outputInode = qint64(folderStatus.st_ino);
    }
    header.option = m_option;
    header.nthValue = m_nthValue;
    header.form = stampFormName(m_style.form);
    if (m_style.form == StampForm::Custom)
        header.pattern = m_style.pattern;
    header.creation = creationTimeName(m_style.creation);
    if (m_style.takenShift != 0)
        header.shift = takenShiftText(m_style.takenShift);
    header.layout = outputLayoutName(m_style.layout);
    append(headerLine(header));
    append(m_waiting);
    m_waiting = QByteArray();
    return true;
}

void RecordWriter::fail(int errorNumber) {
    if (m_problem.isEmpty())
        m_problem = kRecordNotWritten + QStringLiteral(" (") +
                    QString::fromLocal8Bit(std::strerror(errorNumber)) + QStringLiteral(").");
}

void RecordWriter::add(const FileOutcome &file) {
    if (!m_enabled || !m_problem.isEmpty())
        return;
    const RecordOutcome outcome = outcomeOf(file);
    ++m_counts[int(outcome)];
    NamedStatus named = file.named;
    const QString destination = absolute(file.destination, m_workingFolder);
    if (file.copied() && !named.known)
        named = statusByName(pathToBytes(destination));
    FileIdentity identity;
    if (file.copied() && named.known)
        identity = {qint64(named.device), qint64(named.inode), named.size, named.mtimeNs,
                    named.ctimeNs};
    // One line buffer serves every file: a run of a million files builds no garbage.
    std::string &line = m_line;
    line.clear();
    appendCopyLine(line, absolute(file.source, m_workingFolder), destination, outcome, file.reason,
                   file.copied() && named.known ? &identity : nullptr);
    if (!m_lines.isOpen()) {
        if (!file.copied()) {
            m_waiting.append(line.data(), qsizetype(line.size()));
            return;
        }
        if (!open())
            return;
    }
    append(line.data(), line.size());
    flushIfDue();
}

NamedStatus RecordWriter::statusByName(const QByteArray &destination) {
    // The identity as the copy's name now holds it (naming changes the change time).
    return m_status.of(destination);
}

void RecordWriter::addMadeFolder(const QString &path) {
    if (!m_enabled || !m_problem.isEmpty())
        return;
    const QByteArray line = madeLine(absolute(path, m_workingFolder));
    if (!m_lines.isOpen())
        m_waiting += line;
    else
        append(line);
}

void RecordWriter::append(const QByteArray &line) {
    append(line.constData(), size_t(line.size()));
}

void RecordWriter::append(const char *data, size_t size) {
    if (m_lines.isOpen() && !m_lines.append(data, size))
        fail(errno);
}

void RecordWriter::flushIfDue() {
    if (m_lines.isOpen() && coarseMilliseconds() - m_flushedAtMs >= kFlushEveryMs)
        flush();
}

void RecordWriter::flush() {
    if (!m_lines.isOpen())
        return;
    m_flushedAtMs = coarseMilliseconds();
    if (!m_lines.flush())
        fail(errno);
}

void RecordWriter::finish() {
    if (!m_lines.isOpen())
        return;
    RecordEnd end;
    end.at = QString::fromLatin1(timeText(QDateTime::currentDateTimeUtc()));
    std::copy(std::begin(m_counts), std::end(m_counts), std::begin(end.counts));
    append(endLine(end));
    flush();
}

} // namespace plenvoy
