#include "MainWindow.h"

#include "AboutAndHelp.h"
#include "ControlPlacement.h"
#include "HandedPaths.h"
#include "NewNamePreview.h"
#include "RunProgressBar.h"
#include "settings/Samples.h"

#include "Appearance.h"
#include "Skin.h"
#include "StampSettingsDialog.h"
#include "Translations.h"
#include "WindowRunInputs.h"
#include "WindowUndo.h"
#include "core/LocationTags.h"
#include "core/PathHelpers.h"
#include "core/Translation.h"
#include "core/Trap.h"
#include "desktop/RunProgress.h"
#include "filelist/AddFiles.h"
#include "filelist/FileListView.h"
#include "filelist/ListRules.h"
#include "naming/ComposeNewName.h"
#include "naming/RenameOptions.h"
#include "naming/TakenTime.h"
#include "run/StartChanging.h"
#include "settings/AppLog.h"
#include "settings/AppTexts.h"
#include "settings/OutputFolder.h"
#include "settings/ShellRules.h"
#include "settings/StoredChoices.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>

namespace plenvoy {

namespace {

// The window's client area and its controls, in twips (15 to a pixel).
constexpr int kFormWidth = 8040;
constexpr int kFormHeight = 6045;
constexpr int kListColumnWidth = 7000;

// The start-up's steps, as its error reports number them.
constexpr qint32 kLineApplySkin = 100;
constexpr qint32 kLineTitleAndIcon = 104;
constexpr qint32 kLinePointerFileTest = 106;
constexpr qint32 kLineLoadPointer = 108;
constexpr qint32 kLineShowHeader = 128;
constexpr qint32 kLineColumnWidth = 130;
/// Each option is added in a step of its own, the next two further on.
constexpr qint32 kLineFirstOption = 132;
constexpr qint32 kLineRestoreOption = 204;
constexpr qint32 kLineRestoreOutputFolder = 210;

} // namespace

MainWindow::MainWindow(const QString &programFolder, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , m_programFolder(programFolder.isEmpty() ? plenvoy::programFolder() : programFolder)
    , m_port(*this)
    , m_undo(m_port, [this](const std::function<void()> &handler) { runHandler(handler); })
    , m_handedPaths(
          m_fileList, m_port, [this] { return idle(); },
          [this](const std::function<void()> &handler) { runHandler(handler); }) {
    // Told at start-up, or at the first write that fails; once in the run.
    m_settings.setNoticeHandler([this](const QString &text) { m_port.showMessage(text); });
    setObjectName(QStringLiteral("Form1"));
    // The design's size is the smallest; the list takes whatever the window grows by.
    setMinimumSize(twipsToPixels(kFormWidth), twipsToPixels(kFormHeight));
    resize(minimumSize());
    setFont(arial(9));
    paintWhite(*this);
    setMouseTracking(true);
    buildControls();
    centreOnScreen();
}

MainWindow::~MainWindow() {
    // The list's view and its preview read the list: they go before it does.
    delete m_fileListView;
    delete m_preview;
}

void MainWindow::attachPreview() {
    m_preview = new NewNamePreview(m_fileList, this);
    m_fileListView->setModel(m_preview);
    m_fileListView->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_fileListView->header(), &QWidget::customContextMenuRequested, this,
            &MainWindow::newNamesMenu);
    connect(m_optionCombo, &QComboBox::currentIndexChanged, m_preview,
            [this] { m_preview->setOption(m_runInputs->optionText()); });
    connect(m_outputFolderEdit, &QLineEdit::textChanged, m_preview,
            &NewNamePreview::setOutputFolder);
}

void MainWindow::connectControls() {
    connect(m_optionCombo, &QComboBox::currentIndexChanged, this, &MainWindow::storeChosenOption);
    connect(m_optionCombo, &QComboBox::activated, this, &MainWindow::storeChosenOption);
    connect(m_outputFolderEdit, &QLineEdit::textChanged, this, &MainWindow::storeOutputFolder);
    m_runInputs =
        std::make_unique<WindowRunInputs>(m_fileList, *m_outputFolderEdit, *m_optionCombo);
    m_progress = std::make_unique<RunProgress>(
        kProductName, [this](const QString &title) { setWindowTitle(title); },
        QStringLiteral(PLENVOY_APP_ID));
    m_port.setProgressHandler([this](qint64 done, qint64 total) {
        showRunFace(true);
        m_progress->report(done, total);
        m_runProgressBar->reportFiles(done, total);
    });
    m_port.setBytesHandler(
        [this](qint64 written, qint64 size) { m_runProgressBar->reportBytes(written, size); });
    m_port.setRunEndHandler([this] { showRunFace(false); });
    connect(m_startChangingButton, &QPushButton::clicked, this, &MainWindow::startOrStop);
    // The output-folder box keeps its own undo.
    m_undo.undoOnKey(*this, m_outputFolderEdit);
    connect(m_clearListButton, &QPushButton::clicked, this,
            [this] { runHandler([this] { clearList(m_fileList, m_port); }); });
    connect(m_addFilesButton, &QPushButton::clicked, this,
            [this] { runHandler([this] { addChosenFiles(m_fileList, m_port); }); });
    connect(m_addFolderButton, &QPushButton::clicked, this, [this] {
        runHandler([this] { addAllFilesInFolder(m_fileList, m_settings, m_port); });
    });
    connect(m_loadSamplesButton, &QPushButton::clicked, this, [this] {
        runHandler([this] { loadSampleFiles(m_fileList, m_port, m_programFolder); });
    });
    connect(m_browseButton, &QPushButton::clicked, this,
            [this] { runHandler([this] { browseOutputFolder(); }); });
    connect(m_stampSettingsButton, &QPushButton::clicked, this,
            [this] { runHandler([this] { openStampSettings(); }); });

    addShortcuts();
    describeControls();
}

void MainWindow::centreOnScreen() {
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    move(available.center() - rect().center());
}

void MainWindow::startUp() {
    Trap trap(kTagFormLoad, m_port);
    trap.step(kLineApplySkin,
              [&] { ApplySkin(*this, m_programFolder + QLatin1Char('/') + kSkinFileName); });
    trap.step(kLineTitleAndIcon, [&] { setWindowTitle(kProductName); });
    trap.step(kLineTitleAndIcon, [&] { setWindowIcon(programIcon()); });
    trap.step(kLineTitleAndIcon, [&] { SetApplicationTitle(); });
    const QString pointerFile = m_programFolder + QLatin1Char('/') + kPointerFileName;
    if (trap.test(kLinePointerFileTest, [&] { return PathExists(pointerFile); }))
        trap.step(kLineLoadPointer,
                  [&] { m_port.setCustomPointer(LoadPointerImage(pointerFile)); });
    trap.step(kLineShowHeader, [&] { m_fileListView->header()->setVisible(true); });
    trap.step(kLineColumnWidth,
              [&] { m_fileListView->setColumnWidth(0, twipsToPixels(kListColumnWidth)); });
    {
        // Filling selects nothing and stores nothing; only the restored position does.
        const QSignalBlocker blocker(m_optionCombo);
        const QStringList options = renameOptionTexts();
        for (int i = 0; i < options.size(); ++i)
            trap.step(kLineFirstOption + 2 * i, [&] {
                m_optionCombo->addItem(shownOptionText(options.at(i)), options.at(i));
            });
        m_optionCombo->setCurrentIndex(-1);
    }
    trap.step(kLineRestoreOption, [&] {
        const int position = comboPositionFromSetting(m_settings.readSetting(kKeyChosenOption, 0),
                                                      m_optionCombo->count());
        m_optionCombo->setCurrentIndex(position);
    });
    trap.step(kLineRestoreOutputFolder, [&] {
        const QString fallback = DesktopFolder();
        m_outputFolderEdit->setText(m_settings.readSetting(kKeyOutputFolder, fallback));
    });

    // The window's own settings, read only; written when the user changes them.
    m_preview->setOutputFolder(m_outputFolderEdit->text());
    m_preview->setChoices(readRunChoices(m_settings));
    if (const std::optional<qint16> n = storedLastN(m_settings))
        m_preview->setLastN(*n);
    m_preview->setDarkBase(m_fileListView->palette().color(QPalette::Base).lightness() < 128);
    showNewNames(storedShowNewNames(m_settings));
    const std::optional<QSize> stored = storedWindowSize(m_settings);
    if (stored && stored->width() >= minimumWidth() && stored->height() >= minimumHeight()) {
        resize(*stored);
        centreOnScreen();
    }
}

void MainWindow::showNewNames(bool shown) {
    QHeaderView *header = m_fileListView->header();
    m_fileListView->setColumnHidden(1, !shown);
    // Shown, each column starts at half the list's width and "New Name" takes what the
    // window grows by; alone, "All File(s)" keeps its own width.
    header->setStretchLastSection(shown);
    m_fileListView->setColumnWidth(0, shown ? kFileListWidth / 2 : kFileListColumnWidth);
}

void MainWindow::newNamesMenu(const QPoint &position) {
    QMenu menu(this);
    QAction *action = menu.addAction(shownText("NewName", kHeaderNewName));
    action->setCheckable(true);
    action->setChecked(!m_fileListView->isColumnHidden(1));
    if (menu.exec(m_fileListView->header()->mapToGlobal(position)) != action)
        return;
    showNewNames(action->isChecked());
    storeShowNewNames(m_settings, action->isChecked());
}

void MainWindow::rememberN(std::optional<qint16> n) {
    if (!n || *n < 0 || m_port.closing())
        return;
    storeLastN(m_settings, *n);
    m_preview->setLastN(*n);
}

void MainWindow::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (event->spontaneous() && event->oldSize().isValid() && event->size() != event->oldSize())
        m_userResized = true;
    placeControls();
}

void MainWindow::startOrStop() {
    if (m_running) {
        askToStop();
        return;
    }
    m_port.requestStop(false);
    runHandler([this] {
        RunOutcome outcome = startChanging(*m_runInputs, m_port, systemClock(), systemFileTimes(),
                                           readRunChoices(m_settings), {}, m_copyHooks);
        showRunFace(false);
        rememberN(outcome.nthValue);
        m_undo.runEnded(outcome);
        forgetOutcome(std::move(outcome));
    });
    showRunFace(false);
}

void MainWindow::showRunFace(bool shown) {
    if (shown == m_running)
        return;
    m_running = shown;
    m_startChangingButton->setText(
        shownText("MainWindow", shown ? kCaptionStop : kCaptionStartChanging));
    m_stopShortcut->setEnabled(shown);
    if (shown) {
        m_runProgressBar->begin();
    } else {
        m_runProgressBar->end();
        m_progress->finish();
    }
    placeControls();
}

void MainWindow::askToStop() {
    if (m_running && !m_port.stopRequested() && !m_port.closing() &&
        m_port.askYesNo(tr("Stop after the current file?")))
        m_port.requestStop();
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event) {
    // The background and the frames; the controls keep their own menus.
    QWidget *under = childAt(event->pos());
    if (under && under != m_optionsBox && under != m_outputFolderBox) {
        QWidget::contextMenuEvent(event);
        return;
    }
    helpMenu(*this, event->globalPos());
}

void MainWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    m_preview->setClockRunning(true);
}

void MainWindow::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    m_preview->setClockRunning(false);
}

void MainWindow::storeChosenOption() {
    m_settings.writeSetting(kKeyChosenOption, QString::number(m_optionCombo->currentIndex()));
}

void MainWindow::storeOutputFolder(const QString &text) {
    m_settings.writeSetting(kKeyOutputFolder, text);
}

void MainWindow::browseOutputFolder() {
    plenvoy::browseOutputFolder(m_settings, m_port,
                                [this](const QString &text) { m_outputFolderEdit->setText(text); });
}

void MainWindow::openStampSettings() {
    PresetStore presets(m_settings);
    PresetWindow window;
    window.current = [this] {
        Preset preset;
        preset.option = m_runInputs->optionText();
        preset.nthValue = storedLastN(m_settings);
        preset.outputFolder = m_outputFolderEdit->text();
        return preset;
    };
    window.apply = [this](const Preset &preset) {
        const int option = m_optionCombo->findData(preset.option);
        if (!preset.option.isEmpty() && option >= 0)
            m_optionCombo->setCurrentIndex(option);
        rememberN(preset.nthValue);
        if (!preset.outputFolder.isEmpty())
            m_outputFolderEdit->setText(preset.outputFolder);
    };
    StampSettingsDialog dialog(m_settings,
                               m_fileList.count() > 0 ? m_fileList.textAt(1) : QString(),
                               m_runInputs->optionText(), presets, std::move(window), this);
    dialog.exec();
    m_preview->setChoices(readRunChoices(m_settings));
}

void MainWindow::pointerOver(PointerMode mode) {
    if (m_port.pointer() != PointerMode::Busy)
        m_port.setPointer(mode);
}

void MainWindow::runHandler(const std::function<void()> &handler) {
    ++m_handlersRunning;
    handler();
    --m_handlersRunning;
}

bool MainWindow::idle() const {
    return m_handlersRunning == 0 && !QApplication::activeModalWidget() &&
           !QApplication::activePopupWidget();
}

void MainWindow::openPaths(const QStringList &paths, const QString &notice) {
    m_handedPaths.open(paths, notice);
    // A request: the desktop may keep the focus where the user is.
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent *event) {
    if (m_running && !m_port.closing() && !m_port.askYesNo(tr("Stop the run and close Plenvoy?"))) {
        event->ignore();
        return;
    }
    // Ends the program at once: a loop in progress stops at its next processEvents().
    m_port.markClosing();
    if (m_userResized && !isMaximized())
        storeWindowSize(m_settings, size());
    event->accept();
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event) {
    pointerOver(PointerMode::Default);
    QWidget::mouseMoveEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        // Enter or Return presses a focused button, as Space does.
        auto *button = qobject_cast<QPushButton *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (button && m_buttons.contains(button) &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            button->click();
            return true;
        }
    } else if (event->type() == QEvent::MouseMove) {
        if (watched == m_optionsBox || watched == m_outputFolderBox)
            pointerOver(PointerMode::Default);
        else if (m_buttons.contains(qobject_cast<QPushButton *>(watched)))
            pointerOver(PointerMode::Custom);
    } else if (event->type() == QEvent::FocusIn && watched == m_outputFolderEdit) {
        // After the press that brought the focus has placed the caret.
        QMetaObject::invokeMethod(m_outputFolderEdit, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plenvoy
