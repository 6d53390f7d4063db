// The file list and its removal, clearing, dropping and reordering rules, without a window.
#include "FakeWindow.h"

#include "core/Failure.h"
#include "core/LocationTags.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "filelist/FileList.h"
#include "filelist/ListRules.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace plenvoy;
using namespace Qt::Literals::StringLiterals;
using plenvoy::test::FakeWindow;

Q_DECLARE_METATYPE(plenvoy::ScrollDirection)

namespace {

// A viewport 169 pixels high has its band from 54 to 113.
constexpr int kViewportHeight = 169;
constexpr int kInBand = 84;

void fill(FileList &list, const QStringList &texts) {
    for (const QString &text : texts)
        list.append(text);
}

QStringList letters(int count) {
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts.append(QString(QLatin1Char(static_cast<char>('a' + i))));
    return texts;
}

} // namespace

class ListRulesTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listKeepsOrderAndDuplicates() {
        FileList list;
        fill(list, {QStringLiteral("/x"), QStringLiteral("/y"), QStringLiteral("/x")});
        QCOMPARE(list.count(), 3);
        QCOMPARE(list.textAt(1), QStringLiteral("/x"));
        QCOMPARE(list.textAt(3), QStringLiteral("/x"));
        list.removeAt(1);
        QCOMPARE(list.entries(), (QStringList{u"/y"_s, u"/x"_s}));
        list.setTextAt(2, QStringLiteral("/z"));
        QCOMPARE(list.textAt(2), QStringLiteral("/z"));
        QCOMPARE(list.headerData(0, Qt::Horizontal).toString(), QStringLiteral("All File(s)"));
        // The list's instruction is the tool tip, not the entry's text.
        QVERIFY(!list.data(list.index(0), Qt::ToolTipRole).isValid());
    }

    void positionsOutsideTheListAreOutOfRange() {
        FileList list;
        fill(list, {QStringLiteral("/x")});
        for (int position : {0, 2, -1}) {
            try {
                list.textAt(position);
                QFAIL("no failure");
            } catch (const Failure &failure) {
                QCOMPARE(failure.number(), ErrorNumber::SubscriptOutOfRange);
            }
        }
        QVERIFY_THROWS_EXCEPTION(Failure, list.removeAt(2));
        QVERIFY_THROWS_EXCEPTION(Failure, list.setTextAt(0, QString()));
    }

    void removalOfTheSelectedEntry_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("removes the selected entry")
            << 3 << 2 << false << QStringList{u"a"_s, u"c"_s};
        QTest::newRow("the last entry") << 3 << 3 << false << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("nothing selected") << 3 << 0 << false << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("refused while busy")
            << 3 << 2 << true << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("empty list") << 0 << 1 << false << QStringList{};
        QTest::newRow("selection past the end") << 2 << 5 << false << QStringList{u"a"_s, u"b"_s};
    }
    void removalOfTheSelectedEntry() {
        QFETCH(int, entries);
        QFETCH(int, selected);
        QFETCH(bool, busy);
        QFETCH(QStringList, expected);
        FileList list;
        fill(list, letters(entries));
        FakeWindow ui;
        ui.m_pointer = busy ? PointerMode::Busy : PointerMode::Default;
        ListRules rules(list, ui);
        const bool removed = rules.removeSelected(selected);
        QCOMPARE(removed, list.count() != entries);
        QCOMPARE(list.entries(), expected);
        QVERIFY(ui.messages.isEmpty() && ui.errorReports.isEmpty());
    }

    void clearListIsRefusedWhileBusy_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<int>("left");
        QTest::newRow("clears every entry") << 4 << false << 0;
        QTest::newRow("empty list") << 0 << false << 0;
        QTest::newRow("busy") << 4 << true << 4;
    }
    void clearListIsRefusedWhileBusy() {
        QFETCH(int, entries);
        QFETCH(bool, busy);
        QFETCH(int, left);
        FileList list;
        fill(list, letters(entries));
        FakeWindow ui;
        ui.m_pointer = busy ? PointerMode::Busy : PointerMode::Default;
        clearList(list, ui);
        QCOMPARE(list.count(), left);
        QVERIFY(ui.messages.isEmpty() && ui.errorReports.isEmpty() && ui.questions.isEmpty());
        QVERIFY(ui.pointerChanges.isEmpty());
    }

    void draggingOneOntoFourInOneJumpExchangesOnlyThoseTwo() {
        FileList list;
        fill(list, letters(5));
        FakeWindow ui;
        ListRules rules(list, ui);
        rules.entryClicked(1);
        rules.buttonPressed();
        const MoveOutcome outcome = rules.pointerMoved(4, kInBand, kViewportHeight);
        QVERIFY(outcome.exchanged);
        QCOMPARE(list.entries(), (QStringList{u"d"_s, u"b"_s, u"c"_s, u"a"_s, u"e"_s}));
        QCOMPARE(outcome.selectPosition, 4);
        QCOMPARE(outcome.scrollToPosition, 0);
        QCOMPARE(rules.movingPosition(), 4);
    }

    void theDraggedTextTravelsWithThePointer() {
        FileList list;
        fill(list, letters(4));
        FakeWindow ui;
        ListRules rules(list, ui);
        rules.entryClicked(1);
        rules.buttonPressed();
        rules.pointerMoved(2, kInBand, kViewportHeight);
        rules.pointerMoved(2, kInBand,
                           kViewportHeight); // the same entry again: it already holds the text
        rules.pointerMoved(3, kInBand, kViewportHeight);
        rules.pointerMoved(0, kInBand, kViewportHeight); // over empty space
        QCOMPARE(list.entries(), (QStringList{u"b"_s, u"c"_s, u"a"_s, u"d"_s}));
        QCOMPARE(rules.movingPosition(), 3);
    }

    void anEntryWithTheSameTextIsNeverExchanged() {
        FileList list;
        fill(list, {QStringLiteral("/same"), QStringLiteral("/other"), QStringLiteral("/same"),
                    QStringLiteral("/SAME")});
        FakeWindow ui;
        ListRules rules(list, ui);
        rules.entryClicked(1);
        rules.buttonPressed();
        const MoveOutcome same = rules.pointerMoved(3, kInBand, kViewportHeight);
        QVERIFY(!same.exchanged);
        QCOMPARE(same.selectPosition, 0);
        QCOMPARE(rules.movingPosition(), 1);
        // The comparison is case-sensitive.
        QVERIFY(rules.pointerMoved(4, kInBand, kViewportHeight).exchanged);
        QCOMPARE(list.entries(), (QStringList{u"/SAME"_s, u"/other"_s, u"/same"_s, u"/same"_s}));
    }

    void nothingMovesWithoutAButtonHeld() {
        FileList list;
        fill(list, letters(3));
        FakeWindow ui;
        ListRules rules(list, ui);
        rules.entryClicked(1);
        QVERIFY(!rules.pointerMoved(3, kInBand, kViewportHeight).exchanged);
        rules.buttonPressed();
        rules.buttonReleased();
        QVERIFY(!rules.pointerMoved(3, kInBand, kViewportHeight).exchanged);
        // The moving entry stays after the release: the next press drags it again.
        rules.buttonPressed();
        QVERIFY(rules.pointerMoved(3, kInBand, kViewportHeight).exchanged);
        QCOMPARE(list.entries(), (QStringList{u"c"_s, u"b"_s, u"a"_s}));
    }

    void withoutAClickThereIsNoMovingEntry() {
        FileList list;
        fill(list, letters(3));
        FakeWindow ui;
        ListRules rules(list, ui);
        rules.buttonPressed();
        QVERIFY(!rules.pointerMoved(2, kInBand, kViewportHeight).exchanged);
        QCOMPARE(list.entries(), letters(3));
    }

    void aRemovedMovingEntryIsNoLongerDragged() {
        FileList list;
        fill(list, letters(4));
        FakeWindow ui;
        ListRules rules(list, ui);
        rules.entryClicked(2);
        QVERIFY(rules.removeSelected(2));
        rules.buttonPressed();
        QCOMPARE(rules.movingPosition(), 0);
        QVERIFY(!rules.pointerMoved(1, kInBand, kViewportHeight).exchanged);
        QCOMPARE(list.entries(), (QStringList{u"a"_s, u"c"_s, u"d"_s}));
        // An entry above the moving one removed: the moving entry is followed.
        rules.entryClicked(3);
        rules.removeSelected(1);
        QCOMPARE(rules.movingPosition(), 2);
    }

    void theScrollBandIsSixtyPixelsAtTheMiddleOfTheViewport_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("y");
        QTest::addColumn<ScrollDirection>("direction");
        // Height 169: middle 84, band 54 to 113.
        QTest::newRow("169: top edge") << 169 << 0 << ScrollDirection::Up;
        QTest::newRow("169: just above the band") << 169 << 53 << ScrollDirection::Up;
        QTest::newRow("169: first line of the band") << 169 << 54 << ScrollDirection::None;
        QTest::newRow("169: middle") << 169 << 84 << ScrollDirection::None;
        QTest::newRow("169: last line of the band") << 169 << 113 << ScrollDirection::None;
        QTest::newRow("169: just below the band") << 169 << 114 << ScrollDirection::Down;
        QTest::newRow("169: below the viewport") << 169 << 500 << ScrollDirection::Down;
        QTest::newRow("169: above the viewport") << 169 << -20 << ScrollDirection::Up;
        // A taller list: the band moves with its middle, not with the screen.
        QTest::newRow("800: 305 is above the band") << 800 << 305 << ScrollDirection::Up;
        QTest::newRow("800: 369 is just above the band") << 800 << 369 << ScrollDirection::Up;
        QTest::newRow("800: 370 is in the band") << 800 << 370 << ScrollDirection::None;
        QTest::newRow("800: 429 is in the band") << 800 << 429 << ScrollDirection::None;
        QTest::newRow("800: 430 is below the band") << 800 << 430 << ScrollDirection::Down;
    }
    void theScrollBandIsSixtyPixelsAtTheMiddleOfTheViewport() {
        QFETCH(int, height);
        QFETCH(int, y);
        QFETCH(ScrollDirection, direction);
        const ScrollBand band = scrollBandFor(height);
        QCOMPARE(band.bottom - band.top + 1, 60);
        QCOMPARE(band.top, height / 2 - 30);
        QCOMPARE(scrollDirectionAt(y, height), direction);
    }

    void scrollingByTheBand_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("scrollTo");
        QTest::newRow("to position 1 above the band: nothing above") << 2 << 1 << 53 << 0;
        QTest::newRow("to position 3 above the band: shows position 2") << 1 << 3 << 53 << 2;
        QTest::newRow("to position 3 at the top: shows position 2") << 1 << 3 << 0 << 2;
        QTest::newRow("to the last position below the band: nothing below") << 1 << 5 << 114 << 0;
        QTest::newRow("to position 3 below the band: shows position 4") << 1 << 3 << 114 << 4;
        QTest::newRow("to position 4 far below: shows position 5") << 1 << 4 << 2000 << 5;
        QTest::newRow("at the band's top nothing scrolls") << 1 << 3 << 54 << 0;
        QTest::newRow("at the band's bottom nothing scrolls") << 1 << 3 << 113 << 0;
        QTest::newRow("in the band, last position") << 1 << 5 << 54 << 0;
        QTest::newRow("in the band, first position") << 2 << 1 << 113 << 0;
    }
    void scrollingByTheBand() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, y);
        QFETCH(int, scrollTo);
        FileList list;
        fill(list, letters(5));
        FakeWindow ui;
        ListRules rules(list, ui);
        rules.entryClicked(from);
        rules.buttonPressed();
        const MoveOutcome outcome = rules.pointerMoved(to, y, kViewportHeight);
        QVERIFY(outcome.exchanged);
        QCOMPARE(outcome.selectPosition, to);
        QCOMPARE(outcome.scrollToPosition, scrollTo);
    }

    void motionSetsTheWindowsPointerUnlessBusy() {
        FileList list;
        fill(list, letters(3));
        FakeWindow ui;
        ListRules rules(list, ui);
        ui.m_pointer = PointerMode::Custom;
        rules.pointerMoved(0, kInBand, kViewportHeight);
        QCOMPARE(ui.pointer(), PointerMode::Default);

        ui.m_pointer = PointerMode::Busy;
        ui.pointerChanges.clear();
        rules.entryClicked(1);
        rules.buttonPressed();
        // Reordering still works while busy, and the busy pointer stays.
        QVERIFY(rules.pointerMoved(2, kInBand, kViewportHeight).exchanged);
        QCOMPARE(ui.pointer(), PointerMode::Busy);
        QVERIFY(ui.pointerChanges.isEmpty());
    }

    void droppedUrlsBecomeLocalPathsInOrder() {
        const QList<QUrl> urls{QUrl(QStringLiteral("file:///tmp/b%20c.txt")),
                               QUrl(QStringLiteral("http://example.com/x")),
                               QUrl(QStringLiteral("file://localhost/tmp/a.txt")),
                               QUrl(QStringLiteral("file://otherhost/share/y")),
                               QUrl(QStringLiteral("file:///tmp/folder/")),
                               QUrl(QStringLiteral("file:///tmp/b%20c.txt"))};
        QCOMPARE(droppedLocalPaths(urls), (QStringList{u"/tmp/b c.txt"_s, u"/tmp/a.txt"_s,
                                                       u"/tmp/folder/"_s, u"/tmp/b c.txt"_s}));
        QVERIFY(droppedLocalPaths({QUrl(QStringLiteral("https://x/y"))}).isEmpty());
    }

    void droppedPathsKeepTheBytesOfTheirNames_data() {
        QTest::addColumn<QByteArray>("uri");
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("a byte that is not UTF-8")
            << QByteArray("file:///tmp/%FF.txt") << QByteArray("/tmp/\xff.txt");
        QTest::newRow("lower-case escape")
            << QByteArray("file:///tmp/a%fe%fd") << QByteArray("/tmp/a\xfe\xfd");
        QTest::newRow("UTF-8") << QByteArray("file:///tmp/caf%C3%A9")
                               << QByteArray("/tmp/caf\xc3\xa9");
        QTest::newRow("percent sign in the name")
            << QByteArray("file:///tmp/50%25.txt") << QByteArray("/tmp/50%.txt");
        QTest::newRow("hash and question mark")
            << QByteArray("file:///tmp/a%23b%3F") << QByteArray("/tmp/a#b?");
        QTest::newRow("localhost")
            << QByteArray("file://localhost/tmp/%FF") << QByteArray("/tmp/\xff");
    }
    void droppedPathsKeepTheBytesOfTheirNames() {
        QFETCH(QByteArray, uri);
        QFETCH(QByteArray, path);
        const QStringList paths = droppedLocalPaths({QUrl::fromEncoded(uri)});
        QCOMPARE(paths.size(), 1);
        QCOMPARE(pathToBytes(paths.first()), path);
    }

    void aDroppedNameThatIsNotUtf8NamesItsOwnFile() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray folder = pathToBytes(dir.path());
        // The decoy is what a lossy conversion of the real name would name.
        for (const QByteArray &name : {QByteArray("/\xff.txt"), QByteArray("/\xef\xbf\xbd.txt")}) {
            const int fd = ::open(QByteArray(folder + name).constData(), O_CREAT | O_WRONLY, 0644);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        // A file manager's text/uri-list line for the real file.
        const QUrl dropped =
            QUrl::fromEncoded("file://" + folder.toPercentEncoding("/") + "/%FF.txt");
        const QStringList paths = droppedLocalPaths({dropped});
        QCOMPARE(paths.size(), 1);
        QCOMPARE(pathToBytes(paths.first()), folder + "/\xff.txt");
        QVERIFY(FileIsPresent(paths.first()));
    }

    void theListShowsEscapedBytesAsTheReplacementMarkAndKeepsThem() {
        FileList list;
        const QString exact = pathFromBytes("/tmp/a\xff"
                                            "b.txt");
        fill(list, {exact, QStringLiteral("/tmp/\u0436.txt")});
        QCOMPARE(list.data(list.index(0), Qt::DisplayRole).toString(),
                 QStringLiteral("/tmp/a\ufffdb.txt"));
        QCOMPARE(list.data(list.index(1), Qt::DisplayRole).toString(),
                 QStringLiteral("/tmp/\u0436.txt"));
        QCOMPARE(list.textAt(1), exact);
        QCOMPARE(list.entries().first(), exact);
        QCOMPARE(pathToBytes(list.textAt(1)), QByteArray("/tmp/a\xff"
                                                         "b.txt"));
    }

    void hotSpotOfPointerFiles() {
        // Cursor: reserved 0, type 2, one image; entry with hot spot 5, 7 at bytes 10 to 13.
        const QByteArray cursor = QByteArray::fromHex("000002000100"
                                                      "2020000005000700");
        QCOMPARE(pointerHotSpot(cursor, 32, 32), QPoint(5, 7));
        // A hot spot outside the image is kept inside it.
        const QByteArray far = QByteArray::fromHex("000002000100"
                                                   "2020000090000001");
        QCOMPARE(pointerHotSpot(far, 32, 32), QPoint(31, 31));
        // Icon: bytes 10 to 13 are planes and colour depth, so the centre is taken.
        const QByteArray icon = QByteArray::fromHex("000001000100"
                                                    "2020000001002000");
        QCOMPARE(pointerHotSpot(icon, 32, 32), QPoint(16, 16));
        QCOMPARE(pointerHotSpot(QByteArray("not an icon file"), 32, 32), std::nullopt);
        QCOMPARE(pointerHotSpot(cursor.left(12), 32, 32), std::nullopt);
    }

    void appendingReportsRowsToViews() {
        FileList list;
        QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
        list.append(QStringLiteral("/a"));
        list.append(QStringList{u"/b"_s, u"/c"_s});
        QCOMPARE(inserted.size(), 2);
        QCOMPARE(inserted.at(1).at(1).toInt(), 1);
        QCOMPARE(inserted.at(1).at(2).toInt(), 2);
        QCOMPARE(list.rowCount(), 3);
        QCOMPARE(list.data(list.index(2)).toString(), QStringLiteral("/c"));
    }
};

QTEST_GUILESS_MAIN(ListRulesTest)

#include "tst_listrules.moc"
