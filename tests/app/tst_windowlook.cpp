// How the window looks and answers the pointer: where each control sits and how it follows
// the window's growth, the tab order, captions and fonts, the skin and the pointer images.
#include "BoxWatcher.h"
#include "TestFiles.h"
#include "WindowTest.h"
#include "app/MainWindow.h"
#include "app/MainWindowPort.h"
#include "app/MnemonicStyle.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/LocationTags.h"
#include "core/PathCodec.h"
#include "naming/RenameOptions.h"
#include "settings/AppTexts.h"
#include "settings/SettingsKeys.h"
#include "settings/ShellRules.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;
using namespace plenvoy::test;

namespace {

const QString kAssets = QStringLiteral(PLENVOY_ASSETS_DIR);

void sendMove(QWidget *widget, Qt::MouseButtons buttons = Qt::NoButton) {
    const QPointF local(3, 3);
    QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class TestWindowLook : public WindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void controlsSitAtTheirPlacesAndFollowTheNearestEdges_data();
    void controlsSitAtTheirPlacesAndFollowTheNearestEdges();
    void windowOpensAtTheDesignSizeAndMayGrow();
    void tabOrderFollowsTheLayout();
    void captionsAndFonts();
    void altRevealsTheMnemonics();
    void withoutOptionalFilesTheWindowIsWhiteAndQuiet();
    void shippedSkinAndPointerLoad();
    void unreadableSkinAndPointerAreReported();
    void pointerFollowsTheMouse();
};

void TestWindowLook::init() {
    QVERIFY(makeWindowFolders());
}

void TestWindowLook::cleanup() {
    restoreWindowEnvironment();
}

void TestWindowLook::controlsSitAtTheirPlacesAndFollowTheNearestEdges_data() {
    // Where each control sits in the smallest window, and how it moves and grows with the
    // window: by the growth in width (x, width) and in height (y, height), each 0 or 1.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<QRect>("growth");
    const QString form = QStringLiteral("Form1");
    const QString options = QStringLiteral("Frame1");
    const QString output = QStringLiteral("Frame2");
    const auto row = [](const char *what, const char *name, const QString &container,
                        const QRect &pixels, const QRect &growth) {
        QTest::newRow(what) << QString::fromLatin1(name) << container << pixels << growth;
    };
    row("the list takes all the extra room", "ListView1", form, {8, 8, 520, 169}, {0, 0, 1, 1});
    row("Add File(s) keeps to the bottom left", "PushButton1", form, {8, 183, 256, 27},
        {0, 1, 0, 0});
    row("Add All Files keeps to the bottom right", "PushButton3", form, {272, 183, 256, 27},
        {1, 1, 0, 0});
    row("Clear List keeps to the bottom left", "PushButton4", form, {8, 217, 256, 27},
        {0, 1, 0, 0});
    row("Load Samples keeps to the bottom right", "PushButton5", form, {272, 217, 256, 27},
        {1, 1, 0, 0});
    row("the options frame spans the bottom", "Frame1", form, {8, 248, 520, 53}, {0, 1, 1, 0});
    // The drop-down leaves room for the stamp settings button, placed as "..." is below.
    row("the drop-down widens in its frame", "Combo1", options, {16, 20, 442, 23}, {0, 0, 1, 0});
    row("stamp settings keeps to its frame's right", "PushButton7", options, {464, 20, 40, 23},
        {1, 0, 0, 0});
    row("the output frame spans the bottom", "Frame2", form, {8, 306, 520, 54}, {0, 1, 1, 0});
    row("the folder box widens in its frame", "Text1", output, {16, 20, 442, 23}, {0, 0, 1, 0});
    row("browse keeps to its frame's right", "PushButton6", output, {464, 20, 40, 23},
        {1, 0, 0, 0});
    row("Start Changing spans the bottom", "PushButton2", form, {8, 368, 520, 27}, {0, 1, 1, 0});
}

void TestWindowLook::controlsSitAtTheirPlacesAndFollowTheNearestEdges() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, pixels);
    QFETCH(QRect, growth);
    auto form = startForm();
    form->show();
    auto *control = form->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), pixels);
    QVERIFY(control->isVisible());
    const QSize grown(300, 200);
    form->resize(form->size() + grown);
    QCOMPARE(control->geometry(), QRect(pixels.x() + growth.x() * grown.width(),
                                        pixels.y() + growth.y() * grown.height(),
                                        pixels.width() + growth.width() * grown.width(),
                                        pixels.height() + growth.height() * grown.height()));
    form->resize(form->minimumSize());
    QCOMPARE(control->geometry(), pixels);
}

void TestWindowLook::windowOpensAtTheDesignSizeAndMayGrow() {
    auto form = startForm();
    QCOMPARE(form->size(), QSize(536, 403));
    QCOMPARE(form->minimumSize(), QSize(536, 403));
    QCOMPARE(form->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    const Qt::WindowFlags flags = form->windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowMaximizeButtonHint);
    QCOMPARE(form->palette().color(QPalette::Window), QColor(Qt::white));
    auto *list = form->findChild<QTreeView *>(QStringLiteral("ListView1"));
    // Each column takes half of the list; "New Name" is shown by default.
    QCOMPARE(list->columnWidth(0), 260);
    QVERIFY(!list->isColumnHidden(1));
    QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("All File(s)"));
    QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("New Name"));
    // Centred on its screen.
    const QRect screen = form->screen()->availableGeometry();
    QVERIFY(qAbs(form->geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(form->geometry().center().y() - screen.center().y()) <= 1);
}

void TestWindowLook::tabOrderFollowsTheLayout() {
    auto form = startForm();
    const QStringList expected{QStringLiteral("ListView1"),   QStringLiteral("PushButton1"),
                               QStringLiteral("PushButton3"), QStringLiteral("PushButton2"),
                               QStringLiteral("Combo1"),      QStringLiteral("PushButton7"),
                               QStringLiteral("PushButton4"), QStringLiteral("PushButton5"),
                               QStringLiteral("Text1"),       QStringLiteral("PushButton6")};
    QStringList order;
    QWidget *widget = form->findChild<QWidget *>(expected.first());
    for (int guard = 0; widget && order.size() < expected.size() && guard < 500; ++guard) {
        if (expected.contains(widget->objectName()) && !order.contains(widget->objectName()))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(order, expected);
}

void TestWindowLook::captionsAndFonts() {
    auto form = startForm();
    const QList<QPair<QString, QString>> captions{
        {QStringLiteral("PushButton1"), QStringLiteral("Add File(s)")},
        {QStringLiteral("PushButton2"), QStringLiteral("Start Changing")},
        {QStringLiteral("PushButton3"), QStringLiteral("Add All Files In Folder")},
        {QStringLiteral("PushButton4"), QStringLiteral("Clear List")},
        {QStringLiteral("PushButton5"), QStringLiteral("Load Sample/Example Files")},
        {QStringLiteral("PushButton6"), QStringLiteral("...")}};
    for (const auto &[name, caption] : captions) {
        auto *button = form->findChild<QPushButton *>(name);
        // The mnemonic that Alt reveals changes no letter, and a screen reader reads no "&".
        QCOMPARE(QString(button->text()).remove(QLatin1Char('&')), caption);
        QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
                 caption == QStringLiteral("...") ? button->accessibleName() : caption);
        QCOMPARE(button->shortcut().isEmpty(), caption == QStringLiteral("..."));
        QCOMPARE(button->font().pointSizeF(), 11.25);
        QVERIFY(button->font().bold());
        QCOMPARE(QFontInfo(button->font()).family(), QStringLiteral("Liberation Sans"));
    }
    QCOMPARE(form->findChild<QGroupBox *>(QStringLiteral("Frame1"))->title(),
             QStringLiteral("Options"));
    QCOMPARE(form->findChild<QGroupBox *>(QStringLiteral("Frame2"))->title(),
             QStringLiteral("Save Results To This Folder"));
    for (const QString &name : {QStringLiteral("Form1"), QStringLiteral("Combo1"),
                                QStringLiteral("Text1"), QStringLiteral("ListView1")}) {
        QWidget *widget =
            name == QStringLiteral("Form1") ? form.get() : form->findChild<QWidget *>(name);
        QCOMPARE(widget->font().pointSizeF(), 9.0);
        QVERIFY(widget->font().bold());
    }
}

void TestWindowLook::altRevealsTheMnemonics() {
    auto *style = new MnemonicStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setStyle(style);
    MainWindow window;
    window.startUp();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const auto underlined = [&] {
        return window.style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, &window) != 0;
    };
    QVERIFY(!underlined());
    QTest::keyPress(&window, Qt::Key_Alt, Qt::AltModifier);
    QVERIFY(underlined());
    QTest::keyRelease(&window, Qt::Key_Alt);
    QVERIFY(!underlined());
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

void TestWindowLook::withoutOptionalFilesTheWindowIsWhiteAndQuiet() {
    BoxWatcher boxes;
    auto form = startForm();
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(form->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(
        form->findChild<QGroupBox *>(QStringLiteral("Frame1"))->palette().color(QPalette::Window),
        QColor(Qt::white));
    QVERIFY(form->styleSheet().isEmpty());
    QVERIFY(qApp->styleSheet().isEmpty());
    QVERIFY(!form->port().hasCustomPointer());
    // The custom mode then shows the arrow.
    form->port().setPointer(PointerMode::Custom);
    QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
}

void TestWindowLook::shippedSkinAndPointerLoad() {
    QVERIFY(QDir(m_program->path()).mkdir(QStringLiteral("x")));
    QVERIFY(QFile::copy(kAssets + QStringLiteral("/x/o.cjs"), m_program->filePath(kSkinFileName)));
    QVERIFY(QFile::copy(kAssets + QStringLiteral("/HAND-M.CUR"),
                        m_program->filePath(kPointerFileName)));
    BoxWatcher boxes;
    auto form = startForm();
    QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join(QLatin1Char('\n'))));
    // The skin is the window's: its boxes take it through their parent, other windows don't.
    QCOMPARE(form->styleSheet(), QString::fromUtf8(contentOf(m_program->filePath(kSkinFileName))));
    QVERIFY(qApp->styleSheet().isEmpty());
    const auto boxBackground = [](QWidget *parent) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("t"), QStringLiteral("x"),
                        QMessageBox::Ok, parent);
        box.ensurePolished();
        return box.palette().color(QPalette::Window);
    };
    QCOMPARE(boxBackground(form.get()), QColor(0xf2, 0xf4, 0xf7));
    QVERIFY(boxBackground(nullptr) != QColor(0xf2, 0xf4, 0xf7));
    QVERIFY(form->port().hasCustomPointer());
    form->port().setPointer(PointerMode::Custom);
    const QCursor hand = form->cursor();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.hotSpot(), QPoint(11, 1)); // as written in bytes 10 to 13 of the file
    QCOMPARE(hand.pixmap().size(), QSize(32, 32));
    const QByteArray head = contentOf(m_program->filePath(kPointerFileName)).left(14);
    QCOMPARE(int(quint8(head[10])), 11);
    QCOMPARE(int(quint8(head[12])), 1);
}

void TestWindowLook::unreadableSkinAndPointerAreReported() {
    QVERIFY(QDir(m_program->path()).mkdir(QStringLiteral("x")));
    QVERIFY(writeFile(m_program->filePath(kSkinFileName), "#Form1 { background: red;\n"));
    QVERIFY(writeFile(m_program->filePath(kPointerFileName), "not a cursor at all"));
    BoxWatcher boxes;
    auto form = startForm();
    QCOMPARE(boxes.texts.size(), 2);
    QVERIFY(boxes.texts.at(0).endsWith(displayText(
        errorReportText(QString(), kTagFormLoad, 100).mid(2)))); // any description, line 100
    QCOMPARE(boxes.texts.at(1),
             displayText(errorReportText(QStringLiteral("Invalid picture"), kTagFormLoad, 108)));
    // The colours changed before the skin failed stay changed.
    const QColor face = QApplication::palette().color(QPalette::Button);
    QCOMPARE(form->palette().color(QPalette::Window), face);
    QCOMPARE(
        form->findChild<QGroupBox *>(QStringLiteral("Frame2"))->palette().color(QPalette::Window),
        face);
    QVERIFY(qApp->styleSheet().isEmpty());
    QVERIFY(!form->port().hasCustomPointer());
}

void TestWindowLook::pointerFollowsTheMouse() {
    auto form = startForm();
    form->show();
    MainWindowPort &port = form->port();
    auto *optionsBox = form->findChild<QWidget *>(QStringLiteral("Frame1"));
    auto *combo = form->findChild<QWidget *>(QStringLiteral("Combo1"));
    auto *text = form->findChild<QWidget *>(QStringLiteral("Text1"));
    for (const char *name : {"PushButton1", "PushButton2", "PushButton3", "PushButton4",
                             "PushButton5", "PushButton6"}) {
        port.setPointer(PointerMode::Default);
        sendMove(form->findChild<QWidget *>(QString::fromLatin1(name)));
        QCOMPARE(port.pointer(), PointerMode::Custom);
    }
    // The drop-down and the box leave the mode as it is.
    sendMove(combo);
    sendMove(text);
    QCOMPARE(port.pointer(), PointerMode::Custom);
    sendMove(optionsBox);
    QCOMPARE(port.pointer(), PointerMode::Default);
    port.setPointer(PointerMode::Custom);
    sendMove(form.get());
    QCOMPARE(port.pointer(), PointerMode::Default);
    // A busy window keeps the hourglass everywhere.
    port.setPointer(PointerMode::Busy);
    QCOMPARE(form->cursor().shape(), Qt::WaitCursor);
    sendMove(form->findChild<QWidget *>(QStringLiteral("PushButton2")));
    sendMove(optionsBox);
    sendMove(form.get());
    QCOMPARE(port.pointer(), PointerMode::Busy);
    QCOMPARE(form->cursor().shape(), Qt::WaitCursor);
}

QTEST_MAIN(TestWindowLook)
#include "tst_windowlook.moc"
