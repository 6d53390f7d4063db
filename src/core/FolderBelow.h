#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace plenvoy {

/// True for a name that stays inside its folder: neither empty nor "." nor "..".
bool isPlainName(QStringView name);

/// Opens the folder `relative` ("/" between its names; empty for `base` itself) below the
/// folder `base` one name at a time, each with O_NOFOLLOW, so that no link put in the way is
/// followed and no name leads out of `base`. With `made`, each missing folder is made (0777
/// less the umask) and its relative path appended. Returns an O_PATH descriptor the caller
/// closes, or -1 with errno set: EINVAL for a name that is not plain or a path that holds a
/// NUL, ENOTDIR when a link or a file is in the way.
int openFolderBelow(int base, const QString &relative, QStringList *made = nullptr);

} // namespace plenvoy
