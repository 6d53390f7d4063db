#include "CliSources.h"

#include "CliOutput.h"
#include "CliWindowPort.h"

#include "core/ErrorReport.h"
#include "core/PathHelpers.h"
#include "filelist/AddFiles.h"
#include "filelist/FileList.h"

namespace plenvoy::cli {

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

} // namespace plenvoy::cli
