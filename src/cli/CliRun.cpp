#include "CliRun.h"

#include "CliWindowPort.h"

#include "app/AddFiles.h"
#include "batch/PathHelpers.h"
#include "batch/StartChanging.h"
#include "core/Failure.h"
#include "engine/ComposeNewName.h"
#include "engine/RenameOptions.h"
#include "filelist/FileList.h"

#include <QFile>

#include <sys/stat.h>

#include <optional>
#include <tuple>
#include <vector>

namespace plenvoy::cli {

namespace {

/// The clock and the file times as one file of the run sees them: each is read once per
/// file and then repeated, so that a name composed twice for the same file comes out the
/// same both times.
class PerFileReadings final : public ClockProvider, public FileTimeProvider {
public:
    PerFileReadings(const ClockProvider &clock, const FileTimeProvider &times)
        : m_clock(clock)
        , m_times(times) {}

    void nextFile() {
        m_now.reset();
        m_fileTimes.clear();
    }

    QDateTime now() const override {
        if (!m_now)
            m_now = m_clock.now();
        return *m_now;
    }

    std::optional<qint64> fileTime(const QString &path, TimeSource source) const override {
        for (const FileTimeReading &reading : m_fileTimes)
            if (reading.source == source && reading.path == path)
                return reading.ticks;
        const std::optional<qint64> ticks = m_times.fileTime(path, source);
        m_fileTimes.push_back({path, source, ticks});
        return ticks;
    }

private:
    struct FileTimeReading {
        QString path;
        TimeSource source;
        std::optional<qint64> ticks;
    };
    const ClockProvider &m_clock;
    const FileTimeProvider &m_times;
    mutable std::optional<QDateTime> m_now;
    mutable std::vector<FileTimeReading> m_fileTimes;
};

/// What the run's loop reads: the list, the output folder and the option, all fixed.
class FixedRunInputs final : public RunInputs {
public:
    FixedRunInputs(const FileList &list, QString outputFolder, QString optionText)
        : m_list(list)
        , m_outputFolder(std::move(outputFolder))
        , m_optionText(std::move(optionText)) {}

    int fileCount() const override { return m_list.count(); }
    QString entryAt(int position) const override { return m_list.textAt(position); }
    QString outputFolderText() const override { return m_outputFolder; }
    QString optionText() const override { return m_optionText; }

private:
    const FileList &m_list;
    QString m_outputFolder;
    QString m_optionText;
};

/// The parts of a file's status that tell whether a name was written anew.
struct FileStatus {
    dev_t device = 0;
    ino_t inode = 0;
    mode_t mode = 0;
    off_t size = 0;
    struct timespec modified {};
    struct timespec changed {};

    bool sameFileAs(const FileStatus &other) const {
        return device == other.device && inode == other.inode;
    }
};

bool operator==(const struct timespec &a, const struct timespec &b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

/// The status of the path itself (followLinks false) or of what it leads to.
std::optional<FileStatus> statusOf(const QString &path, bool followLinks) {
    const QByteArray bytes = QFile::encodeName(path);
    struct stat info {};
    if (bytes.isEmpty() ||
        (followLinks ? ::stat(bytes.constData(), &info) : ::lstat(bytes.constData(), &info)) != 0)
        return std::nullopt;
    return FileStatus{info.st_dev,  info.st_ino,  info.st_mode,
                      info.st_size, info.st_mtim, info.st_ctim};
}

/// "plenvoy-cli: [SUBJECT: ]TEXT" on standard error, after what standard output holds.
void writeError(const std::optional<QString> &subject, const QString &text) {
    std::fflush(stdout);
    writeLine(stderr, QStringLiteral("plenvoy-cli: ") +
                          (subject ? *subject + QStringLiteral(": ") : QString()) + text);
}

/// Prints the error reports that reach the window, naming what they concern.
void reportErrorsAbout(CliWindowPort &ui, const std::optional<QString> *subject, int &errors) {
    ui.onErrorReport = [subject, &errors](const QString &description, const QString &location) {
        ++errors;
        writeError(*subject, location.isEmpty() ? description
                                                : description + QStringLiteral(" (") + location +
                                                      QLatin1Char(')'));
    };
}

/// Follows the run file by file. The run lets the window process its events once before
/// each file, so each such call closes the previous file and opens the next: the file's
/// destination is composed again from the same readings the run uses, and the
/// destination's status before and after the run's placement tells whether this run
/// wrote it.
class RunObserver final {
public:
    RunObserver(const FileList &list, const CliRequest &request, PerFileReadings &readings)
        : m_list(list)
        , m_request(request)
        , m_readings(readings) {}

    /// The file whose turn it is; none before the first file and after the last.
    const std::optional<QString> *subject() const { return &m_subject; }
    int copied() const { return m_copied; }

    void nextFile() {
        finishFile();
        ++m_position;
        m_readings.nextFile();
        if (m_position > m_list.count()) {
            m_subject.reset();
            return;
        }
        Pending file;
        file.source = m_list.textAt(m_position);
        file.destination = destinationOf(file.source);
        file.before = statusOf(file.destination, false);
        m_subject = file.source;
        m_pending = file;
    }

    void finishFile() {
        if (!m_pending)
            return;
        const Pending file = *m_pending;
        m_pending.reset();
        const std::optional<FileStatus> source = statusOf(file.source, true);
        const std::optional<FileStatus> after = statusOf(file.destination, false);
        // Written by this run: a regular file with the source's size and time that is not
        // the source itself, and is new or another file than the one there before.
        const bool written = source && after && S_ISREG(after->mode) &&
                             !after->sameFileAs(*source) && after->size == source->size &&
                             after->modified == source->modified &&
                             (!file.before || !file.before->sameFileAs(*after) ||
                              !(file.before->changed == after->changed));
        if (written) {
            ++m_copied;
            writeLine(stdout, file.source + QStringLiteral(" -> ") + file.destination);
            return;
        }
        if (!source)
            writeError(file.source, QStringLiteral("not copied: no such file"));
        else if (!S_ISREG(source->mode))
            writeError(file.source, QStringLiteral("not copied: not a file"));
        else if (after && after->sameFileAs(*source))
            writeError(file.source, QStringLiteral("not copied: the destination is the file "
                                                   "itself"));
        else
            writeError(file.source, QStringLiteral("not copied to ") + file.destination);
    }

private:
    struct Pending {
        QString source;
        QString destination;
        std::optional<FileStatus> before;
    };

    /// The destination as the run builds it (output folder, separator, the file name of
    /// the new name) and as the placement resolves it: doubled separators collapsed, and
    /// a destination ending in the separator takes the source's own name.
    QString destinationOf(const QString &source) const {
        QString newName;
        try {
            const qint16 nthValue = needsNthValue(m_request.optionText) ? m_request.nthValue : -1;
            newName =
                ComposeNewName(source, m_request.optionText, nthValue, m_readings, m_readings);
        } catch (const Failure &) {
            // The run reports it; the file then keeps its own name.
        }
        const QString destination =
            CollapseBackslashes(m_request.outputFolder + platformSeparator() + FileNameOf(newName));
        if (FileNameOf(destination).isEmpty())
            return destination + FileNameOf(CollapseBackslashes(source));
        return destination;
    }

    const FileList &m_list;
    const CliRequest &m_request;
    PerFileReadings &m_readings;
    int m_position = 0;
    std::optional<QString> m_subject;
    std::optional<Pending> m_pending;
    int m_copied = 0;
};

} // namespace

void writeLine(std::FILE *stream, const QString &text) {
    const QByteArray line = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
}

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
            writeError(QStringLiteral("warning"),
                       source.text + QStringLiteral(": no such folder, nothing added from it"));
        subject = source.text;
        AddFolderFiles(list, source.text, source.extension, ui);
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
    for (const QString &path : list.entries()) {
        try {
            writeLine(stdout, ComposeNewName(path, request.optionText, request.nthValue, clock,
                                             systemFileTimes()));
        } catch (const Failure &failure) {
            writeError(path, failure.description());
            writeLine(stdout, QString());
            status = kExitFailures;
        }
    }
    return status;
}

int startChanging(const CliRequest &request) {
    const FixedClock fixed(request.at.value_or(QDateTime()));
    const ClockProvider &clock =
        request.at ? static_cast<const ClockProvider &>(fixed) : systemClock();
    PerFileReadings readings(clock, systemFileTimes());
    CliWindowPort ui(request.nthText);
    FileList list;
    const int addingErrors = addSources(list, request.sources, ui);

    FixedRunInputs inputs(list, request.outputFolder, request.optionText);
    RunObserver observer(list, request, readings);
    int runErrors = 0;
    reportErrorsAbout(ui, observer.subject(), runErrors);
    ui.onProcessEvents = [&observer] { observer.nextFile(); };
    PushButton2_Click(inputs, ui, readings, readings);
    observer.finishFile();

    // The run's refusals come before anything is done: no file touched, no summary.
    for (const QString &message : ui.messages()) {
        if (message == kMessageNoFiles || message == kMessageFolderMissing) {
            writeError(std::nullopt, message);
            return kExitFailures;
        }
    }
    const bool done = ui.messages().endsWith(kMessageDone);
    if (!done)
        writeError(std::nullopt, QStringLiteral("the run stopped before its end"));
    const int notCopied = list.count() - observer.copied();
    std::fflush(stderr);
    writeLine(stdout, QString::number(observer.copied()) + QStringLiteral(" copied, ") +
                          QString::number(notCopied) + QStringLiteral(" not copied"));
    const bool clean = done && notCopied == 0 && addingErrors == 0 && runErrors == 0;
    return clean ? kExitSuccess : kExitFailures;
}

} // namespace plenvoy::cli
