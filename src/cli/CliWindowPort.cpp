#include "CliWindowPort.h"

namespace plenvoy::cli {

CliWindowPort::CliWindowPort(std::optional<QString> answer)
    : m_answer(std::move(answer)) {}

void CliWindowPort::showMessage(const QString &text) {
    m_messages.append(text);
}

bool CliWindowPort::askYesNo(const QString &text) {
    m_prompts.append(text);
    return false;
}

QString CliWindowPort::askText(const QString &prompt, const QString &defaultAnswer) {
    Q_UNUSED(defaultAnswer);
    m_prompts.append(prompt);
    if (m_prompts.size() == 1 && m_answer)
        return *m_answer;
    m_closing = true;
    return QString();
}

void CliWindowPort::showErrorReport(const QString &text) {
    // Every report of the program arrives as details; a bare text is told as it is.
    reportError(ErrorDetails{QString(), 0, 0, text, std::nullopt});
}

void CliWindowPort::reportError(const ErrorDetails &details) {
    if (onErrorReport)
        onErrorReport(details);
}

QStringList CliWindowPort::chooseFiles(const QString &title) {
    m_prompts.append(title);
    return {};
}

QString CliWindowPort::chooseFolder(const QString &prompt, const QString &startFolder) {
    Q_UNUSED(startFolder);
    m_prompts.append(prompt);
    return QString();
}

void CliWindowPort::processEvents() {
    if (onProcessEvents)
        onProcessEvents();
}

} // namespace plenvoy::cli
