#include "MainWindow.h"

#include "AboutAndHelp.h"
#include "ControlPlacement.h"
#include "RunProgressBar.h"
#include "core/Translation.h"
#include "filelist/FileListView.h"
#include "settings/AppTexts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

// How the main window builds its controls, places them as it grows, names them for screen
// readers and gives them their keys.

namespace plenvoy {

namespace {

/// The progress bar's height and the gap above it, in pixels, taken from the list's foot.
constexpr int kProgressBarHeight = 22;
constexpr int kProgressBarGap = 4;

} // namespace

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
    placeForGrowth();

    m_runProgressBar = new RunProgressBar(this);
    m_runProgressBar->setObjectName(QStringLiteral("RunProgress"));

    attachPreview();

    for (QGroupBox *frame : {m_optionsBox, m_outputFolderBox}) {
        paintWhite(*frame);
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
    }
    // The drop-down and the box leave the pointer as it is: their motion stops there.
    m_optionCombo->setAttribute(Qt::WA_NoMousePropagation);
    m_outputFolderEdit->setAttribute(Qt::WA_NoMousePropagation);
    m_outputFolderEdit->installEventFilter(this);

    const std::initializer_list<QWidget *> tabOrder{
        m_fileListView,     m_addFilesButton,      m_addFolderButton, m_startChangingButton,
        m_optionCombo,      m_stampSettingsButton, m_clearListButton, m_loadSamplesButton,
        m_outputFolderEdit, m_browseButton};
    for (auto control = tabOrder.begin(); control + 1 != tabOrder.end(); ++control)
        QWidget::setTabOrder(*control, *(control + 1));

    connectControls();
}

void MainWindow::placeForGrowth() {
    // The list takes the extra width and height; the rest keeps to the nearest edges.
    m_placement.place(m_fileListView, {0, 0, 1, 1});
    for (QWidget *control : {m_addFilesButton, m_clearListButton})
        m_placement.place(control, {0, 1, 0, 0});
    for (QWidget *control : {m_addFolderButton, m_loadSamplesButton})
        m_placement.place(control, {1, 1, 0, 0});
    for (QWidget *control :
         {static_cast<QWidget *>(m_optionsBox), static_cast<QWidget *>(m_outputFolderBox),
          static_cast<QWidget *>(m_startChangingButton)})
        m_placement.place(control, {0, 1, 1, 0});
    // In their frames.
    for (QWidget *control :
         {static_cast<QWidget *>(m_optionCombo), static_cast<QWidget *>(m_outputFolderEdit)})
        m_placement.place(control, {0, 0, 1, 0});
    for (QWidget *control : {m_stampSettingsButton, m_browseButton})
        m_placement.place(control, {1, 0, 0, 0});
}

void MainWindow::placeControls() {
    m_placement.follow(width() - minimumWidth(), height() - minimumHeight());
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
    onKeys(QKeySequence(Qt::Key_F1), [] { openHelp(); });
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_F1), [this] { showAbout(*this); });
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

} // namespace plenvoy
