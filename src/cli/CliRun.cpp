#include "CliRun.h"

#include "CliOutput.h"
#include "CliWindowPort.h"
#include "ProgressLine.h"

#include "batch/FixedRunInputs.h"
#include "batch/ListedPlacement.h"
#include "batch/StartChanging.h"
#include "core/Failure.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "engine/ComposeNewName.h"
#include "engine/RegionalForms.h"
#include "engine/TakenTime.h"
#include "filelist/AddFiles.h"
#include "filelist/FileList.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace plenvoy::cli {

namespace {

const QString kModesNotKept =
    QStringLiteral(": its file system does not keep permission bits; the copies have none of the "
                   "sources'");

using FileIdentity = std::pair<dev_t, ino_t>;

/// The file the path leads to (through links), when there is one.
std::optional<FileIdentity> identityOf(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    struct stat info {};
    if (bytes.isEmpty() || ::stat(bytes.constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

/// True when something, a broken link included, has this name.
bool nameExists(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    struct stat info {};
    return !bytes.isEmpty() && ::lstat(bytes.constData(), &info) == 0;
}

/// Why a listed path is no file the run could copy; empty when it is one.
QString presenceProblem(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    struct stat info {};
    if (::stat(bytes.constData(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return QStringLiteral("no such file");
        return QString::fromLocal8Bit(std::strerror(errno));
    }
    return S_ISREG(info.st_mode) ? QString() : QStringLiteral("not a file");
}

/// The numbered names the run gives to clashes within its list: a new name that another
/// listed file already has, or that the run wrote a moment ago from another source, gets
/// the first "Base (2).ext", "Base (3).ext", ... that nothing holds yet. The same source
/// listed twice lands on its own earlier copy, and a name that only exists on disk is
/// replaced by the run, so neither is numbered.
class ClashNumbering final {
public:
    explicit ClashNumbering(const QStringList &listed) {
        for (const QString &path : listed) {
            if (const std::optional<FileIdentity> identity = identityOf(path))
                m_listed.insert(*identity);
        }
    }

    QString place(const QString &source, const QString &destination) {
        const QByteArray sourceKey = sourceKeyOf(source);
        QString placed = destination;
        if (clashes(source, sourceKey, destination)) {
            // The first numbered name that nothing holds, or this source's own earlier copy.
            for (int number = 2;; ++number) {
                placed = numberedName(destination, number);
                const auto written = m_written.find(destinationKeyOf(placed));
                if (written != m_written.end() ? written->second == sourceKey : !nameExists(placed))
                    break;
            }
        }
        m_written.emplace(destinationKeyOf(placed), sourceKey);
        return placed;
    }

private:
    bool clashes(const QString &source, const QByteArray &sourceKey,
                 const QString &destination) const {
        const auto written = m_written.find(destinationKeyOf(destination));
        if (written != m_written.end())
            return written->second != sourceKey;
        // A listed file of that name is never replaced, unless it is the source itself.
        const QByteArray bytes = pathToBytes(destination);
        struct stat target {};
        if (bytes.isEmpty() || ::stat(bytes.constData(), &target) != 0 || !S_ISREG(target.st_mode))
            return false;
        const FileIdentity identity{target.st_dev, target.st_ino};
        return m_listed.count(identity) != 0 && identity != identityOf(source);
    }

    /// The file itself, so that every spelling of a path and every link is one source.
    static QByteArray sourceKeyOf(const QString &path) {
        if (const std::optional<FileIdentity> identity = identityOf(path))
            return "F" + QByteArray::number(quint64(identity->first)) + ':' +
                   QByteArray::number(quint64(identity->second));
        return "P" + pathToBytes(path);
    }

    /// The folder itself and the name in it: a name need not exist to be told apart.
    static QByteArray destinationKeyOf(const QString &path) {
        const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
        const QString folder = nameStart == 0 ? QStringLiteral(".") : path.left(nameStart);
        if (const std::optional<FileIdentity> identity = identityOf(folder))
            return "D" + QByteArray::number(quint64(identity->first)) + ':' +
                   QByteArray::number(quint64(identity->second)) + '/' +
                   pathToBytes(path.mid(nameStart));
        return "P" + pathToBytes(path);
    }

    std::set<FileIdentity> m_listed;
    std::map<QByteArray, QByteArray> m_written;
};

/// Prints the error reports that reach the window, naming what they concern.
void reportErrorsAbout(CliWindowPort &ui, const std::optional<QString> *subject, int &errors) {
    ui.onErrorReport = [subject, &errors](const QString &description, const QString &location) {
        ++errors;
        printError(*subject, location.isEmpty() ? description
                                                : description + QStringLiteral(" (") + location +
                                                      QLatin1Char(')'));
    };
}

} // namespace

namespace {

/// The window leaves such folders out without a word; a script is told each one.
void reportLeftOutFolder(const QString &folder, LeftOutReason reason) {
    QString why;
    switch (reason) {
    case LeftOutReason::Unreadable:
        why = QStringLiteral("it cannot be read");
        break;
    case LeftOutReason::ControlCharacter:
        why = QStringLiteral("its name holds a control character");
        break;
    case LeftOutReason::PathTooLong:
        why = QStringLiteral("its path is too long");
        break;
    }
    printWarning(folder + QStringLiteral(": left out, ") + why);
}

} // namespace

int addSources(FileList &list, const QList<CliSource> &sources, CliWindowPort &ui) {
    int errors = 0;
    std::optional<QString> subject;
    reportErrorsAbout(ui, &subject, errors);
    for (const CliSource &source : sources) {
        if (source.kind == CliSource::Kind::Path) {
            list.append(source.text);
            continue;
        }
        // The walk of a missing folder lists nothing, as in the window; say so here.
        if (!FolderExists(source.text))
            printWarning(source.text + QStringLiteral(": no such folder, nothing added from it"));
        subject = source.text;
        addFolderTree(list, source.text, source.extension, ui, reportLeftOutFolder);
    }
    ui.onErrorReport = nullptr;
    return errors;
}

int dryRun(const CliRequest &request) {
    const FixedClock fixed(request.at.value_or(QDateTime()));
    const ClockProvider &clock =
        request.at ? static_cast<const ClockProvider &>(fixed) : systemClock();
    CliWindowPort ui(request.nthText);
    FileList list;
    int status = addSources(list, request.sources, ui) == 0 ? kExitSuccess : kExitFailures;
    const QStringList entries = list.entries();
    ClashNumbering numbering(entries);
    RecordWriter records(request.nullSeparated);
    const TakenFileTimes taken(systemFileTimes());
    const FileTimeProvider &times =
        request.style.creation == CreationTime::Taken ? taken : systemFileTimes();
    int position = 0;
    for (const QString &path : entries) {
        ++position;
        QString destination;
        try {
            destination = ComposeNewName(path, request.optionText, request.nthValue, clock, times,
                                         RegionalForms::system(), request.style.form);
        } catch (const Failure &failure) {
            printError(path, failure.description());
            records.write(position, {QString()});
            status = kExitFailures;
            continue;
        }
        records.write(position, {numbering.place(path, destination)});
        // The line still shows the name the file would get; the run would not copy it.
        const QString problem = presenceProblem(path);
        if (!problem.isEmpty()) {
            printWarning(path + QStringLiteral(": ") + problem);
            status = kExitFailures;
        }
    }
    return records.lineBreakSeen() ? kExitFailures : status;
}

int copyListedFiles(const CliRequest &request) {
    const FixedClock fixed(request.at.value_or(QDateTime()));
    const ClockProvider &clock =
        request.at ? static_cast<const ClockProvider &>(fixed) : systemClock();
    CliWindowPort ui(request.nthText);
    FileList list;
    const int addingErrors = addSources(list, request.sources, ui);

    FixedRunInputs inputs(list.entries(), request.outputFolder, request.optionText);
    int runErrors = 0;
    reportErrorsAbout(ui, &inputs.lastRead, runErrors);
    ProgressLine progress(!request.quiet && standardErrorIsTerminal());
    ui.onProgress = [&progress](qint64 done, qint64 total) { progress.report(done, total); };
    // An error line starts on a line of its own; the progress comes back below it.
    ui.onErrorReport = [&progress, report = ui.onErrorReport](const QString &description,
                                                              const QString &location) {
        progress.finish();
        report(description, location);
    };
    const RunOutcome outcome = startChanging(inputs, ui, clock, systemFileTimes(), request.style);
    progress.finish();
    ui.onErrorReport = nullptr;

    // The run's refusals come before anything is done: no file touched, no summary.
    if (outcome.end == RunOutcome::End::NoFiles) {
        printError(std::nullopt, kMessageNoFiles);
        return kExitFailures;
    }
    if (outcome.end == RunOutcome::End::FolderMissing) {
        printError(std::nullopt, kMessageFolderMissing);
        return kExitFailures;
    }

    RecordWriter records(request.nullSeparated);
    std::set<QString> foldersWithoutModes;
    for (qsizetype i = 0; i < outcome.files.size(); ++i) {
        const FileOutcome &file = outcome.files.at(i);
        // Said once per output folder: its copies were kept without the permission bits.
        if (file.copied() && file.modeNotKept) {
            QString folder = FolderOf(file.destination);
            if (folder.size() > 1)
                folder.chop(1);
            if (foldersWithoutModes.insert(folder).second)
                printWarning(folder + kModesNotKept);
        }
        if (file.copied())
            records.write(int(i) + 1, {file.source, file.destination});
        else
            printError(file.source, QStringLiteral("not copied: ") + file.reason);
    }
    const bool finished = outcome.end == RunOutcome::End::Finished;
    if (!finished)
        printError(std::nullopt, QStringLiteral("the run stopped before its end"));
    // Files the run never reached count as not copied.
    const int copied = outcome.copiedCount();
    const int notCopied = std::max(outcome.listed, int(outcome.files.size())) - copied;
    QString summary = QStringLiteral("%1 copied, %2 not copied").arg(copied).arg(notCopied);
    if (outcome.renamedCount() > 0)
        summary += QStringLiteral(", %1 renamed to avoid a clash").arg(outcome.renamedCount());
    if (request.nullSeparated)
        printErrorLine(summary);
    else
        printLine(summary);
    const bool clean = finished && notCopied == 0 && addingErrors == 0 && runErrors == 0 &&
                       !records.lineBreakSeen();
    return clean ? kExitSuccess : kExitFailures;
}

} // namespace plenvoy::cli
