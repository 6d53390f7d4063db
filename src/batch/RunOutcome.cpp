#include "RunOutcome.h"

#include "OutputLayout.h"

#include "StartChanging.h"
#include "core/PathCodec.h"

#include <QStringList>
#include <QThreadPool>

#include <algorithm>
#include <cstring>

namespace plenvoy {

int RunOutcome::copiedCount() const {
    return int(std::count_if(files.cbegin(), files.cend(),
                             [](const FileOutcome &file) { return file.copied(); }));
}

int RunOutcome::notCopiedCount() const {
    return int(files.size()) - copiedCount();
}

int RunOutcome::renamedCount() const {
    return int(std::count_if(files.cbegin(), files.cend(), [](const FileOutcome &file) {
        return file.copied() && file.renamed;
    }));
}

int RunOutcome::replacedCount() const {
    return int(std::count_if(files.cbegin(), files.cend(), [](const FileOutcome &file) {
        return file.copied() && file.replaced;
    }));
}

void forgetOutcome(RunOutcome &&outcome) {
    // Below this many files freeing takes well under a millisecond.
    constexpr qsizetype kFreedAside = 10000;
    if (outcome.files.size() < kFreedAside) {
        outcome = RunOutcome();
        return;
    }
    // The records are shared with nobody: the worker drops the last reference.
    QThreadPool::globalInstance()->start(
        [files = std::move(outcome.files)]() mutable { files = QList<FileOutcome>(); });
    outcome = RunOutcome();
}

QString copyProblemText(CopyProblem problem, int errorNumber) {
    switch (problem) {
    case CopyProblem::None:
        return QString();
    case CopyProblem::SourceGone:
        return QStringLiteral("it no longer exists");
    case CopyProblem::PermissionDenied:
        return QStringLiteral("permission denied");
    case CopyProblem::OutputFull:
        return QStringLiteral("the output folder is full");
    case CopyProblem::ReadOnlyInTheWay:
        return QStringLiteral("a read-only file of that name is in the way");
    case CopyProblem::NameTooLong:
        return QStringLiteral("the name is too long for the output folder");
    case CopyProblem::SourceChanged:
        return QStringLiteral("it changed while it was copied");
    case CopyProblem::NotRegularFile:
        return QStringLiteral("it is not a regular file");
    case CopyProblem::OwnSource:
        return QStringLiteral("the new name is the file itself");
    case CopyProblem::ListedFileInTheWay:
        return QStringLiteral("another listed file has that name");
    case CopyProblem::NotAFileInTheWay:
        return QStringLiteral("something that is not a file has that name");
    case CopyProblem::NameRefused:
        return QStringLiteral("the output folder does not accept a character of the name");
    case CopyProblem::NameTaken:
        return QStringLiteral("every numbered name is taken");
    case CopyProblem::Dropped:
        return QStringLiteral("the copy was stopped");
    case CopyProblem::CopiedBefore:
        return QStringLiteral("copied before");
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

QString closingMessage(const RunOutcome &outcome) {
    QStringList blocks{kMessageDone};
    const int notCopied = outcome.notCopiedCount();
    if (notCopied > 0) {
        QStringList lines;
        lines << QString::number(notCopied) + QStringLiteral(" of ") +
                     QString::number(outcome.listed) +
                     (notCopied == 1 ? QStringLiteral(" files was not copied:")
                                     : QStringLiteral(" files were not copied:"));
        int shown = 0;
        for (const FileOutcome &file : outcome.files) {
            if (file.copied())
                continue;
            if (shown == kMaxFilesNamedWhenDone)
                break;
            // An entry that could not be read has no path to show.
            lines << (file.source.isEmpty()
                          ? file.reason
                          : pathForDisplay(file.source) + QStringLiteral(": ") + file.reason);
            ++shown;
        }
        if (notCopied > shown)
            lines << QStringLiteral("and ") + QString::number(notCopied - shown) +
                         QStringLiteral(" more.");
        blocks << lines.join(QLatin1Char('\r'));
    }
    const int renamed = outcome.renamedCount();
    if (renamed == 1)
        blocks << QStringLiteral("1 file was renamed to avoid a clash.");
    else if (renamed > 1)
        blocks << QString::number(renamed) +
                      QStringLiteral(" files were renamed to avoid a clash.");
    return blocks.join(QStringLiteral("\r\r"));
}

QString closingDetails(const RunOutcome &outcome, const QString &outputFolder) {
    return QStringLiteral("Copied: %1, numbered: %2, replaced: %3, not copied: %4")
               .arg(outcome.copiedCount())
               .arg(outcome.renamedCount())
               .arg(outcome.replacedCount())
               .arg(outcome.notCopiedCount()) +
           QLatin1Char('\r') + pathForDisplay(outputFolder);
}

} // namespace plenvoy
