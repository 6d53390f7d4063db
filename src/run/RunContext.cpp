#include "RunContext.h"

#include "RunSteps.h"
#include "StartChanging.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "core/Trap.h"
#include "core/WindowPort.h"
#include "naming/FileMoment.h"
#include "naming/NewNameOf.h"
#include "naming/NthValue.h"
#include "naming/RegionalForms.h"
#include "naming/TakenTime.h"

#include <exception>

#include <sys/stat.h>

namespace plenvoy {

namespace {

/// Listed files whose identity is read between two looks at the window.
constexpr int kListedFilesPerEventCheck = 8192;

/// The innermost run in progress on this thread: a run started inside it shares its
/// written files.
thread_local RunContext *t_innermost = nullptr;

/// Reads the files of the list the first time a copy meets an existing name: a copy never
/// replaces one. A run into a fresh folder never asks, and reads none. What this run wrote
/// before (new names only, as nothing existed until then) is not the list's. A long list
/// lets the window process its events between batches; false when the window closed
/// meanwhile.
bool readListedFiles(ProtectedFiles &files, const RunInputs &inputs, int count,
                     const WrittenFiles &written, WindowPort &ui) {
    try {
        for (int position = 1; position <= count; ++position) {
            files.add(inputs.entryAt(position));
            if (position % kListedFilesPerEventCheck == 0) {
                ui.processEvents();
                if (ui.closing())
                    return false;
            }
        }
    } catch (const std::exception &) {
        // The list shrank meanwhile: the entries read so far are protected.
    }
    written.forEachWritten(
        [&files](const Identity &file) { files.remove(file.first, file.second); });
    return true;
}

} // namespace

RunContext::RunContext(RunInputs &inputs, WindowPort &ui, Trap &trap, int count,
                       const std::optional<QString> &nthAnswer, const RunChoices &choices,
                       const ClockProvider &clock, const FileTimeProvider &times,
                       const CopyHooks &copyHooks)
    : m_inputs(inputs)
    , m_ui(ui)
    , m_trap(trap)
    , m_nthText(nthAnswer.value_or(QString()))
    , m_answeredN(nthAnswer.has_value())
    , m_choices(choices)
    , m_clock(clock)
    , m_times(times)
    , m_written(t_innermost ? t_innermost->m_written : m_ownWritten)
    , m_enclosing(t_innermost)
    , m_placement{m_listed, m_written, copyHooks, {}}
    , m_record(inputs.outputFolderText(), inputs.optionText(), choices)
    , m_copies(choices.skipCopied)
    , m_composeFromOpenedSource(&times == &systemFileTimes()) {
    t_innermost = this;
    m_listed.fillWhenAsked([this, count](ProtectedFiles &files) {
        return readListedFiles(files, m_inputs, count, m_written, m_ui);
    });
    m_placement.hooks.progress = [this](qint64 written) {
        m_ui.reportBytes(written, m_sourceSize);
    };
    m_placement.hooks.statusAfterNaming = m_record.enabled();
    m_placement.hooks.keepGoing = [this, alsoAsk = copyHooks.keepGoing] {
        m_record.flushIfDue();
        m_ui.processEvents();
        return !m_ui.closing() && (!alsoAsk || alsoAsk());
    };
}

RunContext::~RunContext() {
    t_innermost = m_enclosing;
}

QString RunContext::nameEntry(int position, const QString &sourcePath, const SourceFile *source,
                              QString &relative) {
    const qint16 nthValue = convertNthValue(m_nthText);
    if (m_answeredN)
        m_nthValue = nthValue;
    const NamingRule rule{m_inputs.optionText(), nthValue, m_choices};
    QString newName;
    // "Taken" reads the photo's or video's metadata through the same descriptor.
    const auto compose = [&](const FileTimeProvider &fileTimes, int fd, qint64 size) {
        const TakenFileTimes taken(fileTimes, sourcePath, fd, size, m_choices.takenShift);
        const QString through =
            rule.needsListedThrough() ? m_inputs.listedThrough(position) : QString();
        const NewName name = NewNameOf({sourcePath, through}, rule, m_clock, fileTimes, taken,
                                       RegionalForms::system());
        newName = name.composed;
        relative = name.folder;
    };
    if (m_composeFromOpenedSource && source && source->isOpen())
        compose(StatusFileTimes(sourcePath, source->status(), m_times), source->descriptor(),
                qint64(source->status().stx_size));
    else
        compose(m_times, -1, 0);
    return newName;
}

bool RunContext::copyEntry(int position, const QString &sourcePath, const QString &relative,
                           const QString &destination, const SourceFile *source,
                           FileOutcome &file) {
    return m_trap.step(kStepPlace, [&] {
        const QString outputFolder = m_inputs.outputFolderText();
        const QString listedThrough = m_inputs.listedThrough(position);
        const bool open = source && source->isOpen();
        if (open && m_copies.skipped(outputFolder, relative, sourcePath, listedThrough,
                                     source->status(), file)) {
            holdSkippedName(file, source->status());
            return;
        }
        const auto madeFolder = [this](const QString &folder) { m_record.addMadeFolder(folder); };
        if (relative.isEmpty() || !open ||
            readyLayoutFolder(m_layoutFolders, outputFolder, relative, destination,
                              m_placement.folder, madeFolder, file))
            file = placeListedFile(sourcePath, destination, source, m_placement);
        if (open)
            m_copies.copied(outputFolder, file, listedThrough, source->status());
    });
}

void RunContext::holdSkippedName(const FileOutcome &file, const struct statx &source) {
    const std::optional<QByteArray> copy = systemPathBytes(file.destination);
    struct stat status {};
    if (copy && ::stat(copy->constData(), &status) == 0)
        m_written.record(identityOf(status), identityOf(source));
}

FileOutcome RunContext::placeEntry(int position) {
    // Each file starts afresh: a failed step never hands it another file's values.
    QString sourcePath;
    QString newName;
    QString destination;
    QString relative; // the folder below the output folder that the layout puts it in
    std::optional<ErrorDetails> failure;
    const auto note = [&](bool completed) {
        if (!completed)
            failure = m_trap.lastReported();
    };
    m_trap.setEntry(std::nullopt);
    note(m_trap.step(kStepSource, [&] { sourcePath = m_inputs.entryAt(position); }));
    if (!failure)
        m_trap.setEntry(sourcePath);
    // The source is opened once: its name is composed from the status read through that
    // descriptor, and the copy reads through it, so neither can see another file.
    std::optional<SourceFile> source;
    if (!isBlankPath(sourcePath))
        source.emplace(sourcePath);
    m_sourceSize = source && source->isOpen() ? qint64(source->status().stx_size) : 0;
    if (m_trap.test(kStepNthEmptyTest, [&] { return m_nthText.isEmpty(); }))
        m_trap.step(kStepNthDefault, [&] { m_nthText = QString::number(-1); });
    note(m_trap.step(kStepNewName, [&] {
        newName = nameEntry(position, sourcePath, source ? &*source : nullptr, relative);
    }));
    note(m_trap.step(kStepDestination, [&] {
        destination = m_inputs.outputFolderText() + platformSeparator() +
                      layoutPath(relative, FileNameOf(newName));
    }));
    FileOutcome file;
    file.source = sourcePath;
    const bool placed =
        copyEntry(position, sourcePath, relative, destination, source ? &*source : nullptr, file);
    file.position = position;
    note(placed);
    if (!placed || (!file.copied() && failure && sourcePath.isEmpty())) {
        file.problem = CopyProblem::SystemError;
        file.reason = failure ? failure->description : QString();
        file.failure = failure;
    }
    m_record.setNthValue(m_nthValue);
    m_record.add(file);
    return file;
}

void RunContext::finish() {
    m_record.finish();
    // The index goes with the record: a window ended while its closing box is open leaves
    // both, so the next run skips what this one copied.
    m_copies.flush();
}

void RunContext::keepRecord(RunOutcome &outcome) const {
    outcome.recordId = m_record.id();
    outcome.recordProblem = m_record.problem();
}

} // namespace plenvoy
