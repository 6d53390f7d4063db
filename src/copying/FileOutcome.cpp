#include "FileOutcome.h"

#include "OutputLayout.h"
#include "core/Translation.h"

#include <cerrno>
#include <cstring>

namespace plenvoy {

QString copyProblemText(CopyProblem problem, int errorNumber) {
    switch (problem) {
    case CopyProblem::None:
        return QString();
    case CopyProblem::SourceGone:
        return QStringLiteral(QT_TRANSLATE_NOOP("Run", "it no longer exists"));
    case CopyProblem::PermissionDenied:
        return QStringLiteral(QT_TRANSLATE_NOOP("Run", "permission denied"));
    case CopyProblem::OutputFull:
        return QStringLiteral(QT_TRANSLATE_NOOP("Run", "the output folder is full"));
    case CopyProblem::ReadOnlyInTheWay:
        return QStringLiteral(
            QT_TRANSLATE_NOOP("Run", "a read-only file of that name is in the way"));
    case CopyProblem::NameTooLong:
        return QStringLiteral(
            QT_TRANSLATE_NOOP("Run", "the name is too long for the output folder"));
    case CopyProblem::SourceChanged:
        return QStringLiteral(QT_TRANSLATE_NOOP("Run", "it changed while it was copied"));
    case CopyProblem::NotRegularFile:
        return QStringLiteral(QT_TRANSLATE_NOOP("Run", "it is not a regular file"));
    case CopyProblem::OwnSource:
        return QStringLiteral(QT_TRANSLATE_NOOP("Run", "the new name is the file itself"));
    case CopyProblem::ListedFileInTheWay:
        return QStringLiteral(QT_TRANSLATE_NOOP("Run", "another listed file has that name"));
    case CopyProblem::NotAFileInTheWay:
        return QStringLiteral(
            QT_TRANSLATE_NOOP("Run", "something that is not a file has that name"));
    case CopyProblem::NameRefused:
        return QStringLiteral(
            QT_TRANSLATE_NOOP("Run", "the output folder does not accept a character of the name"));
    case CopyProblem::NameTaken:
        return QStringLiteral(QT_TRANSLATE_NOOP("Run", "every numbered name is taken"));
    case CopyProblem::Dropped:
        return QStringLiteral(QT_TRANSLATE_NOOP("Run", "the copy was stopped"));
    case CopyProblem::CopiedBefore:
        return QStringLiteral(QT_TRANSLATE_NOOP("Run", "copied before"));
    case CopyProblem::SystemError:
        // Below the output folder, only a link or a file in the way of a folder gives it.
        if (errorNumber == ENOTDIR)
            return kReasonFolderInTheWay;
        break;
    }
    QString text = QString::fromLocal8Bit(std::strerror(errorNumber));
    if (!text.isEmpty())
        text[0] = text.at(0).toLower();
    return text;
}

QString shownReason(const QString &reason) {
    return shownText("Run", reason);
}

} // namespace plenvoy
