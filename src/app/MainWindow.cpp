#include "MainWindow.h"

#include "HelpRoute.h"
#include "NewNamePreview.h"
#include "RunProgressBar.h"
#include "settings/Samples.h"

#include "Appearance.h"
#include "Skin.h"
#include "StampSettingsDialog.h"
#include "Translations.h"
#include "WindowRuns.h"
#include "core/LocationTags.h"
#include "core/PathCodec.h"
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
#include <QDesktopServices>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTimer>

#include <sys/stat.h>

namespace plenvoy {

namespace {

// The window's client area and its controls, in twips (15 to a pixel).
constexpr int kFormWidth = 8040;
constexpr int kFormHeight = 6045;
constexpr int kListColumnWidth = 7000;
/// The progress bar's height and the gap above it, in pixels, taken from the list's foot.
constexpr int kProgressBarHeight = 22;
constexpr int kProgressBarGap = 4;

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

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

/// How a control follows the window's growth: by the growth in width (x, w) and in height
/// (y, h), each 0 or 1.
struct Anchor {
    int x, y, w, h;
};

QFont arial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

/// What "Start Changing" reads from the window, afresh at every read.
class WindowRunInputs final : public RunInputs {
public:
    WindowRunInputs(const FileList &list, const QLineEdit &folder, const QComboBox &options)
        : m_list(list)
        , m_folder(folder)
        , m_options(options) {}

    int fileCount() const override { return m_list.count(); }
    QString entryAt(int position) const override { return m_list.textAt(position); }
    QString outputFolderText() const override { return m_folder.text(); }
    // The option's own English text, whatever language the drop-down shows.
    QString optionText() const override { return m_options.currentData().toString(); }
    QString listedThrough(int position) const override { return m_list.listedThroughAt(position); }

private:
    const FileList &m_list;
    const QLineEdit &m_folder;
    const QComboBox &m_options;
};

void paintWhite(QWidget &widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace

MainWindow::MainWindow(const QString &programFolder, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , m_programFolder(programFolder.isEmpty() ? plenvoy::programFolder() : programFolder)
    , m_port(*this)
    , m_runs(m_port, [this](const std::function<void()> &handler) { runHandler(handler); }) {
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

QPushButton *MainWindow::makeButton(const QString &name, const QString &caption, QWidget *parent,
                                    const QRect &twips) {
    auto *button = new QPushButton(shownText("MainWindow", caption), parent);
    button->setObjectName(name);
    button->setGeometry(twips);
    button->setFont(arial(11.25));
    button->setMouseTracking(true);
    button->setAttribute(Qt::WA_NoMousePropagation);
    button->installEventFilter(this);
    m_buttons.append(button);
    return button;
}

void MainWindow::buildControls() {
    m_fileListView = new FileListView(m_fileList, m_port, this);
    m_fileListView->setObjectName(QStringLiteral("ListView1"));
    m_fileListView->setGeometry(twipsRect(120, 120, 7800, 2535));
    m_fileListView->setFont(arial(9));
    m_fileListView->setAttribute(Qt::WA_NoMousePropagation);
    m_fileListView->setDragIconPath(m_programFolder + QLatin1Char('/') + kDragIconName);

    m_addFilesButton = makeButton(QStringLiteral("PushButton1"), kCaptionAddFiles, this,
                                  twipsRect(120, 2745, 3840, 405));
    m_addFolderButton = makeButton(QStringLiteral("PushButton3"), kCaptionAddFolder, this,
                                   twipsRect(4080, 2745, 3840, 405));
    m_startChangingButton = makeButton(QStringLiteral("PushButton2"), kCaptionStartChanging, this,
                                       twipsRect(120, 5520, 7800, 405));

    m_optionsBox = new QGroupBox(shownText("MainWindow", kCaptionOptions), this);
    m_optionsBox->setObjectName(QStringLiteral("Frame1"));
    m_optionsBox->setGeometry(twipsRect(120, 3720, 7800, 800));
    m_optionCombo = new QComboBox(m_optionsBox);
    m_optionCombo->setObjectName(QStringLiteral("Combo1"));
    m_optionCombo->setGeometry(twipsRect(240, 300, 6630, 345));
    m_optionCombo->setEditable(false);
    m_optionCombo->setMaxVisibleItems(18);
    // Beside the drop-down as "..." sits beside the output folder.
    m_stampSettingsButton = makeButton(QStringLiteral("PushButton7"), kCaptionStampSettingsButton,
                                       m_optionsBox, twipsRect(6960, 300, 600, 345));
    m_stampSettingsButton->setToolTip(shownText("MainWindow", kTipStampSettings));

    m_clearListButton = makeButton(QStringLiteral("PushButton4"), kCaptionClearList, this,
                                   twipsRect(120, 3255, 3840, 405));
    m_loadSamplesButton = makeButton(QStringLiteral("PushButton5"), kCaptionLoadSamples, this,
                                     twipsRect(4080, 3255, 3840, 405));

    m_outputFolderBox = new QGroupBox(shownText("MainWindow", kCaptionOutputFrame), this);
    m_outputFolderBox->setObjectName(QStringLiteral("Frame2"));
    m_outputFolderBox->setGeometry(twipsRect(120, 4590, 7800, 810));
    m_outputFolderEdit = new QLineEdit(m_outputFolderBox);
    m_outputFolderEdit->setObjectName(QStringLiteral("Text1"));
    m_outputFolderEdit->setGeometry(twipsRect(240, 300, 6630, 345));
    m_browseButton = makeButton(QStringLiteral("PushButton6"), kCaptionBrowse, m_outputFolderBox,
                                twipsRect(6960, 300, 600, 345));

    // The list takes the extra width and height; the rest keeps to the nearest edges.
    const auto place = [this](QWidget *control) {
        m_placed.append({control, control->geometry()});
    };
    for (QWidget *control : std::initializer_list<QWidget *>{
             m_fileListView, m_addFilesButton, m_addFolderButton, m_clearListButton,
             m_loadSamplesButton, m_optionsBox, m_outputFolderBox, m_startChangingButton,
             m_optionCombo, m_stampSettingsButton, m_outputFolderEdit, m_browseButton})
        place(control);

    m_runProgressBar = new RunProgressBar(this);
    m_runProgressBar->setObjectName(QStringLiteral("RunProgress"));

    m_preview = new NewNamePreview(m_fileList, this);
    m_fileListView->setModel(m_preview);
    m_fileListView->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_fileListView->header(), &QWidget::customContextMenuRequested, this,
            &MainWindow::newNamesMenu);
    connect(m_optionCombo, &QComboBox::currentIndexChanged, m_preview,
            [this] { m_preview->setOption(m_runInputs->optionText()); });
    connect(m_outputFolderEdit, &QLineEdit::textChanged, m_preview,
            &NewNamePreview::setOutputFolder);

    for (QGroupBox *frame : {m_optionsBox, m_outputFolderBox}) {
        paintWhite(*frame);
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
    }
    // The drop-down and the box leave the pointer as it is: their motion stops there.
    m_optionCombo->setAttribute(Qt::WA_NoMousePropagation);
    m_outputFolderEdit->setAttribute(Qt::WA_NoMousePropagation);
    m_outputFolderEdit->installEventFilter(this);

    QWidget::setTabOrder(m_fileListView, m_addFilesButton);
    QWidget::setTabOrder(m_addFilesButton, m_addFolderButton);
    QWidget::setTabOrder(m_addFolderButton, m_startChangingButton);
    QWidget::setTabOrder(m_startChangingButton, m_optionCombo);
    QWidget::setTabOrder(m_optionCombo, m_stampSettingsButton);
    QWidget::setTabOrder(m_stampSettingsButton, m_clearListButton);
    QWidget::setTabOrder(m_clearListButton, m_loadSamplesButton);
    QWidget::setTabOrder(m_loadSamplesButton, m_outputFolderEdit);
    QWidget::setTabOrder(m_outputFolderEdit, m_browseButton);

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
    m_runs.undoOnKey(*this, m_outputFolderEdit);
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

    m_idleTimer = new QTimer(this);
    m_idleTimer->setInterval(100);
    connect(m_idleTimer, &QTimer::timeout, this, &MainWindow::walkPendingFolders);
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
    m_preview->setStyle(readStampStyle(m_settings));
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

void MainWindow::placeControls() {
    const int dx = width() - minimumWidth();
    const int dy = height() - minimumHeight();
    for (const auto &[control, design] : std::as_const(m_placed)) {
        Anchor anchor{0, 1, 0, 0}; // below the list: with the bottom edge
        if (control == m_fileListView)
            anchor = {0, 0, 1, 1};
        else if (control == m_addFolderButton || control == m_loadSamplesButton)
            anchor = {1, 1, 0, 0};
        else if (control == m_optionsBox || control == m_outputFolderBox ||
                 control == m_startChangingButton)
            anchor = {0, 1, 1, 0};
        else if (control == m_optionCombo || control == m_outputFolderEdit)
            anchor = {0, 0, 1, 0}; // in their frames
        else if (control == m_stampSettingsButton || control == m_browseButton)
            anchor = {1, 0, 0, 0};
        control->setGeometry(design.x() + anchor.x * dx, design.y() + anchor.y * dy,
                             design.width() + anchor.w * dx, design.height() + anchor.h * dy);
    }
    // During a run the bar takes the foot of the list.
    if (m_runProgressBar->isVisible()) {
        QRect list = m_fileListView->geometry();
        list.setHeight(list.height() - kProgressBarHeight - kProgressBarGap);
        m_fileListView->setGeometry(list);
        m_runProgressBar->setGeometry(list.x(), list.bottom() + 1 + kProgressBarGap, list.width(),
                                      kProgressBarHeight);
    }
}

void MainWindow::addShortcuts() {
    const auto onKeys = [this](const QKeySequence &keys, auto action) {
        auto *shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, action);
        return shortcut;
    };
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { m_addFilesButton->click(); });
    onKeys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), [this] { m_addFolderButton->click(); });
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter})
        onKeys(QKeySequence(Qt::CTRL | key), [this] {
            if (!m_running)
                m_startChangingButton->click();
        });
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
    onKeys(QKeySequence(Qt::Key_F1), [this] { openHelp(); });
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_F1), [this] { showAbout(); });
    m_stopShortcut = onKeys(QKeySequence(Qt::Key_Escape), [this] { askToStop(); });
    m_stopShortcut->setEnabled(false);
}

void MainWindow::describeControls() {
    m_fileListView->setAccessibleName(tr("Files to copy"));
    m_fileListView->setAccessibleDescription(
        tr("Each file is copied into the output folder under its new name"));
    m_optionCombo->setAccessibleName(kCaptionOptions);
    m_outputFolderEdit->setAccessibleName(kCaptionOutputFrame);
    m_stampSettingsButton->setAccessibleName(tr("Stamp settings"));
    m_browseButton->setAccessibleName(tr("Browse for the output folder"));
    m_runProgressBar->setAccessibleName(tr("Progress of the run"));
}

void MainWindow::startOrStop() {
    if (m_running) {
        askToStop();
        return;
    }
    m_port.requestStop(false);
    runHandler([this] {
        RunOutcome outcome = startChanging(*m_runInputs, m_port, systemClock(), systemFileTimes(),
                                           readStampStyle(m_settings), {}, m_copyHooks);
        showRunFace(false);
        rememberN(outcome.nthValue);
        m_runs.runEnded(outcome);
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

void MainWindow::showAbout() {
    const QString text =
        QStringLiteral("<h3>Plenvoy %1</h3><p>%2</p><p>%3</p><p><a href=\"%4\">%4</a></p><p>%5</p>")
            .arg(QStringLiteral(PLENVOY_VERSION), tr("Time-stamped copies of files"),
                 tr("Released under the MIT License."), QStringLiteral(PLENVOY_HOMEPAGE),
                 tr("Uses Qt %1 and libexiv2 %2.")
                     .arg(QString::fromLatin1(qVersion()), photoLibraryVersion()));
    QMessageBox box(QMessageBox::NoIcon, tr("About Plenvoy"), text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setTextFormat(Qt::RichText);
    box.setIconPixmap(windowIcon().pixmap(64, 64));
    box.exec();
}

void MainWindow::openHelp() {
    const HelpRoute route =
        helpRoute([](const QString &name) { return QStandardPaths::findExecutable(name); },
                  QStringLiteral(PLENVOY_HOMEPAGE));
    if (route.program.isEmpty() || !QProcess::startDetached(route.program, route.arguments))
        QDesktopServices::openUrl(route.url.isEmpty() ? QUrl(QStringLiteral(PLENVOY_HOMEPAGE))
                                                      : route.url);
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event) {
    // The background and the frames; the controls keep their own menus.
    QWidget *under = childAt(event->pos());
    if (under && under != m_optionsBox && under != m_outputFolderBox) {
        QWidget::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    QAction *help = menu.addAction(tr("&Help"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    QAction *about = menu.addAction(tr("&About Plenvoy"));
    about->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    QAction *chosen = menu.exec(event->globalPos());
    if (chosen == help)
        openHelp();
    else if (chosen == about)
        showAbout();
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
    m_preview->setStyle(readStampStyle(m_settings));
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
    for (const QString &path : paths) {
        struct stat status {};
        const bool folder =
            ::stat(pathToBytes(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
        if (folder)
            m_pendingFolders.append(path);
        else
            m_fileList.append(path); // as a drop appends, also during a run
    }
    if (!notice.isEmpty())
        m_pendingNotices.append(notice);
    if (!m_pendingFolders.isEmpty() || !m_pendingNotices.isEmpty())
        m_idleTimer->start();
    // A request: the desktop may keep the focus where the user is.
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void MainWindow::walkPendingFolders() {
    if (!idle() || m_port.closing())
        return;
    if (m_pendingFolders.isEmpty() && m_pendingNotices.isEmpty()) {
        m_idleTimer->stop();
        return;
    }
    runHandler([this] {
        if (!m_pendingFolders.isEmpty()) {
            m_port.setPointer(PointerMode::Busy);
            // Folders handed over during the walk join the queue and are walked in this turn.
            while (!m_pendingFolders.isEmpty() && !m_port.closing())
                addFolderTree(m_fileList, m_pendingFolders.takeFirst(), QStringLiteral("*"),
                              m_port);
            if (!m_port.closing())
                m_port.setPointer(PointerMode::Default);
        }
        // A folder handed over while a box is open is listed before the next box.
        while (!m_pendingNotices.isEmpty() && m_pendingFolders.isEmpty() && !m_port.closing())
            m_port.showMessage(m_pendingNotices.takeFirst());
    });
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
