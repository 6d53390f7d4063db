#pragma once

#include "core/ErrorReport.h"
#include "core/SilentWindowPort.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace plenvoy::cli {

/// The window of a command-line run: nobody is there to answer. Messages are kept for the
/// caller, the one question a run may ask ("Enter n:") is answered with the -n text, and
/// error reports go to a handler that names the file concerned. Dialogs answer as Cancel.
class CliWindowPort final : public SilentWindowPort {
public:
    /// The answer to the first question; a run asks at most once for a number it can read.
    explicit CliWindowPort(std::optional<QString> answer);

    void showMessage(const QString &text) override;
    bool askYesNo(const QString &text) override;
    /// Answers the first question with the given text. A second question means the first
    /// answer was refused: the window then counts as closed, so the asking loop ends
    /// instead of waiting for an answer that never comes.
    QString askText(const QString &prompt, const QString &defaultAnswer) override;
    void showErrorReport(const QString &text) override;
    void reportError(const ErrorDetails &details) override;
    QStringList chooseFiles(const QString &title) override;
    QString chooseFolder(const QString &prompt, const QString &startFolder) override;
    void processEvents() override;
    void reportProgress(qint64 done, qint64 total) override {
        if (onProgress)
            onProgress(done, total);
    }

    /// Runs inside processEvents(): a batch run calls it once before each file.
    std::function<void()> onProcessEvents;
    /// Receives the run's progress: done of total files.
    std::function<void(qint64 done, qint64 total)> onProgress;
    /// Receives every error report.
    std::function<void(const ErrorDetails &details)> onErrorReport;

    const QStringList &messages() const { return m_messages; }
    const QStringList &prompts() const { return m_prompts; }

private:
    std::optional<QString> m_answer;
    QStringList m_messages;
    QStringList m_prompts;
};

} // namespace plenvoy::cli
