#include "FakeWindow.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/LocationTags.h"
#include "core/Trap.h"

#include <QtTest>

#include <cerrno>
#include <stdexcept>

using namespace plenvoy;

class TestErrorTrap : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportTextIsComposedToTheCharacter_data();
    void reportTextIsComposedToTheCharacter();
    void reportIsShownThroughTheWindow();
    void routineResumesAfterAFailingStep();
    void failingTestRunsTheConditionalBody();
    void failedStepKeepsTheEarlierValue();
    void severalFailuresGiveSeveralReportsInOrder();
    void foreignExceptionsAreReportedToo();
    void errnoMapsToTheWalkNumbers();
    void locationTagsEndWithOneBlank();
};

void TestErrorTrap::reportTextIsComposedToTheCharacter_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");
    const QString address = QStringLiteral(PLENVOY_SUPPORT_ADDRESS);
    QTest::newRow("start-up line 108")
        << QStringLiteral("File not found") << kTagFormLoad << 108
        << (QStringLiteral("File not found\r\nin Plenvoy2021/08/31.Form1.Form_Load at line 108\r\r"
                           "Please email screenshot of this message to ") +
            address);
    QTest::newRow("negative line number keeps its sign")
        << QStringLiteral("Overflow") << kTagStartChanging << -7
        << (QStringLiteral("Overflow\r\nin Plenvoy2021/08/31.Form1.PushButton2_Click at line -7\r\r"
                           "Please email screenshot of this message to ") +
            address);
    QTest::newRow("empty description")
        << QString() << kTagFolderWalk << 0
        << (QStringLiteral("\r\nin BrannocTitle2021/08/31.AddFolder.GetSubDirectories2016 at line 0"
                           "\r\rPlease email screenshot of this message to ") +
            address);
}

void TestErrorTrap::reportTextIsComposedToTheCharacter() {
    QFETCH(QString, description);
    QFETCH(QString, tag);
    QFETCH(int, line);
    QFETCH(QString, expected);
    QCOMPARE(errorReportText(description, tag, line), expected);
    QVERIFY(!supportAddress().isEmpty());
}

void TestErrorTrap::reportIsShownThroughTheWindow() {
    test::FakeWindow ui;
    showErrorReport(ui, QStringLiteral("Path not found"), kTagClearList, 100);
    QCOMPARE(ui.errorReports.size(), 1);
    QCOMPARE(ui.errorReports.first(),
             errorReportText(QStringLiteral("Path not found"), kTagClearList, 100));
    QVERIFY(ui.messages.isEmpty());
}

void TestErrorTrap::routineResumesAfterAFailingStep() {
    test::FakeWindow ui;
    Trap trap(kTagFormLoad, ui);
    QStringList ran;
    QVERIFY(trap.step(100, [&] { ran << QStringLiteral("100"); }));
    QVERIFY(!trap.step(102, [&] {
        ran << QStringLiteral("102");
        throwFailure(ErrorNumber::FileNotFound);
        ran << QStringLiteral("never");
    }));
    QVERIFY(trap.step(104, [&] { ran << QStringLiteral("104"); }));
    QCOMPARE(ran,
             (QStringList{QStringLiteral("100"), QStringLiteral("102"), QStringLiteral("104")}));
    QCOMPARE(ui.errorReports,
             QStringList{errorReportText(QStringLiteral("File not found"), kTagFormLoad, 102)});
}

void TestErrorTrap::failingTestRunsTheConditionalBody() {
    test::FakeWindow ui;
    Trap trap(kTagAddFolder, ui);
    bool bodyRan = false;
    if (trap.test(110, []() -> bool { throwFailure(ErrorNumber::TypeMismatch); }))
        bodyRan = true;
    QVERIFY(bodyRan);
    QCOMPARE(ui.errorReports.size(), 1);
    QVERIFY(ui.errorReports.first().contains(QStringLiteral("PushButton3_Click at line 110")));
    // A test that holds or fails without a failure is taken as it is.
    QVERIFY(trap.test(112, [] { return true; }));
    QVERIFY(!trap.test(114, [] { return false; }));
    QCOMPARE(ui.errorReports.size(), 1);
}

void TestErrorTrap::failedStepKeepsTheEarlierValue() {
    test::FakeWindow ui;
    Trap trap(kTagStartChanging, ui);
    QString name = QStringLiteral("earlier");
    int count = 0;
    trap.step(122, [&] {
        const QString composed = []() -> QString { throwFailure(ErrorNumber::Overflow); }();
        name = composed;
    });
    trap.step(110, [&] {
        const int read = []() -> int { throwFailure(ErrorNumber::SubscriptOutOfRange); }();
        count = read;
    });
    QCOMPARE(name, QStringLiteral("earlier"));
    QCOMPARE(count, 0);
}

void TestErrorTrap::severalFailuresGiveSeveralReportsInOrder() {
    test::FakeWindow ui;
    Trap trap(kTagLoadSamples, ui);
    for (int line : {100, 102, 104})
        trap.step(line, [&] { throwFailure(ErrorNumber::PathNotFound); });
    QCOMPARE(ui.errorReports.size(), 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY(ui.errorReports.at(i).contains(QStringLiteral("at line %1\r\r").arg(100 + 2 * i)));
}

void TestErrorTrap::foreignExceptionsAreReportedToo() {
    test::FakeWindow ui;
    Trap trap(kTagBrowseOutput, ui);
    QVERIFY(!trap.step(104, [] { throw std::runtime_error("disk on fire"); }));
    QVERIFY(!trap.step(106, [] { throw std::bad_alloc(); }));
    QCOMPARE(ui.errorReports.size(), 2);
    QVERIFY(ui.errorReports.at(0).startsWith(QStringLiteral("disk on fire\r\n")));
    QVERIFY(ui.errorReports.at(1).startsWith(QStringLiteral("Out of memory\r\n")));
}

void TestErrorTrap::errnoMapsToTheWalkNumbers() {
    QCOMPARE(Failure::fromErrno(EACCES).number(), ErrorNumber::PermissionDenied);
    QCOMPARE(Failure::fromErrno(EPERM).number(), ErrorNumber::PermissionDenied);
    QCOMPARE(Failure::fromErrno(ENOENT).number(), ErrorNumber::PathNotFound);
    QCOMPARE(Failure::fromErrno(ENOTDIR).number(), ErrorNumber::PathNotFound);
    QVERIFY(Failure::fromErrno(EIO).number() != ErrorNumber::PermissionDenied);
    QVERIFY(Failure::fromErrno(EIO).number() != ErrorNumber::PathNotFound);
    QVERIFY(!Failure::fromErrno(EIO).description().isEmpty());
}

void TestErrorTrap::locationTagsEndWithOneBlank() {
    const QStringList tags{kTagFormLoad,  kTagAddFiles,    kTagStartChanging, kTagAddFolder,
                           kTagClearList, kTagLoadSamples, kTagBrowseOutput,  kTagFolderWalk};
    for (const QString &tag : tags) {
        QVERIFY(tag.startsWith(QStringLiteral("in ")));
        QVERIFY(tag.contains(QStringLiteral("2021/08/31.")));
        QVERIFY(tag.endsWith(QLatin1Char(' ')) && !tag.endsWith(QStringLiteral("  ")));
    }
}

QTEST_GUILESS_MAIN(TestErrorTrap)
#include "tst_errortrap.moc"
