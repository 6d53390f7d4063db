#include "RunUndo.h"

#include "RunRecord.h"
#include "copying/OutputLayout.h"

#include "core/PathCodec.h"
#include "core/Translation.h"
#include "core/WindowPort.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

namespace plenvoy {

namespace {

// File systems whose inode numbers don't survive a re-plug.
constexpr unsigned long kMsdosMagic = 0x4d44;
constexpr unsigned long kExfatMagic = 0x2011BAB0;
constexpr unsigned long kFuseMagic = 0x65735546;
/// Copies looked at between two calls of the progress callback.
constexpr int kCopiesPerProgress = 256;

/// One copy line as the record holds it; the destination in the file system's bytes.
struct RecordedCopy {
    QByteArray destination;
    bool notCopied = false;
    bool replaced = false;
    qint64 device = -1;
    qint64 inode = -1;
    qint64 size = -1;
    qint64 mtime = -1;
    qint64 ctime = -1;
};

/// Reads the flat JSON objects the record's copy lines are, without building a document:
/// a million lines are read in a small part of what removing their copies takes. Answers
/// false for anything that is not a well-formed object.
class CopyLineReader final {
public:
    bool read(const char *begin, const char *end, RecordedCopy &copy) {
        if (readAsWritten(begin, end, copy))
            return true;
        m_p = begin;
        m_end = end;
        copy = RecordedCopy();
        bool sawOutcome = false;
        skipBlanks();
        if (!take('{'))
            return false;
        skipBlanks();
        if (take('}'))
            return false;
        for (;;) {
            skipBlanks();
            QByteArrayView key;
            if (!text(key, m_key))
                return false;
            skipBlanks();
            if (!take(':'))
                return false;
            skipBlanks();
            if (key == "destination") {
                if (!path(copy.destination))
                    return false;
            } else if (key == "outcome") {
                QByteArrayView outcome;
                if (!text(outcome, m_outcome))
                    return false;
                sawOutcome = true;
                copy.notCopied = outcome == "not-copied" || outcome == "skipped";
                copy.replaced = outcome == "replaced";
            } else if (qint64 *const field = key == "dev"        ? &copy.device
                                             : key == "ino"      ? &copy.inode
                                             : key == "size"     ? &copy.size
                                             : key == "mtime_ns" ? &copy.mtime
                                             : key == "ctime_ns" ? &copy.ctime
                                                                 : nullptr) {
                if (!numberOrNull(*field))
                    return false;
            } else if (!skipValue(0)) {
                return false;
            }
            skipBlanks();
            if (take('}'))
                break;
            if (!take(','))
                return false;
        }
        skipBlanks();
        return m_p == m_end && sawOutcome;
    }

private:
    /// The line as a run writes it, its keys in their order and its paths without escapes:
    /// read at the speed of a few searches. False, with copy unset, for any other line.
    bool readAsWritten(const char *begin, const char *end, RecordedCopy &copy) {
        m_p = begin;
        m_end = end;
        QByteArrayView destination;
        QByteArrayView outcome;
        if (!word("{\"source\":\"") || !plainText() || !word(",\"destination\":\"") ||
            !plainText(&destination) || !word(",\"outcome\":\"") || !plainText(&outcome) ||
            !word(",\"reason\":\"") || !plainText())
            return false;
        qint64 fields[5] = {};
        static constexpr const char *kFields[5] = {
            ",\"dev\":", ",\"ino\":", ",\"size\":", ",\"mtime_ns\":", ",\"ctime_ns\":"};
        for (int i = 0; i < 5; ++i)
            if (!word(kFields[i]) || !numberOrNull(fields[i]))
                return false;
        if (!word("}") || m_p != m_end)
            return false;
        copy = RecordedCopy();
        copy.destination = destination.toByteArray();
        copy.notCopied = outcome == "not-copied" || outcome == "skipped";
        copy.replaced = outcome == "replaced";
        copy.device = fields[0];
        copy.inode = fields[1];
        copy.size = fields[2];
        copy.mtime = fields[3];
        copy.ctime = fields[4];
        return true;
    }
    /// The rest of a string whose opening quote was read, when it holds no escape and no
    /// control character; its text goes to text when one is given.
    bool plainText(QByteArrayView *text = nullptr) {
        const char *const start = m_p;
        const auto *quote =
            static_cast<const char *>(std::memchr(start, '"', size_t(m_end - start)));
        if (!quote)
            return false;
        for (const char *p = start; p < quote; ++p)
            if (*p == '\\' || static_cast<unsigned char>(*p) < 0x20)
                return false;
        if (text)
            *text = QByteArrayView(start, quote - start);
        m_p = quote + 1;
        return true;
    }
    void skipBlanks() {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\t' || *m_p == '\r'))
            ++m_p;
    }
    bool take(char c) {
        if (m_p < m_end && *m_p == c) {
            ++m_p;
            return true;
        }
        return false;
    }
    static int hexValue(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }
    bool hex4(unsigned &value) {
        if (m_end - m_p < 4)
            return false;
        value = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = hexValue(m_p[i]);
            if (digit < 0)
                return false;
            value = value * 16 + unsigned(digit);
        }
        m_p += 4;
        return true;
    }
    static void appendUtf8(QByteArray &out, unsigned code) {
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }
    /// A JSON string; its bytes (escapes undone) go to out when one is given.
    bool string(QByteArray *out) {
        if (!take('"'))
            return false;
        const char *run = m_p;
        for (;;) {
            const char *stop = m_p;
            while (stop < m_end && *stop != '"' && *stop != '\\' &&
                   static_cast<unsigned char>(*stop) >= 0x20)
                ++stop;
            m_p = stop;
            if (m_p >= m_end || static_cast<unsigned char>(*m_p) < 0x20)
                return false;
            if (*m_p == '"') {
                if (out)
                    out->append(run, m_p - run);
                ++m_p;
                return true;
            }
            // A backslash: what runs up to it is plain.
            if (out)
                out->append(run, m_p - run);
            ++m_p;
            if (m_p >= m_end)
                return false;
            const char escaped = *m_p++;
            char plain = 0;
            switch (escaped) {
            case '"':
            case '\\':
            case '/':
                plain = escaped;
                break;
            case 'b':
                plain = '\b';
                break;
            case 'f':
                plain = '\f';
                break;
            case 'n':
                plain = '\n';
                break;
            case 'r':
                plain = '\r';
                break;
            case 't':
                plain = '\t';
                break;
            case 'u': {
                unsigned code = 0;
                if (!hex4(code))
                    return false;
                if (code >= 0xD800 && code < 0xDC00) {
                    unsigned low = 0;
                    if (!take('\\') || !take('u') || !hex4(low) || low < 0xDC00 || low >= 0xE000)
                        return false;
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code < 0xE000) {
                    return false;
                }
                if (out)
                    appendUtf8(*out, code);
                run = m_p;
                continue;
            }
            default:
                return false;
            }
            if (out)
                *out += plain;
            run = m_p;
        }
    }
    /// A JSON string as a view: of the line itself when it holds no escape (the keys and
    /// outcomes the record writes), otherwise of its bytes decoded into scratch.
    bool text(QByteArrayView &view, QByteArray &scratch) {
        const char *const start = m_p + 1;
        const char *stop = start;
        while (stop < m_end && *stop != '"' && *stop != '\\' &&
               static_cast<unsigned char>(*stop) >= 0x20)
            ++stop;
        if (m_p < m_end && *m_p == '"' && stop < m_end && *stop == '"') {
            view = QByteArrayView(start, stop - start);
            m_p = stop + 1;
            return true;
        }
        scratch.resize(0);
        if (!string(&scratch))
            return false;
        view = scratch;
        return true;
    }
    /// A path: a string, or {"b64": "..."} of its bytes.
    bool path(QByteArray &bytes) {
        if (m_p < m_end && *m_p == '"')
            return string(&bytes);
        if (!take('{'))
            return false;
        skipBlanks();
        QByteArrayView key;
        QByteArray encoded;
        if (!text(key, m_key) || key != "b64")
            return false;
        skipBlanks();
        if (!take(':'))
            return false;
        skipBlanks();
        if (!string(&encoded))
            return false;
        skipBlanks();
        if (!take('}'))
            return false;
        const auto decoded =
            QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return false;
        bytes = *decoded;
        return true;
    }
    bool word(const char *text) {
        const size_t length = std::strlen(text);
        if (size_t(m_end - m_p) < length || std::memcmp(m_p, text, length) != 0)
            return false;
        m_p += length;
        return true;
    }
    bool numberOrNull(qint64 &value) {
        if (word("null")) {
            value = -1;
            return true;
        }
        const auto [next, error] = std::from_chars(m_p, m_end, value);
        if (error != std::errc() || next == m_p)
            return false;
        m_p = next;
        return true;
    }
    /// Any JSON value, looked at only to be passed over.
    bool skipValue(int depth) {
        if (depth > 16 || m_p >= m_end)
            return false;
        switch (*m_p) {
        case '"':
            return string(nullptr);
        case 'n':
            return word("null");
        case 't':
            return word("true");
        case 'f':
            return word("false");
        case '{':
        case '[': {
            const char close = *m_p == '{' ? '}' : ']';
            ++m_p;
            skipBlanks();
            if (take(close))
                return true;
            for (;;) {
                skipBlanks();
                if (close == '}') {
                    if (!string(nullptr))
                        return false;
                    skipBlanks();
                    if (!take(':'))
                        return false;
                    skipBlanks();
                }
                if (!skipValue(depth + 1))
                    return false;
                skipBlanks();
                if (take(close))
                    return true;
                if (!take(','))
                    return false;
            }
        }
        default: {
            double number = 0;
            const auto [next, error] = std::from_chars(m_p, m_end, number);
            if (error != std::errc() || next == m_p)
                return false;
            m_p = next;
            return true;
        }
        }
    }

    const char *m_p = nullptr;
    const char *m_end = nullptr;
    QByteArray m_key;
    QByteArray m_outcome;
};

/// A record read line by line, in chunks: nothing of it is held beyond the line in hand.
/// The first line, the closing line and the undo line are read as JSON documents; the copy
/// lines by CopyLineReader. Each damaged line is named and skipped.
class RecordReader final {
public:
    /// What the record's own lines said, besides its copies.
    QJsonObject header;
    bool finished = false;
    bool undone = false;
    /// The folders the run made, in the order it made them.
    QStringList made;

    RecordReader(const QString &id, QStringList *damaged)
        : m_id(id)
        , m_damaged(damaged)
        , m_fd(::open(pathToBytes(runRecordPath(id)).constData(), O_RDONLY | O_CLOEXEC)) {}
    ~RecordReader() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    RecordReader(const RecordReader &) = delete;
    RecordReader &operator=(const RecordReader &) = delete;

    bool isOpen() const { return m_fd >= 0; }

    /// Reads up to the next copy line: false at the end of the record.
    bool next(RecordedCopy &copy) {
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

    /// Reads the record to its end, counting what it copied and did not.
    void count(qint64 &copied, qint64 &notCopied, const std::function<void()> &progress) {
        RecordedCopy copy;
        for (qint64 line = 1; next(copy); ++line) {
            ++(copy.notCopied ? notCopied : copied);
            if (progress && line % kCopiesPerProgress == 0)
                progress();
        }
    }

private:
    /// Moves what is left to the front and reads more; false at the end of the file.
    bool fill() {
        if (m_fd < 0)
            return false;
        m_buffer.remove(0, m_at);
        m_at = 0;
        constexpr qsizetype kChunk = 1 << 20;
        const qsizetype kept = m_buffer.size();
        m_buffer.resize(kept + kChunk);
        ssize_t got = 0;
        do
            got = ::read(m_fd, m_buffer.data() + kept, size_t(kChunk));
        while (got < 0 && errno == EINTR);
        m_buffer.resize(kept + std::max<qsizetype>(got, 0));
        return got > 0;
    }

    /// True for a copy line, read into copy; other lines are taken in as they come.
    bool line(const char *begin, const char *end, RecordedCopy &copy) {
        ++m_line;
        if (begin == end)
            return false;
        // The copy lines begin with their source; the rest are few and read as documents.
        static constexpr char kCopyLine[] = "{\"source\":";
        const size_t prefix = sizeof kCopyLine - 1;
        if (size_t(end - begin) > prefix && std::memcmp(begin, kCopyLine, prefix) == 0) {
            if (m_reader.read(begin, end, copy))
                return true;
            damagedLine();
            return false;
        }
        QJsonParseError error{};
        const QJsonDocument document =
            QJsonDocument::fromJson(QByteArray::fromRawData(begin, end - begin), &error);
        const QJsonObject object = document.object();
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            damagedLine();
        } else if (object.contains(QLatin1String("run"))) {
            header = object;
        } else if (object.contains(QLatin1String("end"))) {
            finished = true;
        } else if (object.contains(QLatin1String("undone"))) {
            undone = true;
        } else if (object.contains(QLatin1String("made"))) {
            made.append(recordPathFrom(object[QLatin1String("made")]));
        } else if (object.contains(QLatin1String("outcome")) && m_reader.read(begin, end, copy)) {
            return true;
        } else {
            damagedLine();
        }
        return false;
    }

    void damagedLine() {
        if (m_damaged)
            m_damaged->append(m_id + QStringLiteral(" line %1: damaged, skipped").arg(m_line));
    }

    QString m_id;
    QStringList *m_damaged;
    int m_fd;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    qint64 m_line = 0;
    CopyLineReader m_reader;
};

/// The record ids in the folder, newest first.
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

/// Whether the record was taken back, read from its last lines (the undo line is the last).
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
        if (line.startsWith("{\"undone\":") && QJsonDocument::fromJson(line).isObject())
            return true;
    return false;
}

qint64 nanoseconds(const struct timespec &time) {
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

/// What changed since the run wrote the copy; empty when nothing did.
QString changeOf(const RecordedCopy &copy, const struct stat &now, bool inodesHold) {
    if (S_ISLNK(now.st_mode))
        return QStringLiteral(QT_TRANSLATE_NOOP("Undo", "a link was put in its place"));
    if (inodesHold && (qint64(now.st_dev) != copy.device || qint64(now.st_ino) != copy.inode))
        return QStringLiteral(QT_TRANSLATE_NOOP("Undo", "another file was put in its place"));
    if (qint64(now.st_size) != copy.size)
        return QStringLiteral(QT_TRANSLATE_NOOP("Undo", "its size changed"));
    if (nanoseconds(now.st_mtim) != copy.mtime)
        return QStringLiteral(QT_TRANSLATE_NOOP("Undo", "it was modified"));
    if (inodesHold && nanoseconds(now.st_ctim) != copy.ctime)
        return QStringLiteral(
            QT_TRANSLATE_NOOP("Undo", "its status changed (permissions, links or name)"));
    return QString();
}

} // namespace

QString runRecordPath(const QString &id) {
    return runRecordFolder() + QLatin1Char('/') + id + QStringLiteral(".jsonl");
}

namespace {

RunSummary readSummary(const QString &id, QStringList *damaged,
                       const std::function<void()> &progress = {}) {
    RecordReader reader(id, damaged);
    RunSummary run;
    run.id = id;
    reader.count(run.copied, run.notCopied, progress);
    run.start = reader.header[QLatin1String("start")].toString();
    run.front = reader.header[QLatin1String("front")].toString();
    run.output = recordPathFrom(reader.header[QLatin1String("output")]);
    run.finished = reader.finished;
    run.undone = reader.undone;
    return run;
}

/// The folders a run's copies are in, each opened once and only when it is the folder the
/// run wrote into (its device and inode as the record holds them): a link put in place of
/// the folder since is never followed.
class RunFolders final {
public:
    /// A folder below output is reached from it, one name at a time, never through a link.
    RunFolders(qint64 device, qint64 inode, QByteArray output)
        : m_device(device)
        , m_inode(inode)
        , m_output(std::move(output)) {
        while (m_output.size() > 1 && m_output.endsWith('/'))
            m_output.chop(1);
        m_below = m_output.endsWith('/') ? m_output : m_output + '/';
    }
    ~RunFolders() {
        for (const auto &folder : m_opened)
            if (folder.second >= 0)
                ::close(folder.second);
    }
    RunFolders(const RunFolders &) = delete;
    RunFolders &operator=(const RunFolders &) = delete;

    /// The folder's descriptor; kGone when it can't be opened, kSwapped when it is another
    /// folder than the run's.
    int open(const QByteArray &borrowed) {
        if (m_lastFd != kUnset && borrowed == m_lastPath)
            return m_lastFd;
        const QByteArray path(borrowed.constData(), borrowed.size()); // ends with NUL
        const auto known = m_opened.find(path);
        int fd = 0;
        if (known != m_opened.end()) {
            fd = known->second;
        } else if (path.startsWith(m_below) && path.size() > m_below.size()) {
            const int output = open(m_output);
            fd = output < 0
                     ? output
                     : openLayoutFolder(output, pathFromBytes(path.mid(m_below.size())), nullptr);
            if (fd < 0 && output >= 0)
                fd = errno == ENOENT ? kGone : kSwapped;
            m_opened.emplace(path, fd);
            struct statfs system {};
            m_inodesHold = true;
            if (fd >= 0 && ::fstatfs(fd, &system) == 0) {
                const auto type = static_cast<unsigned long>(system.f_type);
                m_inodesHold = type != kMsdosMagic && type != kExfatMagic && type != kFuseMagic;
            }
            m_holds[path] = m_inodesHold;
        } else {
            fd = ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            struct stat status {};
            if (fd < 0) {
                fd = kGone;
            } else if (::fstat(fd, &status) != 0 || qint64(status.st_dev) != m_device ||
                       qint64(status.st_ino) != m_inode) {
                ::close(fd);
                fd = kSwapped;
            }
            m_opened.emplace(path, fd);
            m_inodesHold = true;
            struct statfs system {};
            if (fd >= 0 && ::fstatfs(fd, &system) == 0) {
                const auto type = static_cast<unsigned long>(system.f_type);
                m_inodesHold = type != kMsdosMagic && type != kExfatMagic && type != kFuseMagic;
            }
            m_holds[path] = m_inodesHold;
        }
        m_lastPath = path;
        m_lastFd = fd;
        m_inodesHold = m_holds[path];
        return fd;
    }
    /// Whether the inode numbers of the folder last opened survive a re-plug.
    bool inodesHold() const { return m_inodesHold; }

    static constexpr int kGone = -1;
    static constexpr int kSwapped = -2;

private:
    static constexpr int kUnset = -3;
    qint64 m_device;
    qint64 m_inode;
    QByteArray m_output;
    QByteArray m_below;
    std::map<QByteArray, int> m_opened;
    std::map<QByteArray, bool> m_holds;
    QByteArray m_lastPath;
    int m_lastFd = kUnset;
    bool m_inodesHold = true;
};

/// A copy left, while a later line of the same name may still take its place.
struct LeftLine {
    qint64 line = 0; // its place among the record's copy lines
    QByteArray path;
    QString why;
    bool dropped = false;
};

/// One copy line with the folder its name is in, as found ahead of the removal.
struct LookedUp {
    RecordedCopy copy;
    qint64 line = 0;
    int folder = RunFolders::kGone;
    bool inodesHold = true;
    /// The second remover takes it: half of the names, every line of a name alike.
    bool bySecond = false;
    /// Set by the remover once the copy is gone (or, in a dry run, would be).
    bool removed = false;
};

/// Decides, in record order, about the copies of some of the names, and removes those still
/// as the run left them. Every line of a name goes to the same remover, so that only the
/// last line of a name tells what is done with it.
class Remover final {
public:
    explicit Remover(bool dryRun)
        : m_dryRun(dryRun) {}

    void take(LookedUp &item) {
        const RecordedCopy &copy = item.copy;
        if (!m_leftByName.isEmpty()) {
            const auto earlier = m_leftByName.constFind(copy.destination);
            if (earlier != m_leftByName.cend()) {
                m_left[earlier.value()].dropped = true;
                m_leftByName.erase(earlier);
            }
        }
        if (copy.replaced) {
            leave(item, kKeptReplaced);
            return;
        }
        if (item.folder < 0) {
            leave(item, item.folder == RunFolders::kGone
                            ? QStringLiteral(
                                  QT_TRANSLATE_NOOP("Undo", "left: its folder no longer exists"))
                            : QStringLiteral(
                                  QT_TRANSLATE_NOOP("Undo", "left: its folder is no longer the one "
                                                            "the run wrote into")));
            return;
        }
        const qsizetype slash = copy.destination.lastIndexOf('/');
        const char *const name = copy.destination.constData() + slash + 1;
        const bool earlierRemoved =
            !item.inodesHold && m_removedWithoutInodes.contains(copy.destination);
        struct stat now {};
        if (::fstatat(item.folder, name, &now, AT_SYMLINK_NOFOLLOW) != 0) {
            if (!earlierRemoved)
                leave(item, QStringLiteral(
                                QT_TRANSLATE_NOOP("Undo", "left: it was moved or removed since")));
            return;
        }
        const QString change = changeOf(copy, now, item.inodesHold);
        if (!change.isEmpty()) {
            leave(item, QStringLiteral("left: ") + change);
            return;
        }
        if (earlierRemoved)
            return; // already removed (or, in a dry run, counted) with its earlier line
        if (!m_dryRun && ::unlinkat(item.folder, name, 0) != 0) {
            leave(item, QStringLiteral("left: ") + QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        if (!item.inodesHold)
            m_removedWithoutInodes.insert(copy.destination);
        item.removed = true;
    }

    /// The copies left for good, in record order.
    std::vector<LeftLine> left() const {
        std::vector<LeftLine> kept;
        for (const LeftLine &line : m_left)
            if (!line.dropped)
                kept.push_back(line);
        return kept;
    }

private:
    void leave(const LookedUp &item, const QString &why) {
        m_leftByName[item.copy.destination] = m_left.size();
        m_left.push_back({item.line, item.copy.destination, why});
    }

    bool m_dryRun;
    std::vector<LeftLine> m_left;
    // The copies left so far by name: the same source listed twice was copied again over
    // its own earlier copy, and only the last line of a name tells of the file it holds.
    QHash<QByteArray, size_t> m_leftByName;
    // Names removed where inodes don't hold: an earlier line of the name matches there too.
    QSet<QByteArray> m_removedWithoutInodes;
};

/// A batch of copy lines on its way through the two removers.
struct UndoBatch {
    std::vector<LookedUp> items;
    /// Whether the second remover takes its half of the names; a small batch is not
    /// worth handing over.
    bool shared = false;
};

/// A second remover on a thread of its own: removing a copy is mostly the file system's
/// work, and two threads remove a folder's copies in about two thirds of the time one
/// takes. It takes its half of each batch's names in turn, never waiting for the first.
class SecondRemover final {
public:
    explicit SecondRemover(bool dryRun)
        : m_remover(dryRun) {}
    ~SecondRemover() {
        if (!m_thread.joinable())
            return;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    SecondRemover(const SecondRemover &) = delete;
    SecondRemover &operator=(const SecondRemover &) = delete;

    /// Queues the batch: the remover takes its half of a shared one.
    void add(UndoBatch *batch) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            ++m_added;
            // Nothing to do, and nothing before it to wait for: done at once (a small run
            // never starts the thread).
            if (!batch->shared && m_done + 1 == m_added) {
                ++m_done;
                return;
            }
            m_queued.push_back(batch);
        }
        if (!m_thread.joinable())
            m_thread = std::thread([this] { work(); });
        m_changed.notify_all();
    }
    /// Waits until this many of the batches queued are done.
    void waitFor(size_t batches) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this, batches] { return m_done >= batches; });
    }
    /// How many of the batches queued are done.
    size_t done() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_done;
    }
    /// True when the thread stopped early (out of memory).
    bool failed() const { return m_failed; }
    const Remover &remover() const { return m_remover; }

private:
    void work() {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return !m_queued.empty() || m_stopped; });
            if (m_stopped)
                return;
            UndoBatch &batch = *m_queued.front();
            m_queued.pop_front();
            lock.unlock();
            try {
                if (batch.shared && !m_failed)
                    for (LookedUp &item : batch.items)
                        if (item.bySecond)
                            m_remover.take(item);
            } catch (...) {
                m_failed = true;
            }
            lock.lock();
            ++m_done;
            m_changed.notify_all();
        }
    }

    Remover m_remover;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<UndoBatch *> m_queued;
    size_t m_added = 0;
    size_t m_done = 0;
    bool m_stopped = false;
    std::atomic<bool> m_failed{false};
    std::thread m_thread;
};

/// Reads the record's copy lines and opens each one's folder, on a thread of its own, in
/// batches handed over in record order; only a few batches wait at a time.
class LookAhead final {
public:
    LookAhead(RecordReader &reader, RunFolders &folders, const RecordedCopy &first, bool hasFirst)
        : m_reader(reader)
        , m_folders(folders) {
        m_thread = std::thread([this, first, hasFirst] { work(first, hasFirst); });
    }
    ~LookAhead() {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    LookAhead(const LookAhead &) = delete;
    LookAhead &operator=(const LookAhead &) = delete;

    /// The next batch; false when the record is read to its end.
    bool take(std::vector<LookedUp> &batch) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_ready.empty() || m_done; });
        if (m_ready.empty())
            return false;
        batch = std::move(m_ready.front());
        m_ready.pop_front();
        lock.unlock();
        m_changed.notify_all();
        return true;
    }
    /// True when the reading thread stopped early (out of memory).
    bool failed() const { return m_failed; }

private:
    static constexpr size_t kBatch = 512;
    static constexpr size_t kBatchesAhead = 4;

    void work(RecordedCopy copy, bool more) {
        try {
            std::vector<LookedUp> batch;
            for (qint64 line = 0; more; more = m_reader.next(copy), ++line) {
                if (copy.notCopied)
                    continue;
                batch.emplace_back();
                batch.back().line = line;
                lookUp(std::move(copy), batch.back());
                if (batch.size() == kBatch && !handOver(batch))
                    break;
            }
            handOver(batch);
        } catch (...) {
            m_failed = true;
        }
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_changed.notify_all();
    }

    void lookUp(RecordedCopy &&copy, LookedUp &item) {
        item.copy = std::move(copy);
        item.bySecond = (qHash(item.copy.destination) & 1) != 0;
        if (item.copy.replaced)
            return;
        const QByteArray &path = item.copy.destination;
        const qsizetype slash = path.lastIndexOf('/');
        item.folder = m_folders.open(slash <= 0 ? QByteArray("/")
                                                : QByteArray::fromRawData(path.constData(), slash));
        item.inodesHold = m_folders.inodesHold();
    }

    /// False when the taker is gone.
    bool handOver(std::vector<LookedUp> &batch) {
        if (batch.empty())
            return true;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_ready.size() < kBatchesAhead || m_stopped; });
        if (m_stopped)
            return false;
        m_ready.push_back(std::move(batch));
        batch = std::vector<LookedUp>();
        batch.reserve(kBatch);
        lock.unlock();
        m_changed.notify_all();
        return true;
    }

    RecordReader &m_reader;
    RunFolders &m_folders;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<LookedUp>> m_ready;
    bool m_done = false;
    bool m_stopped = false;
    std::atomic<bool> m_failed{false};
    std::thread m_thread;
};

} // namespace

QList<RunSummary> listRunRecords(QStringList *damaged) {
    QList<RunSummary> runs;
    for (const QString &id : recordIds())
        runs.append(readSummary(id, damaged));
    return runs;
}

QString findRunRecord(const QString &text, UndoResult::Status *status) {
    const QStringList ids = recordIds();
    if (text.isEmpty()) {
        for (const QString &id : ids)
            if (!recordUndone(id))
                return id;
        if (status)
            *status = UndoResult::Status::NoRun;
        return QString();
    }
    QStringList found;
    for (const QString &id : ids)
        if (id == text || (text.size() == 4 && id.endsWith(QLatin1Char('-') + text)))
            found.append(id);
    if (found.size() == 1)
        return found.first();
    if (status)
        *status = UndoResult::Status::UnknownId;
    return QString();
}

UndoResult undoRun(const QString &id, bool dryRunAsked, const std::function<void()> &progress,
                   const std::function<void(const QByteArray &path)> &eachRemoved) {
    UndoResult result;
    bool dryRun = dryRunAsked;
    result.id = findRunRecord(id, &result.status);
    if (result.id.isEmpty())
        return result;
    RecordReader reader(result.id, &result.damaged);
    RecordedCopy first;
    const bool more = reader.next(first); // the first line is read with the first copy line
    result.output = recordPathFrom(reader.header[QLatin1String("output")]);
    if (recordUndone(result.id)) {
        result.status = UndoResult::Status::AlreadyUndone;
        result.damaged.clear();
        return result;
    }
    RunFolders folders(reader.header[QLatin1String("dev")].toInteger(-1),
                       reader.header[QLatin1String("ino")].toInteger(-1),
                       pathToBytes(result.output));
    // The record is read and each copy's folder opened on a thread of its own, a batch ahead
    // of the removal. Each copy is then looked at just before it goes: here, or for half of
    // the names, on a second thread; each name's lines are decided in record order.
    LookAhead ahead(reader, folders, first, more);
    Remover remover(dryRun);
    SecondRemover second(dryRun);
    constexpr size_t kSharedBatch = 64;
    constexpr size_t kBatchesInFlight = 8;
    // The batches handed to the second remover and not yet told, oldest first; the removed
    // copies are told in record order once both removers are done with a batch.
    std::deque<std::unique_ptr<UndoBatch>> inFlight;
    size_t queued = 0;
    size_t told = 0;
    const auto tellDone = [&](size_t upTo) {
        for (; told < upTo; ++told) {
            for (const LookedUp &item : inFlight.front()->items) {
                if (!item.removed)
                    continue;
                ++result.removedCount;
                if (eachRemoved)
                    eachRemoved(item.copy.destination);
                else
                    result.removed.append(pathFromBytes(item.copy.destination));
            }
            inFlight.pop_front();
        }
    };
    std::vector<LookedUp> items;
    while (!second.failed() && ahead.take(items)) {
        if (progress)
            progress();
        auto batch = std::make_unique<UndoBatch>();
        batch->items = std::move(items);
        batch->shared = batch->items.size() >= kSharedBatch;
        UndoBatch &taken = *batch;
        inFlight.push_back(std::move(batch));
        second.add(&taken);
        ++queued;
        try {
            for (LookedUp &item : taken.items)
                if (!taken.shared || !item.bySecond)
                    remover.take(item);
        } catch (...) {
            second.waitFor(queued);
            throw;
        }
        if (inFlight.size() > kBatchesInFlight)
            second.waitFor(told + 1);
        tellDone(second.done());
    }
    second.waitFor(queued);
    tellDone(queued);
    if (ahead.failed() || second.failed()) {
        // The record could not be read to its end: what is left of it stays to take back.
        result.markProblem = QString::fromLocal8Bit(std::strerror(ENOMEM));
        dryRun = true;
    }
    std::vector<LeftLine> left = remover.left();
    const std::vector<LeftLine> secondLeft = second.remover().left();
    left.insert(left.end(), secondLeft.begin(), secondLeft.end());
    std::stable_sort(left.begin(), left.end(),
                     [](const LeftLine &a, const LeftLine &b) { return a.line < b.line; });
    for (const LeftLine &line : left)
        result.left.append({pathFromBytes(line.path), line.why});
    // The folders the run made go once empty, the deepest first; any other stays.
    if (!dryRun) {
        RunFolders madeFolders(reader.header[QLatin1String("dev")].toInteger(-1),
                               reader.header[QLatin1String("ino")].toInteger(-1),
                               pathToBytes(result.output));
        for (qsizetype i = reader.made.size() - 1; i >= 0; --i) {
            const QByteArray made = pathToBytes(reader.made.at(i));
            const qsizetype slash = made.lastIndexOf('/');
            if (slash <= 0)
                continue;
            const int parent = madeFolders.open(made.left(slash));
            if (parent >= 0)
                ::unlinkat(parent, made.constData() + slash + 1, AT_REMOVEDIR);
        }
    }
    if (dryRun)
        return result;
    const QByteArray mark = "{\"undone\":\"" +
                            QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8() +
                            "\",\"removed\":" + QByteArray::number(result.removedCount) +
                            ",\"left\":" + QByteArray::number(result.left.size()) + "}\n";
    const int fd =
        ::open(pathToBytes(runRecordPath(result.id)).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 || ::write(fd, mark.constData(), size_t(mark.size())) != mark.size())
        result.markProblem = QString::fromLocal8Bit(std::strerror(errno));
    if (fd >= 0)
        ::close(fd);
    return result;
}

} // namespace plenvoy

namespace plenvoy {

namespace {

/// The report names at most this many copies that were left.
constexpr int kMaxLeftNamed = 10;

/// Why a copy was left, as the window shows it: a reason of its own, or "left: " and what
/// changed.
QString shownWhy(const QString &why) {
    const QString whole = shownText("Undo", why);
    const QString prefix = QStringLiteral("left: ");
    if (whole != why || !why.startsWith(prefix))
        return whole;
    return QCoreApplication::translate("Undo", "left: %1")
        .arg(shownText("Undo", why.mid(prefix.size())));
}

} // namespace

void WindowRuns::note(const QString &id) {
    if (!id.isEmpty())
        m_ids.append(id);
}

QString undoQuestion(qint64 copies, const QString &outputFolder) {
    const char *english =
        copies == 1 ? QT_TRANSLATE_NOOP("Undo", "Remove the %1 copy this run made in %2?")
                    : QT_TRANSLATE_NOOP("Undo", "Remove the %1 copies this run made in %2?");
    return shownCount("Undo", english, copies).arg(pathForDisplay(outputFolder));
}

QString undoReport(const UndoResult &result) {
    const qint64 removed = result.removedCount;
    QString text = shownCount("Undo",
                              removed == 1 ? QT_TRANSLATE_NOOP("Undo", "%1 copy was removed.")
                                           : QT_TRANSLATE_NOOP("Undo", "%1 copies were removed."),
                              removed);
    if (result.left.isEmpty())
        return text;
    const qsizetype left = result.left.size();
    text += QStringLiteral("\r\r") +
            shownCount("Undo",
                       left == 1 ? QT_TRANSLATE_NOOP("Undo", "%1 copy was left:")
                                 : QT_TRANSLATE_NOOP("Undo", "%1 copies were left:"),
                       left);
    for (qsizetype i = 0; i < left && i < kMaxLeftNamed; ++i)
        text += QLatin1Char('\r') + pathForDisplay(result.left[i].path) + QStringLiteral(": ") +
                shownWhy(result.left[i].why);
    if (left > kMaxLeftNamed)
        text += QLatin1Char('\r') +
                QCoreApplication::translate("Undo", "and %1 more.").arg(left - kMaxLeftNamed);
    return text;
}

UndoResult WindowRuns::offerUndo(WindowPort &ui) {
    UndoResult result;
    result.status = UndoResult::Status::NoRun;
    const auto answer = [&ui] { ui.processEvents(); };
    for (qsizetype i = m_ids.size() - 1; i >= 0; --i) {
        // Only this window's records are read, each as it is reached, the window answering.
        if (!QFileInfo::exists(runRecordPath(m_ids[i])) || recordUndone(m_ids[i]))
            continue;
        const RunSummary run = readSummary(m_ids[i], nullptr, answer);
        if (!ui.askYesNo(undoQuestion(run.copied, run.output)))
            return result;
        result = undoRun(run.id, false, answer);
        ui.showMessage(undoReport(result));
        return result;
    }
    return result;
}

} // namespace plenvoy
