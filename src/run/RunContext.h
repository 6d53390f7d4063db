#pragma once

#include "RunOutcome.h"
#include "copying/ListedPlacement.h"
#include "copying/OutputLayout.h"
#include "naming/RunChoices.h"
#include "records/CopiedIndex.h"
#include "records/RecordWriter.h"

#include <QString>

#include <optional>

namespace plenvoy {

class ClockProvider;
class FileTimeProvider;
class RunInputs;
class Trap;
class WindowPort;

/// What one run holds while it goes: the files it wrote (shared with the run it was started
/// inside, if any), the listed files its copies must never replace, the layout folders it
/// made, its record and the index of what it copied. It places one listed entry at a time.
class RunContext final {
public:
    /// The inputs as read when the loop starts: the entries to reach, the answer to "Enter n:"
    /// (none when the option has no n) and the run's choices.
    RunContext(RunInputs &inputs, WindowPort &ui, Trap &trap, int count,
               const std::optional<QString> &nthAnswer, const RunChoices &choices,
               const ClockProvider &clock, const FileTimeProvider &times,
               const CopyHooks &copyHooks);
    ~RunContext();
    RunContext(const RunContext &) = delete;
    RunContext &operator=(const RunContext &) = delete;

    /// Reads, names and copies the entry at a 1-based position; the file's outcome is noted
    /// in the record. n as converted, once it was read.
    FileOutcome placeEntry(int position);
    std::optional<qint16> nthValue() const { return m_nthValue; }
    /// Writes the record's and the index's lines so far; the record's end too once the loop
    /// ended. Both are on disk before the closing box is shown.
    void finish();
    /// What the record holds so far, for the outcome.
    void keepRecord(RunOutcome &outcome) const;

private:
    QString nameEntry(int position, const QString &sourcePath, const SourceFile *source,
                      QString &relative);
    /// A copy left out as copied before keeps its name for the rest of the run, as a copy
    /// the run made would: a later entry from another source that meets it is numbered.
    void holdSkippedName(const FileOutcome &file, const struct statx &source);
    bool copyEntry(int position, const QString &sourcePath, const QString &relative,
                   const QString &destination, const SourceFile *source, FileOutcome &file);

    RunInputs &m_inputs;
    WindowPort &m_ui;
    Trap &m_trap;
    QString m_nthText;
    bool m_answeredN = false;
    std::optional<qint16> m_nthValue;
    const RunChoices m_choices;
    const ClockProvider &m_clock;
    const FileTimeProvider &m_times;
    /// The written files of the outermost run in progress: a run started inside another
    /// (from the window's event processing) sees the copies of the one it interrupted as its
    /// own, so it never replaces them.
    WrittenFiles m_ownWritten;
    WrittenFiles &m_written;
    RunContext *m_enclosing = nullptr;
    ProtectedFiles m_listed;
    PlacementContext m_placement;
    RecordWriter m_record;
    LayoutFolders m_layoutFolders;
    RunCopies m_copies;
    qint64 m_sourceSize = 0;
    /// The file times are read from the opened source's own status (not a test's times).
    bool m_composeFromOpenedSource = false;
};

} // namespace plenvoy
