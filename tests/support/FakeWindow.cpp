#include "FakeWindow.h"

namespace plenvoy::test {

void FakeWindow::showMessage(const QString &text) {
    messages.append(text);
}

void FakeWindow::showMessageWithDetails(const QString &text, const QString &informativeText) {
    messages.append(text);
    messageDetails.append(informativeText);
}

bool FakeWindow::askYesNo(const QString &text) {
    questions.append(text);
    return yesNoAnswers.isEmpty() ? false : yesNoAnswers.takeFirst();
}

QString FakeWindow::askText(const QString &prompt, const QString &defaultAnswer) {
    prompts.append(prompt);
    promptDefaults.append(defaultAnswer);
    if (onAskText)
        onAskText();
    return textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
}

void FakeWindow::showErrorReport(const QString &text) {
    errorReports.append(text);
}

QStringList FakeWindow::chooseFiles(const QString &title) {
    fileDialogTitles.append(title);
    return fileAnswers.isEmpty() ? QStringList() : fileAnswers.takeFirst();
}

QString FakeWindow::chooseFolder(const QString &prompt, const QString &startFolder) {
    folderPrompts.append(prompt);
    folderStarts.append(startFolder);
    return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
}

void FakeWindow::openFolder(const QString &path) {
    openedFolders.append(path);
}

void FakeWindow::setPointer(PointerMode mode) {
    m_pointer = mode;
    pointerChanges.append(mode);
}

void FakeWindow::processEvents() {
    ++processEventsCalls;
    if (onProcessEvents)
        onProcessEvents(processEventsCalls);
}

} // namespace plenvoy::test
