#include "FakeWindow.h"
#include "FixedRunInputs.h"
#include "MovieBytes.h"
#include "TestFiles.h"
#include "app/NewNamePreview.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "core/SilentWindowPort.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "naming/ComposeNewName.h"
#include "naming/RegionalForms.h"
#include "records/RecordWriter.h"
#include "run/StartChanging.h"

#include <QtTest>

#include <sys/stat.h>
#include <time.h>

using namespace plenvoy;
using plenvoy::test::FakeWindow;
using plenvoy::test::setFileTimes;
using plenvoy::test::writeFile;

namespace {

/// 2026-07-15 10:00:00 UTC.
const struct timespec kModified { 1'784'109'600, 0 };
const QString kDateAtEnd = QStringLiteral("Add last modified date to end of filename");
const QString kDateAfterNth =
    QStringLiteral("Add last modified date after nth character in filename");

} // namespace

class TestNewNamePreview final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void eachVerdictHasItsTextAndColour_data();
    void eachVerdictHasItsTextAndColour();
    void headerTellsWhichNTheNamesUse_data();
    void headerTellsWhichNTheNamesUse();
    void filesAppearingInTheOutputFolderAreFollowed();
    void aGrowingListIsPlannedOnceItStopsGrowing();
    void takenTimesReadOnTheWorkerThread();
    void shiftedTakenTimesAreShown();
    void doubleClickOnANewNameRemovesItsEntry();
    void theColumnShowsWhatTheRunWrites_data();
    void theColumnShowsWhatTheRunWrites();
};

namespace {

/// Waits until the preview shows a whole plan for its current inputs.
bool waitForPlan(NewNamePreview &preview) {
    return QTest::qWaitFor([&] { return !preview.planning() && preview.verdictAt(0); }, 5000);
}

} // namespace

void TestNewNamePreview::initTestCase() {
    qputenv("TZ", "UTC");
    ::tzset();
}

void TestNewNamePreview::eachVerdictHasItsTextAndColour_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    const QColor none;
    QTest::newRow("copied under its new name") << QStringList{QStringLiteral("src/c.txt")} << false
                                               << QStringLiteral("c 2026-07-15.txt") << none;
    QTest::newRow("a clash with an earlier entry is numbered")
        << QStringList{QStringLiteral("src/x:1.txt"), QStringLiteral("src/x-1.txt")} << false
        << QStringLiteral("x-1 2026-07-15 (2).txt") << none;
    QTest::newRow("a file in the output folder is replaced")
        << QStringList{QStringLiteral("src/a.txt")} << false
        << QStringLiteral("a 2026-07-15.txt (replaces the file of that name)") << none;
    QTest::newRow("a read-only file in the way")
        << QStringList{QStringLiteral("src/b.txt")} << false
        << QStringLiteral("not copied: a read-only file of that name is in the way")
        << QColor(0xB0, 0x00, 0x20);
    QTest::newRow("a read-only file in the way, on a dark list")
        << QStringList{QStringLiteral("src/b.txt")} << true
        << QStringLiteral("not copied: a read-only file of that name is in the way")
        << QColor(0xFF, 0x6B, 0x6B);
    QTest::newRow("a file that is gone")
        << QStringList{QStringLiteral("src/gone.txt")} << false
        << QStringLiteral("not copied: it no longer exists") << QColor(0xB0, 0x00, 0x20);
    QTest::newRow("a name too long")
        << QStringList{QStringLiteral("src/") + QString(245, QLatin1Char('n')) +
                       QStringLiteral(".txt")}
        << false << QStringLiteral("not copied: the name is too long for the output folder")
        << QColor(0xB0, 0x00, 0x20);
}

void TestNewNamePreview::eachVerdictHasItsTextAndColour() {
    QFETCH(QStringList, entries);
    QFETCH(bool, dark);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString &name :
         {QStringLiteral("src/a.txt"), QStringLiteral("src/b.txt"), QStringLiteral("src/c.txt"),
          QStringLiteral("src/x:1.txt"), QStringLiteral("src/x-1.txt"),
          QStringLiteral("out/a 2026-07-15.txt"), QStringLiteral("out/b 2026-07-15.txt"),
          entries.last()}) {
        if (name.endsWith(QLatin1String("gone.txt")))
            continue;
        QVERIFY(writeFile(dir.filePath(name), "x"));
        QVERIFY(setFileTimes(dir.filePath(name), kModified, kModified));
    }
    QCOMPARE(::chmod(pathToBytes(dir.filePath(QStringLiteral("out/b 2026-07-15.txt"))).constData(),
                     0444),
             0);

    FileList list;
    FakeWindow ui;
    FileListView view(list, ui);
    NewNamePreview preview(list);
    view.setModel(&preview);
    preview.setChoices(RunChoices{StampForm::Sortable, CreationTime::File});
    preview.setOutputFolder(dir.filePath(QStringLiteral("out")));
    preview.setOption(kDateAtEnd);
    preview.setDarkBase(dark);
    QSignalSpy shown(&preview, &NewNamePreview::planShown);
    for (const QString &entry : entries)
        list.append(dir.filePath(entry));
    QVERIFY(shown.wait(5000));
    while (preview.planning())
        QVERIFY(shown.wait(5000));

    const QModelIndex cell = view.model()->index(int(entries.size()) - 1, 1);
    QCOMPARE(cell.data().toString(), text);
    QCOMPARE(cell.data(Qt::ForegroundRole).value<QColor>(), colour);
    // Either cell tells the source and, for a copy, where it lands.
    const QString tip = view.model()->index(cell.row(), 0).data(Qt::ToolTipRole).toString();
    QVERIFY2(tip.startsWith(dir.filePath(entries.last())), qPrintable(tip));
    QCOMPARE(tip.contains(dir.filePath(QStringLiteral("out/"))), !colour.isValid());
}

void TestNewNamePreview::headerTellsWhichNTheNamesUse_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("lastN");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("name");
    QTest::newRow("an option without n")
        << kDateAtEnd << 3 << QStringLiteral("New Name") << QStringLiteral("abcd 2026-07-15.txt");
    QTest::newRow("n not yet given: n = 0")
        << kDateAfterNth << -1 << QStringLiteral("New Name (n not yet given)")
        << QStringLiteral("2026-07-15abcd.txt");
    QTest::newRow("n last answered") << kDateAfterNth << 3 << QStringLiteral("New Name (n = 3)")
                                     << QStringLiteral("abc2026-07-15d.txt");
}

void TestNewNamePreview::headerTellsWhichNTheNamesUse() {
    QFETCH(QString, option);
    QFETCH(int, lastN);
    QFETCH(QString, header);
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("abcd.txt"));
    QVERIFY(writeFile(source, "x") && setFileTimes(source, kModified, kModified));
    FileList list;
    list.append(source);
    NewNamePreview preview(list);
    preview.setChoices(RunChoices{StampForm::Sortable, CreationTime::File});
    preview.setOption(option);
    if (lastN >= 0)
        preview.setLastN(qint16(lastN));
    QCOMPARE(preview.headerData(1, Qt::Horizontal).toString(), header);
    QCOMPARE(preview.headerData(0, Qt::Horizontal).toString(), QStringLiteral("All File(s)"));
    // The visible rows are named at once, before the whole plan is done.
    QCOMPARE(preview.index(0, 1).data().toString(), name);
}

void TestNewNamePreview::filesAppearingInTheOutputFolderAreFollowed() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("src/c.txt"));
    QVERIFY(writeFile(source, "x") && setFileTimes(source, kModified, kModified));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("out")));
    FileList list;
    list.append(source);
    NewNamePreview preview(list);
    preview.setChoices(RunChoices{StampForm::Sortable, CreationTime::File});
    preview.setOutputFolder(dir.filePath(QStringLiteral("out")));
    preview.setOption(kDateAtEnd);
    QVERIFY(waitForPlan(preview));
    QCOMPARE(preview.verdictAt(0), Verdict::Copy);
    QVERIFY(writeFile(dir.filePath(QStringLiteral("out/c 2026-07-15.txt")), "there"));
    QVERIFY(QTest::qWaitFor([&] { return preview.verdictAt(0) == Verdict::Replaces; }, 5000));
    QCOMPARE(preview.index(0, 1).data().toString(),
             QStringLiteral("c 2026-07-15.txt (replaces the file of that name)"));
}

void TestNewNamePreview::aGrowingListIsPlannedOnceItStopsGrowing() {
    FileList list;
    NewNamePreview preview(list);
    preview.setOption(kDateAtEnd);
    list.append(QStringLiteral("/nowhere/a.txt"));
    QVERIFY(waitForPlan(preview));
    const QSignalSpy shown(&preview, &NewNamePreview::planShown);
    // As a folder being added, for longer than a plan otherwise waits: a row at a time, the
    // events processed between.
    QElapsedTimer growing;
    growing.start();
    while (growing.elapsed() < 2500) {
        list.append(QStringLiteral("/nowhere/b.txt"));
        QTest::qWait(40);
    }
    QCOMPARE(shown.size(), 0);
    QVERIFY(waitForPlan(preview));
    QCOMPARE(shown.size(), 1);
}

void TestNewNamePreview::takenTimesReadOnTheWorkerThread() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("plain.jpg"));
    QVERIFY(writeFile(source, "no metadata") && setFileTimes(source, kModified, kModified));
    FileList list;
    list.append(source);
    NewNamePreview preview(list);
    const QString created = QStringLiteral("Add file creation date to end of filename");
    preview.setOption(created);
    preview.setChoices(RunChoices{StampForm::Sortable, CreationTime::Taken});
    // The window never reads a file for a name: the row waits for the worker.
    QCOMPARE(preview.index(0, 1).data().toString(), QStringLiteral("reading\u2026"));
    QVERIFY(waitForPlan(preview));
    // Without a moment of its own the photo keeps its file's.
    const auto named = [&](StampForm form) {
        return FileNameOf(ComposeNewName(source, created, -1, systemClock(), systemFileTimes(),
                                         RegionalForms::system(), form));
    };
    QCOMPARE(preview.index(0, 1).data().toString(), named(StampForm::Sortable));
    // Read once: another form finds the answer without the worker.
    preview.setChoices(RunChoices{StampForm::Compact, CreationTime::Taken});
    QCOMPARE(preview.index(0, 1).data().toString(), named(StampForm::Compact));
}

void TestNewNamePreview::shiftedTakenTimesAreShown() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString movie = dir.filePath(QStringLiteral("Walk.mp4"));
    const QDateTime shot(QDate(2024, 8, 9), QTime(10, 11, 12), Qt::UTC);
    QVERIFY(writeFile(movie, test::movieFile(0, test::movieSeconds(shot.toSecsSinceEpoch()))));
    FileList list;
    list.append(movie);
    NewNamePreview preview(list);
    preview.setOption(QStringLiteral("Add file creation time and date to end of filename"));
    RunChoices style{StampForm::Compact, CreationTime::Taken};
    // A changed shift reads the moment again: the one read before was shifted otherwise.
    for (const qint64 shift : {qint64(-3600), qint64(0), qint64(86'400 + 60)}) {
        style.takenShift = shift;
        preview.setChoices(style);
        QVERIFY(waitForPlan(preview));
        QTRY_COMPARE(preview.index(0, 1).data().toString(),
                     QStringLiteral("Walk ") +
                         shot.addSecs(shift).toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                         QStringLiteral(".mp4"));
    }
}

void TestNewNamePreview::doubleClickOnANewNameRemovesItsEntry() {
    FileList list;
    list.append(QStringList{QStringLiteral("/a.txt"), QStringLiteral("/b.txt")});
    FakeWindow ui;
    FileListView view(list, ui);
    NewNamePreview preview(list);
    view.setModel(&preview);
    view.resize(520, 169);
    view.setColumnWidth(0, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QPoint cell = view.visualRect(preview.index(1, 1)).center();
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QCOMPARE(list.entries(), QStringList{QStringLiteral("/a.txt")});
}

void TestNewNamePreview::theColumnShowsWhatTheRunWrites_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("skip");
    QTest::newRow("flat") << int(OutputLayout::Flat) << false;
    QTest::newRow("tree") << int(OutputLayout::Tree) << false;
    QTest::newRow("dates") << int(OutputLayout::Dates) << false;
    QTest::newRow("files copied before are skipped") << int(OutputLayout::Flat) << true;
    QTest::newRow("files copied before into dated folders are skipped")
        << int(OutputLayout::Dates) << true;
}

void TestNewNamePreview::theColumnShowsWhatTheRunWrites() {
    QFETCH(int, layout);
    QFETCH(bool, skip);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString through = dir.filePath(QStringLiteral("src"));
    const QString out = dir.filePath(QStringLiteral("out"));
    const QStringList sources{through + QStringLiteral("/a.txt"),
                              through + QStringLiteral("/sub/b.txt")};
    for (const QString &source : sources)
        QVERIFY(writeFile(source, "x") && setFileTimes(source, kModified, kModified));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("out")));
    FileList list;
    {
        const FileList::ListingThrough listing(list, through);
        list.append(sources);
    }
    NewNamePreview preview(list);
    preview.setChoices(RunChoices{StampForm::Sortable, CreationTime::File});
    preview.setOutputFolder(out);
    preview.setOption(kDateAtEnd);
    QVERIFY(waitForPlan(preview));

    RunChoices choices{StampForm::Sortable, CreationTime::File, OutputLayout(layout), skip};
    FixedRunInputs inputs(sources, out, kDateAtEnd);
    inputs.through = QStringList{through, through};
    SilentWindowPort ui;
    // Runs are on record, as in the window, so that skipping knows what was copied.
    enableRunRecords(QStringLiteral("window"));
    if (skip)
        startChanging(inputs, ui, systemClock(), systemFileTimes(), choices);
    // Only the choices change: the column follows them.
    preview.setChoices(choices);
    QVERIFY(QTest::qWaitFor([&] { return !preview.planning(); }, 5000));

    QStringList written;
    startChanging(inputs, ui, systemClock(), systemFileTimes(), choices,
                  [&](const FileOutcome &file) {
                      written << (file.copied() ? file.destination.mid(out.size() + 1)
                                                : QStringLiteral("not copied: ") + file.reason);
                  });
    QStringList shownNames;
    for (int row = 0; row < preview.rowCount(); ++row)
        shownNames << preview.index(row, 1).data().toString();
    QCOMPARE(shownNames, written);
}

QTEST_MAIN(TestNewNamePreview)
#include "tst_newnamepreview.moc"
