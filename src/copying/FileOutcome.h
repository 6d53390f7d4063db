#pragma once

#include "FilePlacement.h"
#include "core/ErrorReport.h"

#include <QString>

#include <functional>
#include <optional>

namespace plenvoy {

inline const QString kReasonOutputFolderGone =
    QStringLiteral(QT_TRANSLATE_NOOP("Run", "the output folder no longer exists"));
/// What became of one listed file in a run.
struct FileOutcome {
    /// The 1-based list position the run read it from.
    int position = 0;
    /// The list entry as the run read it (empty when it could not be read).
    QString source;
    /// Where the copy landed, or would have landed; empty when no place was reached.
    QString destination;
    /// None when the file was copied.
    CopyProblem problem = CopyProblem::None;
    int errorNumber = 0;
    /// Why the file was not copied, in plain words; empty when it was copied.
    QString reason;
    /// The copy got a numbered name ("Base (2).ext") to avoid a clash.
    bool renamed = false;
    /// The copy was kept although the output folder could not take its permission bits.
    bool modeNotKept = false;
    /// The copy replaced a file that was in the output folder before the run.
    bool replaced = false;
    /// The error report that kept the file from being copied, when one did.
    std::optional<ErrorDetails> failure;
    /// The copy's status once it had its name, when the run asked for it.
    NamedStatus named;

    bool copied() const { return reason.isEmpty(); }
};

/// Told of each file as the run reaches it, in list order, before the run goes on.
using FileOutcomeSink = std::function<void(const FileOutcome &file)>;

/// The reason a copy problem gives the user, in plain words ("it no longer exists"), in
/// English as the run records and the command line keep it.
QString copyProblemText(CopyProblem problem, int errorNumber);
/// A reason as the window shows it, in the window's language.
QString shownReason(const QString &reason);

} // namespace plenvoy
