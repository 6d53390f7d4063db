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

#include <functional>
#include <optional>

namespace plenvoy::cli {

namespace {

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
    void filePlaced(const QString &source, const Placement &placement) override {
        if (onFilePlaced)
            onFilePlaced(source, placement);
    }

    std::function<void(const QString &, const Placement &)> onFilePlaced;

private:
    const FileList &m_list;
    QString m_outputFolder;
    QString m_optionText;
};

/// The status of what the path leads to, when there is something.
std::optional<struct stat> statusOf(const QString &path) {
    const QByteArray bytes = QFile::encodeName(path);
    struct stat info {};
    if (bytes.isEmpty() || ::stat(bytes.constData(), &info) != 0)
        return std::nullopt;
    return info;
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

/// Follows the run file by file: the run lets the window process its events once before
/// each file, which names the file that later error reports concern, and it tells the
/// outcome of each placement.
class RunObserver final {
public:
    explicit RunObserver(const FileList &list)
        : m_list(list) {}

    /// The file whose turn it is; none before the first file and after the last.
    const std::optional<QString> *subject() const { return &m_subject; }
    int copied() const { return m_copied; }

    void nextFile() {
        finishFile();
        ++m_position;
        if (m_position > m_list.count())
            m_subject.reset();
        else
            m_subject = m_list.textAt(m_position);
        m_told = false;
    }

    /// A file whose placement step failed before telling anything is not copied.
    void finishFile() {
        if (m_subject && !m_told)
            writeError(*m_subject, QStringLiteral("not copied"));
        m_told = true;
    }

    void filePlaced(const QString &source, const Placement &placement) {
        m_told = true;
        if (placement.written) {
            ++m_copied;
            writeLine(stdout, source + QStringLiteral(" -> ") + placement.destination);
            return;
        }
        const std::optional<struct stat> sourceStatus = statusOf(source);
        const std::optional<struct stat> landing = statusOf(placement.destination);
        if (!sourceStatus)
            writeError(source, QStringLiteral("not copied: no such file"));
        else if (!S_ISREG(sourceStatus->st_mode))
            writeError(source, QStringLiteral("not copied: not a file"));
        else if (landing && landing->st_dev == sourceStatus->st_dev &&
                 landing->st_ino == sourceStatus->st_ino)
            writeError(source, QStringLiteral("not copied: the destination is the file itself"));
        else
            writeError(source, QStringLiteral("not copied to ") + placement.destination);
    }

private:
    const FileList &m_list;
    int m_position = 0;
    std::optional<QString> m_subject;
    bool m_told = true;
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
    CliWindowPort ui(request.nthText);
    FileList list;
    const int addingErrors = addSources(list, request.sources, ui);

    FixedRunInputs inputs(list, request.outputFolder, request.optionText);
    RunObserver observer(list);
    int runErrors = 0;
    reportErrorsAbout(ui, observer.subject(), runErrors);
    ui.onProcessEvents = [&observer] { observer.nextFile(); };
    inputs.onFilePlaced = [&observer](const QString &source, const Placement &placement) {
        observer.filePlaced(source, placement);
    };
    PushButton2_Click(inputs, ui, clock, systemFileTimes());
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
