#include "StampStyle.h"

namespace plenvoy {

QString stampFormName(StampForm form) {
    switch (form) {
    case StampForm::Sortable:
        return QStringLiteral("sortable");
    case StampForm::Compact:
        return QStringLiteral("compact");
    case StampForm::Regional:
        break;
    }
    return QStringLiteral("regional");
}

QString creationTimeName(CreationTime creation) {
    return creation == CreationTime::Taken ? QStringLiteral("taken") : QStringLiteral("file");
}

std::optional<StampForm> stampFormNamed(const QString &name) {
    for (const StampForm form : {StampForm::Regional, StampForm::Sortable, StampForm::Compact})
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

} // namespace plenvoy
