// The real list view driven by mouse, key and drop events.
#include "FakeWindow.h"

#include "core/PathCodec.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"

#include <QApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QImageReader>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace plenvoy;
using namespace Qt::Literals::StringLiterals;
using plenvoy::test::FakeWindow;

namespace {

const QString kAssetIcon = QStringLiteral(PLENVOY_ASSETS_DIR "/drag.ico");

// A view over a list of short texts, shown so that it lays out its rows.
struct Fixture {
    explicit Fixture(const QStringList &texts) {
        for (const QString &text : texts)
            list.append(text);
        view.setDragIconPath(kAssetIcon);
        view.show();
        view.resize(kFileListWidth, kFileListHeight);
    }
    QPoint centreOf(int position) const {
        return view.visualRect(list.index(position - 1)).center();
    }
    QWidget *viewport() const { return view.viewport(); }

    FileList list;
    FakeWindow ui;
    FileListView view{list, ui};
};

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &point, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, point, target->mapToGlobal(point), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Delivers a drag over the list and, when it is accepted, the drop; true when accepted.
bool dropOnto(QWidget *target, QMimeData *data) {
    const QPoint point(20, 20);
    QDragEnterEvent enter(point, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(point, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

class FileListViewTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lookOfTheList() {
        Fixture f({u"/a"_s});
        QCOMPARE(f.view.model()->headerData(0, Qt::Horizontal).toString(), u"All File(s)"_s);
        QCOMPARE(f.view.header()->sectionSize(0), 467);
        QCOMPARE(f.view.header()->count(), 1);
        QCOMPARE(f.view.font().family(), u"Arial"_s);
        QCOMPARE(f.view.font().pointSize(), 9);
        QVERIFY(f.view.font().bold());
        QCOMPARE(f.view.toolTip(),
                 u"Drag and drop files here. Double-click item to remove it. "
                 u"Move | line to right and out of window to reveal full names."_s);
        QCOMPARE(f.view.size(), QSize(520, 169));
        // Rows of one deep folder differ only at their end, which must stay visible.
        QCOMPARE(f.view.textElideMode(), Qt::ElideMiddle);
    }

    void rowsAddedInBurstsAreLaidOutSoonAndRemovalsAtOnce() {
        Fixture f({});
        const auto laidOut = [&](int row) {
            return f.view.visualRect(f.view.model()->index(row, 0)).isValid();
        };
        for (int burst = 0; burst < 50; ++burst) {
            QStringList paths;
            for (int i = 0; i < 2000; ++i)
                paths << u"/folder/file"_s + QString::number(burst * 2000 + i);
            f.list.append(paths);
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(laidOut(f.list.count() - 1));
        f.list.removeAt(1);
        QVERIFY(laidOut(f.list.count() - 1));
    }

    void deleteKeyRemovesTheSelectedEntryUnlessBusy() {
        Fixture f({u"/a"_s, u"/b"_s, u"/c"_s});
        QTest::mouseClick(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.centreOf(2));
        QCOMPARE(f.view.selectedPosition(), 2);
        f.ui.m_pointer = PointerMode::Busy;
        QTest::keyClick(&f.view, Qt::Key_Delete);
        QCOMPARE(f.list.count(), 3);
        f.ui.m_pointer = PointerMode::Default;
        QTest::keyClick(&f.view, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(f.list.entries(), (QStringList{u"/a"_s, u"/c"_s}));
        // Nothing is selected after the removal: a second Delete does nothing.
        QTest::keyClick(&f.view, Qt::Key_Delete);
        QCOMPARE(f.list.count(), 2);
        QTest::keyClick(&f.view, Qt::Key_Backspace);
        QCOMPARE(f.list.count(), 2);
    }

    void doubleClickRemovesTheEntryClickedUnlessBusy() {
        Fixture f({u"/a"_s, u"/b"_s, u"/c"_s});
        f.ui.m_pointer = PointerMode::Busy;
        QTest::mouseDClick(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.centreOf(3));
        QCOMPARE(f.list.count(), 3);
        f.ui.m_pointer = PointerMode::Default;
        QTest::mouseDClick(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.centreOf(2));
        QCOMPARE(f.list.entries(), (QStringList{u"/a"_s, u"/c"_s}));
        QVERIFY(f.ui.messages.isEmpty() && f.ui.errorReports.isEmpty());
    }

    void droppedFilesAreAppendedInOrderAlsoWhileBusy() {
        Fixture f({u"/first"_s});
        f.ui.m_pointer = PointerMode::Busy;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(u"/tmp/z.txt"_s), QUrl::fromLocalFile(u"/tmp/a b"_s),
                      QUrl(u"https://example.com/x"_s), QUrl::fromLocalFile(u"/tmp/z.txt"_s)});
        QVERIFY(dropOnto(f.viewport(), &data));
        QCOMPARE(f.list.entries(),
                 (QStringList{u"/first"_s, u"/tmp/z.txt"_s, u"/tmp/a b"_s, u"/tmp/z.txt"_s}));
    }

    void dataWithoutFilesCannotBeDropped() {
        Fixture f({u"/first"_s});
        QMimeData text;
        text.setText(u"/tmp/not-a-url"_s);
        QVERIFY(!dropOnto(f.viewport(), &text));
        QMimeData web;
        web.setUrls({QUrl(u"https://example.com/x"_s)});
        QVERIFY(!dropOnto(f.viewport(), &web));
        QCOMPARE(f.list.entries(), QStringList{u"/first"_s});
    }

    void draggingAnEntryExchangesItWithTheHoveredOne() {
        Fixture f({u"/a"_s, u"/b"_s, u"/c"_s, u"/d"_s});
        const QCursor before = f.viewport()->cursor();
        QCOMPARE(before.shape(), Qt::ArrowCursor);
        sendMouse(f.viewport(), QEvent::MouseButtonPress, f.centreOf(1), Qt::LeftButton,
                  Qt::LeftButton);
        // The drag pointer comes from the icon file.
        QCOMPARE(f.viewport()->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(f.viewport()->cursor().hotSpot(), QPoint(16, 16));
        sendMouse(f.viewport(), QEvent::MouseMove, f.centreOf(4), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(f.list.entries(), (QStringList{u"/d"_s, u"/b"_s, u"/c"_s, u"/a"_s}));
        QCOMPARE(f.view.selectedPosition(), 4);
        sendMouse(f.viewport(), QEvent::MouseMove, f.centreOf(3), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(f.list.entries(), (QStringList{u"/d"_s, u"/b"_s, u"/a"_s, u"/c"_s}));
        QCOMPARE(f.view.selectedPosition(), 3);
        sendMouse(f.viewport(), QEvent::MouseButtonRelease, f.centreOf(3), Qt::LeftButton,
                  Qt::NoButton);
        QCOMPARE(f.viewport()->cursor().shape(), Qt::ArrowCursor);
        // Without a button held the pointer's motion moves nothing.
        sendMouse(f.viewport(), QEvent::MouseMove, f.centreOf(1), Qt::NoButton, Qt::NoButton);
        QCOMPARE(f.list.entries(), (QStringList{u"/d"_s, u"/b"_s, u"/a"_s, u"/c"_s}));
    }

    void dragScrollingFollowsTheBandOfTheVisibleListWhereverTheWindowIs_data() {
        QTest::addColumn<int>("windowY");
        QTest::newRow("window at the top of the screen") << 0;
        QTest::newRow("window low on the screen") << 700;
    }
    void dragScrollingFollowsTheBandOfTheVisibleListWhereverTheWindowIs() {
        QFETCH(int, windowY);
        QStringList texts;
        for (int i = 1; i <= 40; ++i)
            texts.append(QStringLiteral("/entry%1").arg(i));
        Fixture f(texts);
        f.view.move(0, windowY);
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        QScrollBar *bar = f.view.verticalScrollBar();
        const int height = f.viewport()->height();
        const QPoint nearBottom(20, height - 3);
        const QPoint nearTop(20, 2);
        const QPoint middle(20, height / 2);

        // Dragged below the band: the entry below comes into view.
        sendMouse(f.viewport(), QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
        sendMouse(f.viewport(), QEvent::MouseMove, nearBottom, Qt::NoButton, Qt::LeftButton);
        sendMouse(f.viewport(), QEvent::MouseButtonRelease, nearBottom, Qt::LeftButton,
                  Qt::NoButton);
        QVERIFY(bar->value() > 0);

        // Dragged above the band: the entry above comes into view.
        bar->setValue(bar->maximum());
        const int bottomValue = bar->value();
        sendMouse(f.viewport(), QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
        sendMouse(f.viewport(), QEvent::MouseMove, nearTop, Qt::NoButton, Qt::LeftButton);
        sendMouse(f.viewport(), QEvent::MouseButtonRelease, nearTop, Qt::LeftButton, Qt::NoButton);
        QVERIFY(bar->value() < bottomValue);

        // Inside the band nothing scrolls.
        const int before = bar->value();
        sendMouse(f.viewport(), QEvent::MouseButtonPress, middle + QPoint(0, 25), Qt::LeftButton,
                  Qt::LeftButton);
        sendMouse(f.viewport(), QEvent::MouseMove, middle - QPoint(0, 25), Qt::NoButton,
                  Qt::LeftButton);
        sendMouse(f.viewport(), QEvent::MouseButtonRelease, middle, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(bar->value(), before);
    }

    void escapedBytesAreShownAsTheReplacementMark() {
        Fixture f({pathFromBytes("/tmp/a\xff.txt")});
        QCOMPARE(f.view.model()->data(f.list.index(0)).toString(), u"/tmp/a\ufffd.txt"_s);
        QCOMPARE(pathToBytes(f.list.textAt(1)), QByteArray("/tmp/a\xff.txt"));
    }

    // The list stores folders and names apart: every text must come back exactly as given,
    // through exchanges and removals that leave unused names behind in its buffer.
    void entriesComeBackExactlyThroughExchangesAndRemovals_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("folders coming back") << QStringList{
            QStringLiteral("/a/x.jpg"), QStringLiteral("/b/y.jpg"), QStringLiteral("/a/z.jpg"),
            QStringLiteral("/a/z.jpg"), QStringLiteral("relative"), QStringLiteral("/"),
            QStringLiteral("/a/"),      QStringLiteral("")};
        QStringList many;
        for (int i = 0; i < 6000; ++i)
            many << QStringLiteral("/f%1/%2-name with some length.txt").arg(i % 7).arg(i);
        QTest::newRow("enough removals to compact") << many;
        QStringList mixed;
        const QStringList names{QStringLiteral("caf\u00e9"), QStringLiteral("\u03bb"),
                                QStringLiteral("\u4e2d\U0001F600")};
        for (int i = 0; i < 6000; ++i)
            mixed << QStringLiteral("/f/%1 %2").arg(names.at(i % 3)).arg(i) +
                         pathFromBytes(i % 2 ? "" : "\xff");
        QTest::newRow("names in one and two bytes a letter, compacted") << mixed;
    }
    void entriesComeBackExactlyThroughExchangesAndRemovals() {
        QFETCH(QStringList, texts);
        FileList list;
        list.append(texts.mid(0, 2));
        for (const QString &text : texts.mid(2))
            list.append(text);
        QStringList expected = texts;
        QCOMPARE(list.entries(), expected);
        // Exchanges as the drag does them, then removals from the front half.
        for (int position = 1; position + 1 <= list.count(); position += 3) {
            const QString first = list.textAt(position);
            list.setTextAt(position, list.textAt(position + 1));
            list.setTextAt(position + 1, first);
            expected.swapItemsAt(position - 1, position);
        }
        QCOMPARE(list.entries(), expected);
        while (list.count() > expected.size() / 2 + 1) {
            list.removeAt(1);
            expected.removeFirst();
        }
        QCOMPARE(list.entries(), expected);
        QCOMPARE(list.data(list.index(list.count() - 1)).toString(), expected.last());
        list.clear();
        list.append(QStringLiteral("/after/clear"));
        QCOMPARE(list.entries(), QStringList{QStringLiteral("/after/clear")});
    }

    void aMissingPointerFileLeavesThePointer() {
        Fixture f({u"/a"_s, u"/b"_s});
        QTemporaryDir dir;
        f.view.setDragIconPath(dir.path() + u"/drag.ico"_s);
        QTest::mousePress(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.centreOf(1));
        QCOMPARE(f.viewport()->cursor().shape(), Qt::ArrowCursor);
        // The click still sets the moving entry.
        QTest::mouseMove(f.viewport(), f.centreOf(2));
        QCOMPARE(f.list.entries(), (QStringList{u"/b"_s, u"/a"_s}));
        QTest::mouseRelease(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.centreOf(2));
    }

    void theShippedDragIconIsAReadableIcon() {
        QImageReader reader(kAssetIcon);
        QCOMPARE(reader.format(), QByteArray("ico"));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    }

    void theDefaultDragIconIsBesideTheProgram() {
        FileList list;
        FakeWindow ui;
        const FileListView view(list, ui);
        QCOMPARE(view.dragIconPath(), QCoreApplication::applicationDirPath() + u"/drag.ico"_s);
    }
};

QTEST_MAIN(FileListViewTest)

#include "tst_filelistview.moc"
