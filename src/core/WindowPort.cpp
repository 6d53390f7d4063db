#include "WindowPort.h"

#include "ErrorReport.h"

namespace plenvoy {

WindowPort::~WindowPort() = default;

void WindowPort::showMessageWithDetails(const QString &text, const QString &informativeText) {
    Q_UNUSED(informativeText);
    showMessage(text);
}

bool WindowPort::showClosingBox(const QString &text, const QString &informativeText, bool canUndo) {
    Q_UNUSED(canUndo);
    showMessageWithDetails(text, informativeText);
    return false;
}

void WindowPort::reportError(const ErrorDetails &details) {
    showErrorReport(errorReportText(details));
}

} // namespace plenvoy
