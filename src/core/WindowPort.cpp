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

bool WindowPort::showRunClosingBox(const QString &text, const QString &informativeText,
                                   bool canUndo, const QString &writtenFolder) {
    Q_UNUSED(writtenFolder);
    return showClosingBox(text, informativeText, canUndo);
}

void WindowPort::reportError(const ErrorDetails &details) {
    showErrorReport(errorReportText(details));
}

} // namespace plenvoy
