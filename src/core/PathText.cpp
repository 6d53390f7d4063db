#include "PathText.h"

#include "PathCodec.h"

namespace plenvoy {

namespace {

template <typename Text, typename Char> Text stripTrailing(const Text &path, Char separator) {
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == separator)
        --end;
    return path.left(end);
}

} // namespace

QString withoutTrailingSeparators(const QString &path) {
    return stripTrailing(path, QLatin1Char('/'));
}

QByteArray withoutTrailingSeparators(const QByteArray &path) {
    return stripTrailing(path, '/');
}

QByteArray absolutePath(const QByteArray &path, const QByteArray &workingFolder) {
    if (path.startsWith('/'))
        return withoutTrailingSeparators(path);
    const QByteArray folder = workingFolder == "/" ? QByteArray() : workingFolder;
    return withoutTrailingSeparators(folder + '/' + path);
}

std::optional<QString> absolutePathFromEnvironment(const char *name) {
    const QByteArray value = qgetenv(name);
    if (!value.startsWith('/'))
        return std::nullopt;
    return pathFromBytes(value);
}

} // namespace plenvoy
