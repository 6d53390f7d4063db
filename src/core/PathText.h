#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace plenvoy {

/// The path without trailing separators, so that a folder reads as the folder dialog gives
/// it and a link is examined itself; a lone "/" stays.
QString withoutTrailingSeparators(const QString &path);
/// As above, for a path in the system's bytes.
QByteArray withoutTrailingSeparators(const QByteArray &path);

/// The path made absolute against workingFolder (bytes, no closing "/") when it is relative,
/// without trailing separators.
QByteArray absolutePath(const QByteArray &path, const QByteArray &workingFolder);

/// The environment variable as a path, read as bytes (Qt's own decoding would turn a byte
/// that is not UTF-8 into U+FFFD and name another folder); nullopt when it is unset or not
/// absolute.
std::optional<QString> absolutePathFromEnvironment(const char *name);

} // namespace plenvoy
