#pragma once

#include "naming/RunChoices.h"
#include "run/NamePlanner.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QThreadPool>

#include <atomic>
#include <limits>
#include <memory>
#include <optional>

class QFileSystemWatcher;
class QTimer;

namespace plenvoy {

class FileList;
class TakenTimeCache;

// The preview's texts, as the user sees them once shownText() has put them in the window's
// language.
inline const QString kHeaderNewName = QStringLiteral(QT_TRANSLATE_NOOP("NewName", "New Name"));
/// %1 is n as last answered to "Enter n:".
inline const QString kHeaderNewNameWithN =
    QStringLiteral(QT_TRANSLATE_NOOP("NewName", "New Name (n = %1)"));
inline const QString kHeaderNewNameWithoutN =
    QStringLiteral(QT_TRANSLATE_NOOP("NewName", "New Name (n not yet given)"));
inline const QString kPreviewReplaces =
    QStringLiteral(QT_TRANSLATE_NOOP("NewName", "%1 (replaces the file of that name)"));
inline const QString kPreviewNotCopied =
    QStringLiteral(QT_TRANSLATE_NOOP("NewName", "not copied: %1"));
inline const QString kPreviewReading =
    QStringLiteral(QT_TRANSLATE_NOOP("NewName", "reading\u2026"));
/// The tooltip of a row: %1 the source, %2 the new path.
inline const QString kPreviewToolTip = QStringLiteral("%1\n%2");
/// The colours of a refusal, on a light and on a dark list.
inline const QColor kWarningOnLight{0xB0, 0x00, 0x20};
inline const QColor kWarningOnDark{0xFF, 0x6B, 0x6B};

/// The file list with a second column, "New Name": what "Start Changing" would do with each
/// entry if pressed now. The names of the visible rows are composed at once when they are
/// asked for; the whole plan (clashes and refusals) is computed on a worker thread over a
/// snapshot of the list and shown when it is done, unless the inputs changed meanwhile.
class NewNamePreview final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit NewNamePreview(FileList &list, QObject *parent = nullptr);
    ~NewNamePreview() override;

    void setOption(const QString &optionText);
    void setOutputFolder(const QString &folder);
    /// The run's choices: any change of any of them plans the column again.
    void setChoices(const RunChoices &choices);
    /// n as last answered to "Enter n:"; nullopt before any answer (the names use n = 0).
    void setLastN(std::optional<qint16> n);
    std::optional<qint16> lastN() const { return m_lastN; }
    /// Whether the list's base colour is dark, which picks the warning colour.
    void setDarkBase(bool dark);
    /// Starts and stops the clock's refresh (the window shown or hidden).
    void setClockRunning(bool running);
    /// The output folder may have changed behind the watcher's back (the window came back).
    void recheck();

    /// True while a plan is being computed, or is due.
    bool planning() const { return m_running || m_due; }
    /// The verdict shown for a row, when the whole plan for the current inputs is known.
    std::optional<Verdict> verdictAt(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    /// A whole plan for the current inputs is shown.
    void planShown();

private:
    /// A row of the plan in eight bytes: its name is composed again when it is shown.
    struct Row {
        Verdict verdict : 8;
        CopyProblem problem : 8;
        /// Numbered: the number; NotCopied: the error number.
        qint32 value;
    };
    static_assert(sizeof(Row) == 8);
    struct Plan {
        quint64 generation = 0;
        QList<Row> rows;
        /// The rows of files copied before, with the words that say when and as what.
        QHash<int, QString> copiedBefore;
    };

    PlanRequest request() const;
    /// The inputs changed: the shown plan is stale. A new one starts at once, or at most a
    /// second after the last one started.
    void inputsChanged(bool atOnce = true);
    void schedulePlan();
    void startPlan();
    void planDone(Plan plan);
    void clockTick();
    void watchFolder();
    void refreshColumn();
    QString quickName(int row, bool &reading) const;
    QString newPath(int row) const;
    /// The row's new name as the plan decided it; empty when it is not copied.
    QString plannedName(int row, bool &reading) const;

    FileList &m_list;
    QString m_option;
    QString m_folder;
    RunChoices m_style;
    std::optional<qint16> m_lastN;
    bool m_darkBase = false;

    quint64 m_generation = 1;
    Plan m_shown;
    /// Names composed on demand for visible rows, for the current inputs and second.
    mutable QHash<int, QString> m_quick;
    mutable qint64 m_quickSecond = -1;
    /// The rows of "New Name" that views asked for since the last refresh.
    mutable int m_askedFirst = std::numeric_limits<int>::max();
    mutable int m_askedLast = -1;

    QThreadPool m_pool;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::shared_ptr<TakenTimeCache> m_taken;
    bool m_running = false;
    bool m_due = false;
    bool m_dueAtOnce = false;
    QElapsedTimer m_sinceStart;
    /// Since the list last grew.
    QElapsedTimer m_growth;
    QTimer *m_planTimer = nullptr;
    QTimer *m_clock = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
};

} // namespace plenvoy
