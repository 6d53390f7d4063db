#include "ComposeNewName.h"

#include "RegionalForms.h"
#include "RenameOptions.h"
#include "StampPattern.h"
#include "core/Failure.h"
#include "core/PathCodec.h"

#include <time.h>

namespace plenvoy {

namespace {

class SystemClock final : public ClockProvider {
public:
    QDateTime now() const override {
        // localtime_r keeps the time-zone rules it has loaded; a local QDateTime would look
        // them up again on every call. Names composed within one second share a reading.
        struct timespec current {};
        ::clock_gettime(CLOCK_REALTIME, &current);
        thread_local time_t cachedSecond = -1;
        thread_local QDateTime cachedReading;
        if (current.tv_sec == cachedSecond)
            return cachedReading;
        struct tm local {};
        if (::localtime_r(&current.tv_sec, &local) == nullptr)
            return QDateTime::currentDateTime();
        cachedReading = QDateTime(QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                                  QTime(local.tm_hour, local.tm_min, qMin(local.tm_sec, 59)),
                                  Qt::OffsetFromUTC, int(local.tm_gmtoff));
        cachedSecond = current.tv_sec;
        return cachedReading;
    }
};

bool isRemoved(QChar c) {
    switch (c.unicode()) {
    case '\\':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
        return true;
    default:
        return false;
    }
}

bool isDashed(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char(':');
}

/// Appends the text without the characters that names cannot hold: "\", "*", "?",
/// double quote, "<", ">" and "|" are removed, "/" and ":" become "-".
void appendCleaned(QString &out, QStringView text) {
    qsizetype clean = 0;
    while (clean < text.size() && !isRemoved(text[clean]) && !isDashed(text[clean]))
        ++clean;
    out.append(text.left(clean));
    for (qsizetype i = clean; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDashed(c))
            out.append(QLatin1Char('-'));
        else if (!isRemoved(c))
            out.append(c);
    }
}

QString clockStamp(StampKind kind, const QDate &date, const QTime &time,
                   const RegionalForms &forms) {
    switch (kind) {
    case StampKind::Time:
        return forms.longTime(time.hour(), time.minute(), time.second());
    case StampKind::Date:
        return forms.shortDate(date);
    case StampKind::TimeAndDate:
        break;
    }
    return forms.shortDate(date) + QLatin1Char(' ') +
           forms.longTime(time.hour(), time.minute(), time.second());
}

QString fileStamp(StampKind kind, const LocalMoment &moment, const RegionalForms &forms) {
    switch (kind) {
    case StampKind::Time:
        return forms.fixedTime(moment.hour(), moment.minute(), moment.second());
    case StampKind::Date:
        return forms.fixedDate(moment.date);
    case StampKind::TimeAndDate:
        break;
    }
    return momentText(moment, forms);
}

void appendDigits(QString &out, int value, int width) {
    const QString digits = QString::number(value);
    for (qsizetype i = digits.size(); i < width; ++i)
        out.append(QLatin1Char('0'));
    out.append(digits);
}

/// A sortable or compact stamp: ASCII digits in the same form in every locale, and the
/// whole date and time even at midnight or on day 0 (the regional form's special cases).
QString fixedFormStamp(StampForm form, StampKind kind, const QDate &date, int secondsOfDay) {
    const bool compact = form == StampForm::Compact;
    const QLatin1Char separator('-');
    QString stamp;
    stamp.reserve(19);
    if (kind != StampKind::Time) {
        appendDigits(stamp, date.year(), 4);
        if (!compact)
            stamp.append(separator);
        appendDigits(stamp, date.month(), 2);
        if (!compact)
            stamp.append(separator);
        appendDigits(stamp, date.day(), 2);
    }
    if (kind == StampKind::TimeAndDate)
        stamp.append(compact ? QLatin1Char('-') : QLatin1Char(' '));
    if (kind != StampKind::Date) {
        appendDigits(stamp, secondsOfDay / 3600, 2);
        if (!compact)
            stamp.append(separator);
        appendDigits(stamp, secondsOfDay / 60 % 60, 2);
        if (!compact)
            stamp.append(separator);
        appendDigits(stamp, secondsOfDay % 60, 2);
    }
    return stamp;
}

/// The last stamp written, already cleaned: names composed in one second, or files with
/// the same time, share it.
struct StampCache {
    quint64 forms = 0;
    StampForm form = StampForm::Regional;
    QString pattern;
    int kind = -1;
    bool clock = false;
    qint64 second = 0;
    QString cleaned;

    const QString *find(const RegionalForms &f, const RunChoices &st, StampKind k, bool c,
                        qint64 s) const {
        return forms == f.identity() && form == st.form && kind == int(k) && clock == c &&
                       second == s && (form != StampForm::Custom || pattern == st.pattern)
                   ? &cleaned
                   : nullptr;
    }
    const QString &store(const RegionalForms &f, const RunChoices &st, StampKind k, bool c,
                         qint64 s, const QString &stamp) {
        forms = f.identity();
        form = st.form;
        pattern = st.pattern;
        kind = int(k);
        clock = c;
        second = s;
        cleaned.clear();
        appendCleaned(cleaned, stamp);
        return cleaned;
    }
};

/// The option's stamp, cleaned; empty for a file time that cannot be read.
QString cleanedStamp(const RenameOption &option, const QString &sourcePath,
                     const ClockProvider &clock, const FileTimeProvider &times,
                     const RegionalForms &forms, const RunChoices &style) {
    thread_local StampCache cache;
    const StampForm form = style.form;
    if (option.source == TimeSource::Clock) {
        const QDateTime now = clock.now();
        const QDate date = now.date();
        const QTime time = now.time();
        const int secondsOfDay = time.msecsSinceStartOfDay() / 1000;
        const qint64 second = date.toJulianDay() * 86'400 + secondsOfDay;
        if (const QString *hit = cache.find(forms, style, option.kind, true, second))
            return *hit;
        QString stamp;
        if (form == StampForm::Regional)
            stamp = clockStamp(option.kind, date, time, forms);
        else if (form == StampForm::Custom)
            stamp = patternStamp(style.pattern, date, secondsOfDay, forms);
        else
            stamp = fixedFormStamp(form, option.kind, date, secondsOfDay);
        return cache.store(forms, style, option.kind, true, second, stamp);
    }
    // With no time for the file (it vanished after it was listed) every file stamp is empty.
    const std::optional<LocalMoment> moment = fileMoment(sourcePath, option.source, times);
    if (!moment)
        return QString();
    const qint64 second = moment->date.toJulianDay() * 86'400 + moment->secondsOfDay;
    if (const QString *hit = cache.find(forms, style, option.kind, false, second))
        return *hit;
    QString stamp;
    if (form == StampForm::Regional)
        stamp = fileStamp(option.kind, *moment, forms);
    else if (form == StampForm::Custom)
        stamp = patternStamp(style.pattern, moment->date, moment->secondsOfDay, forms);
    else
        stamp = fixedFormStamp(form, option.kind, moment->date, moment->secondsOfDay);
    return cache.store(forms, style, option.kind, false, second, stamp);
}

} // namespace

ClockProvider::~ClockProvider() = default;

const ClockProvider &systemClock() {
    static const SystemClock clock;
    return clock;
}

QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue,
                       const ClockProvider &clock, const FileTimeProvider &times,
                       const RegionalForms &forms, const RunChoices &style) {
    // Cut into folder (up to and including the last separator), base and extension.
    const qsizetype nameStart = sourcePath.lastIndexOf(QLatin1Char('/')) + 1;
    if (nameStart == sourcePath.size())
        throwFailure(ErrorNumber::SubscriptOutOfRange);
    const qsizetype dot = sourcePath.lastIndexOf(QLatin1Char('.'));
    // A name without a dot is all base: it gets its stamp and no extension.
    const bool hasExtension = dot >= nameStart;
    const qsizetype baseEnd = hasExtension ? dot : sourcePath.size();
    const QStringView base = QStringView(sourcePath).mid(nameStart, baseEnd - nameStart);

    if (optionText.isEmpty())
        return sourcePath;
    const int index = renameOptionIndex(optionText);
    if (index < 0)
        return QString();
    const RenameOption &option = renameOptions().at(index);

    if (option.position == InsertPosition::AfterNth) {
        // Tested before anything else: no stamp is built and no file time is asked.
        if (nthValue > base.size())
            return sourcePath;
        if (nthValue < 0)
            throwFailure(ErrorNumber::InvalidProcedureCall);
    }

    const QString stamp = cleanedStamp(option, sourcePath, clock, times, forms, style);

    // Insert the stamp and clean the new base in one pass into the result.
    QString result;
    result.reserve(sourcePath.size() + stamp.size() + 1);
    result.append(QStringView(sourcePath).left(nameStart));
    switch (option.position) {
    case InsertPosition::Beginning:
        result.append(stamp).append(QLatin1Char(' '));
        appendCleaned(result, base);
        break;
    case InsertPosition::End:
        appendCleaned(result, base);
        result.append(QLatin1Char(' ')).append(stamp);
        break;
    case InsertPosition::AfterNth: {
        // A stamp never splits a character made of two units: after the first half of a
        // pair it goes after the pair.
        qsizetype cut = nthValue;
        if (cut > 0 && startsSurrogatePair(sourcePath, nameStart + cut - 1))
            ++cut;
        appendCleaned(result, base.left(cut));
        result.append(stamp);
        appendCleaned(result, base.mid(cut));
        break;
    }
    }
    if (result.size() == nameStart)
        return sourcePath; // the new base is empty: the file keeps its name
    if (hasExtension)
        result.append(QStringView(sourcePath).mid(dot));
    // Windows-family file systems drop or refuse a name's trailing dots and blanks (a date
    // form that ends in "." closes a name without an extension): they are left out here.
    qsizetype end = result.size();
    while (end > nameStart &&
           (result.at(end - 1) == QLatin1Char('.') || result.at(end - 1) == QLatin1Char(' ')))
        --end;
    if (end == nameStart)
        return sourcePath;
    result.truncate(end);
    return result;
}

QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue,
                       const ClockProvider &clock, const FileTimeProvider &times,
                       const RegionalForms &forms, StampForm form) {
    RunChoices style;
    style.form = form;
    return ComposeNewName(sourcePath, optionText, nthValue, clock, times, forms, style);
}

QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue,
                       const ClockProvider &clock, const FileTimeProvider &times,
                       const RegionalForms &forms) {
    return ComposeNewName(sourcePath, optionText, nthValue, clock, times, forms,
                          StampForm::Regional);
}

QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue,
                       const ClockProvider &clock, const FileTimeProvider &times) {
    return ComposeNewName(sourcePath, optionText, nthValue, clock, times, RegionalForms::system());
}

QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue) {
    return ComposeNewName(sourcePath, optionText, nthValue, systemClock(), systemFileTimes(),
                          RegionalForms::system());
}

} // namespace plenvoy
