#include "StampPattern.h"

#include "RegionalForms.h"

#include <QLocale>

namespace plenvoy {

namespace {

constexpr char16_t kTokens[] = u"YymdeHIMSpbBaAjVGu%";

bool isToken(QChar c) {
    for (const char16_t token : kTokens)
        if (token != 0 && c.unicode() == token)
            return true;
    return false;
}

bool isRefused(QChar c) {
    switch (c.unicode()) {
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
    case 0x7f:
        return true;
    default:
        return c.unicode() < 0x20;
    }
}

int utf8Bytes(const QString &text) {
    return int(text.toUtf8().size());
}

/// The fewest and most bytes that one token can write in the locale.
std::pair<int, int> tokenBytes(QChar token, const RegionalForms &forms) {
    const QLocale &locale = forms.locale();
    auto span = [](int count, auto text) {
        int fewest = 1 << 20;
        int most = 0;
        for (int i = 1; i <= count; ++i) {
            const int bytes = utf8Bytes(text(i));
            fewest = qMin(fewest, bytes);
            most = qMax(most, bytes);
        }
        return std::pair<int, int>(fewest, most);
    };
    switch (token.unicode()) {
    case 'Y':
    case 'G':
        return {4, 4};
    case 'j':
        return {3, 3};
    case 'u':
    case '%':
        return {1, 1};
    case 'p':
        return span(2, [&forms](int i) { return i == 1 ? forms.amText() : forms.pmText(); });
    case 'b':
    case 'B': {
        const auto format = token == QLatin1Char('b') ? QLocale::ShortFormat : QLocale::LongFormat;
        return span(12, [&locale, format](int i) { return locale.monthName(i, format); });
    }
    case 'a':
    case 'A': {
        const auto format = token == QLatin1Char('a') ? QLocale::ShortFormat : QLocale::LongFormat;
        return span(7, [&locale, format](int i) { return locale.dayName(i, format); });
    }
    default:
        return {2, 2};
    }
}

void appendNumber(QString &out, int value, int width, QLatin1Char pad = QLatin1Char('0')) {
    const QString digits = QString::number(value);
    for (qsizetype i = digits.size(); i < width; ++i)
        out.append(pad);
    out.append(digits);
}

} // namespace

PatternCheck checkStampPattern(const QString &pattern, const RegionalForms &forms) {
    PatternCheck check;
    int fewest = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('/') || c.unicode() == 0)
            return {PatternFault::SlashOrNul, QString(c), 0};
        if (isRefused(c))
            return {PatternFault::RefusedCharacter, QString(c), 0};
        if (c != QLatin1Char('%')) {
            const int bytes = utf8Bytes(pattern.mid(i, c.isHighSurrogate() ? 2 : 1));
            if (c.isHighSurrogate())
                ++i;
            fewest += bytes;
            check.longestBytes += bytes;
            continue;
        }
        if (i + 1 == pattern.size() || !isToken(pattern.at(i + 1)))
            return {PatternFault::UnknownToken, pattern.mid(i, 2), 0};
        const std::pair<int, int> bytes = tokenBytes(pattern.at(++i), forms);
        fewest += bytes.first;
        check.longestBytes += bytes.second;
    }
    if (check.longestBytes > kLongestPatternStamp)
        check.fault = PatternFault::TooLong;
    else if (fewest == 0)
        check.fault = PatternFault::EmptyStamp;
    return check;
}

QString patternFaultText(const PatternCheck &check) {
    switch (check.fault) {
    case PatternFault::None:
        break;
    case PatternFault::SlashOrNul:
        return QStringLiteral("a stamp cannot hold \"/\" or a NUL character");
    case PatternFault::RefusedCharacter:
        return check.culprit.at(0).unicode() < 0x20 || check.culprit.at(0).unicode() == 0x7f
                   ? QStringLiteral("a stamp cannot hold a control character (a tab or a line "
                                    "break)")
                   : QStringLiteral("a stamp cannot hold \"") + check.culprit +
                         QStringLiteral("\": names on some drives refuse \\ : * ? \" < > |");
    case PatternFault::UnknownToken:
        return QStringLiteral("\"") + check.culprit +
               QStringLiteral("\" is not a token: use %Y %y %m %d %e %H %I %M %S %p %b %B %a "
                              "%A %j %V %G %u, or %% for \"%\"");
    case PatternFault::TooLong:
        return QStringLiteral("the stamp could take %1 bytes, more than 64")
            .arg(check.longestBytes);
    case PatternFault::EmptyStamp:
        return QStringLiteral("the stamp would be empty");
    }
    return QString();
}

QString patternStamp(const QString &pattern, const QDate &date, int secondsOfDay,
                     const RegionalForms &forms) {
    const QLocale &locale = forms.locale();
    const int hour = secondsOfDay / 3600;
    QString out;
    out.reserve(pattern.size() + 16);
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != QLatin1Char('%') || i + 1 == pattern.size() || !isToken(pattern.at(i + 1))) {
            out.append(c);
            continue;
        }
        switch (pattern.at(++i).unicode()) {
        case 'Y':
            appendNumber(out, date.year(), 4);
            break;
        case 'y':
            appendNumber(out, date.year() % 100, 2);
            break;
        case 'm':
            appendNumber(out, date.month(), 2);
            break;
        case 'd':
            appendNumber(out, date.day(), 2);
            break;
        case 'e':
            appendNumber(out, date.day(), 2, QLatin1Char(' '));
            break;
        case 'H':
            appendNumber(out, hour, 2);
            break;
        case 'I':
            appendNumber(out, hour % 12 == 0 ? 12 : hour % 12, 2);
            break;
        case 'M':
            appendNumber(out, secondsOfDay / 60 % 60, 2);
            break;
        case 'S':
            appendNumber(out, secondsOfDay % 60, 2);
            break;
        case 'p':
            out.append(hour < 12 ? forms.amText() : forms.pmText());
            break;
        case 'b':
            out.append(locale.monthName(date.month(), QLocale::ShortFormat));
            break;
        case 'B':
            out.append(locale.monthName(date.month(), QLocale::LongFormat));
            break;
        case 'a':
            out.append(locale.dayName(date.dayOfWeek(), QLocale::ShortFormat));
            break;
        case 'A':
            out.append(locale.dayName(date.dayOfWeek(), QLocale::LongFormat));
            break;
        case 'j':
            appendNumber(out, date.dayOfYear(), 3);
            break;
        case 'V':
            appendNumber(out, date.weekNumber(), 2);
            break;
        case 'G': {
            int weekYear = 0;
            date.weekNumber(&weekYear);
            appendNumber(out, weekYear, 4);
            break;
        }
        case 'u':
            appendNumber(out, date.dayOfWeek(), 1);
            break;
        default:
            out.append(QLatin1Char('%'));
            break;
        }
    }
    return out;
}

} // namespace plenvoy
