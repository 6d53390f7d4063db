#include "StartChanging.h"

#include "FilePlacement.h"
#include "core/PathHelpers.h"

#include "core/LocationTags.h"
#include "core/Trap.h"
#include "core/WindowPort.h"
#include "engine/ComposeNewName.h"
#include "engine/FileMoment.h"
#include "engine/NthValue.h"

#include "core/PathCodec.h"

#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <utility>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace plenvoy {

namespace {

// The run's step numbers, as the error report names them.
constexpr qint32 kLineNoFilesTest = 100;
constexpr qint32 kLineFolderTest = 102;
constexpr qint32 kLineNthTest = 104;
constexpr qint32 kLineAskN = 106;
constexpr qint32 kLineNumberTest = 108;
constexpr qint32 kLineCount = 110;
constexpr qint32 kLineEvents = 112;
constexpr qint32 kLineBusy = 114;
constexpr qint32 kLineSource = 116;
constexpr qint32 kLineNthEmptyTest = 118;
constexpr qint32 kLineNthDefault = 120;
constexpr qint32 kLineNewName = 122;
constexpr qint32 kLineDestination = 124;
constexpr qint32 kLinePlace = 126;
constexpr qint32 kLineNext = 128;
constexpr qint32 kLineDefaultPointer = 130;
constexpr qint32 kLineDone = 132;
constexpr qint32 kLineFolderMissing = 134;
constexpr qint32 kLineNoFiles = 136;

const QString kNthMarker = QStringLiteral("nth character");
/// Listed files whose identity is read between two looks at the window.
constexpr int kListedFilesPerEventCheck = 8192;
/// The longest name a Linux file system holds, in bytes.
constexpr qsizetype kNameMaxBytes = 255;
/// Numbered names tried before a clash is given up.
constexpr int kMaxNumberedName = 100000;

using Identity = std::pair<dev_t, ino_t>;

Identity identityOf(const struct statx &status) {
    return {makedev(status.stx_dev_major, status.stx_dev_minor), ino_t(status.stx_ino)};
}

/// What the runs in progress wrote, by the destination's identity, with the identity of the
/// source each came from. A run started inside another shares it; it is forgotten when the
/// outermost run ends, so a later run replaces those copies as designed.
class WrittenFiles final {
public:
    /// Marks one run as running while it lives.
    class RunScope final {
    public:
        explicit RunScope(WrittenFiles &files)
            : m_files(files) {
            ++m_files.m_runs;
        }
        ~RunScope() {
            if (--m_files.m_runs == 0)
                m_files.m_sourceOf.clear();
        }
        RunScope(const RunScope &) = delete;
        RunScope &operator=(const RunScope &) = delete;

    private:
        WrittenFiles &m_files;
    };

    void record(Identity destination, Identity source) { m_sourceOf[destination] = source; }
    /// True when this run wrote the destination from another source than the given one.
    bool writtenFromAnotherSource(Identity destination, Identity source) const {
        const auto found = m_sourceOf.find(destination);
        return found != m_sourceOf.end() && found->second != source;
    }
    bool writtenFrom(Identity destination, Identity source) const {
        const auto found = m_sourceOf.find(destination);
        return found != m_sourceOf.end() && found->second == source;
    }

private:
    std::map<Identity, Identity> m_sourceOf;
    int m_runs = 0;
};

WrittenFiles &writtenFiles() {
    static WrittenFiles files;
    return files;
}

/// The files of the list as the run finds them at its start; a copy never replaces one.
/// A long list lets the window process its events between batches; nullopt when the
/// window closed meanwhile.
std::optional<ProtectedFiles> listedFiles(const RunInputs &inputs, int count, WindowPort &ui) {
    ProtectedFiles files;
    try {
        for (int position = 1; position <= count; ++position) {
            files.add(inputs.entryAt(position));
            if (position % kListedFilesPerEventCheck == 0) {
                ui.processEvents();
                if (ui.closing())
                    return std::nullopt;
            }
        }
    } catch (const std::exception &) {
        // The list shrank meanwhile: the entries read so far are protected.
    }
    return files;
}

bool isBlank(const QString &text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}

/// The path a copy to the destination lands at: a destination that names a folder (ends
/// in the separator) takes the source's own name.
QString landingPath(const QString &source, const QString &destination) {
    const QChar separator = platformSeparator();
    if (!destination.isEmpty() && destination.endsWith(separator))
        return destination + source.mid(source.lastIndexOf(separator) + 1);
    return destination;
}

/// "Base (n).ext": the number goes before the last dot; a name without a dot, or whose
/// only dot begins it (".profile"), gets it at the end.
QString numberedName(const QString &name, int number) {
    const QString tag = QStringLiteral(" (") + QString::number(number) + QLatin1Char(')');
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return name + tag;
    return name.left(dot) + tag + name.mid(dot);
}

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

Identity identityOf(const struct stat &status) {
    return {status.st_dev, status.st_ino};
}

/// Everything one placement needs besides the file itself.
struct PlacementContext {
    const ProtectedFiles &listed;
    WrittenFiles &written;
    CopyHooks hooks;
};

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

/// Places one listed file: the same tests in the same order as placing any file, then the
/// clash rule. Only the overflow of a destination folder beyond position 32767 throws.
FileOutcome placeListedFile(const QString &sourcePath, const QString &destination,
                            const SourceFile *source, PlacementContext &context) {
    FileOutcome outcome;
    outcome.source = sourcePath;
    if (isBlank(destination) || isBlank(sourcePath) || source == nullptr) {
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

} // namespace

RunInputs::~RunInputs() = default;

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
    case CopyProblem::NameTaken:
        return QStringLiteral("every numbered name is taken");
    case CopyProblem::Dropped:
        return QStringLiteral("the copy was stopped");
    case CopyProblem::SystemError:
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

RunOutcome startChanging(RunInputs &inputs, WindowPort &ui) {
    return startChanging(inputs, ui, systemClock(), systemFileTimes());
}

RunOutcome startChanging(RunInputs &inputs, WindowPort &ui, const ClockProvider &clock,
                         const FileTimeProvider &times) {
    Trap trap(kTagStartChanging, ui);
    RunOutcome outcome;

    if (trap.test(kLineNoFilesTest, [&] { return inputs.fileCount() == 0; })) {
        trap.step(kLineNoFiles, [&] { ui.showMessage(kMessageNoFiles); });
        outcome.end = RunOutcome::End::NoFiles;
        return outcome;
    }
    if (trap.test(kLineFolderTest, [&] { return !FolderExists(inputs.outputFolderText()); })) {
        trap.step(kLineFolderMissing, [&] { ui.showMessage(kMessageFolderMissing); });
        outcome.end = RunOutcome::End::FolderMissing;
        return outcome;
    }

    QString nthText;
    if (trap.test(kLineNthTest, [&] { return inputs.optionText().contains(kNthMarker); })) {
        do {
            bool answered = false;
            trap.step(kLineAskN, [&] {
                const QString answer = ui.askText(kPromptEnterN, QString());
                answered = true;
                nthText = answer;
            });
            // Cancel, Escape or a closed box ends the run before any file is touched.
            if (ui.closing()) {
                outcome.end = RunOutcome::End::WindowClosed;
                return outcome;
            }
            if (answered && nthText.isNull()) {
                outcome.end = RunOutcome::End::Cancelled;
                return outcome;
            }
        } while (trap.test(kLineNumberTest, [&] { return !readsAsNumber(nthText); }));
    }

    int count = 0;
    int position = 1;
    trap.step(kLineCount, [&] {
        count = inputs.fileCount();
        position = 1;
    });
    outcome.listed = count;
    WrittenFiles::RunScope runScope(writtenFiles());
    const std::optional<ProtectedFiles> listed = listedFiles(inputs, count, ui);
    if (!listed) {
        outcome.end = RunOutcome::End::WindowClosed;
        return outcome;
    }
    PlacementContext context{*listed, writtenFiles(), {}};
    context.hooks.keepGoing = [&ui] {
        ui.processEvents();
        return !ui.closing();
    };
    const bool composeFromOpenedSource = &times == &systemFileTimes();

    while (position <= count) {
        trap.step(kLineEvents, [&] { ui.processEvents(); });
        if (ui.closing()) {
            outcome.end = RunOutcome::End::WindowClosed;
            return outcome;
        }
        trap.step(kLineBusy, [&] { ui.setPointer(PointerMode::Busy); });

        // Each file starts afresh: a failed step never hands it another file's values.
        QString sourcePath;
        QString newName;
        QString destinationPath;
        QString failure;
        const auto note = [&](bool completed) {
            if (!completed)
                failure = trap.lastReported();
        };
        note(trap.step(kLineSource, [&] { sourcePath = inputs.entryAt(position); }));
        // The source is opened once: its name is composed from the status read through
        // that descriptor, and the copy reads through it, so neither can see another file.
        std::optional<SourceFile> source;
        if (!isBlank(sourcePath))
            source.emplace(sourcePath);
        if (trap.test(kLineNthEmptyTest, [&] { return nthText.isEmpty(); }))
            trap.step(kLineNthDefault, [&] { nthText = QString::number(-1); });
        note(trap.step(kLineNewName, [&] {
            const qint16 nthValue = convertNthValue(nthText);
            if (composeFromOpenedSource && source && source->isOpen()) {
                const StatusFileTimes opened(sourcePath, source->status(), times);
                newName = ComposeNewName(sourcePath, inputs.optionText(), nthValue, clock, opened);
            } else {
                newName = ComposeNewName(sourcePath, inputs.optionText(), nthValue, clock, times);
            }
        }));
        note(trap.step(kLineDestination, [&] {
            destinationPath = inputs.outputFolderText() + platformSeparator() + FileNameOf(newName);
        }));
        FileOutcome file;
        file.source = sourcePath;
        const bool placed = trap.step(kLinePlace, [&] {
            file =
                placeListedFile(sourcePath, destinationPath, source ? &*source : nullptr, context);
        });
        note(placed);
        if (!placed || (!file.copied() && !failure.isEmpty() && sourcePath.isEmpty())) {
            file.problem = CopyProblem::SystemError;
            file.reason = failure;
        }
        outcome.files.append(file);
        if (file.problem == CopyProblem::Dropped && ui.closing()) {
            outcome.end = RunOutcome::End::WindowClosed;
            return outcome;
        }
        trap.step(kLineNext, [&] { ++position; });
    }

    trap.step(kLineDefaultPointer, [&] { ui.setPointer(PointerMode::Default); });
    trap.step(kLineDone, [&] { ui.showMessage(closingMessage(outcome)); });
    return outcome;
}

} // namespace plenvoy
