#include "CliRun.h"

#include "CliOutput.h"
#include "CliWindowPort.h"
#include "ProgressLine.h"

#include "core/ErrorReport.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "filelist/AddFiles.h"
#include "filelist/FileList.h"
#include "naming/ComposeNewName.h"
#include "naming/RegionalForms.h"
#include "naming/TakenTime.h"
#include "run/NamePlanner.h"
#include "run/StartChanging.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include <unistd.h>

namespace plenvoy::cli {

namespace {

const QString kModesNotKept =
    QStringLiteral(": its file system does not keep permission bits; the copies have none of the "
                   "sources'");

/// Prints the error reports that reach the window, naming the entry they concern, or else
/// the subject in hand (the folder being walked).
void reportErrorsAbout(CliWindowPort &ui, const std::optional<QString> *subject, int &errors) {
    ui.onErrorReport = [subject, &errors](const ErrorDetails &details) {
        ++errors;
        const std::optional<QString> about =
            details.entry ? details.entry : (subject ? *subject : std::nullopt);
        printError(about, details.routine.isEmpty()
                              ? details.description
                              : details.description + QStringLiteral(" (") +
                                    errorLocationText(details) + QLatin1Char(')'));
    };
}

} // namespace

namespace {

/// The window leaves such folders out without a word; a script is told each one.
void reportLeftOutFolder(const QString &folder, LeftOutReason reason) {
    QString why;
    switch (reason) {
    case LeftOutReason::Unreadable:
        why = QStringLiteral("it cannot be read");
        break;
    case LeftOutReason::ControlCharacter:
        why = QStringLiteral("its name holds a control character");
        break;
    case LeftOutReason::PathTooLong:
        why = QStringLiteral("its path is too long");
        break;
    }
    printWarning(folder + QStringLiteral(": left out, ") + why);
}

} // namespace

int addSources(FileList &list, const QList<CliSource> &sources, CliWindowPort &ui,
               QList<bool> *seenRegular) {
    int errors = 0;
    std::optional<QString> subject;
    reportErrorsAbout(ui, &subject, errors);
    for (const CliSource &source : sources) {
        if (source.kind == CliSource::Kind::Path) {
            list.append(source.text);
            if (seenRegular)
                seenRegular->append(false);
            continue;
        }
        // The walk of a missing folder lists nothing, as in the window; say so here.
        if (!FolderExists(source.text))
            printWarning(source.text + QStringLiteral(": no such folder, nothing added from it"));
        subject = source.text;
        addFolderTree(list, source.text, source.extension, ui, reportLeftOutFolder, seenRegular);
    }
    ui.onErrorReport = nullptr;
    return errors;
}

int dryRun(const CliRequest &request) {
    const FixedClock fixed(request.at.value_or(QDateTime()));
    const ClockProvider &clock =
        request.at ? static_cast<const ClockProvider &>(fixed) : systemClock();
    CliWindowPort ui(request.nthText);
    FileList list;
    QList<bool> seenRegular;
    int status =
        addSources(list, request.sources, ui, &seenRegular) == 0 ? kExitSuccess : kExitFailures;
    // Against a folder, the run's own refusals come first, as the run gives them.
    if (request.outputFolderGiven) {
        if (list.count() == 0) {
            printError(std::nullopt, kMessageNoFiles);
            return kExitFailures;
        }
        if (!FolderExists(request.outputFolder)) {
            printError(std::nullopt, kMessageFolderMissing);
            return kExitFailures;
        }
    }
    PlanRequest plan{request.optionText, request.nthValue, request.style,
                     request.outputFolderGiven ? std::optional<QString>(request.outputFolder)
                                               : std::nullopt};
    const QStringList entries = list.entries();
    NamePlanner planner(plan, entries, clock, systemFileTimes(), RegionalForms::system());
    planner.setListedThrough([&list](int index) { return list.listedThroughAt(index + 1); });
    planner.setSeenRegular([&seenRegular](int index) { return seenRegular.value(index); });
    RecordWriter records(request.nullSeparated);
    for (int position = 1; !planner.atEnd(); ++position) {
        const PlannedName planned = planner.next();
        const QString &path = entries.at(position - 1);
        if (planned.failure) {
            printError(path, planned.failure->description);
            status = kExitFailures;
        }
        if (planned.copied()) {
            records.write(position, {planned.destination});
            continue;
        }
        // An empty line keeps the lines beside their sources.
        records.write(position, {QString()});
        if (!planned.failure || request.outputFolderGiven)
            printError(path, QStringLiteral("not copied: ") + planned.reason);
        status = kExitFailures;
    }
    return records.lineBreakSeen() ? kExitFailures : status;
}

namespace {

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

} // namespace

int copyListedFiles(const CliRequest &request) {
    const FixedClock fixed(request.at.value_or(QDateTime()));
    const ClockProvider &clock =
        request.at ? static_cast<const ClockProvider &>(fixed) : systemClock();
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
    // Each file is told as the run reaches it: nothing waits in memory for the run's end.
    RecordWriter records(request.nullSeparated);
    const bool outputIsTerminal = ::isatty(STDOUT_FILENO) == 1;
    std::set<QString> foldersWithoutModes;
    const auto tell = [&](const FileOutcome &file) {
        // Said once per output folder: its copies were kept without the permission bits.
        if (file.copied() && file.modeNotKept) {
            QString folder = FolderOf(file.destination);
            if (folder.size() > 1)
                folder.chop(1);
            if (foldersWithoutModes.insert(folder).second) {
                progress.finish();
                printWarning(folder + kModesNotKept);
            }
        }
        if (file.copied()) {
            if (outputIsTerminal)
                progress.finish();
            records.write(file.position, {file.source, file.destination});
            return;
        }
        progress.finish();
        printError(file.source, QStringLiteral("not copied: ") + file.reason);
    };
    const RunOutcome outcome =
        startChanging(inputs, ui, clock, systemFileTimes(), request.style, tell);
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
    const bool clean = finished && notCopied == 0 && addingErrors == 0 && runErrors == 0 &&
                       !records.lineBreakSeen();
    return clean ? kExitSuccess : kExitFailures;
}

} // namespace plenvoy::cli
