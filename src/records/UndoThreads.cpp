#include "UndoThreads.h"

#include "RunUndo.h"
#include "copying/OutputLayout.h"
#include "core/FolderBelow.h"
#include "core/PathCodec.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy::undo {

namespace {

/// Why a copy is left, as the record's identity tells it.
QString changeText(IdentityChange change) {
    switch (change) {
    case IdentityChange::LinkInPlace:
        return QStringLiteral(QT_TRANSLATE_NOOP("Undo", "a link was put in its place"));
    case IdentityChange::AnotherFile:
        return QStringLiteral(QT_TRANSLATE_NOOP("Undo", "another file was put in its place"));
    case IdentityChange::SizeChanged:
        return QStringLiteral(QT_TRANSLATE_NOOP("Undo", "its size changed"));
    case IdentityChange::Modified:
        return QStringLiteral(QT_TRANSLATE_NOOP("Undo", "it was modified"));
    case IdentityChange::StatusChanged:
        return QStringLiteral(
            QT_TRANSLATE_NOOP("Undo", "its status changed (permissions, links or name)"));
    case IdentityChange::None:
        break;
    }
    return QString();
}

} // namespace

RunFolders::RunFolders(qint64 device, qint64 inode, QByteArray output)
    : m_device(device)
    , m_inode(inode)
    , m_output(std::move(output)) {
    while (m_output.size() > 1 && m_output.endsWith('/'))
        m_output.chop(1);
    m_below = m_output.endsWith('/') ? m_output : m_output + '/';
}

RunFolders::~RunFolders() {
    for (const auto &folder : m_opened)
        if (folder.second >= 0)
            ::close(folder.second);
}

int RunFolders::open(const QByteArray &borrowed) {
    if (m_lastFd != kUnset && borrowed == m_lastPath)
        return m_lastFd;
    const QByteArray path(borrowed.constData(), borrowed.size()); // ends with NUL
    const auto known = m_opened.find(path);
    int fd = 0;
    if (known != m_opened.end()) {
        fd = known->second;
    } else {
        fd = path.startsWith(m_below) && path.size() > m_below.size() ? openBelowOutput(path)
                                                                      : openOutput(path);
        m_opened.emplace(path, fd);
        m_rulesOf[path] = IdentityRules::ofFolder(fd);
    }
    m_lastPath = path;
    m_lastFd = fd;
    m_rules = m_rulesOf[path];
    return fd;
}

int RunFolders::openBelowOutput(const QByteArray &path) {
    const int output = open(m_output);
    if (output < 0)
        return output;
    const int fd = openFolderBelow(output, pathFromBytes(path.mid(m_below.size())));
    if (fd < 0)
        return errno == ENOENT ? kGone : kSwapped;
    return fd;
}

/// Any other folder than one below the output folder is the output folder itself, or none.
int RunFolders::openOutput(const QByteArray &path) {
    const int fd = ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return kGone;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || qint64(status.st_dev) != m_device ||
        qint64(status.st_ino) != m_inode) {
        ::close(fd);
        return kSwapped;
    }
    return fd;
}

void Remover::take(LookedUp &item) {
    const RecordedCopy &copy = item.copy;
    if (!m_leftByName.isEmpty()) {
        const auto earlier = m_leftByName.constFind(copy.destination);
        if (earlier != m_leftByName.cend()) {
            m_left[earlier.value()].dropped = true;
            m_leftByName.erase(earlier);
        }
    }
    if (copy.replaced()) {
        leave(item, kKeptReplaced);
        return;
    }
    if (item.folder < 0) {
        leave(item,
              item.folder == RunFolders::kGone
                  ? QStringLiteral(QT_TRANSLATE_NOOP("Undo", "left: its folder no longer exists"))
                  : QStringLiteral(QT_TRANSLATE_NOOP("Undo", "left: its folder is no longer the "
                                                             "one the run wrote into")));
        return;
    }
    const qsizetype slash = copy.destination.lastIndexOf('/');
    const char *const name = copy.destination.constData() + slash + 1;
    const bool inodesHold = item.rules.inodesHold;
    const bool earlierRemoved = !inodesHold && m_removedWithoutInodes.contains(copy.destination);
    struct stat now {};
    if (::fstatat(item.folder, name, &now, AT_SYMLINK_NOFOLLOW) != 0) {
        if (!earlierRemoved)
            leave(item,
                  QStringLiteral(QT_TRANSLATE_NOOP("Undo", "left: it was moved or removed since")));
        return;
    }
    const IdentityChange change = changeSince(copy.identity, now, item.rules);
    if (change != IdentityChange::None) {
        leave(item, QStringLiteral("left: ") + changeText(change));
        return;
    }
    if (earlierRemoved)
        return; // already removed (or, in a dry run, counted) with its earlier line
    if (!m_dryRun && ::unlinkat(item.folder, name, 0) != 0) {
        leave(item, QStringLiteral("left: ") + QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (!inodesHold)
        m_removedWithoutInodes.insert(copy.destination);
    item.removed = true;
}

std::vector<LeftLine> Remover::left() const {
    std::vector<LeftLine> kept;
    for (const LeftLine &line : m_left)
        if (!line.dropped)
            kept.push_back(line);
    return kept;
}

void Remover::leave(const LookedUp &item, const QString &why) {
    m_leftByName[item.copy.destination] = m_left.size();
    m_left.push_back({item.line, item.copy.destination, why});
}

SecondRemover::~SecondRemover() {
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void SecondRemover::add(UndoBatch *batch) {
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

void SecondRemover::waitFor(size_t batches) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this, batches] { return m_done >= batches; });
}

size_t SecondRemover::done() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_done;
}

void SecondRemover::work() {
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

LookAhead::LookAhead(RecordReader &reader, RunFolders &folders, const RecordedCopy &first,
                     bool hasFirst)
    : m_reader(reader)
    , m_folders(folders) {
    m_thread = std::thread([this, first, hasFirst] { work(first, hasFirst); });
}

LookAhead::~LookAhead() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool LookAhead::take(std::vector<LookedUp> &batch) {
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

void LookAhead::work(RecordedCopy copy, bool more) {
    try {
        std::vector<LookedUp> batch;
        for (qint64 line = 0; more; more = m_reader.next(copy), ++line) {
            if (copy.notCopied())
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

void LookAhead::lookUp(RecordedCopy &&copy, LookedUp &item) {
    item.copy = std::move(copy);
    item.bySecond = (qHash(item.copy.destination) & 1) != 0;
    if (item.copy.replaced())
        return;
    const QByteArray &path = item.copy.destination;
    const qsizetype slash = path.lastIndexOf('/');
    item.folder = m_folders.open(slash <= 0 ? QByteArray("/")
                                            : QByteArray::fromRawData(path.constData(), slash));
    item.rules = m_folders.rules();
}

bool LookAhead::handOver(std::vector<LookedUp> &batch) {
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

} // namespace plenvoy::undo
