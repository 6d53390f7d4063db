#pragma once

#include "copying/ClashRule.h"
#include "copying/FilePlacement.h"
#include "core/ErrorReport.h"
#include "naming/NewNameOf.h"
#include "naming/RunChoices.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace plenvoy {

class ClockProvider;
class CopiedIndex;
class FileTimeProvider;
class RegionalForms;

inline const QString kReasonNameTooLongForAnyFolder =
    QStringLiteral(QT_TRANSLATE_NOOP("Run", "the name is too long for any folder"));

/// What a run would do with one listed file.
enum class Verdict {
    Copy,     ///< copied under its new name
    Numbered, ///< copied under a numbered name ("Base (2).ext") to avoid a clash
    Replaces, ///< copied over a file of that name that is in the output folder now
    NotCopied ///< left out, for the reason given
};

/// One listed file's new name, where its copy lands and what the run would do.
struct PlannedName {
    /// The composed path (the source path when composing failed).
    QString composed;
    /// Where the copy lands (numbered when Numbered); empty when no place was reached.
    QString destination;
    Verdict verdict = Verdict::Copy;
    /// Numbered: the file, or the earlier entry's source, that holds the composed name.
    QString clashWith;
    /// Numbered: the number the name got ("Base (2).ext" is 2).
    int number = 0;
    CopyProblem problem = CopyProblem::None;
    int errorNumber = 0;
    /// NotCopied: why, in the closing box's words.
    QString reason;
    /// The report of a step that failed for this file (composing the name).
    std::optional<ErrorDetails> failure;

    bool copied() const { return verdict != Verdict::NotCopied; }
};

/// The inputs of a plan: the option, n as converted, the stamp's style and the output folder
/// as typed. Without an output folder each name lands beside its source and only the list's
/// own entries are checked for clashes.
struct PlanRequest {
    QString optionText;
    qint16 nthValue = -1;
    RunChoices style;
    std::optional<QString> outputFolder;
};

/// The clash rule of a run, decided before anything is copied: for each listed file in list
/// order, its new name, its destination and what the run would do with it, against the files
/// in the output folder now, the copies of the earlier entries and the file's own source. The
/// preview, the dry run and the run share it; the run still checks each decision on the disk
/// at the moment it copies. Reads the disk, never writes it. Not thread-safe; one planner
/// per thread.
class NamePlanner final {
public:
    NamePlanner(PlanRequest request, QStringList entries, const ClockProvider &clock,
                const FileTimeProvider &times, const RegionalForms &forms);
    /// The entries read one by one, by 0-based index (a snapshot of a long list).
    NamePlanner(PlanRequest request, int count, std::function<QString(int)> entryAt,
                const ClockProvider &clock, const FileTimeProvider &times,
                const RegionalForms &forms);
    ~NamePlanner();
    NamePlanner(const NamePlanner &) = delete;
    NamePlanner &operator=(const NamePlanner &) = delete;

    int count() const { return m_count; }
    /// True once every entry was planned.
    bool atEnd() const { return m_next >= m_count; }
    /// Where "taken" creation times come from (a cache shared between planners); by default
    /// each file's metadata is read.
    void setTakenTimes(const FileTimeProvider *taken) { m_takenTimes = taken; }
    /// The folder each entry was listed through, by 0-based index (the tree layout keeps
    /// the path below it); by default every entry was listed on its own.
    void setListedThrough(std::function<QString(int)> listedThroughAt) {
        m_listedThroughAt = std::move(listedThroughAt);
    }
    /// Which entries, by 0-based index, a folder listing has just seen as regular files
    /// itself. Such an entry's status is read only when the plan needs more than that: its
    /// file times, the right to read it, or its identity when its name is found taken.
    void setSeenRegular(std::function<bool(int)> seen) { m_seenRegular = std::move(seen); }
    /// Plans the next entry, as if every earlier one had been copied as planned.
    PlannedName next();
    /// Plans every entry that is left; stops early when keepGoing answers false.
    QList<PlannedName> planAll(const std::function<bool()> &keepGoing = {});

private:
    struct Source;
    /// A file's identity and whether its copy would be read-only, read when first asked.
    struct Identity {
        bool read = false;
        bool known = false; ///< its status could be read
        dev_t device = 0;
        ino_t inode = 0;
        bool readOnly = false;
    };
    struct Planned {
        QString source;
        Identity identity;
    };
    struct Holder {
        NameHolder kind = NameHolder::Nothing;
        /// The file, or the earlier entry's source, that holds the name.
        QString who;
        int errorNumber = 0;
    };

    Source readSource(const QString &path);
    Source seenSource(const QString &path);
    /// The source's identity, its status read now when it was not read before.
    const Identity &identityOf(Source &source);
    QString compose(const QString &path, const Source &source, PlannedName &plan);
    Holder holderOf(const QString &key, Source &source);
    /// What the output folder holds under the key now, read from the disk.
    void readHolderFacts(const QString &key, Source &source, HolderFacts &facts);
    void decide(Source &source, const QString &target, PlannedName &plan);
    bool listed(dev_t device, ino_t inode);
    QString keyOf(const QString &target) const;
    bool onPseudoFileSystem(const QByteArray &bytes, dev_t device);
    /// Refuses the entry when its layout folder can't be reached; true when it was refused.
    bool refusedForLayoutFolder(const QString &key, PlannedName &plan);

    PlanRequest m_request;
    /// What the names are made from, for every entry.
    NamingRule m_rule;
    int m_count = 0;
    std::function<QString(int)> m_entryAt;
    int m_next = 0;
    const FileTimeProvider *m_takenTimes = nullptr;
    std::function<QString(int)> m_listedThroughAt;
    /// The folder below the output folder that the layout puts the entry in hand into.
    QString m_relative;
    /// Each layout folder's state once looked at: 0 there, ENOENT to be made, or an errno.
    QHash<QString, int> m_layoutFolders;
    /// The copies made before into the output folder, when files copied before are skipped.
    std::unique_ptr<CopiedIndex> m_copied;
    std::function<bool(int)> m_seenRegular;
    /// The option stamps a file time, so each source's status is read.
    bool m_needsFileTimes = true;
    const ClockProvider &m_clock;
    const FileTimeProvider &m_times;
    const RegionalForms &m_forms;
    /// The output folder, opened once (O_PATH); -1 when it does not exist or none is given.
    int m_folderFd = -1;
    bool m_folderWritable = true;
    int m_folderError = 0;
    qsizetype m_nameMax = 255;
    /// The copies of the earlier entries, by name in the output folder (by path without one).
    QHash<QString, Planned> m_planned;
    /// The listed files' identities (read when a name is first found taken) and, without an
    /// output folder, their paths.
    std::optional<QSet<QPair<quint64, quint64>>> m_listed;
    std::optional<QSet<QString>> m_listedPaths;
    QHash<dev_t, bool> m_pseudo;
    /// The folder of the last source read, opened once for the entries in it.
    QByteArray m_sourceFolder;
    int m_sourceFolderFd = -1;
};

} // namespace plenvoy
