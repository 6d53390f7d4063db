#include "NewNamePreview.h"

#include "copying/ListedPlacement.h"
#include "copying/OutputLayout.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "core/Translation.h"
#include "filelist/FileList.h"
#include "naming/ComposeNewName.h"
#include "naming/FileMoment.h"
#include "naming/NewNameOf.h"
#include "naming/RegionalForms.h"
#include "naming/RenameOptions.h"
#include "naming/TakenTime.h"
#include "run/RunOutcome.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QMutex>
#include <QMutexLocker>
#include <QTimer>

#include <array>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <sys/stat.h>

namespace plenvoy {

namespace {

/// The whole plan starts again at most this often while the clock changes the names.
constexpr int kPlanIntervalMs = 1000;
/// A growing list (a folder being added) is planned once it has not grown for this long.
constexpr int kQuietAfterGrowthMs = 250;

} // namespace

/// The moments photos and videos were taken, per file (device, inode, size and modification
/// time), so that another option or form does not read them again. Shared between threads.
class TakenTimeCache final {
public:
    using Key = std::array<qint64, 5>;
    static std::optional<Key> keyOf(const QString &path) {
        struct statx status {};
        const QByteArray bytes = pathToBytes(path);
        if (bytes.isEmpty() ||
            ::statx(AT_FDCWD, bytes.constData(), 0, STATX_BASIC_STATS, &status) != 0)
            return std::nullopt;
        return Key{qint64(status.stx_dev_major) << 32 | status.stx_dev_minor,
                   qint64(status.stx_ino), qint64(status.stx_size), status.stx_mtime.tv_sec,
                   status.stx_mtime.tv_nsec};
    }
    /// The cached answer: nullopt when the file was not read yet.
    std::optional<std::optional<LocalMoment>> find(const Key &key) const {
        const QMutexLocker lock(&m_mutex);
        const auto found = m_times.find(key);
        if (found == m_times.end())
            return std::nullopt;
        return found->second;
    }
    void store(const Key &key, std::optional<LocalMoment> taken) {
        const QMutexLocker lock(&m_mutex);
        m_times[key] = taken;
    }

private:
    mutable QMutex m_mutex;
    std::map<Key, std::optional<LocalMoment>> m_times;
};

namespace {

/// The creation time of a photo or video as taken, through the cache: the worker reads
/// what is missing; the window's own lookups never read a file, and say when one is missing.
/// Like the run's reader, it gives a photo's wall-clock time without any conversion.
class CachedTakenTimes final : public TakenMomentTimes {
public:
    CachedTakenTimes(const FileTimeProvider &files, TakenTimeCache &cache, bool read,
                     qint64 shiftSeconds)
        : TakenMomentTimes(files)
        , m_cache(cache)
        , m_read(read)
        , m_shift(shiftSeconds) {}

    bool missing() const { return m_missing; }

protected:
    std::optional<LocalMoment> taken(const QString &path) const override {
        const std::optional<TakenTimeCache::Key> key = TakenTimeCache::keyOf(path);
        if (!key)
            return std::nullopt;
        std::optional<std::optional<LocalMoment>> cached = m_cache.find(*key);
        if (!cached) {
            if (!m_read) {
                m_missing = true;
                return std::nullopt;
            }
            cached = takenMomentOfFile(path, m_shift);
            m_cache.store(*key, *cached);
        }
        return *cached;
    }

private:
    TakenTimeCache &m_cache;
    bool m_read;
    qint64 m_shift;
    mutable bool m_missing = false;
};

bool usesClock(const QString &optionText) {
    for (const RenameOption &option : renameOptions()) {
        if (option.text == optionText)
            return option.source == TimeSource::Clock;
    }
    return false;
}

} // namespace

NewNamePreview::NewNamePreview(FileList &list, QObject *parent)
    : QAbstractTableModel(parent)
    , m_list(list)
    , m_cancel(std::make_shared<std::atomic<bool>>(false))
    , m_taken(std::make_shared<TakenTimeCache>()) {
    m_pool.setMaxThreadCount(1);
    m_planTimer = new QTimer(this);
    m_planTimer->setSingleShot(true);
    connect(m_planTimer, &QTimer::timeout, this, &NewNamePreview::startPlan);
    m_clock = new QTimer(this);
    m_clock->setInterval(kPlanIntervalMs);
    connect(m_clock, &QTimer::timeout, this, &NewNamePreview::clockTick);
    m_watcher = new QFileSystemWatcher(this);
    // A folder being written into (a run in progress) is planned again at most once a second.
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        watchFolder();
        inputsChanged(false);
    });

    // The list's own changes, passed on as the table's.
    connect(&list, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex &, int first, int last) {
                beginInsertRows(QModelIndex(), first, last);
            });
    connect(&list, &QAbstractItemModel::rowsInserted, this, [this] {
        endInsertRows();
        // A growing list (a folder being walked) is planned once it stops growing: a plan
        // meanwhile would be stale at once and would slow the walk.
        m_growth.start();
        inputsChanged(false);
    });
    connect(&list, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) {
                beginRemoveRows(QModelIndex(), first, last);
            });
    connect(&list, &QAbstractItemModel::rowsRemoved, this, [this] {
        endRemoveRows();
        inputsChanged();
    });
    connect(&list, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(&list, &QAbstractItemModel::modelReset, this, [this] {
        endResetModel();
        inputsChanged();
    });
    connect(&list, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) {
                Q_EMIT dataChanged(index(from.row(), 0), index(to.row(), 0));
                inputsChanged();
            });
}

NewNamePreview::~NewNamePreview() {
    m_cancel->store(true);
    m_pool.waitForDone();
}

void NewNamePreview::setOption(const QString &optionText) {
    if (optionText == m_option)
        return;
    m_option = optionText;
    Q_EMIT headerDataChanged(Qt::Horizontal, 1, 1);
    inputsChanged();
}

void NewNamePreview::setOutputFolder(const QString &folder) {
    if (folder == m_folder)
        return;
    m_folder = folder;
    watchFolder();
    inputsChanged();
}

void NewNamePreview::setChoices(const RunChoices &choices) {
    if (choices == m_style)
        return;
    // The moments read so far were shifted by the old amount: they are read again.
    if (choices.takenShift != m_style.takenShift)
        m_taken = std::make_shared<TakenTimeCache>();
    m_style = choices;
    inputsChanged();
}

void NewNamePreview::setLastN(std::optional<qint16> n) {
    if (n == m_lastN)
        return;
    m_lastN = n;
    Q_EMIT headerDataChanged(Qt::Horizontal, 1, 1);
    if (needsNthValue(m_option))
        inputsChanged();
}

void NewNamePreview::setDarkBase(bool dark) {
    m_darkBase = dark;
    refreshColumn();
}

void NewNamePreview::setClockRunning(bool running) {
    if (!running)
        m_clock->stop();
    else if (!m_clock->isActive())
        m_clock->start();
}

void NewNamePreview::recheck() {
    watchFolder();
    inputsChanged();
}

void NewNamePreview::watchFolder() {
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    if (FolderExists(m_folder))
        m_watcher->addPath(m_folder);
}

PlanRequest NewNamePreview::request() const {
    // Before n is given the names show n = 0; an option without n has n = -1, as in a run.
    const qint16 n = needsNthValue(m_option) ? m_lastN.value_or(0) : qint16(-1);
    return PlanRequest{m_option, n, m_style, m_folder};
}

void NewNamePreview::refreshColumn() {
    // Only the rows a view showed since the last refresh: a view measures every row of a
    // changed range, which for a million rows would freeze the window.
    const int last = qMin(m_askedLast, rowCount() - 1);
    const int first = m_askedFirst;
    m_askedFirst = std::numeric_limits<int>::max();
    m_askedLast = -1;
    if (first <= last)
        Q_EMIT dataChanged(index(first, 1), index(last, 1));
}

void NewNamePreview::inputsChanged(bool atOnce) {
    ++m_generation;
    m_quick.clear();
    refreshColumn();
    // A plan for other inputs is of no use: it stops, and a new one starts.
    m_cancel->store(true);
    if (!atOnce) {
        schedulePlan();
        return;
    }
    m_due = true;
    m_dueAtOnce = true;
    if (!m_running)
        m_planTimer->start(0);
}

void NewNamePreview::schedulePlan() {
    m_due = true;
    if (m_running || m_planTimer->isActive())
        return;
    const qint64 waited = m_sinceStart.isValid() ? m_sinceStart.elapsed() : kPlanIntervalMs;
    m_planTimer->start(int(qMax<qint64>(0, kPlanIntervalMs - waited)));
}

void NewNamePreview::clockTick() {
    if (!usesClock(m_option))
        return;
    // The visible rows show the new second at once; the whole plan follows.
    m_quick.clear();
    refreshColumn();
    schedulePlan();
}

void NewNamePreview::startPlan() {
    if (m_running || !m_due)
        return;
    if (m_growth.isValid() && m_growth.elapsed() < kQuietAfterGrowthMs) {
        m_planTimer->start(int(kQuietAfterGrowthMs - m_growth.elapsed()));
        return;
    }
    m_due = false;
    m_dueAtOnce = false;
    m_running = true;
    m_sinceStart.start();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    const quint64 generation = m_generation;
    const PlanRequest planRequest = request();
    FileList::Snapshot snapshot = m_list.snapshot();
    m_pool.start([this, generation, planRequest, snapshot = std::move(snapshot), cancel = m_cancel,
                  taken = m_taken] {
        Plan plan;
        plan.generation = generation;
        {
            const CachedTakenTimes takenTimes(systemFileTimes(), *taken, true,
                                              planRequest.style.takenShift);
            NamePlanner planner(
                planRequest, snapshot.count(),
                [&snapshot](int index) { return snapshot.textAt(index); }, systemClock(),
                systemFileTimes(), RegionalForms::system());
            planner.setTakenTimes(&takenTimes);
            planner.setListedThrough(
                [&snapshot](int index) { return snapshot.listedThroughAt(index); });
            plan.rows.reserve(snapshot.count());
            while (!planner.atEnd() && !cancel->load(std::memory_order_relaxed)) {
                const PlannedName planned = planner.next();
                if (planned.problem == CopyProblem::CopiedBefore)
                    plan.copiedBefore.insert(int(plan.rows.size()), planned.reason);
                plan.rows.append(Row{planned.verdict, planned.problem,
                                     planned.verdict == Verdict::Numbered ? planned.number
                                                                          : planned.errorNumber});
            }
        }
        if (cancel->load())
            plan.rows.clear();
        // The planner's index of names is gone: its memory goes back to the system.
        ::malloc_trim(0);
        // The window owns the result from here; the pool outlives this call.
        QMetaObject::invokeMethod(
            this, [this, plan = std::move(plan)]() mutable { planDone(std::move(plan)); },
            Qt::QueuedConnection);
    });
}

void NewNamePreview::planDone(Plan plan) {
    m_running = false;
    if (plan.generation == m_generation && plan.rows.size() == rowCount()) {
        m_shown = std::move(plan);
        m_quick.clear();
        refreshColumn();
        Q_EMIT planShown();
    } else if (plan.generation != m_generation) {
        m_due = true;
    }
    if (m_due && !m_planTimer->isActive()) {
        const qint64 waited = m_dueAtOnce ? kPlanIntervalMs : m_sinceStart.elapsed();
        m_planTimer->start(int(qMax<qint64>(0, kPlanIntervalMs - waited)));
    }
}

std::optional<Verdict> NewNamePreview::verdictAt(int row) const {
    if (m_shown.generation != m_generation || row < 0 || row >= m_shown.rows.size())
        return std::nullopt;
    return m_shown.rows.at(row).verdict;
}

QString NewNamePreview::quickName(int row, bool &reading) const {
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != m_quickSecond && usesClock(m_option)) {
        m_quick.clear();
        m_quickSecond = second;
    }
    const auto known = m_quick.constFind(row);
    if (known != m_quick.cend())
        return known.value();
    const QString source = m_list.textAt(row + 1);
    const PlanRequest planRequest = request();
    const CachedTakenTimes takenTimes(systemFileTimes(), *m_taken, false, m_style.takenShift);
    QString name;
    try {
        const NamingRule rule{planRequest.optionText, planRequest.nthValue, m_style};
        const QString through =
            rule.needsListedThrough() ? m_list.listedThroughAt(row + 1) : QString();
        const NewName newName = NewNameOf({source, through}, rule, systemClock(), systemFileTimes(),
                                          takenTimes, RegionalForms::system());
        // A name that can't be composed leaves the copy its source's own, as in a run.
        name = FileNameOf(newName.composed).isEmpty()
                   ? layoutPath(newName.folder, FileNameOf(source))
                   : newName.relativePath();
    } catch (const std::exception &) {
        name = FileNameOf(source);
    }
    if (takenTimes.missing()) {
        reading = true;
        return shownText("NewName", kPreviewReading);
    }
    m_quick.insert(row, name);
    return name;
}

QString NewNamePreview::plannedName(int row, bool &reading) const {
    const QString name = quickName(row, reading);
    if (reading || m_shown.generation != m_generation || row >= m_shown.rows.size())
        return name;
    const Row &planned = m_shown.rows.at(row);
    switch (planned.verdict) {
    case Verdict::Numbered:
        return numberedName(name, planned.value);
    case Verdict::NotCopied:
        return QString();
    case Verdict::Copy:
    case Verdict::Replaces:
        break;
    }
    return name;
}

QString NewNamePreview::newPath(int row) const {
    bool reading = false;
    const QString name = plannedName(row, reading);
    return reading || name.isEmpty()
               ? QString()
               : collapseDoubledSeparators(m_folder + platformSeparator() + name);
}

int NewNamePreview::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_list.count();
}

int NewNamePreview::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant NewNamePreview::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const int row = index.row();
    if (role == Qt::ToolTipRole) {
        const QString source = pathForDisplay(m_list.textAt(row + 1));
        const QString target = newPath(row);
        return target.isEmpty() ? source : kPreviewToolTip.arg(source, pathForDisplay(target));
    }
    if (index.column() == 0)
        return m_list.data(m_list.index(row), role);
    m_askedFirst = qMin(m_askedFirst, row);
    m_askedLast = qMax(m_askedLast, row);
    const bool shown = m_shown.generation == m_generation && row < m_shown.rows.size();
    if (role == Qt::ForegroundRole) {
        if (shown && m_shown.rows.at(row).verdict == Verdict::NotCopied)
            return m_darkBase ? kWarningOnDark : kWarningOnLight;
        return QVariant();
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    bool reading = false;
    const QString name = plannedName(row, reading);
    if (reading || !shown)
        return reading ? name : pathForDisplay(name);
    const Row &planned = m_shown.rows.at(row);
    switch (planned.verdict) {
    case Verdict::Copy:
    case Verdict::Numbered:
        return pathForDisplay(name);
    case Verdict::Replaces:
        return shownText("NewName", kPreviewReplaces).arg(pathForDisplay(name));
    case Verdict::NotCopied:
        break;
    }
    if (planned.problem == CopyProblem::CopiedBefore)
        return shownText("NewName", kPreviewNotCopied).arg(m_shown.copiedBefore.value(row));
    return shownText("NewName", kPreviewNotCopied)
        .arg(shownReason(copyProblemText(planned.problem, planned.value)));
}

QVariant NewNamePreview::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section != 1)
        return m_list.headerData(section, orientation, role);
    if (!needsNthValue(m_option))
        return shownText("NewName", kHeaderNewName);
    return m_lastN ? shownText("NewName", kHeaderNewNameWithN).arg(*m_lastN)
                   : shownText("NewName", kHeaderNewNameWithoutN);
}

} // namespace plenvoy
