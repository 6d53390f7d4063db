#include "CliCommands.h"
#include "CliOutput.h"

#include "records/RunUndo.h"

namespace plenvoy::cli {

int undoRun(const CliRequest &request) {
    // Each removed copy is told as it goes: nothing of a large run waits in memory.
    const UndoResult result = plenvoy::undoRun(request.undoId, request.undoDryRun, {},
                                               [](const QByteArray &path) { printOutLine(path); });
    switch (result.status) {
    case UndoResult::Status::UnknownId:
        printError(std::nullopt, QStringLiteral("no run on record has the id \"") + request.undoId +
                                     QStringLiteral("\" (see --runs)"));
        return kExitUsage;
    case UndoResult::Status::NoRun:
        printError(std::nullopt, QStringLiteral("no run on record is left to take back"));
        return kExitFailures;
    case UndoResult::Status::AlreadyUndone:
        printError(std::nullopt, QStringLiteral("the run ") + result.id +
                                     QStringLiteral(" was taken back before; nothing removed"));
        return kExitSuccess;
    case UndoResult::Status::Done:
        break;
    }
    for (const QString &line : result.damaged)
        printWarning(line);
    for (const LeftCopy &copy : result.left)
        printError(copy.path, copy.why);
    if (!result.markProblem.isEmpty())
        printWarning(QStringLiteral("the run could not be marked as undone: ") +
                     result.markProblem);
    const QString summary = request.undoDryRun
                                ? QStringLiteral("%1 would be removed, %2 would be left")
                                : QStringLiteral("%1 removed, %2 left");
    printErrorLine(summary.arg(result.removedCount).arg(result.left.size()));
    return result.left.isEmpty() ? kExitSuccess : kExitFailures;
}

} // namespace plenvoy::cli
