#include "ErrorReport.h"

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

void showErrorReport(WindowPort &ui, const QString &description, const QString &tag, qint32 line) {
    ui.showErrorReport(errorReportText(description, tag, line));
}

} // namespace plenvoy
