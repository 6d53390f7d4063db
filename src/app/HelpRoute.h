#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace plenvoy {

/// How the help is shown: a program with its arguments, or else an address to open.
struct HelpRoute {
    QString program;
    QStringList arguments;
    QUrl url;
};

/// The man page through the desktop's help viewer (GNOME's, then KDE's) when one is
/// installed; otherwise the project's online address. findExecutable answers a program's
/// path, empty when it is missing.
HelpRoute helpRoute(const std::function<QString(const QString &)> &findExecutable,
                    const QString &homepage);

} // namespace plenvoy
