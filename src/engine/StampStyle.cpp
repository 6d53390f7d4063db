#include "StampStyle.h"

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

std::optional<OutputLayout> outputLayoutNamed(const QString &name) {
    for (const OutputLayout layout : {OutputLayout::Flat, OutputLayout::Tree, OutputLayout::Dates})
        if (name == outputLayoutName(layout))
            return layout;
    return std::nullopt;
}

} // namespace plenvoy
