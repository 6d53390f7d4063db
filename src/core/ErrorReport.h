#pragma once

#include <QString>

#include <optional>

namespace plenvoy {

class WindowPort;

/// One error report as the fronts receive it: the routine's location tag, the step's line,
/// the error's number and text, and the list entry the step concerned, when it concerned one.
struct ErrorDetails {
    QString routine;
    qint32 step = 0;
    int number = 0;
    QString description;
    std::optional<QString> entry;
};

/// The support address compiled into the program.
QString supportAddress();

/// The report's text: the description, CR LF, the tag, "at line ", the number, CR CR and
/// the request to email a screenshot to the support address.
QString errorReportText(const QString &description, const QString &tag, qint32 line);

/// The report's text for the details.
QString errorReportText(const ErrorDetails &details);
/// The location line: the tag, "at line " and the number.
QString errorLocationText(const ErrorDetails &details);

/// Shows the "Application Error" box through the window and returns when it is closed.
void showErrorReport(WindowPort &ui, const QString &description, const QString &tag, qint32 line);

} // namespace plenvoy
