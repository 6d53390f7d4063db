#include "ListedPlacement.h"

#include "core/PathCodec.h"
#include "core/PathHelpers.h"

#include <cerrno>

#include <sys/stat.h>

namespace plenvoy {

namespace {

/// The longest name a Linux file system holds, in bytes.
constexpr qsizetype kNameMaxBytes = 255;
/// Numbered names tried before a clash is given up.
constexpr int kMaxNumberedName = 100000;

enum class NameState { Missing, Exists, Unknown };

/// Whether the name is taken, and by what (a link's target; a link that leads nowhere still
/// holds the name). A missing name, the common case, costs one call.
NameState stateOf(const QByteArray &path, struct stat &status) {
    if (::lstat(path.constData(), &status) != 0)
        return errno == ENOENT ? NameState::Missing : NameState::Unknown;
    if (S_ISLNK(status.st_mode))
        ::stat(path.constData(), &status);
    return NameState::Exists;
}

void setProblem(FileOutcome &outcome, CopyProblem problem, int errorNumber) {
    outcome.problem = problem;
    outcome.errorNumber = errorNumber;
    outcome.reason = copyProblemText(problem, errorNumber);
}

/// Copies under the first numbered name that is free, or over this source's own earlier
/// numbered copy.
void placeUnderNumberedName(const SourceFile &source, const QString &folder, const QString &name,
                            PlacementContext &context, FileOutcome &outcome) {
    const Identity sourceIdentity = identityOf(source.status());
    for (int number = 2; number <= kMaxNumberedName; ++number) {
        const QString candidate = numberedName(name, number);
        if (pathToBytes(candidate).size() > kNameMaxBytes) {
            setProblem(outcome, CopyProblem::NameTooLong, ENAMETOOLONG);
            return;
        }
        const QString path = folder + candidate;
        struct stat status {};
        const NameState state = stateOf(pathToBytes(path), status);
        ExistingName existing = ExistingName::Keep;
        if (state == NameState::Exists) {
            if (!context.written.writtenFrom(identityOf(status), sourceIdentity))
                continue;
            existing = ExistingName::Replace;
        }
        const CopyResult result =
            copySourceFile(source, path, &context.listed, existing, context.hooks);
        if (result.problem == CopyProblem::NameTaken ||
            result.problem == CopyProblem::ListedFileInTheWay)
            continue; // taken meanwhile
        outcome.destination = path;
        outcome.renamed = true;
        if (!result.copied()) {
            setProblem(outcome, result.problem, result.errorNumber);
            return;
        }
        context.written.record({result.device, result.inode}, sourceIdentity);
        return;
    }
    setProblem(outcome, CopyProblem::NameTaken, EEXIST);
}

} // namespace

WrittenFiles &writtenFiles() {
    static WrittenFiles files;
    return files;
}

QString numberedName(const QString &path, int number) {
    const qsizetype nameStart = path.lastIndexOf(platformSeparator()) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString tag = QStringLiteral(" (") + QString::number(number) + QLatin1Char(')');
    if (dot <= nameStart)
        return path + tag;
    return path.left(dot) + tag + path.mid(dot);
}

FileOutcome placeListedFile(const QString &sourcePath, const QString &destination,
                            const SourceFile *source, PlacementContext &context) {
    FileOutcome outcome;
    outcome.source = sourcePath;
    if (isBlankPath(destination) || isBlankPath(sourcePath) || source == nullptr) {
        setProblem(outcome, CopyProblem::SourceGone, ENOENT);
        return outcome;
    }
    const QString cleanSource = collapseDoubledSeparators(sourcePath);
    const QString cleanDestination = collapseDoubledSeparators(destination);
    const QString folder = FolderOf(cleanDestination);
    const QString target = landingPath(cleanSource, cleanDestination);
    outcome.destination = target;
    if (!source->isOpen()) {
        setProblem(outcome, source->problem(), source->errorNumber());
        return outcome;
    }
    if (!FolderExists(folder)) {
        outcome.reason = kReasonOutputFolderGone;
        outcome.problem = CopyProblem::SystemError;
        outcome.errorNumber = ENOENT;
        return outcome;
    }

    const Identity sourceIdentity = identityOf(source->status());
    struct stat status {};
    const NameState state = stateOf(pathToBytes(target), status);
    if (state == NameState::Exists && S_ISREG(status.st_mode)) {
        const Identity existing = identityOf(status);
        if (existing == sourceIdentity) {
            setProblem(outcome, CopyProblem::OwnSource, 0);
            return outcome;
        }
        if (context.listed.contains(existing.first, existing.second) ||
            context.written.writtenFromAnotherSource(existing, sourceIdentity)) {
            placeUnderNumberedName(*source, folder, FileNameOf(target), context, outcome);
            return outcome;
        }
    }
    const CopyResult result =
        copySourceFile(*source, target, &context.listed, ExistingName::Replace, context.hooks);
    if (result.problem == CopyProblem::ListedFileInTheWay) {
        placeUnderNumberedName(*source, folder, FileNameOf(target), context, outcome);
        return outcome;
    }
    if (!result.copied()) {
        setProblem(outcome, result.problem, result.errorNumber);
        return outcome;
    }
    context.written.record({result.device, result.inode}, sourceIdentity);
    return outcome;
}

} // namespace plenvoy
