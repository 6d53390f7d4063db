#include "HelpRoute.h"

namespace plenvoy {

HelpRoute helpRoute(const std::function<QString(const QString &)> &findExecutable,
                    const QString &homepage) {
    for (const char *viewer : {"yelp", "khelpcenter"}) {
        const QString path = findExecutable(QLatin1String(viewer));
        if (!path.isEmpty())
            return {path, {QStringLiteral("man:plenvoy")}, {}};
    }
    return {{}, {}, QUrl(homepage)};
}

} // namespace plenvoy
