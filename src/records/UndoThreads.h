#pragma once

// Undo's machinery: the run's folders, opened only when they are the ones it wrote into, and
// the threads that take a large run back as fast as the file system removes names.

#include "RecordReader.h"

#include "core/FileIdentity.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace plenvoy::undo {

/// The folders a run's copies are in, each opened once and only when it is the folder the
/// run wrote into (its device and inode as the record holds them): a link put in place of
/// the folder since is never followed.
class RunFolders final {
public:
    /// A folder below output is reached from it, one name at a time, never through a link.
    RunFolders(qint64 device, qint64 inode, QByteArray output);
    ~RunFolders();
    RunFolders(const RunFolders &) = delete;
    RunFolders &operator=(const RunFolders &) = delete;

    /// The folder's descriptor; kGone when it can't be opened, kSwapped when it is another
    /// folder than the run's.
    int open(const QByteArray &borrowed);
    /// How the file system of the folder last opened lets its files be known again.
    const IdentityRules &rules() const { return m_rules; }

    static constexpr int kGone = -1;
    static constexpr int kSwapped = -2;

private:
    int openBelowOutput(const QByteArray &path);
    int openOutput(const QByteArray &path);

    static constexpr int kUnset = -3;
    qint64 m_device;
    qint64 m_inode;
    QByteArray m_output;
    QByteArray m_below;
    std::map<QByteArray, int> m_opened;
    std::map<QByteArray, IdentityRules> m_rulesOf;
    QByteArray m_lastPath;
    int m_lastFd = kUnset;
    IdentityRules m_rules;
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
    IdentityRules rules;
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

    void take(LookedUp &item);
    /// The copies left for good, in record order.
    std::vector<LeftLine> left() const;

private:
    void leave(const LookedUp &item, const QString &why);

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
    ~SecondRemover();
    SecondRemover(const SecondRemover &) = delete;
    SecondRemover &operator=(const SecondRemover &) = delete;

    /// Queues the batch: the remover takes its half of a shared one.
    void add(UndoBatch *batch);
    /// Waits until this many of the batches queued are done.
    void waitFor(size_t batches);
    /// How many of the batches queued are done.
    size_t done();
    /// True when the thread stopped early (out of memory).
    bool failed() const { return m_failed; }
    const Remover &remover() const { return m_remover; }

private:
    void work();

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
    LookAhead(RecordReader &reader, RunFolders &folders, const RecordedCopy &first, bool hasFirst);
    ~LookAhead();
    LookAhead(const LookAhead &) = delete;
    LookAhead &operator=(const LookAhead &) = delete;

    /// The next batch; false when the record is read to its end.
    bool take(std::vector<LookedUp> &batch);
    /// True when the reading thread stopped early (out of memory).
    bool failed() const { return m_failed; }

private:
    static constexpr size_t kBatch = 512;
    static constexpr size_t kBatchesAhead = 4;

    void work(RecordedCopy copy, bool more);
    void lookUp(RecordedCopy &&copy, LookedUp &item);
    /// False when the taker is gone.
    bool handOver(std::vector<LookedUp> &batch);

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

} // namespace plenvoy::undo
