#include "RegionalForms.h"

#include "FormatCleaning.h"

#include <atomic>

namespace plenvoy {

namespace {

/// The first character of a format that is not a letter; the quote marks around literal
/// text and invisible direction marks are passed over. The fallback when there is none.
QChar separatorOf(const QString &format, QChar fallback) {
    for (const QChar c : format) {
        if (!c.isLetter() && c != QLatin1Char('\'') && c.category() != QChar::Other_Format)
            return c;
    }
    return fallback;
}

/// True when the format writes a day period: "AP", "ap", "a", "A", or CLDR's "B", which
/// QLocale leaves unconverted in some formats (Chinese, Taiwan: "Bh:mm:ss").
bool hasAmPm(const QString &format) {
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\''))
            i = readQuoted(format, i, nullptr);
        else if (c == QLatin1Char('a') || c == QLatin1Char('A') || c == QLatin1Char('B'))
            return true;
        else
            ++i;
    }
    return false;
}

/// The locale whose forms dates and times take: LC_ALL, then LC_TIME, then LANG, as the C
/// library reads them. QLocale::system() would take its language from LC_MESSAGES, so a
/// German window with LC_TIME=C would stamp neither as C nor as German.
QLocale timeLocale() {
    for (const char *variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (value.isEmpty())
            continue;
        if (value == QLatin1String("C") || value == QLatin1String("POSIX") ||
            value.startsWith(QLatin1String("C.")))
            return QLocale::c();
        return QLocale(value);
    }
    return QLocale::c();
}

bool isReferenceLocale(const QLocale &locale) {
    return locale.language() == QLocale::C ||
           (locale.language() == QLocale::English && locale.territory() == QLocale::UnitedStates);
}

} // namespace

RegionalForms::RegionalForms(const QLocale &locale)
    : RegionalForms(locale, locale.dateFormat(QLocale::ShortFormat),
                    locale.timeFormat(QLocale::LongFormat)) {}

RegionalForms::RegionalForms(const QLocale &locale, const QString &shortDateFormat,
                             const QString &longTimeFormat)
    : m_locale(locale) {
    static std::atomic<quint64> lastIdentity{0};
    m_identity = ++lastIdentity;
    if (isReferenceLocale(locale)) {
        m_dateFormat = QStringLiteral("M/d/yyyy");
        m_timeFormat = QStringLiteral("h:mm:ss AP");
        m_amText = QStringLiteral("AM");
        m_pmText = QStringLiteral("PM");
    } else {
        m_dateFormat = adjustFormat(shortDateFormat);
        m_timeFormat = adjustFormat(longTimeFormat);
        m_amText = locale.amText();
        m_pmText = locale.pmText();
        const QString zero = locale.zeroDigit();
        if (zero.size() == 1 && zero.at(0) != QLatin1Char('0'))
            m_digits = zero;
    }
    m_dateTokens = compile(m_dateFormat);
    m_timeTokens = compile(m_timeFormat);
    m_dateSeparator = separatorOf(m_dateFormat, QLatin1Char('/'));
    m_timeSeparator = separatorOf(m_timeFormat, QLatin1Char(':'));
}

const RegionalForms &RegionalForms::system() {
    static const RegionalForms forms(timeLocale());
    return forms;
}

qsizetype RegionalForms::appendTimeToken(QList<Token> &tokens, QChar letter, qsizetype run,
                                         bool twelveHour) {
    const int width = int(qMin<qsizetype>(run, 2));
    Token::Kind kind = Token::Second;
    if (letter == QLatin1Char('h'))
        kind = twelveHour ? Token::Hour12 : Token::Hour24;
    else if (letter == QLatin1Char('H'))
        kind = Token::Hour24;
    else if (letter == QLatin1Char('m'))
        kind = Token::Minute;
    tokens.append({kind, width, {}});
    return width;
}

qsizetype RegionalForms::appendAmPmToken(QList<Token> &tokens, const QString &format,
                                         qsizetype at) {
    const bool upper = format.at(at) == QLatin1Char('A');
    Token::Kind kind = upper ? Token::AmPmUpper : Token::AmPmLower;
    qsizetype used = 1;
    if (at + 1 < format.size()) {
        const QChar next = format.at(at + 1);
        if (next == QLatin1Char('P') || next == QLatin1Char('p')) {
            used = 2;
            if (next.isUpper() != upper)
                kind = Token::AmPmAsIs;
        }
    }
    tokens.append({kind, 0, {}});
    return used;
}

QList<RegionalForms::Token> RegionalForms::compile(const QString &format) {
    QList<Token> tokens;
    const bool twelveHour = hasAmPm(format);
    auto literal = [&tokens](const QString &text) {
        if (!tokens.isEmpty() && tokens.back().kind == Token::Literal)
            tokens.back().literal.append(text);
        else
            tokens.append({Token::Literal, 0, text});
    };
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        switch (c.unicode()) {
        case '\'': {
            QString text;
            i = readQuoted(format, i, &text);
            literal(text);
            break;
        }
        case 'd':
        case 'M': {
            const int width = int(qMin<qsizetype>(run, 4));
            const bool day = c == QLatin1Char('d');
            if (width <= 2)
                tokens.append({day ? Token::Day : Token::Month, width, {}});
            else
                tokens.append({day ? Token::DayName : Token::MonthName, width, {}});
            i += width;
            break;
        }
        case 'y':
            tokens.append({Token::Year, 4, {}});
            i += run;
            break;
        case 'h':
        case 'H':
        case 'm':
        case 's':
            i += appendTimeToken(tokens, c, run, twelveHour);
            break;
        case 'z':
            tokens.append({Token::Millisecond, run >= 3 ? 3 : 1, {}});
            i += run >= 3 ? 3 : 1;
            break;
        case 'a':
        case 'A':
            i += appendAmPmToken(tokens, format, i);
            break;
        case 'B':
            // The locale's own AM and PM texts stand for the day period.
            tokens.append({Token::AmPmAsIs, 0, {}});
            i += run;
            break;
        default:
            literal(QString(c));
            ++i;
            break;
        }
    }
    return tokens;
}

void RegionalForms::appendNumber(QString &out, int value, int width) const {
    if (value < 0) {
        out.append(QLatin1Char('-'));
        value = -value;
    }
    char buffer[16];
    int length = 0;
    do {
        buffer[length++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0 && length < 15);
    for (int pad = length; pad < width; ++pad)
        out.append(m_digits.isEmpty() ? QLatin1Char('0') : m_digits.at(0));
    while (length > 0) {
        const int digit = buffer[--length] - '0';
        out.append(m_digits.isEmpty() ? QChar(u'0' + digit)
                                      : QChar(char16_t(m_digits.at(0).unicode() + digit)));
    }
}

QString RegionalForms::formatTokens(const QList<Token> &tokens, const QDate &date, int hour,
                                    int minute, int second) const {
    QString out;
    out.reserve(24);
    int year = 0;
    int month = 0;
    int day = 0;
    if (date.isValid())
        date.getDate(&year, &month, &day);
    for (const Token &token : tokens) {
        switch (token.kind) {
        case Token::Literal:
            out.append(token.literal);
            break;
        case Token::Day:
            appendNumber(out, day, token.width);
            break;
        case Token::DayName:
            out.append(m_locale.dayName(date.dayOfWeek(), token.width == 3 ? QLocale::ShortFormat
                                                                           : QLocale::LongFormat));
            break;
        case Token::Month:
            appendNumber(out, month, token.width);
            break;
        case Token::MonthName:
            out.append(m_locale.monthName(month, token.width == 3 ? QLocale::ShortFormat
                                                                  : QLocale::LongFormat));
            break;
        case Token::Year:
            appendNumber(out, year, 4);
            break;
        case Token::Hour12:
            appendNumber(out, hour % 12 == 0 ? 12 : hour % 12, token.width);
            break;
        case Token::Hour24:
            appendNumber(out, hour, token.width);
            break;
        case Token::Minute:
            appendNumber(out, minute, token.width);
            break;
        case Token::Second:
            appendNumber(out, second, token.width);
            break;
        case Token::Millisecond:
            appendNumber(out, 0, token.width);
            break;
        case Token::AmPmUpper:
            out.append(hour < 12 ? m_amText.toUpper() : m_pmText.toUpper());
            break;
        case Token::AmPmLower:
            out.append(hour < 12 ? m_amText.toLower() : m_pmText.toLower());
            break;
        case Token::AmPmAsIs:
            out.append(hour < 12 ? m_amText : m_pmText);
            break;
        }
    }
    return out;
}

QString RegionalForms::shortDate(const QDate &date) const {
    return formatTokens(m_dateTokens, date, 0, 0, 0);
}

QString RegionalForms::longTime(int hour, int minute, int second) const {
    return formatTokens(m_timeTokens, QDate(), hour, minute, second);
}

QString RegionalForms::fixedDate(const QDate &date) const {
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    QString out;
    out.reserve(10);
    appendNumber(out, month, 2);
    out.append(m_dateSeparator);
    appendNumber(out, day, 2);
    out.append(m_dateSeparator);
    appendNumber(out, year, 4);
    return out;
}

QString RegionalForms::fixedTime(int hour, int minute, int second) const {
    QString out;
    out.reserve(11 + m_amText.size());
    appendNumber(out, hour % 12 == 0 ? 12 : hour % 12, 2);
    out.append(m_timeSeparator);
    appendNumber(out, minute, 2);
    out.append(m_timeSeparator);
    appendNumber(out, second, 2);
    out.append(QLatin1Char(' '));
    out.append(hour < 12 ? m_amText : m_pmText);
    return out;
}

} // namespace plenvoy
