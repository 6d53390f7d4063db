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
    const auto [description, location] = splitErrorReport(text);
    if (onErrorReport)
        onErrorReport(description, location);
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

std::pair<QString, QString> CliWindowPort::splitErrorReport(const QString &text) {
    const QString head = text.section(QStringLiteral("\r\r"), 0, 0);
    const qsizetype lineBreak = head.indexOf(QStringLiteral("\r\n"));
    if (lineBreak < 0)
        return {head, QString()};
    return {head.left(lineBreak), head.mid(lineBreak + 2).trimmed()};
}

} // namespace plenvoy::cli
