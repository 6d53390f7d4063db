#include "ErrorReport.h"

#include "Failure.h"
#include "Translation.h"
#include "WindowPort.h"

namespace plenvoy {

QString supportAddress() {
    return QStringLiteral(PLENVOY_SUPPORT_ADDRESS);
}

QString errorReportText(const QString &description, const QString &tag, qint32 line) {
    // The tag names a place in the code ("in ...Form_Load ") and is the same in every language.
    return shownText("ErrorReport", description) + QStringLiteral("\r\n") + tag +
           QCoreApplication::translate("ErrorReport", "at line %1").arg(line) +
           QStringLiteral("\r\r") +
           QCoreApplication::translate("ErrorReport",
                                       "Please email screenshot of this message to %1")
               .arg(supportAddress());
}

QString errorReportText(const ErrorDetails &details) {
    return errorReportText(details.description, details.routine, details.step);
}

QString errorLocationText(const ErrorDetails &details) {
    return details.routine + QStringLiteral("at line ") + QString::number(details.step);
}

void showErrorReport(WindowPort &ui, const QString &description, const QString &tag, qint32 line) {
    ui.reportError(ErrorDetails{tag, line, ErrorNumber::Other, description, std::nullopt});
}

} // namespace plenvoy
