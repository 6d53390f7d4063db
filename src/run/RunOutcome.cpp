#include "RunOutcome.h"

#include "copying/OutputLayout.h"

#include "StartChanging.h"
#include "core/PathCodec.h"
#include "core/Translation.h"

#include <QStringList>
#include <QThreadPool>

#include <algorithm>
#include <cstring>

namespace plenvoy {

void RunOutcome::add(FileOutcome &&file) {
    // A full disk leaves a million files not copied: the outcome still holds ten of them.
    bool kept = false;
    if (!file.copied()) {
        kept = ++m_notCopied <= kMaxFilesNamedWhenDone;
        if (file.problem == CopyProblem::CopiedBefore)
            ++m_skipped;
    } else {
        ++m_copied;
        if (file.renamed)
            kept = ++m_renamed <= kMaxFilesNamedWhenDone;
        if (file.replaced)
            kept = ++m_replaced <= kMaxFilesNamedWhenDone || kept;
    }
    if (kept)
        files.append(std::move(file));
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

QString closingMessage(const RunOutcome &outcome) {
    QStringList blocks{
        outcome.end == RunOutcome::End::Stopped
            ? shownText("Run", kMessageStopped).arg(outcome.reachedCount()).arg(outcome.listed)
            : shownText("Run", kMessageDone)};
    const int notCopied = outcome.notCopiedCount();
    if (notCopied > 0) {
        QStringList lines;
        lines << (notCopied == 1
                      ? QCoreApplication::translate("Run", "%1 of %2 files was not copied:")
                      : QCoreApplication::translate("Run", "%1 of %2 files were not copied:"))
                     .arg(notCopied)
                     .arg(outcome.listed);
        int shown = 0;
        for (const FileOutcome &file : outcome.files) {
            if (file.copied())
                continue;
            if (shown == kMaxFilesNamedWhenDone)
                break;
            // An entry that could not be read has no path to show.
            const QString reason = shownReason(file.reason);
            lines << (file.source.isEmpty()
                          ? reason
                          : pathForDisplay(file.source) + QStringLiteral(": ") + reason);
            ++shown;
        }
        if (notCopied > shown)
            lines << QCoreApplication::translate("Run", "and %1 more.").arg(notCopied - shown);
        blocks << lines.join(QLatin1Char('\r'));
    }
    const int renamed = outcome.renamedCount();
    if (renamed == 1)
        blocks << QCoreApplication::translate("Run", "1 file was renamed to avoid a clash.");
    else if (renamed > 1)
        blocks << QCoreApplication::translate("Run", "%1 files were renamed to avoid a clash.")
                      .arg(renamed);
    return blocks.join(QStringLiteral("\r\r"));
}

QString closingDetails(const RunOutcome &outcome, const QString &outputFolder) {
    return QCoreApplication::translate("Run",
                                       "Copied: %1, numbered: %2, replaced: %3, not copied: %4")
               .arg(outcome.copiedCount())
               .arg(outcome.renamedCount())
               .arg(outcome.replacedCount())
               .arg(outcome.notCopiedCount()) +
           QLatin1Char('\r') + pathForDisplay(outputFolder);
}

} // namespace plenvoy
