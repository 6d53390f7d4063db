#include "ComposeNewName.h"

#include "core/Failure.h"
#include "engine/RegionalForms.h"
#include "engine/RenameOptions.h"

#include <time.h>

namespace plenvoy {

namespace {

class SystemClock final : public ClockProvider {
public:
    QDateTime now() const override {
        // localtime_r keeps the time-zone rules it has loaded; a local QDateTime would look
        // them up again on every call.
        struct timespec current {};
        ::clock_gettime(CLOCK_REALTIME, &current);
        struct tm local {};
        if (::localtime_r(&current.tv_sec, &local) == nullptr)
            return QDateTime::currentDateTime();
        return QDateTime(QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                         QTime(local.tm_hour, local.tm_min, qMin(local.tm_sec, 59)),
                         Qt::OffsetFromUTC, int(local.tm_gmtoff));
    }
};

QString clockStamp(StampKind kind, const QDateTime &now, const RegionalForms &forms) {
    const QTime time = now.time();
    switch (kind) {
    case StampKind::Time:
        return forms.longTime(time.hour(), time.minute(), time.second());
    case StampKind::Date:
        return forms.shortDate(now.date());
    case StampKind::TimeAndDate:
        break;
    }
    return forms.shortDate(now.date()) + QLatin1Char(' ') +
           forms.longTime(time.hour(), time.minute(), time.second());
}

/// A file stamp; empty text when the file has no time (it vanished after it was listed).
QString fileStamp(StampKind kind, const std::optional<LocalMoment> &moment,
                  const RegionalForms &forms) {
    if (!moment)
        return QString();
    switch (kind) {
    case StampKind::Time:
        return forms.fixedTime(moment->hour(), moment->minute(), moment->second());
    case StampKind::Date:
        return forms.fixedDate(moment->date);
    case StampKind::TimeAndDate:
        break;
    }
    return momentText(*moment, forms);
}

/// Removes "\", "*", "?", double quote, "<", ">" and "|"; turns "/" and ":" into "-".
QString withoutForbiddenCharacters(const QString &base) {
    QString out;
    out.reserve(base.size());
    for (const QChar c : base) {
        switch (c.unicode()) {
        case '\\':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            break;
        case '/':
        case ':':
            out.append(QLatin1Char('-'));
            break;
        default:
            out.append(c);
            break;
        }
    }
    return out;
}

} // namespace

ClockProvider::~ClockProvider() = default;

const ClockProvider &systemClock() {
    static const SystemClock clock;
    return clock;
}

QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue,
                       const ClockProvider &clock, const FileTimeProvider &times,
                       const RegionalForms &forms) {
    // Cut into folder (up to and including the last separator), base and extension.
    const qsizetype nameStart = sourcePath.lastIndexOf(QLatin1Char('/')) + 1;
    if (nameStart == sourcePath.size())
        raise(ErrorNumber::SubscriptOutOfRange);
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
            raise(ErrorNumber::InvalidProcedureCall);
    }

    const QString stamp =
        option.source == TimeSource::Clock
            ? clockStamp(option.kind, clock.now(), forms)
            : fileStamp(option.kind, fileMoment(sourcePath, option.source, times), forms);

    QString newBase;
    newBase.reserve(base.size() + stamp.size() + 1);
    switch (option.position) {
    case InsertPosition::Beginning:
        newBase.append(stamp).append(QLatin1Char(' ')).append(base);
        break;
    case InsertPosition::End:
        newBase.append(base).append(QLatin1Char(' ')).append(stamp);
        break;
    case InsertPosition::AfterNth:
        newBase.append(base.left(nthValue)).append(stamp).append(base.mid(nthValue));
        break;
    }
    newBase = withoutForbiddenCharacters(newBase);
    if (newBase.isEmpty())
        return sourcePath;

    QString result;
    result.reserve(sourcePath.size() + newBase.size());
    result.append(QStringView(sourcePath).left(nameStart)).append(newBase);
    if (hasExtension)
        result.append(QStringView(sourcePath).mid(dot));
    return result;
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
