#include "CliCommands.h"
#include "CliOutput.h"
#include "CliSources.h"
#include "CliWindowPort.h"

#include "core/PathHelpers.h"
#include "filelist/FileList.h"
#include "naming/FileMoment.h"
#include "naming/RegionalForms.h"
#include "run/NamePlanner.h"
#include "run/StartChanging.h"

#include <optional>

namespace plenvoy::cli {

int dryRun(const CliRequest &request) {
    const RequestClock requestClock(request);
    const ClockProvider &clock = requestClock.clock();
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

} // namespace plenvoy::cli
