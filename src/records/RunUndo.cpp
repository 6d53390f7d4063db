#include "RunUndo.h"

#include "UndoThreads.h"

#include "core/PathCodec.h"

#include <QDateTime>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace plenvoy {

using undo::LeftLine;
using undo::LookAhead;
using undo::LookedUp;
using undo::Remover;
using undo::RunFolders;
using undo::SecondRemover;
using undo::UndoBatch;

namespace {

/// The removers' answers, told in record order.
struct Removal {
    std::vector<LeftLine> left;
    bool failed = false;
};

/// Removes the record's copies still as the run left them. The record is read and each
/// copy's folder opened on a thread of its own, a batch ahead of the removal. Each copy is
/// then looked at just before it goes: here, or for half of the names, on a second thread;
/// each name's lines are decided in record order. The removed copies are told once both
/// removers are done with their batch.
Removal removeCopies(RecordReader &reader, RunFolders &folders, const RecordedCopy &first,
                     bool more, bool dryRun, UndoResult &result,
                     const std::function<void()> &progress,
                     const std::function<void(const QByteArray &path)> &eachRemoved) {
    LookAhead ahead(reader, folders, first, more);
    Remover remover(dryRun);
    SecondRemover second(dryRun);
    constexpr size_t kSharedBatch = 64;
    constexpr size_t kBatchesInFlight = 8;
    // The batches handed to the second remover and not yet told, oldest first.
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
    Removal removal;
    removal.failed = ahead.failed() || second.failed();
    removal.left = remover.left();
    const std::vector<LeftLine> secondLeft = second.remover().left();
    removal.left.insert(removal.left.end(), secondLeft.begin(), secondLeft.end());
    std::stable_sort(removal.left.begin(), removal.left.end(),
                     [](const LeftLine &a, const LeftLine &b) { return a.line < b.line; });
    return removal;
}

/// The folders the run made go once empty, the deepest first; any other stays.
void removeMadeFolders(const RecordReader &reader) {
    RunFolders folders(reader.header.outputDevice, reader.header.outputInode,
                       pathToBytes(reader.header.output));
    for (qsizetype i = reader.made.size() - 1; i >= 0; --i) {
        const QByteArray made = pathToBytes(reader.made.at(i));
        const qsizetype slash = made.lastIndexOf('/');
        if (slash <= 0)
            continue;
        const int parent = folders.open(made.left(slash));
        if (parent >= 0)
            ::unlinkat(parent, made.constData() + slash + 1, AT_REMOVEDIR);
    }
}

/// Marks the record as undone; why it could not be, in plain words, or empty.
QString markUndone(const QString &id, qint64 removed, qint64 left) {
    RecordUndone undone;
    undone.at = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    undone.removed = removed;
    undone.left = left;
    const QByteArray mark = undoneLine(undone);
    const int fd =
        ::open(pathToBytes(runRecordPath(id)).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    QString problem;
    if (fd < 0 || ::write(fd, mark.constData(), size_t(mark.size())) != mark.size())
        problem = QString::fromLocal8Bit(std::strerror(errno));
    if (fd >= 0)
        ::close(fd);
    return problem;
}

} // namespace

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
    result.output = reader.header.output;
    if (recordUndone(result.id)) {
        result.status = UndoResult::Status::AlreadyUndone;
        result.damaged.clear();
        return result;
    }
    RunFolders folders(reader.header.outputDevice, reader.header.outputInode,
                       pathToBytes(result.output));
    const Removal removal =
        removeCopies(reader, folders, first, more, dryRun, result, progress, eachRemoved);
    if (removal.failed) {
        // The record could not be read to its end: what is left of it stays to take back.
        result.markProblem = QString::fromLocal8Bit(std::strerror(ENOMEM));
        dryRun = true;
    }
    for (const LeftLine &line : removal.left)
        result.left.append({pathFromBytes(line.path), line.why});
    if (dryRun)
        return result;
    removeMadeFolders(reader);
    result.markProblem = markUndone(result.id, result.removedCount, result.left.size());
    return result;
}

} // namespace plenvoy
