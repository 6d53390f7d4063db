#include "NthValue.h"

#include "core/Failure.h"

#include <cmath>

#include <locale.h>
#include <stdlib.h>

namespace plenvoy {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

/// The number's characters without the surrounding blanks, or empty when the text does
/// not read as a number.
QByteArray numberPart(const QString &text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    qsizetype i = begin;
    if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < end && isDigit(text.at(i))) {
        ++i;
        ++digits;
    }
    if (i < end && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < end && isDigit(text.at(i))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return QByteArray();
    if (i < end && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ++i;
        if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
            ++i;
        qsizetype exponentDigits = 0;
        while (i < end && isDigit(text.at(i))) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return QByteArray();
    }
    if (i != end)
        return QByteArray();
    return text.mid(begin, end - begin).toLatin1();
}

} // namespace

bool readsAsNumber(const QString &text) {
    return !numberPart(text).isEmpty();
}

qint16 convertNthValue(const QString &text) {
    const QByteArray number = numberPart(text);
    if (number.isEmpty())
        throwFailure(ErrorNumber::TypeMismatch);
    // The C locale's reading, whatever the program's numeric locale: "." is the separator.
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    // Too large for a double gives infinity, too small gives 0.
    const double value = ::strtod_l(number.constData(), nullptr, cLocale);
    if (!std::isfinite(value))
        throwFailure(ErrorNumber::Overflow);
    const double rounded = std::nearbyint(value); // the default mode rounds half to even
    if (rounded < -32768.0 || rounded > 32767.0)
        throwFailure(ErrorNumber::Overflow);
    return qint16(rounded);
}

} // namespace plenvoy
