#include "MainWindowPort.h"

#include "core/PathCodec.h"
#include "core/Translation.h"
#include "settings/AppTexts.h"
#include "settings/ShellRules.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <dirent.h>
#include <sys/stat.h>

namespace plenvoy {

QString displayText(const QString &text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

int boxMinimumWidth(const QString &title, const QFont &font) {
    // Room for the bar's icon, three buttons and the margins between them.
    constexpr int kTitleBarExtras = 160;
    QFont titleFont = font;
    titleFont.setBold(true);
    titleFont.setPointSizeF(font.pointSizeF() * 1.2);
    return QFontMetrics(titleFont).horizontalAdvance(title) + kTitleBarExtras;
}

QString pathFromDialog(const QString &path) {
    const QChar replacement(0xFFFD);
    if (!path.contains(replacement) || !path.startsWith(QLatin1Char('/')))
        return path;
    const QStringList components = path.split(QLatin1Char('/'));
    QString resolved; // "" for the root, then "/a", "/a/b", ...
    for (qsizetype i = 1; i < components.size(); ++i) {
        QString component = components.at(i);
        if (component.contains(replacement)) {
            const QString folder = resolved.isEmpty() ? QStringLiteral("/") : resolved;
            DIR *dir = ::opendir(pathToBytes(folder).constData());
            if (!dir)
                return path;
            QString match;
            int matches = 0;
            while (const dirent *entry = ::readdir(dir)) {
                const QString name = pathFromBytes(entry->d_name);
                if (pathForDisplay(name) == component) {
                    match = name;
                    ++matches;
                }
            }
            ::closedir(dir);
            if (matches != 1)
                return path;
            component = match;
        }
        resolved += QLatin1Char('/') + component;
    }
    return resolved;
}

QUrl localFileUrl(const QString &path) {
    return QUrl::fromEncoded(QByteArrayLiteral("file://") +
                             pathToBytes(path).toPercentEncoding(QByteArrayLiteral("/")));
}

namespace {

// The folder a dialog opens at: the start folder when it exists, otherwise the working
// folder, always named (given none, Qt's dialog would open where the last one closed). Qt
// cannot name a folder whose path holds escaped bytes; the dialog then opens at the
// deepest folder above it that it can name.
QString dialogStartFolder(const QString &startFolder) {
    struct stat st {};
    if (startFolder.isEmpty() || ::stat(pathToBytes(startFolder).constData(), &st) != 0 ||
        !S_ISDIR(st.st_mode))
        return QDir::currentPath();
    if (!hasEscapedBytes(startFolder))
        return startFolder;
    QString nameable = startFolder;
    while (hasEscapedBytes(nameable))
        nameable.truncate(nameable.lastIndexOf(QLatin1Char('/')));
    return nameable.isEmpty() ? QStringLiteral("/") : nameable;
}

// Qt's file dialogs read their history from QtProject.conf in the user's configuration
// folder and write it back when they close. While one is open that file lives in a folder
// of its own, removed afterwards: the dialogs remember nothing between uses and leave
// nothing behind.
class DialogHistoryAside final {
public:
    DialogHistoryAside() {
        if (!m_folder.isValid())
            return;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_folder.path());
    }

private:
    QTemporaryDir m_folder;
};

// A box sizes itself to its contents alone: a spacer across its layout keeps it wide enough
// for its title.
void keepTitleWhole(QWidget &box, const QString &title) {
    auto *spacer = new QSpacerItem(boxMinimumWidth(title, box.font()), 0);
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(spacer, grid->rowCount(), 0, 1, grid->columnCount());
    else if (box.layout())
        box.layout()->addItem(spacer);
    else
        delete spacer;
}

int showBox(QWidget &owner, QMessageBox::Icon icon, const QString &title, const QString &text,
            QMessageBox::StandardButtons buttons, const QString &informativeText = QString(),
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) {
    QMessageBox box(icon, title, displayText(text), buttons, &owner);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    box.setTextFormat(Qt::PlainText);
    if (!informativeText.isEmpty())
        box.setInformativeText(displayText(informativeText));
    keepTitleWhole(box, title);
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

void MainWindowPort::showMessageWithDetails(const QString &text, const QString &informativeText) {
    if (m_closing)
        return;
    showBox(m_window, QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok,
            informativeText);
}

bool MainWindowPort::showClosingBox(const QString &text, const QString &informativeText,
                                    bool canUndo) {
    return showRunClosingBox(text, informativeText, canUndo, QString());
}

bool MainWindowPort::showRunClosingBox(const QString &text, const QString &informativeText,
                                       bool canUndo, const QString &writtenFolder) {
    if (m_runEnd)
        m_runEnd();
    if (m_closing)
        return false;
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), displayText(text), QMessageBox::Ok,
                    &m_window);
    box.setTextFormat(Qt::PlainText);
    if (!informativeText.isEmpty())
        box.setInformativeText(displayText(informativeText));
    QPushButton *undo =
        canUndo
            ? box.addButton(shownText("MainWindow",
                                      QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Undo Run"))),
                            QMessageBox::ActionRole)
            : nullptr;
    QPushButton *openFolder =
        writtenFolder.isEmpty()
            ? nullptr
            : box.addButton(shownText("MainWindow", QStringLiteral(QT_TRANSLATE_NOOP(
                                                        "MainWindow", "&Open Folder"))),
                            QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    keepTitleWhole(box, applicationTitle());
    box.exec();
    if (openFolder && box.clickedButton() == static_cast<QAbstractButton *>(openFolder))
        this->openFolder(writtenFolder);
    return undo && box.clickedButton() == static_cast<QAbstractButton *>(undo);
}

bool MainWindowPort::askYesNo(const QString &text) {
    if (m_closing)
        return false;
    return showBox(m_window, QMessageBox::NoIcon, applicationTitle(), text,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool MainWindowPort::askYesNoDefaultNo(const QString &text) {
    if (m_closing)
        return false;
    return showBox(m_window, QMessageBox::NoIcon, applicationTitle(), text,
                   QMessageBox::Yes | QMessageBox::No, QString(),
                   QMessageBox::No) == QMessageBox::Yes;
}

QString MainWindowPort::askText(const QString &prompt, const QString &defaultAnswer) {
    if (m_closing)
        return QString();
    QInputDialog dialog(&m_window);
    dialog.setWindowTitle(applicationTitle());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(defaultAnswer);
    dialog.minimumSizeHint(); // the dialog makes its layout when first measured
    keepTitleWhole(dialog, applicationTitle());
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    // OK with an empty box is an answer, told apart from Cancel's null text.
    const QString answer = dialog.textValue();
    return answer.isNull() ? QStringLiteral("") : answer;
}

void MainWindowPort::showErrorReport(const QString &text) {
    if (m_closing)
        return;
    showBox(m_window, QMessageBox::Warning, shownText("ErrorReport", kErrorReportTitle), text,
            QMessageBox::Ok);
}

QStringList MainWindowPort::chooseFiles(const QString &title) {
    if (m_closing)
        return QStringList();
    const DialogHistoryAside history;
    // Qt returns every chosen name, however many: the "too many files" message of a dialog
    // with a fixed result buffer cannot arise here and is not built.
    QStringList chosen = QFileDialog::getOpenFileNames(
        &m_window, title, dialogStartFolder(QString()),
        shownText("FileList", QStringLiteral(QT_TRANSLATE_NOOP("FileList", "All Files (*)"))));
    for (QString &path : chosen)
        path = pathFromDialog(path);
    return chosen;
}

QString MainWindowPort::chooseFolder(const QString &prompt, const QString &startFolder) {
    if (m_closing)
        return QString();
    const DialogHistoryAside history;
    return pathFromDialog(
        QFileDialog::getExistingDirectory(&m_window, prompt, dialogStartFolder(startFolder)));
}

void MainWindowPort::openFolder(const QString &path) {
    QDesktopServices::openUrl(localFileUrl(path));
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
    if (std::chrono::steady_clock::now() - m_lastEvents < kEventInterval)
        return;
    QApplication::processEvents();
    ++m_eventRounds;
    // Measured after the events: a slow round does not make the next call skip less.
    m_lastEvents = std::chrono::steady_clock::now();
}

} // namespace plenvoy
