#include "RunUndo.h"

#include "OutputLayout.h"
#include "RunRecord.h"

#include "core/PathCodec.h"
#include "core/WindowPort.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace plenvoy {

namespace {

// File systems whose inode numbers don't survive a re-plug.
constexpr unsigned long kMsdosMagic = 0x4d44;
constexpr unsigned long kExfatMagic = 0x2011BAB0;
constexpr unsigned long kFuseMagic = 0x65735546;
/// Copies looked at between two calls of the progress callback.
constexpr int kCopiesPerProgress = 256;

QByteArray readWhole(const QString &path) {
    QByteArray bytes;
    const int fd = ::open(pathToBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        bytes.append(chunk, got);
    }
    ::close(fd);
    return bytes;
}

QString pathOf(const QJsonValue &value) {
    if (value.isObject())
        return pathFromBytes(
            QByteArray::fromBase64(value[QLatin1String("b64")].toString().toLatin1()));
    return value.toString();
}

/// One copy as the record holds it.
struct RecordedCopy {
    QString destination;
    QString outcome;
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = 0;
    qint64 mtime = 0;
    qint64 ctime = 0;
};

/// A record read back: its first line, its copies, its closing and undo lines.
struct Record {
    QJsonObject header;
    std::vector<RecordedCopy> copies;
    /// The folders the run made, in the order it made them.
    QStringList made;
    qint64 notCopied = 0;
    bool finished = false;
    bool undone = false;
};

Record readRecord(const QString &id, QStringList *damaged) {
    Record record;
    const QList<QByteArray> lines = readWhole(runRecordPath(id)).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(lines[i], &error);
        const QJsonObject line = document.object();
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            if (damaged)
                damaged->append(id + QStringLiteral(" line %1: damaged, skipped").arg(i + 1));
            continue;
        }
        if (line.contains(QLatin1String("run"))) {
            record.header = line;
        } else if (line.contains(QLatin1String("end"))) {
            record.finished = true;
        } else if (line.contains(QLatin1String("undone"))) {
            record.undone = true;
        } else if (line.contains(QLatin1String("made"))) {
            record.made.append(pathOf(line[QLatin1String("made")]));
        } else if (line.contains(QLatin1String("outcome"))) {
            RecordedCopy copy;
            copy.outcome = line[QLatin1String("outcome")].toString();
            if (copy.outcome == QLatin1String("not-copied") ||
                copy.outcome == QLatin1String("skipped")) {
                ++record.notCopied;
                continue;
            }
            copy.destination = pathOf(line[QLatin1String("destination")]);
            copy.device = line[QLatin1String("dev")].toInteger(-1);
            copy.inode = line[QLatin1String("ino")].toInteger(-1);
            copy.size = line[QLatin1String("size")].toInteger(-1);
            copy.mtime = line[QLatin1String("mtime_ns")].toInteger(-1);
            copy.ctime = line[QLatin1String("ctime_ns")].toInteger(-1);
            record.copies.push_back(copy);
        } else if (damaged) {
            damaged->append(id + QStringLiteral(" line %1: damaged, skipped").arg(i + 1));
        }
    }
    return record;
}

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

qint64 nanoseconds(const struct timespec &time) {
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

/// What changed since the run wrote the copy; empty when nothing did.
QString changeOf(const RecordedCopy &copy, const struct stat &now, bool inodesHold) {
    if (S_ISLNK(now.st_mode))
        return QStringLiteral("a link was put in its place");
    if (inodesHold && (qint64(now.st_dev) != copy.device || qint64(now.st_ino) != copy.inode))
        return QStringLiteral("another file was put in its place");
    if (qint64(now.st_size) != copy.size)
        return QStringLiteral("its size changed");
    if (nanoseconds(now.st_mtim) != copy.mtime)
        return QStringLiteral("it was modified");
    if (inodesHold && nanoseconds(now.st_ctim) != copy.ctime)
        return QStringLiteral("its status changed (permissions, links or name)");
    return QString();
}

QByteArray nameBytesOf(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    return bytes.mid(bytes.lastIndexOf('/') + 1);
}

QByteArray folderBytesOf(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    const qsizetype slash = bytes.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : bytes.left(slash);
}

} // namespace

QString runRecordPath(const QString &id) {
    return runRecordFolder() + QLatin1Char('/') + id + QStringLiteral(".jsonl");
}

QList<RunSummary> listRunRecords(QStringList *damaged) {
    QList<RunSummary> runs;
    for (const QString &id : recordIds()) {
        const Record record = readRecord(id, damaged);
        RunSummary run;
        run.id = id;
        run.start = record.header[QLatin1String("start")].toString();
        run.front = record.header[QLatin1String("front")].toString();
        run.output = pathOf(record.header[QLatin1String("output")]);
        run.copied = qint64(record.copies.size());
        run.notCopied = record.notCopied;
        run.finished = record.finished;
        run.undone = record.undone;
        runs.append(run);
    }
    return runs;
}

QString findRunRecord(const QString &text, UndoResult::Status *status) {
    const QStringList ids = recordIds();
    if (text.isEmpty()) {
        for (const QString &id : ids)
            if (!readRecord(id, nullptr).undone)
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

UndoResult undoRun(const QString &id, bool dryRun, const std::function<void()> &progress) {
    UndoResult result;
    result.id = findRunRecord(id, &result.status);
    if (result.id.isEmpty())
        return result;
    const Record record = readRecord(result.id, &result.damaged);
    result.output = pathOf(record.header[QLatin1String("output")]);
    if (record.undone) {
        result.status = UndoResult::Status::AlreadyUndone;
        return result;
    }
    // The same source listed twice was copied again over its own earlier copy: the last
    // entry of a name is the one that holds it.
    std::map<QString, size_t> lastOfName;
    for (size_t i = 0; i < record.copies.size(); ++i)
        lastOfName[record.copies[i].destination] = i;

    const qint64 folderDevice = record.header[QLatin1String("dev")].toInteger(-1);
    const qint64 folderInode = record.header[QLatin1String("ino")].toInteger(-1);
    std::map<QByteArray, int> folders; // opened folder path -> descriptor (-1: not the run's)
    QByteArray outputBytes = pathToBytes(result.output);
    while (outputBytes.size() > 1 && outputBytes.endsWith('/'))
        outputBytes.chop(1);
    const QByteArray below = outputBytes.endsWith('/') ? outputBytes : outputBytes + '/';
    const auto folderOf = [&](const QByteArray &path) {
        const auto known = folders.find(path);
        if (known != folders.end())
            return known->second;
        int fd = -1;
        if (path.startsWith(below) && path.size() > below.size()) {
            // A folder below the output folder is reached from it, never through a link.
            const auto top = folders.find(outputBytes);
            int outputFd = top != folders.end() ? top->second : -3;
            if (outputFd == -3) {
                outputFd = ::open(outputBytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
                struct stat status {};
                if (outputFd >= 0 &&
                    (::fstat(outputFd, &status) != 0 || qint64(status.st_dev) != folderDevice ||
                     qint64(status.st_ino) != folderInode)) {
                    ::close(outputFd);
                    outputFd = -2;
                }
                folders.emplace(outputBytes, outputFd);
            }
            if (outputFd < 0) {
                fd = outputFd;
            } else {
                fd = openLayoutFolder(outputFd, pathFromBytes(path.mid(below.size())), nullptr);
                if (fd < 0)
                    fd = errno == ENOENT ? -1 : -2;
            }
            folders.emplace(path, fd);
            return fd;
        }
        fd = ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        struct stat status {};
        if (fd >= 0 && (::fstat(fd, &status) != 0 || qint64(status.st_dev) != folderDevice ||
                        qint64(status.st_ino) != folderInode)) {
            ::close(fd);
            fd = -2;
        }
        folders.emplace(path, fd);
        return fd;
    };

    // Whether the folder's inode numbers survive a re-plug, asked once a folder.
    int statfsFolder = -1;
    bool inodesHold = true;
    for (size_t i = 0; i < record.copies.size(); ++i) {
        if (progress && i % kCopiesPerProgress == 0)
            progress();
        const RecordedCopy &copy = record.copies[i];
        if (lastOfName[copy.destination] != i)
            continue;
        if (copy.outcome == QLatin1String("replaced")) {
            result.left.append({copy.destination, kKeptReplaced});
            continue;
        }
        const int folder = folderOf(folderBytesOf(copy.destination));
        if (folder < 0) {
            result.left.append({copy.destination,
                                folder == -1 ? QStringLiteral("left: its folder no longer exists")
                                             : QStringLiteral("left: its folder is no longer "
                                                              "the one the run wrote into")});
            continue;
        }
        const QByteArray name = nameBytesOf(copy.destination);
        struct stat now {};
        if (::fstatat(folder, name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0) {
            result.left.append(
                {copy.destination, QStringLiteral("left: it was moved or removed since")});
            continue;
        }
        if (folder != statfsFolder) {
            struct statfs system {};
            statfsFolder = folder;
            inodesHold = ::fstatfs(folder, &system) != 0 ||
                         (static_cast<unsigned long>(system.f_type) != kMsdosMagic &&
                          static_cast<unsigned long>(system.f_type) != kExfatMagic &&
                          static_cast<unsigned long>(system.f_type) != kFuseMagic);
        }
        const QString change = changeOf(copy, now, inodesHold);
        if (!change.isEmpty()) {
            result.left.append({copy.destination, QStringLiteral("left: ") + change});
            continue;
        }
        if (!dryRun && ::unlinkat(folder, name.constData(), 0) != 0) {
            result.left.append(
                {copy.destination,
                 QStringLiteral("left: ") + QString::fromLocal8Bit(std::strerror(errno))});
            continue;
        }
        result.removed.append(copy.destination);
    }
    // The folders the run made go once empty, the deepest first; any other stays.
    for (qsizetype i = record.made.size() - 1; i >= 0 && !dryRun; --i) {
        const int parent = folderOf(folderBytesOf(record.made.at(i)));
        if (parent >= 0)
            ::unlinkat(parent, nameBytesOf(record.made.at(i)).constData(), AT_REMOVEDIR);
    }
    for (const auto &folder : folders)
        if (folder.second >= 0)
            ::close(folder.second);
    if (dryRun)
        return result;

    const QByteArray mark = "{\"undone\":\"" +
                            QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8() +
                            "\",\"removed\":" + QByteArray::number(result.removed.size()) +
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

} // namespace

void WindowRuns::note(const QString &id) {
    if (!id.isEmpty())
        m_ids.append(id);
}

QString undoQuestion(qint64 copies, const QString &outputFolder) {
    return QStringLiteral("Remove the ") + QLocale(QLocale::English).toString(copies) +
           (copies == 1 ? QStringLiteral(" copy") : QStringLiteral(" copies")) +
           QStringLiteral(" this run made in ") + pathForDisplay(outputFolder) + QLatin1Char('?');
}

QString undoReport(const UndoResult &result) {
    const qsizetype removed = result.removed.size();
    QString text = QLocale(QLocale::English).toString(qint64(removed)) +
                   (removed == 1 ? QStringLiteral(" copy was removed.")
                                 : QStringLiteral(" copies were removed."));
    if (result.left.isEmpty())
        return text;
    text += QStringLiteral("\r\r") +
            QLocale(QLocale::English).toString(qint64(result.left.size())) +
            (result.left.size() == 1 ? QStringLiteral(" copy was left:")
                                     : QStringLiteral(" copies were left:"));
    for (qsizetype i = 0; i < result.left.size() && i < kMaxLeftNamed; ++i)
        text += QLatin1Char('\r') + pathForDisplay(result.left[i].path) + QStringLiteral(": ") +
                result.left[i].why;
    if (result.left.size() > kMaxLeftNamed)
        text += QStringLiteral("\rand %1 more.").arg(result.left.size() - kMaxLeftNamed);
    return text;
}

UndoResult WindowRuns::offerUndo(WindowPort &ui) {
    UndoResult result;
    result.status = UndoResult::Status::NoRun;
    const QList<RunSummary> runs = listRunRecords();
    for (qsizetype i = m_ids.size() - 1; i >= 0; --i) {
        const auto run = std::find_if(runs.begin(), runs.end(),
                                      [&](const RunSummary &r) { return r.id == m_ids[i]; });
        if (run == runs.end() || run->undone)
            continue;
        if (!ui.askYesNo(undoQuestion(run->copied, run->output)))
            return result;
        result = undoRun(run->id, false, [&ui] { ui.processEvents(); });
        ui.showMessage(undoReport(result));
        return result;
    }
    return result;
}

} // namespace plenvoy
