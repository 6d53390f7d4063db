#include "PathHelpers.h"

#include "Failure.h"
#include "PathCodec.h"

#include <sys/stat.h>

namespace plenvoy {

namespace {

QString collapsePairs(const QString &text, QChar separator) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        result.append(text.at(i));
        if (text.at(i) == separator && i + 1 < text.size() && text.at(i + 1) == separator)
            ++i; // the pair's second separator is consumed
    }
    return result;
}

bool containsPair(const QString &text, QChar separator) {
    const QChar *data = text.constData();
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (data[i] == separator && data[i - 1] == separator)
            return true;
    }
    return false;
}

bool statPath(const QString &path, struct stat *info) {
    const QByteArray encoded = systemPathBytes(path).value_or(QByteArray());
    return !encoded.isEmpty() && ::stat(encoded.constData(), info) == 0;
}

} // namespace

QString collapseDoubledSeparators(const QString &path, QChar separator) {
    // Most paths hold no pair: they come back as they are, without a copy.
    const bool hasPair = containsPair(path, separator);
    if (path.isEmpty() || path.at(0) != separator)
        return hasPair ? collapsePairs(path, separator) : path;
    if (!hasPair && separator != QLatin1Char('\\'))
        return path; // a single leading "/" stays as it is
    qsizetype start = 1;
    while (start < path.size() && path.at(start) == separator)
        ++start;
    const QString rest = collapsePairs(path.mid(start), separator);
    const QString lead =
        separator == QLatin1Char('\\') ? QStringLiteral("\\\\") : QString(separator);
    return lead + rest;
}

QString FileNameOf(const QString &path, QChar separator) {
    const qsizetype last = path.lastIndexOf(separator);
    return last < 0 ? path : path.mid(last + 1);
}

QString FolderOf(const QString &path, QChar separator) {
    const qsizetype last = path.lastIndexOf(separator);
    if (last < 0)
        return QString();
    // The position is kept in 16 bits, as the program always has.
    if (last + 1 > 32767)
        throwFailure(ErrorNumber::Overflow);
    return path.left(last + 1);
}

bool FolderExists(const QString &path) {
    struct stat info {};
    return statPath(path, &info) && S_ISDIR(info.st_mode);
}

bool FileIsPresent(const QString &path) {
    // The status of a name inside a folder can only be read when the folder can be
    // searched, so a file in a folder that cannot be searched is never present.
    struct stat info {};
    return statPath(path, &info) && S_ISREG(info.st_mode);
}

bool PathExists(const QString &path) {
    struct stat info {};
    return statPath(path, &info);
}

} // namespace plenvoy
