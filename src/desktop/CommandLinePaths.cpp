#include "CommandLinePaths.h"

#include "core/PathCodec.h"
#include "core/PathText.h"
#include "core/Translation.h"

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy {

namespace {

const QString kNoSuchPath = QStringLiteral("No such file or folder");
const QString kUnreadablePath = QStringLiteral("Cannot be read");
// The reasons a refused path carries to the window, which shows them in its language.
const QString kReasonMissing = QStringLiteral(QT_TRANSLATE_NOOP("CommandLine", "does not exist"));
const QString kReasonUnreadable =
    QStringLiteral(QT_TRANSLATE_NOOP("CommandLine", "cannot be read"));

enum class PathState { Missing, Unreadable, Usable };

/// A folder must be listed and entered, a file read.
PathState stateOf(const QByteArray &path) {
    struct stat status {};
    if (path.contains('\0') || ::stat(path.constData(), &status) != 0)
        return PathState::Missing;
    const int access = S_ISDIR(status.st_mode) ? R_OK | X_OK : R_OK;
    return ::faccessat(AT_FDCWD, path.constData(), access, AT_EACCESS) == 0 ? PathState::Usable
                                                                            : PathState::Unreadable;
}

QByteArray hostName() {
    char name[HOST_NAME_MAX + 1] = {};
    return ::gethostname(name, sizeof(name) - 1) == 0 ? QByteArray(name) : QByteArray();
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
        QByteArray path = pathFromFileUri(argument);
        if (path.isEmpty())
            path = argument;
        // A closing "/" of a folder is not part of its name.
        path = absolutePath(path, workingFolder);
        const PathState state = stateOf(path);
        if (state != PathState::Usable) {
            const bool missing = state == PathState::Missing;
            line.problems.append(argumentForDisplay(argument) + QStringLiteral(": ") +
                                 (missing ? kNoSuchPath : kUnreadablePath));
            line.refused.append(argumentForDisplay(path) + QStringLiteral(": ") +
                                (missing ? kReasonMissing : kReasonUnreadable));
            continue;
        }
        line.paths.append(pathFromBytes(path));
    }
    return line;
}

QByteArray pathFromFileUri(const QByteArray &argument) {
    if (argument.left(5).toLower() != "file:")
        return QByteArray();
    QByteArray rest = argument.mid(5);
    if (rest.startsWith("//")) {
        const qsizetype slash = rest.indexOf('/', 2);
        if (slash < 0)
            return QByteArray();
        const QByteArray host = rest.mid(2, slash - 2).toLower();
        if (!host.isEmpty() && host != "localhost" && host != hostName().toLower())
            return QByteArray();
        rest = rest.mid(slash);
    }
    if (!rest.startsWith('/'))
        return QByteArray();
    // A "?" or "#" that belongs to the name is escaped; a bare one starts what is no path.
    for (const char stop : {'?', '#'})
        if (const qsizetype end = rest.indexOf(stop); end >= 0)
            rest.truncate(end);
    return QByteArray::fromPercentEncoding(rest);
}

QString refusedPathsMessage(const QStringList &refused, int refusedCount) {
    const int count = std::max<int>(refusedCount, static_cast<int>(refused.size()));
    QStringList lines;
    lines << (count == 1
                  ? QCoreApplication::translate("CommandLine", "1 path could not be added:")
                  : QCoreApplication::translate("CommandLine", "%1 paths could not be added:")
                        .arg(count));
    const QStringList named = refused.mid(0, kRefusedNamed);
    for (QString entry : named) {
        for (const QString &reason : {kReasonMissing, kReasonUnreadable}) {
            if (entry.endsWith(QStringLiteral(": ") + reason)) {
                entry.chop(reason.size());
                entry += shownText("CommandLine", reason);
                break;
            }
        }
        lines << entry;
    }
    if (count > named.size())
        lines
            << QCoreApplication::translate("CommandLine", "and %1 more.").arg(count - named.size());
    return lines.join(QLatin1Char('\r'));
}

QByteArray workingFolderBytes() {
    QByteArray buffer(PATH_MAX + 1, '\0');
    if (!::getcwd(buffer.data(), static_cast<size_t>(buffer.size())))
        return QByteArray();
    return QByteArray(buffer.constData());
}

} // namespace plenvoy
