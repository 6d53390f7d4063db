#include "ErrorReport.h"

#include "Failure.h"
#include "WindowPort.h"

namespace plenvoy {

QString supportAddress() {
    return QStringLiteral(PLENVOY_SUPPORT_ADDRESS);
}

QString errorReportText(const QString &description, const QString &tag, qint32 line) {
    return description + QStringLiteral("\r\n") + tag + QStringLiteral("at line ") +
           QString::number(line) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") + supportAddress();
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
