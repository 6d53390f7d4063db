#include "CommandLinePaths.h"

#include "core/PathCodec.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy {

namespace {

bool exists(const QByteArray &path) {
    struct stat status {};
    return ::stat(path.constData(), &status) == 0;
}

QString argumentForDisplay(const QByteArray &argument) {
    return pathForDisplay(pathFromBytes(argument));
}

} // namespace

CommandLine readCommandLine(const QList<QByteArray> &arguments, const QByteArray &workingFolder) {
    CommandLine line;
    bool options = true;
    for (const QByteArray &argument : arguments) {
        if (options && argument == "--") {
            options = false;
            continue;
        }
        if (options && argument == "--version") {
            line.version = true;
            continue;
        }
        if (options && (argument == "--help" || argument == "-h")) {
            line.help = true;
            continue;
        }
        if (options && argument.startsWith('-') && argument.size() > 1) {
            line.problems.append(QStringLiteral("unknown option ") + argumentForDisplay(argument));
            continue;
        }
        if (argument.isEmpty())
            continue;
        QByteArray path = argument;
        if (!path.startsWith('/'))
            path = (workingFolder == "/" ? QByteArray() : workingFolder) + '/' + path;
        // A closing "/" of a folder is not part of its name.
        while (path.size() > 1 && path.endsWith('/'))
            path.chop(1);
        if (!exists(path)) {
            line.problems.append(argumentForDisplay(argument) +
                                 QStringLiteral(": No such file or folder"));
            continue;
        }
        line.paths.append(pathFromBytes(path));
    }
    return line;
}

QByteArray workingFolderBytes() {
    QByteArray buffer(PATH_MAX + 1, '\0');
    if (!::getcwd(buffer.data(), static_cast<size_t>(buffer.size())))
        return QByteArray();
    return QByteArray(buffer.constData());
}

} // namespace plenvoy
