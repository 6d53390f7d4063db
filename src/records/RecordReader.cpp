#include "RecordReader.h"

#include "core/PathCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy {

namespace {

/// Copy lines counted between two calls of the progress callback.
constexpr int kCopiesPerProgress = 256;
/// Records and the index are read this much at a time.
constexpr qsizetype kChunkBytes = 1 << 20;

/// Reads up to a chunk more at the end of buffer; what was read, 0 at the end of the file.
ssize_t readChunk(int fd, QByteArray &buffer) {
    const qsizetype kept = buffer.size();
    buffer.resize(kept + kChunkBytes);
    ssize_t got = 0;
    do
        got = ::read(fd, buffer.data() + kept, size_t(kChunkBytes));
    while (got < 0 && errno == EINTR);
    buffer.resize(kept + std::max<qsizetype>(got, 0));
    return got;
}

} // namespace

RecordReader::RecordReader(const QString &id, QStringList *damaged, RecordLineReader::Fields fields)
    : m_id(id)
    , m_damaged(damaged)
    , m_fd(::open(pathToBytes(runRecordPath(id)).constData(), O_RDONLY | O_CLOEXEC))
    , m_lines(fields) {}

RecordReader::~RecordReader() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RecordReader::next(RecordedCopy &copy) {
    for (;;) {
        const char *const begin = m_buffer.constData() + m_at;
        const char *const end = m_buffer.constData() + m_buffer.size();
        const char *const lineEnd =
            static_cast<const char *>(std::memchr(begin, '\n', size_t(end - begin)));
        if (!lineEnd) {
            if (fill())
                continue;
            if (begin == end)
                return false;
            // The last line has no line feed: the run was ended while writing it.
            m_at = m_buffer.size();
            if (line(begin, end, copy))
                return true;
            continue;
        }
        m_at = lineEnd + 1 - m_buffer.constData();
        if (line(begin, lineEnd, copy))
            return true;
    }
}

void RecordReader::count(qint64 &copied, qint64 &notCopied, const std::function<void()> &progress) {
    RecordedCopy copy;
    for (qint64 line = 1; next(copy); ++line) {
        ++(copy.notCopied() ? notCopied : copied);
        if (progress && line % kCopiesPerProgress == 0)
            progress();
    }
}

/// Moves what is left to the front and reads more; false at the end of the file.
bool RecordReader::fill() {
    if (m_fd < 0)
        return false;
    m_buffer.remove(0, m_at);
    m_at = 0;
    return readChunk(m_fd, m_buffer) > 0;
}

/// True for a copy line, read into copy; other lines are taken in as they come.
bool RecordReader::line(const char *begin, const char *end, RecordedCopy &copy) {
    ++m_line;
    switch (m_lines.read(begin, end, copy)) {
    case RecordLine::Copy:
        return true;
    case RecordLine::Header:
        header = m_lines.header;
        break;
    case RecordLine::End:
        finished = true;
        break;
    case RecordLine::Undone:
        undone = true;
        break;
    case RecordLine::Made:
        made.append(m_lines.made);
        break;
    case RecordLine::Damaged:
        if (m_damaged)
            m_damaged->append(m_id + QStringLiteral(" line %1: damaged, skipped").arg(m_line));
        break;
    case RecordLine::Blank:
        break;
    }
    return false;
}

QStringList recordIds() {
    QStringList ids;
    DIR *dir = ::opendir(pathToBytes(runRecordFolder()).constData());
    if (!dir)
        return ids;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.endsWith(".jsonl"))
            ids.append(pathFromBytes(name.chopped(6)));
    }
    ::closedir(dir);
    std::sort(ids.begin(), ids.end(), std::greater<>());
    return ids;
}

bool recordUndone(const QString &id) {
    const int fd = ::open(pathToBytes(runRecordPath(id)).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    QByteArray tail;
    if (::fstat(fd, &status) == 0) {
        const off_t from = std::max<off_t>(0, status.st_size - 4096);
        tail.resize(qsizetype(status.st_size - from));
        const ssize_t got = ::pread(fd, tail.data(), size_t(tail.size()), from);
        tail.resize(std::max<qsizetype>(got, 0));
    }
    ::close(fd);
    // Nothing but a damaged line is ever written after it.
    for (const QByteArray &line : tail.split('\n'))
        if (isUndoneLine(line))
            return true;
    return false;
}

RunSummary readSummary(const QString &id, QStringList *damaged,
                       const std::function<void()> &progress) {
    RecordReader reader(id, damaged);
    RunSummary run;
    run.id = id;
    reader.count(run.copied, run.notCopied, progress);
    run.start = reader.header.start;
    run.front = reader.header.front;
    run.output = reader.header.output;
    run.finished = reader.finished;
    run.undone = reader.undone;
    return run;
}

QList<RunSummary> listRunRecords(QStringList *damaged) {
    QList<RunSummary> runs;
    for (const QString &id : recordIds())
        runs.append(readSummary(id, damaged));
    return runs;
}

void readIndexLines(const QString &output, const std::function<void(const IndexLine &)> &take) {
    const int fd = ::open(pathToBytes(copiedIndexPath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    // The index holds the copies into every folder: it is read in chunks, and only the lines
    // of this output folder, found by their start, are taken apart.
    const QByteArray start = '\n' + indexOutputField(output) + '\t';
    QByteArray window("\n");
    IndexLine line;
    for (;;) {
        const bool atEnd = readChunk(fd, window) <= 0;
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
            if (readIndexLine(QByteArrayView(hit + 1, lineEnd - hit - 1), line))
                take(line);
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

} // namespace plenvoy
