#include "CliCommands.h"
#include "CliOutput.h"

#include "records/RunUndo.h"

namespace plenvoy::cli {

int listRuns() {
    QStringList damaged;
    const QList<RunSummary> runs = listRunRecords(&damaged);
    for (const QString &line : damaged)
        printWarning(line);
    for (const RunSummary &run : runs) {
        QString counts =
            QStringLiteral("%1 copied, %2 not copied").arg(run.copied).arg(run.notCopied);
        if (!run.finished)
            counts += QStringLiteral(", did not finish");
        if (run.undone)
            counts += QStringLiteral(", undone");
        printLine(run.id + QLatin1Char('\t') + run.start + QLatin1Char('\t') + run.front +
                  QLatin1Char('\t') + run.output + QLatin1Char('\t') + counts);
    }
    return kExitSuccess;
}

} // namespace plenvoy::cli
