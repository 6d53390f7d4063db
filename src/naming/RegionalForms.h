#pragma once

#include <QChar>
#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

namespace plenvoy {

/// The regional date and time forms that stamps are written in: the locale's short date
/// format (year always with four digits) and long time format (without a time-zone part
/// and the brackets, blanks or commas that only set it apart),
/// its AM and PM texts, and the date and time separators. The C, POSIX and English (United
/// States) locales give exactly M/d/yyyy and h:mm:ss AP. The formats are compiled once, so
/// writing a stamp costs no locale look-up.
class RegionalForms final {
public:
    explicit RegionalForms(const QLocale &locale);
    /// Forms from the given QLocale-style formats, adjusted as the locale's own would be
    /// (four-digit years, no time-zone part), with the locale's names, AM and PM texts and
    /// digits. The C, POSIX and English (United States) locales keep their fixed forms.
    RegionalForms(const QLocale &locale, const QString &shortDateFormat,
                  const QString &longTimeFormat);

    /// The forms of the locale of dates and times (LC_ALL, LC_TIME, LANG), read once on first
    /// use; the language of the window plays no part.
    static const RegionalForms &system();

    /// The short date, e.g. 12/6/2026.
    QString shortDate(const QDate &date) const;
    /// The long time, e.g. 2:05:09 PM.
    QString longTime(int hour, int minute, int second) const;
    /// The pattern "mm/dd/yyyy": two-digit month and day, four-digit year.
    QString fixedDate(const QDate &date) const;
    /// The pattern "hh:nn:ss AMPM": two-digit 12-hour clock (hour 0 shows as 12).
    QString fixedTime(int hour, int minute, int second) const;

    const QString &shortDateFormat() const { return m_dateFormat; }
    const QString &longTimeFormat() const { return m_timeFormat; }
    const QString &amText() const { return m_amText; }
    const QString &pmText() const { return m_pmText; }
    /// The locale whose month and day names the forms use.
    const QLocale &locale() const { return m_locale; }
    /// Tells forms apart for caches of written stamps: equal only for copies of one object.
    quint64 identity() const { return m_identity; }

private:
    struct Token {
        enum Kind {
            Literal,
            Day,
            DayName,
            Month,
            MonthName,
            Year,
            Hour12,
            Hour24,
            Minute,
            Second,
            Millisecond,
            AmPmUpper,
            AmPmLower,
            AmPmAsIs
        };
        Kind kind;
        int width; // digits, or 3/4 for short/long names
        QString literal;
    };

    static QList<Token> compile(const QString &format);
    /// The token of an hour, minute or second letter repeated `run` times; the letters used.
    static qsizetype appendTimeToken(QList<Token> &tokens, QChar letter, qsizetype run,
                                     bool twelveHour);
    /// The token of "a", "A", "ap" or "AP" at `at`; the letters used.
    static qsizetype appendAmPmToken(QList<Token> &tokens, const QString &format, qsizetype at);
    void appendNumber(QString &out, int value, int width) const;
    QString formatTokens(const QList<Token> &tokens, const QDate &date, int hour, int minute,
                         int second) const;

    QLocale m_locale;
    QString m_dateFormat;
    QString m_timeFormat;
    QList<Token> m_dateTokens;
    QList<Token> m_timeTokens;
    QChar m_dateSeparator;
    QChar m_timeSeparator;
    QString m_amText;
    QString m_pmText;
    QString m_digits; // the locale's zero digit when the digits are not ASCII, else empty
    quint64 m_identity;
};

} // namespace plenvoy
