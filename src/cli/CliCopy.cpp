#include "CliCommands.h"
#include "CliOutput.h"
#include "CliSources.h"
#include "CliWindowPort.h"
#include "ProgressLine.h"

#include "core/PathHelpers.h"
#include "filelist/FileList.h"
#include "naming/FileMoment.h"
#include "run/StartChanging.h"

#include <algorithm>
#include <set>

#include <unistd.h>

namespace plenvoy::cli {

namespace {

const QString kModesNotKept =
    QStringLiteral(": its file system does not keep permission bits; the copies have none of the "
                   "sources'");

/// The run reads the list itself, entry by entry: no second list of every path is made.
class ListInputs final : public RunInputs {
public:
    ListInputs(const FileList &list, const CliRequest &request)
        : m_list(list)
        , m_request(request) {}
    int fileCount() const override { return m_list.count(); }
    QString entryAt(int position) const override { return m_list.textAt(position); }
    QString outputFolderText() const override { return m_request.outputFolder; }
    QString optionText() const override { return m_request.optionText; }
    QString listedThrough(int position) const override { return m_list.listedThroughAt(position); }

private:
    const FileList &m_list;
    const CliRequest &m_request;
};

/// Tells each file as the run reaches it: nothing waits in memory for the run's end.
class FileTeller final {
public:
    FileTeller(RecordWriter &records, ProgressLine &progress)
        : m_records(records)
        , m_progress(progress) {}

    void tell(const FileOutcome &file) {
        // Said once per output folder: its copies were kept without the permission bits.
        if (file.copied() && file.modeNotKept) {
            QString folder = FolderOf(file.destination);
            if (folder.size() > 1)
                folder.chop(1);
            if (m_foldersWithoutModes.insert(folder).second) {
                m_progress.finish();
                printWarning(folder + kModesNotKept);
            }
        }
        if (file.copied()) {
            if (m_outputIsTerminal)
                m_progress.finish();
            m_records.write(file.position, {file.source, file.destination});
            return;
        }
        m_progress.finish();
        printError(file.source, QStringLiteral("not copied: ") + file.reason);
    }

private:
    RecordWriter &m_records;
    ProgressLine &m_progress;
    const bool m_outputIsTerminal = ::isatty(STDOUT_FILENO) == 1;
    std::set<QString> m_foldersWithoutModes;
};

/// The counts at the end of a finished or stopped run; true when every listed file was
/// copied or skipped as copied before.
bool tellCounts(const RunOutcome &outcome, const CliRequest &request) {
    if (!outcome.recordProblem.isEmpty())
        printWarning(outcome.recordProblem);
    const bool finished = outcome.end == RunOutcome::End::Finished;
    if (!finished)
        printError(std::nullopt, QStringLiteral("the run stopped before its end"));
    // Files the run never reached count as not copied.
    const int copied = outcome.copiedCount();
    // A file skipped as copied before was asked to be left out: no failure.
    const int skipped = outcome.skippedCount();
    const int notCopied = std::max(outcome.listed, outcome.reachedCount()) - copied - skipped;
    QString summary = QStringLiteral("%1 copied, %2 not copied").arg(copied).arg(notCopied);
    if (skipped > 0)
        summary += QStringLiteral(", %1 copied before").arg(skipped);
    if (outcome.renamedCount() > 0)
        summary += QStringLiteral(", %1 renamed to avoid a clash").arg(outcome.renamedCount());
    if (request.nullSeparated)
        printErrorLine(summary);
    else
        printLine(summary);
    return finished && notCopied == 0;
}

} // namespace

int copyListedFiles(const CliRequest &request) {
    const RequestClock requestClock(request);
    const ClockProvider &clock = requestClock.clock();
    CliWindowPort ui(request.nthText);
    FileList list;
    const int addingErrors = addSources(list, request.sources, ui);

    ListInputs inputs(list, request);
    int runErrors = 0;
    reportErrorsAbout(ui, nullptr, runErrors);
    ProgressLine progress(!request.quiet && standardErrorIsTerminal());
    ui.onProgress = [&progress](qint64 done, qint64 total) { progress.report(done, total); };
    // An error line starts on a line of its own; the progress comes back below it.
    ui.onErrorReport = [&progress, report = ui.onErrorReport](const ErrorDetails &details) {
        progress.finish();
        report(details);
    };
    RecordWriter records(request.nullSeparated);
    FileTeller teller(records, progress);
    const RunOutcome outcome =
        startChanging(inputs, ui, clock, systemFileTimes(), request.style,
                      [&teller](const FileOutcome &file) { teller.tell(file); });
    progress.finish();
    ui.onErrorReport = nullptr;

    // The run's refusals come before anything is done: no file touched, no summary.
    if (outcome.end == RunOutcome::End::NoFiles) {
        printError(std::nullopt, kMessageNoFiles);
        return kExitFailures;
    }
    if (outcome.end == RunOutcome::End::FolderMissing) {
        printError(std::nullopt, kMessageFolderMissing);
        return kExitFailures;
    }
    const bool clean = tellCounts(outcome, request) && addingErrors == 0 && runErrors == 0 &&
                       !records.lineBreakSeen();
    return clean ? kExitSuccess : kExitFailures;
}

} // namespace plenvoy::cli
