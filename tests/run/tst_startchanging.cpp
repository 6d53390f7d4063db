#include "FakeWindow.h"
#include "FixedRunInputs.h"
#include "TestFiles.h"
#include "copying/ListedPlacement.h"
#include "core/Failure.h"
#include "core/LocationTags.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "naming/ComposeNewName.h"
#include "naming/FileMoment.h"
#include "naming/RegionalForms.h"
#include "records/RecordWriter.h"
#include "run/NamePlanner.h"
#include "run/StartChanging.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace plenvoy;
using namespace plenvoy::test;

namespace {

const QString kLastModifiedDateAtEnd = QStringLiteral("Add last modified date to end of filename");
const QString kLastModifiedDateAfterNth =
    QStringLiteral("Add last modified date after nth character in filename");
const QString kCurrentDateAtEnd = QStringLiteral("Add current date to end of filename");

/// 3 February 2001, 04:05:06 UTC: midday on no time zone's date line.
constexpr struct timespec kModified = {981173106, 0};

QString reportLine(qint32 line) {
    return kTagStartChanging + QStringLiteral("at line ") + QString::number(line);
}

int reportsNaming(const FakeWindow &ui, qint32 line) {
    int count = 0;
    for (const QString &report : ui.errorReports)
        count += report.contains(reportLine(line)) ? 1 : 0;
    return count;
}

} // namespace

class TestStartChanging : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void emptyListShowsOnlyNoFilesAdded_data();
    void emptyListShowsOnlyNoFilesAdded();
    void missingOutputFolderRefuses_data();
    void missingOutputFolderRefuses();
    void copiesEveryFileUnderItsNewName_data();
    void copiesEveryFileUnderItsNewName();
    void questionRepeatsUntilANumber();
    void answerIsConverted_data();
    void answerIsConverted();
    void nOutsideTheRangeCopiesUnderOwnNames_data();
    void nOutsideTheRangeCopiesUnderOwnNames();
    void outputFolderIsTheSourceFolder();
    void newNameEqualToTheSourceWritesNothing();
    void twoEntriesWithTheSameNewName();
    void vanishedFilesStillEndWithDone();
    void failedNameNeverTakesTheEarlierOne();
    void folderAndOptionAreReadForEveryFile();
    void countIsFixedAndEntriesReadByPosition();
    void secondRunInsideARunningOne();
    void closingStopsTheRun();
    void closingDuringTheQuestionStopsTheRun();
    void listedFilesAreNeverReplaced_data();
    void listedFilesAreNeverReplaced();
    void destinationOverflowIsReportedPerFile();
    void cancellingTheQuestionTouchesNothing();
    void clashesWithinTheRunGetNumberedNames_data();
    void clashesWithinTheRunGetNumberedNames();
    void numberedNamePastTheNameLimitIsNotCopied();
    void closingMessageTellsWhatWasNotDone_data();
    void closingMessageTellsWhatWasNotDone();
    void lastAccessedStampDoesNotMoveWithReading();
    void outputFolderRemovedDuringTheRun_data();
    void outputFolderRemovedDuringTheRun();
    void listedFileMetLateIsStillNeverReplaced();
    void aRunEndedBySignalLeavesWhatItCopiedOnRecord_data();
    void aRunEndedBySignalLeavesWhatItCopiedOnRecord();
    void aSkippedCopyKeepsItsNameFromAnotherListedFile();

private:
    QString path(const QString &name) const { return m_dir->path() + QLatin1Char('/') + name; }
    QString path(const char *name) const { return path(QString::fromUtf8(name)); }
    /// A source file with content and the fixed modification time.
    QString makeSource(const QString &name, const QByteArray &content);
    QString makeSource(const char *name, const QByteArray &content) {
        return makeSource(QString::fromUtf8(name), content);
    }
    /// The new name the engine gives a file under the run's clock and file times.
    QString newNameOf(const QString &source, const QString &option, qint16 n = -1) const {
        return ComposeNewName(source, option, n, m_clock, systemFileTimes());
    }
    void run(FixedRunInputs &inputs, FakeWindow &ui) {
        startChanging(inputs, ui, m_clock, systemFileTimes());
    }

    QScopedPointer<QTemporaryDir> m_dir;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9))};
};

void TestStartChanging::init() {
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("src")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("out")));
}

QString TestStartChanging::makeSource(const QString &name, const QByteArray &content) {
    const QString file = path(name);
    if (!writeFile(file, content))
        qFatal("cannot write %s", qPrintable(file));
    setFileTimes(file, kModified, kModified);
    return file;
}

void TestStartChanging::emptyListShowsOnlyNoFilesAdded_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("option");
    QTest::newRow("existing folder") << "out" << kLastModifiedDateAtEnd;
    QTest::newRow("missing folder") << "missing" << kLastModifiedDateAtEnd;
    QTest::newRow("empty folder text, option asking n") << "" << kLastModifiedDateAfterNth;
}

void TestStartChanging::emptyListShowsOnlyNoFilesAdded() {
    QFETCH(QString, folder);
    QFETCH(QString, option);
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.outputFolder = folder.isEmpty() ? folder : path(folder);
    inputs.option = option;
    FakeWindow ui;
    ui.textAnswers << QStringLiteral("3");

    run(inputs, ui);

    QCOMPARE(ui.messages, QStringList{kMessageNoFiles});
    QVERIFY(ui.prompts.isEmpty());
    QVERIFY(ui.pointerChanges.isEmpty());
    QVERIFY(ui.errorReports.isEmpty());
    QCOMPARE(ui.processEventsCalls, 0);
}

void TestStartChanging::missingOutputFolderRefuses_data() {
    QTest::addColumn<QString>("folder");
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("a file's path") << "src/a.txt";
    QTest::newRow("nothing") << "";
    QTest::newRow("folder with a trailing blank") << "out ";
}

void TestStartChanging::missingOutputFolderRefuses() {
    QFETCH(QString, folder);
    const QString source = makeSource("src/a.txt", "a");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << source;
    inputs.outputFolder = folder.isEmpty() ? folder : path(folder);
    inputs.option = kLastModifiedDateAfterNth;
    FakeWindow ui;
    ui.textAnswers << QStringLiteral("3");

    run(inputs, ui);

    QCOMPARE(ui.messages, QStringList{kMessageFolderMissing});
    QVERIFY(ui.prompts.isEmpty());
    QVERIFY(ui.pointerChanges.isEmpty());
    QVERIFY(ui.errorReports.isEmpty());
    QCOMPARE(namesIn(path("src")), QStringList{QStringLiteral("a.txt")});
    QVERIFY(namesIn(path("out")).isEmpty());
}

void TestStartChanging::copiesEveryFileUnderItsNewName_data() {
    QTest::addColumn<bool>("closingSeparator");
    QTest::newRow("folder typed without the closing separator") << false;
    QTest::newRow("folder with the closing separator") << true;
}

void TestStartChanging::copiesEveryFileUnderItsNewName() {
    QFETCH(bool, closingSeparator);
    const QString a = makeSource("src/photo.jpg", "first");
    const QString b = makeSource("src/notes.txt", "second");
    const QString c = makeSource("src/Makefile", "third");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b << c;
    inputs.outputFolder = path("out") + (closingSeparator ? QStringLiteral("/") : QString());
    FakeWindow ui;

    run(inputs, ui);

    QCOMPARE(ui.messages, QStringList{kMessageDone});
    QVERIFY2(ui.errorReports.isEmpty(), qPrintable(ui.errorReports.join(QLatin1Char('\n'))));
    QVERIFY(ui.prompts.isEmpty());
    QCOMPARE(ui.processEventsCalls, 3);
    QCOMPARE(ui.pointerChanges, (QList<PointerMode>{PointerMode::Busy, PointerMode::Busy,
                                                    PointerMode::Busy, PointerMode::Default}));
    // The modification date as mm/dd/yyyy, "/" turned into "-".
    const QDate date = QDateTime::fromSecsSinceEpoch(kModified.tv_sec).date();
    const QString stamp = date.toString(QStringLiteral("MM-dd-yyyy"));
    QCOMPARE(namesIn(path("out")),
             (QStringList{QStringLiteral("Makefile ") + stamp,
                          QStringLiteral("notes ") + stamp + QStringLiteral(".txt"),
                          QStringLiteral("photo ") + stamp + QStringLiteral(".jpg")}));
    QCOMPARE(contentOf(path("out/photo ") + stamp + QStringLiteral(".jpg")), QByteArray("first"));
    QCOMPARE(contentOf(path("out/Makefile ") + stamp), QByteArray("third"));
    // The sources are as they were, and nothing else was written beside them.
    QCOMPARE(namesIn(path("src")),
             (QStringList{QStringLiteral("Makefile"), QStringLiteral("notes.txt"),
                          QStringLiteral("photo.jpg")}));
    QCOMPARE(contentOf(a), QByteArray("first"));
    QCOMPARE(QFileInfo(a).lastModified().toSecsSinceEpoch(), qint64(kModified.tv_sec));
}

void TestStartChanging::questionRepeatsUntilANumber() {
    const QString a = makeSource("src/abcdef.txt", "a");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a;
    inputs.outputFolder = path("out");
    inputs.option = kLastModifiedDateAfterNth;
    FakeWindow ui;
    // An empty answer, letters, blanks and a grouped number, then 3.
    ui.textAnswers << QStringLiteral("") << QStringLiteral("abc") << QStringLiteral("   ")
                   << QStringLiteral("1,000") << QStringLiteral("3");
    int eventsWhileAsking = -1;
    ui.onAskText = [&] { eventsWhileAsking = std::max(eventsWhileAsking, ui.processEventsCalls); };

    run(inputs, ui);

    QCOMPARE(ui.prompts, QStringList(5, kPromptEnterN));
    QCOMPARE(ui.promptDefaults, QStringList(5, QString()));
    QCOMPARE(eventsWhileAsking, 0); // asked before any file is touched
    QCOMPARE(ui.messages, QStringList{kMessageDone});
    QVERIFY(ui.errorReports.isEmpty());
    QCOMPARE(namesIn(path("out")), QStringList{FileNameOf(newNameOf(a, inputs.option, 3))});
}

void TestStartChanging::answerIsConverted_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("n");
    QTest::newRow("3") << "3" << 3;
    QTest::newRow("2.5 rounds to even 2") << "2.5" << 2;
    QTest::newRow("3.5 rounds to even 4") << "3.5" << 4;
    QTest::newRow("blanks and an exponent") << " 1e0 " << 1;
    QTest::newRow("zero") << "0" << 0;
}

void TestStartChanging::answerIsConverted() {
    QFETCH(QString, answer);
    QFETCH(int, n);
    const QString a = makeSource("src/abcdefgh.txt", "a");
    const QString b = makeSource("src/ijklmnop.txt", "b");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b;
    inputs.outputFolder = path("out");
    inputs.option = kLastModifiedDateAfterNth;
    FakeWindow ui;
    ui.textAnswers << answer;

    run(inputs, ui);

    QCOMPARE(ui.prompts.size(), 1); // once per run, not per file
    QVERIFY(ui.errorReports.isEmpty());
    QStringList expected{FileNameOf(newNameOf(a, inputs.option, qint16(n))),
                         FileNameOf(newNameOf(b, inputs.option, qint16(n)))};
    expected.sort();
    QCOMPARE(namesIn(path("out")), expected);
}

void TestStartChanging::nOutsideTheRangeCopiesUnderOwnNames_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("description");
    QTest::newRow("-1 is refused by the composition")
        << "-1" << failureDescription(ErrorNumber::InvalidProcedureCall);
    QTest::newRow("40000 overflows") << "40000" << failureDescription(ErrorNumber::Overflow);
    QTest::newRow("-32769 overflows") << "-32769" << failureDescription(ErrorNumber::Overflow);
}

void TestStartChanging::nOutsideTheRangeCopiesUnderOwnNames() {
    QFETCH(QString, answer);
    QFETCH(QString, description);
    const QString a = makeSource("src/a.txt", "a");
    const QString b = makeSource("src/b.txt", "b");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b;
    inputs.outputFolder = path("out");
    inputs.option = kLastModifiedDateAfterNth;
    FakeWindow ui;
    ui.textAnswers << answer;

    run(inputs, ui);

    QCOMPARE(ui.prompts.size(), 1);
    QCOMPARE(ui.errorReports.size(), 2);
    QCOMPARE(reportsNaming(ui, 122), 2);
    QVERIFY(ui.errorReports.first().startsWith(description + QStringLiteral("\r\n")));
    QCOMPARE(ui.messages, QStringList{kMessageDone});
    QCOMPARE(namesIn(path("out")), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
    QCOMPARE(contentOf(path("out/b.txt")), QByteArray("b"));
}

void TestStartChanging::outputFolderIsTheSourceFolder() {
    const QString a = makeSource("src/a.txt", "a");
    const QString b = makeSource("src/b.txt", "b");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b;
    inputs.outputFolder = path("src");
    FakeWindow ui;

    run(inputs, ui);

    QStringList expected{QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                         FileNameOf(newNameOf(a, inputs.option)),
                         FileNameOf(newNameOf(b, inputs.option))};
    expected.sort();
    QCOMPARE(namesIn(path("src")), expected);
    QCOMPARE(contentOf(a), QByteArray("a"));
    QCOMPARE(contentOf(b), QByteArray("b"));
    QCOMPARE(ui.messages, QStringList{kMessageDone});
}

void TestStartChanging::newNameEqualToTheSourceWritesNothing() {
    // An n beyond the name's length leaves the name as it is: the copy would be the file
    // itself, in its own folder, and is left alone.
    const QString a = makeSource("src/a.txt", "a");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a;
    inputs.outputFolder = path("src");
    inputs.option = kLastModifiedDateAfterNth;
    FakeWindow ui;
    ui.textAnswers << QStringLiteral("100");

    run(inputs, ui);

    QCOMPARE(newNameOf(a, inputs.option, 100), a);
    QCOMPARE(namesIn(path("src")), QStringList{QStringLiteral("a.txt")});
    QCOMPARE(contentOf(a), QByteArray("a"));
    QVERIFY(ui.errorReports.isEmpty());
    QCOMPARE(ui.messages, QStringList{QStringLiteral("Done.\r\r1 of 1 files was not copied:\r") +
                                      a + QStringLiteral(": the new name is the file itself")});
}

void TestStartChanging::twoEntriesWithTheSameNewName() {
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("src2")));
    const QString first = makeSource("src/same.txt", "first");
    const QString second = makeSource("src2/same.txt", "second");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << first << second;
    inputs.outputFolder = path("out");
    FakeWindow ui;

    run(inputs, ui);

    // Both copies stay: the second gets a numbered name and the run says so.
    const QString name = FileNameOf(newNameOf(first, inputs.option));
    const QString numbered = name.left(name.size() - 4) + QStringLiteral(" (2).txt");
    QCOMPARE(namesIn(path("out")), (QStringList{numbered, name}));
    QCOMPARE(contentOf(path("out/") + name), QByteArray("first"));
    QCOMPARE(contentOf(path("out/") + numbered), QByteArray("second"));
    QCOMPARE(ui.messages,
             QStringList{QStringLiteral("Done.\r\r1 file was renamed to avoid a clash.")});
    QVERIFY(ui.errorReports.isEmpty());
}

void TestStartChanging::vanishedFilesStillEndWithDone() {
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << path("src/gone1.txt") << path("src/gone2.txt");
    inputs.outputFolder = path("out");
    inputs.option = kCurrentDateAtEnd;
    FakeWindow ui;

    run(inputs, ui);

    QVERIFY(namesIn(path("out")).isEmpty());
    QVERIFY(ui.errorReports.isEmpty());
    QCOMPARE(ui.messages,
             QStringList{QStringLiteral("Done.\r\r2 of 2 files were not copied:\r") +
                         path("src/gone1.txt") + QStringLiteral(": it no longer exists\r") +
                         path("src/gone2.txt") + QStringLiteral(": it no longer exists")});
    QCOMPARE(ui.pointerChanges.last(), PointerMode::Default);
}

void TestStartChanging::failedNameNeverTakesTheEarlierOne() {
    // The first file gets a new name; then the drop-down turns to an option asking n,
    // which the run never asked for, so the second file's name fails in step 122.
    const QString a = makeSource("src/a.txt", "a");
    const QString b = makeSource("src/b.txt", "b");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b;
    inputs.outputFolder = path("out");
    FakeWindow ui;
    ui.onProcessEvents = [&](int call) {
        if (call == 2)
            inputs.option = kLastModifiedDateAfterNth;
    };

    run(inputs, ui);

    QCOMPARE(ui.errorReports.size(), 1);
    QCOMPARE(reportsNaming(ui, 122), 1);
    const QString firstName = FileNameOf(newNameOf(a, kLastModifiedDateAtEnd));
    QStringList expected{QStringLiteral("b.txt"), firstName};
    expected.sort();
    QCOMPARE(namesIn(path("out")), expected);
    QCOMPARE(contentOf(path("out/") + firstName), QByteArray("a"));
    QCOMPARE(contentOf(path("out/b.txt")), QByteArray("b"));
    QCOMPARE(ui.messages, QStringList{kMessageDone});
}

void TestStartChanging::folderAndOptionAreReadForEveryFile() {
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("out2")));
    const QString a = makeSource("src/a.txt", "a");
    const QString b = makeSource("src/b.txt", "b");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b;
    inputs.outputFolder = path("out");
    FakeWindow ui;
    ui.onProcessEvents = [&](int call) {
        if (call == 2) {
            inputs.outputFolder = path("out2");
            inputs.option = kCurrentDateAtEnd;
        }
    };

    run(inputs, ui);

    QCOMPARE(namesIn(path("out")), QStringList{FileNameOf(newNameOf(a, kLastModifiedDateAtEnd))});
    QCOMPARE(namesIn(path("out2")), QStringList{FileNameOf(newNameOf(b, kCurrentDateAtEnd))});
    QVERIFY(ui.errorReports.isEmpty());
}

void TestStartChanging::outputFolderRemovedDuringTheRun_data() {
    QTest::addColumn<bool>("madeAgain");
    QTest::newRow("removed") << false;
    QTest::newRow("removed and made again") << true;
}

// The run keeps its output folder open between files; a folder removed meanwhile is looked
// up again by its path, so a folder made again under that path takes the next copies.
void TestStartChanging::outputFolderRemovedDuringTheRun() {
    QFETCH(bool, madeAgain);
    const QString a = makeSource("src/a.txt", "a");
    const QString b = makeSource("src/b.txt", "b");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b;
    inputs.outputFolder = path("out");
    FakeWindow ui;
    ui.onProcessEvents = [&](int call) {
        if (call == 2) {
            QVERIFY(QDir(path("out")).removeRecursively());
            if (madeAgain)
                QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("out")));
        }
    };

    run(inputs, ui);

    if (madeAgain) {
        QCOMPARE(namesIn(path("out")),
                 QStringList{FileNameOf(newNameOf(b, kLastModifiedDateAtEnd))});
        QCOMPARE(ui.messages, QStringList{kMessageDone});
    } else {
        QVERIFY(!QFileInfo::exists(path("out")));
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY2(ui.messages.first().contains(b + QStringLiteral(": ") + kReasonOutputFolderGone),
                 qPrintable(ui.messages.first()));
    }
}

// The listed files are read only when a copy first meets an existing name; what the run
// wrote before that is not taken for a listed file, so a source listed twice replaces its
// own copy, while a listed file met late still gets a numbered copy beside it.
void TestStartChanging::listedFileMetLateIsStillNeverReplaced() {
    const QString a = makeSource("src/a.txt", "a");
    const QString b = makeSource("src/b.txt", "b");
    const QString aName = FileNameOf(newNameOf(a, kLastModifiedDateAtEnd));
    const QString bName = FileNameOf(newNameOf(b, kLastModifiedDateAtEnd));
    // b's new name is taken by a listed file (listed last, so met late).
    const QString listedInTheWay = path("out/") + bName;
    QVERIFY(writeFile(listedInTheWay, "listed"));
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b << a << listedInTheWay;
    inputs.outputFolder = path("out");
    FakeWindow ui;

    run(inputs, ui);

    QCOMPARE(contentOf(listedInTheWay), QByteArray("listed"));
    QCOMPARE(contentOf(path("out/") + numberedName(bName, 2)), QByteArray("b"));
    QCOMPARE(contentOf(path("out/") + aName), QByteArray("a"));
    QVERIFY(!QFileInfo::exists(path("out/") + numberedName(aName, 2)));
}

void TestStartChanging::countIsFixedAndEntriesReadByPosition() {
    const QString a = makeSource("src/a.txt", "a");
    const QString b = makeSource("src/b.txt", "b");
    const QString c = makeSource("src/c.txt", "c");
    const QString late = makeSource("src/late.txt", "late");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b << c;
    inputs.outputFolder = path("out");
    inputs.option = kCurrentDateAtEnd;
    FakeWindow ui;
    ui.onProcessEvents = [&](int call) {
        if (call == 1)
            inputs.entries << late; // dropped during the run: beyond the count
        if (call == 2)
            inputs.entries = QStringList{a}; // the list shrank (a nested clearing)
    };

    run(inputs, ui);

    // Only the first file was copied; positions 2 and 3 no longer exist.
    QCOMPARE(namesIn(path("out")), QStringList{FileNameOf(newNameOf(a, kCurrentDateAtEnd))});
    QCOMPARE(reportsNaming(ui, 116), 2);
    QCOMPARE(ui.processEventsCalls, 3);
    const QString unread = failureDescription(ErrorNumber::SubscriptOutOfRange);
    QCOMPARE(ui.messages, QStringList{QStringLiteral("Done.\r\r2 of 3 files were not copied:\r") +
                                      unread + QLatin1Char('\r') + unread});
}

void TestStartChanging::secondRunInsideARunningOne() {
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("out2")));
    const QString a = makeSource("src/a.txt", "a");
    const QString b = makeSource("src/b.txt", "b");
    const QString c = makeSource("src/c.txt", "c");
    FixedRunInputs outer({}, {}, kLastModifiedDateAtEnd);
    outer.entries << a << b << c;
    outer.outputFolder = path("out");
    FixedRunInputs inner({}, {}, kLastModifiedDateAtEnd);
    inner.entries << c << a;
    inner.outputFolder = path("out2");
    inner.option = kLastModifiedDateAfterNth;
    FakeWindow ui;
    ui.textAnswers << QStringLiteral("1");
    int depth = 0;
    ui.onProcessEvents = [&](int call) {
        if (call == 2 && depth == 0) {
            ++depth;
            run(inner, ui);
            --depth;
        }
    };

    run(outer, ui);

    QCOMPARE(ui.messages, (QStringList{kMessageDone, kMessageDone}));
    QCOMPARE(ui.prompts, QStringList{kPromptEnterN});
    QVERIFY(ui.errorReports.isEmpty());
    QStringList outerNames;
    for (const QString &source : {a, b, c})
        outerNames << FileNameOf(newNameOf(source, kLastModifiedDateAtEnd));
    outerNames.sort();
    QCOMPARE(namesIn(path("out")), outerNames);
    QStringList innerNames{FileNameOf(newNameOf(c, inner.option, 1)),
                           FileNameOf(newNameOf(a, inner.option, 1))};
    innerNames.sort();
    QCOMPARE(namesIn(path("out2")), innerNames);
    // Outer file 1, inner files 1 and 2 and its end, outer files 2 and 3 and its end.
    QCOMPARE(ui.pointerChanges,
             (QList<PointerMode>{PointerMode::Busy, PointerMode::Busy, PointerMode::Busy,
                                 PointerMode::Default, PointerMode::Busy, PointerMode::Busy,
                                 PointerMode::Default}));
}

void TestStartChanging::closingStopsTheRun() {
    const QString a = makeSource("src/a.txt", "a");
    const QString b = makeSource("src/b.txt", "b");
    const QString c = makeSource("src/c.txt", "c");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b << c;
    inputs.outputFolder = path("out");
    FakeWindow ui;
    ui.onProcessEvents = [&](int call) {
        if (call == 2)
            ui.m_closing = true;
    };

    run(inputs, ui);

    QCOMPARE(ui.processEventsCalls, 2);
    QCOMPARE(namesIn(path("out")), QStringList{FileNameOf(newNameOf(a, inputs.option))});
    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(ui.pointerChanges, QList<PointerMode>{PointerMode::Busy});
}

void TestStartChanging::closingDuringTheQuestionStopsTheRun() {
    const QString a = makeSource("src/a.txt", "a");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a;
    inputs.outputFolder = path("out");
    inputs.option = kLastModifiedDateAfterNth;
    FakeWindow ui;
    // The box closes with the window: Cancel. Should the question come back anyway, it
    // gets a number at its third showing, so a fault shows as a failure, not a hang.
    ui.onAskText = [&] {
        ui.m_closing = true;
        if (ui.prompts.size() == 3)
            ui.textAnswers << QStringLiteral("1");
    };

    run(inputs, ui);

    QCOMPARE(ui.prompts.size(), 1);
    QCOMPARE(ui.processEventsCalls, 0);
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(namesIn(path("out")).isEmpty());
}

void TestStartChanging::listedFilesAreNeverReplaced_data() {
    QTest::addColumn<bool>("hardLink");
    QTest::newRow("the new name is another listed file") << false;
    QTest::newRow("the new name is a hard link to another listed file") << true;
}

void TestStartChanging::listedFilesAreNeverReplaced() {
    QFETCH(bool, hardLink);
    const QString a = makeSource("src/a.txt", "a");
    const QString taken = path("src/") + FileNameOf(newNameOf(a, kLastModifiedDateAtEnd));
    QString listed = taken;
    if (hardLink) {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("elsewhere")));
        listed = makeSource("elsewhere/listed.txt", "listed");
        QCOMPARE(
            ::link(QFile::encodeName(listed).constData(), QFile::encodeName(taken).constData()), 0);
    } else {
        makeSource(FileNameOf(taken).prepend(QStringLiteral("src/")), "listed");
    }
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << listed;
    inputs.outputFolder = path("src");
    inputs.option = kLastModifiedDateAtEnd;
    FakeWindow ui;

    const RunOutcome outcome = startChanging(inputs, ui, m_clock, systemFileTimes());

    QCOMPARE(contentOf(taken), QByteArray("listed"));
    QCOMPARE(contentOf(listed), QByteArray("listed"));
    QCOMPARE(contentOf(a), QByteArray("a"));
    // The copy of a.txt is kept under a numbered name beside the listed file.
    const QString numbered = taken.left(taken.size() - 4) + QStringLiteral(" (2).txt");
    QCOMPARE(contentOf(numbered), QByteArray("a"));
    QCOMPARE(outcome.files.first().destination, numbered);
    QVERIFY(outcome.files.first().renamed);
    QVERIFY(ui.errorReports.isEmpty());
    QCOMPARE(ui.messages,
             QStringList{QStringLiteral("Done.\r\r1 file was renamed to avoid a clash.")});
}

void TestStartChanging::destinationOverflowIsReportedPerFile() {
    // The box's text changes during the run to one whose last separator lies beyond
    // position 32767: placing each remaining file reports the overflow, line 126.
    const QString a = makeSource("src/a.txt", "a");
    const QString b = makeSource("src/b.txt", "b");
    const QString c = makeSource("src/c.txt", "c");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << b << c;
    inputs.outputFolder = path("out");
    FakeWindow ui;
    ui.onProcessEvents = [&](int call) {
        if (call == 2)
            inputs.outputFolder = path("out/") + QString(33000, QLatin1Char('x'));
    };

    run(inputs, ui);

    QCOMPARE(ui.errorReports.size(), 2);
    QCOMPARE(reportsNaming(ui, 126), 2);
    const QString overflow = failureDescription(ErrorNumber::Overflow);
    QVERIFY(ui.errorReports.first().startsWith(overflow));
    QCOMPARE(namesIn(path("out")), QStringList{FileNameOf(newNameOf(a, inputs.option))});
    QCOMPARE(ui.messages, QStringList{QStringLiteral("Done.\r\r2 of 3 files were not copied:\r") +
                                      b + QStringLiteral(": ") + overflow + QLatin1Char('\r') + c +
                                      QStringLiteral(": ") + overflow});
}

void TestStartChanging::cancellingTheQuestionTouchesNothing() {
    const QString a = makeSource("src/abc.txt", "a");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a;
    inputs.outputFolder = path("out");
    inputs.option = kLastModifiedDateAfterNth;
    FakeWindow ui;
    // Cancel answers a null text; a number waits behind it should the box come back.
    ui.textAnswers << QString() << QStringLiteral("1");

    const RunOutcome outcome = startChanging(inputs, ui, m_clock, systemFileTimes());

    QCOMPARE(outcome.end, RunOutcome::End::Cancelled);
    QCOMPARE(ui.prompts.size(), 1);
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(ui.pointerChanges.isEmpty());
    QVERIFY(namesIn(path("out")).isEmpty());
}

void TestStartChanging::clashesWithinTheRunGetNumberedNames_data() {
    const auto names = [](const char16_t *list) {
        return QString::fromUtf16(list).split(QLatin1Char('|'));
    };
    QTest::addColumn<QStringList>("sources");  // folder/name, each with its own content
    QTest::addColumn<QStringList>("before");   // names in the output folder before the run
    QTest::addColumn<QStringList>("expected"); // "name=content" after the run
    QTest::addColumn<int>("renamed");
    QTest::newRow("three files of one name")
        << names(u"a/x.txt|b/x.txt|c/x.txt") << QStringList()
        << names(u"x S.txt=a/x.txt|x S (2).txt=b/x.txt|x S (3).txt=c/x.txt") << 2;
    QTest::newRow("a name without a dot")
        << names(u"a/Makefile|b/Makefile") << QStringList()
        << names(u"Makefile S=a/Makefile|Makefile S (2)=b/Makefile") << 1;
    QTest::newRow("a numbered name already there is passed over")
        << names(u"a/x.txt|b/x.txt") << names(u"x S (2).txt")
        << names(u"x S.txt=a/x.txt|x S (2).txt=old|x S (3).txt=b/x.txt") << 1;
    QTest::newRow("a file from before the run is replaced as designed")
        << names(u"a/x.txt") << names(u"x S.txt") << names(u"x S.txt=a/x.txt") << 0;
    QTest::newRow("the same source listed twice is copied over its own copy")
        << names(u"a/x.txt|a/x.txt") << QStringList() << names(u"x S.txt=a/x.txt") << 0;
}

void TestStartChanging::clashesWithinTheRunGetNumberedNames() {
    QFETCH(QStringList, sources);
    QFETCH(QStringList, before);
    QFETCH(QStringList, expected);
    QFETCH(int, renamed);
    // "S" stands for the stamp of the first source's modification date.
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    for (const QString &source : sources) {
        QDir(m_dir->path()).mkpath(source.section(QLatin1Char('/'), 0, 0));
        inputs.entries << makeSource(source, source.toUtf8());
    }
    const QString stamp = FileNameOf(newNameOf(inputs.entries.first(), inputs.option))
                              .section(QLatin1Char(' '), 1)
                              .section(QLatin1Char('.'), 0, 0);
    const auto stamped = [&](QString name) {
        return name.replace(QStringLiteral(" S"), QLatin1Char(' ') + stamp);
    };
    for (const QString &name : before)
        makeSource(QStringLiteral("out/") + stamped(name), "old");
    inputs.outputFolder = path("out");
    FakeWindow ui;

    const RunOutcome outcome = startChanging(inputs, ui, m_clock, systemFileTimes());

    QStringList found;
    for (const QString &name : namesIn(path("out")))
        found << name + QLatin1Char('=') + QString::fromUtf8(contentOf(path("out/") + name));
    found.sort();
    QStringList want;
    for (const QString &line : expected)
        want << stamped(line);
    want.sort();
    QCOMPARE(found, want);
    QCOMPARE(outcome.copiedCount(), int(sources.size()));
    QCOMPARE(outcome.renamedCount(), renamed);
    QVERIFY(ui.errorReports.isEmpty());
}

void TestStartChanging::numberedNamePastTheNameLimitIsNotCopied() {
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("a")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("b")));
    // The base takes what the stamp and ".t" leave of 255 bytes: the stamped name fits,
    // the numbered one would not.
    const qsizetype stampSize =
        FileNameOf(newNameOf(path("a/x.txt"), kCurrentDateAtEnd)).size() - 5;
    const QString base(253 - stampSize, QLatin1Char('y'));
    const QString first = makeSource(QStringLiteral("a/") + base + QStringLiteral(".t"), "1");
    const QString second = makeSource(QStringLiteral("b/") + base + QStringLiteral(".t"), "2");
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << first << second;
    inputs.outputFolder = path("out");
    inputs.option = kCurrentDateAtEnd;
    FakeWindow ui;

    const RunOutcome outcome = startChanging(inputs, ui, m_clock, systemFileTimes());

    QCOMPARE(FileNameOf(newNameOf(first, kCurrentDateAtEnd)).toUtf8().size(), 255);
    QCOMPARE(namesIn(path("out")).size(), 1);
    QCOMPARE(outcome.notCopiedCount(), 1);
    QCOMPARE(outcome.files.size(), 1);
    QCOMPARE(outcome.files.at(0).position, 2);
    QCOMPARE(outcome.files.at(0).reason,
             QStringLiteral("the name is too long for the output folder"));
}

void TestStartChanging::closingMessageTellsWhatWasNotDone_data() {
    QTest::addColumn<int>("copied");
    QTest::addColumn<int>("notCopied");
    QTest::addColumn<int>("renamed");
    QTest::addColumn<QString>("expected");
    const QString none = QStringLiteral(": it no longer exists");
    QTest::newRow("everything copied") << 3 << 0 << 0 << "Done.";
    QTest::newRow("one of one not copied")
        << 0 << 1 << 0 << (QStringLiteral("Done.\r\r1 of 1 files was not copied:\r/f1") + none);
    QString eleven = QStringLiteral("Done.\r\r12 of 13 files were not copied:");
    for (int i = 1; i <= 10; ++i)
        eleven += QStringLiteral("\r/f") + QString::number(i) + none;
    QTest::newRow("at most ten named") << 1 << 12 << 0 << eleven + QStringLiteral("\rand 2 more.");
    QTest::newRow("renamed only") << 3 << 0 << 3
                                  << QStringLiteral(
                                         "Done.\r\r3 files were renamed to avoid a clash.");
    QTest::newRow("both") << 1 << 1 << 1
                          << (QStringLiteral("Done.\r\r1 of 2 files was not copied:\r/f1") + none +
                              QStringLiteral("\r\r1 file was renamed to avoid a clash."));
}

void TestStartChanging::closingMessageTellsWhatWasNotDone() {
    QFETCH(int, copied);
    QFETCH(int, notCopied);
    QFETCH(int, renamed);
    QFETCH(QString, expected);
    RunOutcome outcome;
    outcome.listed = copied + notCopied;
    for (int i = 1; i <= notCopied; ++i) {
        FileOutcome file;
        file.source = QStringLiteral("/f") + QString::number(i);
        file.problem = CopyProblem::SourceGone;
        file.reason = copyProblemText(file.problem, ENOENT);
        outcome.add(std::move(file));
    }
    for (int i = 0; i < copied; ++i) {
        FileOutcome file;
        file.renamed = i < renamed;
        outcome.add(std::move(file));
    }
    QCOMPARE(closingMessage(outcome), expected);
}

void TestStartChanging::lastAccessedStampDoesNotMoveWithReading() {
    // The access time is a week old; copying the file must not make it today's, or the
    // next run would stamp another date and a file listed twice would get two names.
    const QString a = makeSource("src/a.txt", QByteArray(1 << 16, 'a'));
    const struct timespec weekOld[2] = {{::time(nullptr) - 7 * 86400, 0}, {0, UTIME_OMIT}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(a).constData(), weekOld, 0), 0);
    FixedRunInputs inputs({}, {}, kLastModifiedDateAtEnd);
    inputs.entries << a << a;
    inputs.outputFolder = path("out");
    inputs.option = QStringLiteral("Add last accessed date to end of filename");
    FakeWindow ui;

    run(inputs, ui);
    run(inputs, ui);

    struct stat after {};
    QCOMPARE(::stat(QFile::encodeName(a).constData(), &after), 0);
    QCOMPARE(qint64(after.st_atim.tv_sec), qint64(weekOld[0].tv_sec));
    QCOMPARE(namesIn(path("out")).size(), 1);
    QCOMPARE(ui.messages, (QStringList{kMessageDone, kMessageDone}));
}

namespace {

/// A window that is ended by SIGTERM at a chosen moment of the run: at its closing box, or
/// as it tells the progress before the file at a position.
class EndedWindow final : public SilentWindowPort {
public:
    explicit EndedWindow(int beforePosition)
        : m_beforePosition(beforePosition) {}
    bool showRunClosingBox(const QString &, const QString &, bool, const QString &) override {
        ::raise(SIGTERM);
        return false;
    }
    void reportProgress(qint64 done, qint64) override {
        if (done + 1 == m_beforePosition)
            ::raise(SIGTERM);
    }

private:
    int m_beforePosition;
};

} // namespace

void TestStartChanging::aRunEndedBySignalLeavesWhatItCopiedOnRecord_data() {
    QTest::addColumn<int>("endedBefore"); // the position whose file the run never reaches
    QTest::addColumn<int>("skippedNext");
    QTest::newRow("ended while its closing box is open") << 0 << 2;
    QTest::newRow("ended between two files") << 2 << 1;
}

void TestStartChanging::aRunEndedBySignalLeavesWhatItCopiedOnRecord() {
    QFETCH(int, endedBefore);
    QFETCH(int, skippedNext);
    qputenv("XDG_STATE_HOME", pathToBytes(path("state")));
    const QStringList sources{makeSource("src/a.txt", "a"), makeSource("src/b.txt", "b")};
    FixedRunInputs inputs(sources, path("out"), kLastModifiedDateAtEnd);
    RunChoices choices;
    choices.skipCopied = true;
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        enableRunRecords(QStringLiteral("window"));
        EndedWindow ui(endedBefore);
        startChanging(inputs, ui, m_clock, systemFileTimes(), choices);
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);

    // The next run with skipping leaves out every file the ended one copied.
    enableRunRecords(QStringLiteral("window"));
    FakeWindow ui;
    const RunOutcome outcome = startChanging(inputs, ui, m_clock, systemFileTimes(), choices);
    disableRunRecords();
    QCOMPARE(outcome.skippedCount(), skippedNext);
}

void TestStartChanging::aSkippedCopyKeepsItsNameFromAnotherListedFile() {
    qputenv("XDG_STATE_HOME", pathToBytes(path("state")));
    enableRunRecords(QStringLiteral("window"));
    QVERIFY(QDir(path("src")).mkpath(QStringLiteral("a")) &&
            QDir(path("src")).mkpath(QStringLiteral("b")));
    const QString a = makeSource("src/a/IMG_0001.jpg", "the first camera");
    const QString b = makeSource("src/b/IMG_0001.jpg", "the second camera");
    RunChoices choices;
    choices.skipCopied = true;
    FixedRunInputs first(QStringList{a}, path("out"), kLastModifiedDateAtEnd);
    FakeWindow ui;
    startChanging(first, ui, m_clock, systemFileTimes(), choices);
    const QString held = path("out/") + FileNameOf(newNameOf(a, kLastModifiedDateAtEnd));

    // The plan and the run agree: a is left out, and b does not take its copy's name.
    FixedRunInputs both(QStringList{a, b}, path("out"), kLastModifiedDateAtEnd);
    NamePlanner planner(PlanRequest{kLastModifiedDateAtEnd, -1, choices, path("out")}, both.entries,
                        m_clock, systemFileTimes(), RegionalForms::system());
    const QList<PlannedName> plan = planner.planAll();
    QCOMPARE(plan.at(0).problem, CopyProblem::CopiedBefore);
    QCOMPARE(plan.at(1).verdict, Verdict::Numbered);
    const RunOutcome outcome = startChanging(both, ui, m_clock, systemFileTimes(), choices);
    disableRunRecords();
    QCOMPARE(outcome.skippedCount(), 1);
    QCOMPARE(outcome.renamedCount(), 1);
    QCOMPARE(contentOf(held), QByteArray("the first camera"));
    QCOMPARE(contentOf(numberedName(held, 2)), QByteArray("the second camera"));
}

QTEST_GUILESS_MAIN(TestStartChanging)
#include "tst_startchanging.moc"
