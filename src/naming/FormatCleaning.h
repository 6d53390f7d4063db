#pragma once

#include <QString>

namespace plenvoy {

/// Reads the quoted text that begins at format[i] (a "'") as QLocale does: "''" is a quote
/// mark, inside quoted text too. Returns the index after it and puts its text in literal
/// (when given).
qsizetype readQuoted(const QString &format, qsizetype i, QString *literal);

/// Writes every year of a date or time format with four digits and drops its time-zone
/// part together with the brackets, blanks or separators that only framed it (a zone makes
/// no sense in a file name, and its brackets or commas would be left empty); quoted text
/// is left alone.
QString adjustFormat(const QString &format);

} // namespace plenvoy
