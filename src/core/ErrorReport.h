#pragma once

#include <QString>

namespace plenvoy {

class WindowPort;

/// The support address compiled into the program.
QString supportAddress();

/// The report's text: the description, CR LF, the tag, "at line ", the number, CR CR and
/// the request to email a screenshot to the support address.
QString errorReportText(const QString &description, const QString &tag, qint32 line);

/// Shows the "Application Error" box through the window and returns when it is closed.
void showErrorReport(WindowPort &ui, const QString &description, const QString &tag, qint32 line);

} // namespace plenvoy
