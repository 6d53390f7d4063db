#include "StampStyle.h"

#include <QList>

namespace plenvoy {

QString stampFormName(StampForm form) {
    switch (form) {
    case StampForm::Sortable:
        return QStringLiteral("sortable");
    case StampForm::Compact:
        return QStringLiteral("compact");
    case StampForm::Custom:
        return QStringLiteral("custom");
    case StampForm::Regional:
        break;
    }
    return QStringLiteral("regional");
}

QString creationTimeName(CreationTime creation) {
    return creation == CreationTime::Taken ? QStringLiteral("taken") : QStringLiteral("file");
}

std::optional<StampForm> stampFormNamed(const QString &name) {
    for (const StampForm form :
         {StampForm::Regional, StampForm::Sortable, StampForm::Compact, StampForm::Custom})
        if (name == stampFormName(form))
            return form;
    return std::nullopt;
}

std::optional<CreationTime> creationTimeNamed(const QString &name) {
    for (const CreationTime creation : {CreationTime::File, CreationTime::Taken})
        if (name == creationTimeName(creation))
            return creation;
    return std::nullopt;
}

QString outputLayoutName(OutputLayout layout) {
    switch (layout) {
    case OutputLayout::Tree:
        return QStringLiteral("tree");
    case OutputLayout::Dates:
        return QStringLiteral("dates");
    case OutputLayout::Flat:
        break;
    }
    return QStringLiteral("flat");
}

QString takenShiftText(qint64 seconds) {
    const qint64 size = qAbs(seconds);
    return QStringLiteral("%1%2:%3:%4:%5")
        .arg(seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(size / 86'400)
        .arg(size / 3600 % 24, 2, 10, QLatin1Char('0'))
        .arg(size / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(size % 60, 2, 10, QLatin1Char('0'));
}

std::optional<qint64> takenShiftNamed(const QString &text) {
    QStringView rest(text);
    qint64 sign = 1;
    if (rest.startsWith(QLatin1Char('+')) || rest.startsWith(QLatin1Char('-'))) {
        sign = rest.front() == QLatin1Char('-') ? -1 : 1;
        rest = rest.mid(1);
    }
    const QList<QStringView> parts = rest.split(QLatin1Char(':'));
    if (parts.size() != 3 && parts.size() != 4)
        return std::nullopt;
    const int limits[] = {kLongestTakenShiftDays, 23, 59, 59};
    const qint64 units[] = {86'400, 3600, 60, 1};
    const int first = 4 - int(parts.size());
    qint64 seconds = 0;
    for (int i = 0; i < int(parts.size()); ++i) {
        const QStringView part = parts.at(i);
        const int maxDigits = i + first == 0 ? 5 : 2;
        if (part.isEmpty() || part.size() > maxDigits)
            return std::nullopt;
        for (const QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        const int value = part.toInt();
        if (value > limits[i + first])
            return std::nullopt;
        seconds += value * units[i + first];
    }
    return sign * seconds;
}

std::optional<OutputLayout> outputLayoutNamed(const QString &name) {
    for (const OutputLayout layout : {OutputLayout::Flat, OutputLayout::Tree, OutputLayout::Dates})
        if (name == outputLayoutName(layout))
            return layout;
    return std::nullopt;
}

} // namespace plenvoy
