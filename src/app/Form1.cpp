#include "Form1.h"

#include "AddFiles.h"
#include "Samples.h"

#include "AppLog.h"
#include "AppTexts.h"
#include "Appearance.h"
#include "OutputFolder.h"
#include "ShellRules.h"
#include "Skin.h"
#include "batch/PathHelpers.h"
#include "batch/StartChanging.h"
#include "core/LocationTags.h"
#include "core/Trap.h"
#include "engine/RenameOptions.h"
#include "filelist/ListRules.h"
#include "filelist/ListView1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

namespace plenvoy {

namespace {

// The window's client area and its controls, in twips (15 to a pixel).
constexpr int kFormWidth = 8040;
constexpr int kFormHeight = 6045;
constexpr int kListColumnWidth = 7000;

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

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
    QString optionText() const override { return m_options.currentText(); }

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

Form1::Form1(const QString &programFolder, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , m_programFolder(programFolder.isEmpty() ? plenvoy::programFolder() : programFolder)
    , m_port(*this) {
    // Told at start-up, or at the first write that fails; once in the run.
    m_settings.setNoticeHandler([this](const QString &text) { m_port.showMessage(text); });
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(twipsToPixels(kFormWidth), twipsToPixels(kFormHeight));
    setFont(arial(9));
    paintWhite(*this);
    setMouseTracking(true);
    buildControls();
    centreOnScreen();
}

Form1::~Form1() = default;

QPushButton *Form1::makeButton(const QString &name, const QString &caption, QWidget *parent,
                               const QRect &twips) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(twips);
    button->setFont(arial(11.25));
    button->setMouseTracking(true);
    button->setAttribute(Qt::WA_NoMousePropagation);
    button->installEventFilter(this);
    m_buttons.append(button);
    return button;
}

void Form1::buildControls() {
    m_listView1 = new ListView1(m_fileList, m_port, this);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    m_listView1->setGeometry(twipsRect(120, 120, 7800, 2535));
    m_listView1->setFont(arial(9));
    m_listView1->setAttribute(Qt::WA_NoMousePropagation);
    m_listView1->setDragIconPath(m_programFolder + QLatin1Char('/') + kDragIconName);

    m_pushButton1 = makeButton(QStringLiteral("PushButton1"), kCaptionAddFiles, this,
                               twipsRect(120, 2745, 3840, 405));
    m_pushButton3 = makeButton(QStringLiteral("PushButton3"), kCaptionAddFolder, this,
                               twipsRect(4080, 2745, 3840, 405));
    m_pushButton2 = makeButton(QStringLiteral("PushButton2"), kCaptionStartChanging, this,
                               twipsRect(120, 5520, 7800, 405));

    m_frame1 = new QGroupBox(kCaptionOptions, this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setGeometry(twipsRect(120, 3720, 7800, 800));
    m_combo1 = new QComboBox(m_frame1);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setGeometry(twipsRect(240, 300, 7320, 345));
    m_combo1->setEditable(false);
    m_combo1->setMaxVisibleItems(18);

    m_pushButton4 = makeButton(QStringLiteral("PushButton4"), kCaptionClearList, this,
                               twipsRect(120, 3255, 3840, 405));
    m_pushButton5 = makeButton(QStringLiteral("PushButton5"), kCaptionLoadSamples, this,
                               twipsRect(4080, 3255, 3840, 405));

    m_frame2 = new QGroupBox(kCaptionOutputFrame, this);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    m_frame2->setGeometry(twipsRect(120, 4590, 7800, 810));
    m_text1 = new QLineEdit(m_frame2);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setGeometry(twipsRect(240, 300, 6630, 345));
    m_pushButton6 = makeButton(QStringLiteral("PushButton6"), kCaptionBrowse, m_frame2,
                               twipsRect(6960, 300, 600, 345));

    for (QGroupBox *frame : {m_frame1, m_frame2}) {
        paintWhite(*frame);
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
    }
    // The drop-down and the box leave the pointer as it is: their motion stops there.
    m_combo1->setAttribute(Qt::WA_NoMousePropagation);
    m_text1->setAttribute(Qt::WA_NoMousePropagation);
    m_text1->installEventFilter(this);

    QWidget::setTabOrder(m_listView1, m_pushButton1);
    QWidget::setTabOrder(m_pushButton1, m_pushButton3);
    QWidget::setTabOrder(m_pushButton3, m_pushButton2);
    QWidget::setTabOrder(m_pushButton2, m_combo1);
    QWidget::setTabOrder(m_combo1, m_pushButton4);
    QWidget::setTabOrder(m_pushButton4, m_pushButton5);
    QWidget::setTabOrder(m_pushButton5, m_text1);
    QWidget::setTabOrder(m_text1, m_pushButton6);

    connect(m_combo1, &QComboBox::currentIndexChanged, this, &Form1::Combo1_Click);
    connect(m_combo1, &QComboBox::activated, this, &Form1::Combo1_Click);
    connect(m_text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    m_runInputs = std::make_unique<WindowRunInputs>(m_fileList, *m_text1, *m_combo1);
    connect(m_pushButton2, &QPushButton::clicked, this,
            [this] { PushButton2_Click(*m_runInputs, m_port); });
    connect(m_pushButton4, &QPushButton::clicked, this,
            [this] { PushButton4_Click(m_fileList, m_port); });
    connect(m_pushButton1, &QPushButton::clicked, this,
            [this] { PushButton1_Click(m_fileList, m_port); });
    connect(m_pushButton3, &QPushButton::clicked, this,
            [this] { PushButton3_Click(m_fileList, m_settings, m_port); });
    connect(m_pushButton5, &QPushButton::clicked, this,
            [this] { PushButton5_Click(m_fileList, m_port, m_programFolder); });
    connect(m_pushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
}

void Form1::centreOnScreen() {
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    move(available.center() - rect().center());
}

void Form1::Form_Load() {
    Trap trap(kTagFormLoad, m_port);
    trap.step(100, [&] { ApplySkin(*this, m_programFolder + QLatin1Char('/') + kSkinFileName); });
    trap.step(104, [&] { setWindowTitle(kProductName); });
    trap.step(104, [&] { setWindowIcon(programIcon()); });
    trap.step(104, [&] { SetApplicationTitle(); });
    const QString pointerFile = m_programFolder + QLatin1Char('/') + kPointerFileName;
    if (trap.test(106, [&] { return PathExists(pointerFile); }))
        trap.step(108, [&] { m_port.setCustomPointer(LoadPointerImage(pointerFile)); });
    trap.step(128, [&] { m_listView1->header()->setVisible(true); });
    trap.step(130, [&] { m_listView1->setColumnWidth(0, twipsToPixels(kListColumnWidth)); });
    {
        // Filling selects nothing and stores nothing; only the restored position does.
        const QSignalBlocker blocker(m_combo1);
        const QStringList options = renameOptionTexts();
        for (int i = 0; i < options.size(); ++i)
            trap.step(132 + 2 * i, [&] { m_combo1->addItem(options.at(i)); });
        m_combo1->setCurrentIndex(-1);
    }
    trap.step(204, [&] {
        const int position =
            comboPositionFromSetting(m_settings.readSetting(kKeyCombo1, 0), m_combo1->count());
        m_combo1->setCurrentIndex(position);
    });
    trap.step(210, [&] {
        const QString fallback = DesktopFolder();
        m_text1->setText(m_settings.readSetting(kKeyText1, fallback));
    });
}

void Form1::Combo1_Click() {
    m_settings.writeSetting(kKeyCombo1, QString::number(m_combo1->currentIndex()));
}

void Form1::Text1_Change(const QString &text) {
    m_settings.writeSetting(kKeyText1, text);
}

void Form1::PushButton6_Click() {
    plenvoy::PushButton6_Click(m_settings, m_port,
                               [this](const QString &text) { m_text1->setText(text); });
}

void Form1::pointerOver(PointerMode mode) {
    if (m_port.pointer() != PointerMode::Busy)
        m_port.setPointer(mode);
}

void Form1::closeEvent(QCloseEvent *event) {
    // Ends the program at once: a loop in progress stops at its next processEvents().
    m_port.markClosing();
    event->accept();
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

void Form1::mouseMoveEvent(QMouseEvent *event) {
    pointerOver(PointerMode::Default);
    QWidget::mouseMoveEvent(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_frame1 || watched == m_frame2)
            pointerOver(PointerMode::Default);
        else if (m_buttons.contains(qobject_cast<QPushButton *>(watched)))
            pointerOver(PointerMode::Custom);
    } else if (event->type() == QEvent::FocusIn && watched == m_text1) {
        // After the press that brought the focus has placed the caret.
        QMetaObject::invokeMethod(m_text1, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plenvoy
