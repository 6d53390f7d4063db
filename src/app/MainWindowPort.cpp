#include "MainWindowPort.h"

#include "AppTexts.h"
#include "ShellRules.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

namespace plenvoy {

QString displayText(const QString &text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

namespace {

int showBox(QWidget &owner, QMessageBox::Icon icon, const QString &title, const QString &text,
            QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, displayText(text), buttons, &owner);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

} // namespace

MainWindowPort::MainWindowPort(QWidget &window)
    : m_window(window) {}

void MainWindowPort::showMessage(const QString &text) {
    if (m_closing)
        return;
    showBox(m_window, QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok);
}

bool MainWindowPort::askYesNo(const QString &text) {
    if (m_closing)
        return false;
    return showBox(m_window, QMessageBox::NoIcon, applicationTitle(), text,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString MainWindowPort::askText(const QString &prompt, const QString &defaultAnswer) {
    if (m_closing)
        return QString();
    QInputDialog dialog(&m_window);
    dialog.setWindowTitle(applicationTitle());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(defaultAnswer);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    // OK with an empty box is an answer, told apart from Cancel's null text.
    const QString answer = dialog.textValue();
    return answer.isNull() ? QStringLiteral("") : answer;
}

void MainWindowPort::showErrorReport(const QString &text) {
    if (m_closing)
        return;
    showBox(m_window, QMessageBox::Warning, kErrorReportTitle, text, QMessageBox::Ok);
}

QStringList MainWindowPort::chooseFiles(const QString &title) {
    if (m_closing)
        return QStringList();
    return QFileDialog::getOpenFileNames(&m_window, title, QString(),
                                         QStringLiteral("All Files (*)"));
}

QString MainWindowPort::chooseFolder(const QString &prompt, const QString &startFolder) {
    if (m_closing)
        return QString();
    const QString start = QFileInfo(startFolder).isDir() ? startFolder : QString();
    return QFileDialog::getExistingDirectory(&m_window, prompt, start);
}

void MainWindowPort::openFolder(const QString &path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void MainWindowPort::setPointer(PointerMode mode) {
    if (mode == m_mode)
        return;
    m_mode = mode;
    applyPointer();
}

void MainWindowPort::setCustomPointer(const QCursor &cursor) {
    m_custom = cursor;
    if (m_mode == PointerMode::Custom)
        applyPointer();
}

void MainWindowPort::applyPointer() {
    switch (m_mode) {
    case PointerMode::Default:
        m_window.setCursor(Qt::ArrowCursor);
        break;
    case PointerMode::Busy:
        m_window.setCursor(Qt::WaitCursor);
        break;
    case PointerMode::Custom:
        m_window.setCursor(m_custom ? *m_custom : QCursor(Qt::ArrowCursor));
        break;
    }
}

void MainWindowPort::processEvents() {
    QApplication::processEvents();
}

} // namespace plenvoy
