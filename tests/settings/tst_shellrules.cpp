#include "FakeWindow.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/LocationTags.h"
#include "settings/AppTexts.h"
#include "settings/OutputFolder.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "settings/ShellRules.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace plenvoy;

class TestShellRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void applicationTitleDropsTheLastWords_data();
    void applicationTitleDropsTheLastWords();
    void applicationTitleIsSetOnce();
    void storedDropDownPosition_data();
    void storedDropDownPosition();
    void desktopFolderEndsWithSlash_data();
    void desktopFolderEndsWithSlash();
    void browsePutsTheChosenFolderIntoTheBox_data();
    void browsePutsTheChosenFolderIntoTheBox();
    void browseCancelChangesNothing();
    void browseOpensAtTheFolderPickedLast();
    void browseFailureNamesItsLine();
};

void TestShellRules::applicationTitleDropsTheLastWords_data() {
    QTest::addColumn<QString>("productName");
    QTest::addColumn<QString>("title");
    QTest::newRow("one word stays whole") << QStringLiteral("Plenvoy") << QStringLiteral("Plenvoy");
    QTest::newRow("two words lose the last")
        << QStringLiteral("Plenvoy Pro") << QStringLiteral("Plenvoy");
    // 50 characters whose last two words are 6 and 8 long: 50 -> 41 -> 34.
    QTest::newRow("50 characters lose two words")
        << QStringLiteral("Alpha Bravo Charlie Delta Echo Fox Golf66 Hotel888")
        << QStringLiteral("Alpha Bravo Charlie Delta Echo Fox");
    QTest::newRow("41 characters lose exactly one word")
        << QStringLiteral("Alphabetic Brave Charming Delightful Echo")
        << QStringLiteral("Alphabetic Brave Charming Delightful");
    QTest::newRow("long name without blank stays")
        << QString(60, QLatin1Char('x')) << QString(60, QLatin1Char('x'));
    QTest::newRow("long first word after cutting stays")
        << QString(45, QLatin1Char('y')) + QStringLiteral(" tail") << QString(45, QLatin1Char('y'));
    QTest::newRow("trailing blank drops nothing but the blank")
        << QStringLiteral("Plenvoy ") << QStringLiteral("Plenvoy");
}

void TestShellRules::applicationTitleDropsTheLastWords() {
    QFETCH(QString, productName);
    QFETCH(QString, title);
    if (QTest::currentDataTag() == QByteArray("50 characters lose two words")) {
        QCOMPARE(productName.size(), 50);
        QCOMPARE(title.size(), 34);
    } else if (QTest::currentDataTag() == QByteArray("41 characters lose exactly one word")) {
        QCOMPARE(productName.size(), 41);
    }
    QCOMPARE(shortenedTitle(productName), title);
}

void TestShellRules::applicationTitleIsSetOnce() {
    QCOMPARE(applicationTitle(), QStringLiteral("Plenvoy"));
    SetApplicationTitle(QStringLiteral("Plenvoy Deluxe Edition"));
    QCOMPARE(applicationTitle(), QStringLiteral("Plenvoy Deluxe"));
    SetApplicationTitle();
    QCOMPARE(applicationTitle(), QStringLiteral("Plenvoy"));
}

void TestShellRules::storedDropDownPosition_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("failure");
    QTest::newRow("first") << QStringLiteral("0") << 0 << 0;
    QTest::newRow("modification time at end") << QStringLiteral("19") << 19 << 0;
    QTest::newRow("last") << QStringLiteral("35") << 35 << 0;
    QTest::newRow("none selected") << QStringLiteral("-1") << -1 << 0;
    QTest::newRow("half rounds down to even") << QStringLiteral("2.5") << 2 << 0;
    QTest::newRow("half rounds up to even") << QStringLiteral("3.5") << 4 << 0;
    QTest::newRow("blanks around") << QStringLiteral(" 7 ") << 7 << 0;
    QTest::newRow("exponent") << QStringLiteral("1e1") << 10 << 0;
    QTest::newRow("one past the last")
        << QStringLiteral("36") << 0 << ErrorNumber::InvalidPropertyValue;
    QTest::newRow("below none") << QStringLiteral("-2") << 0 << ErrorNumber::InvalidPropertyValue;
    QTest::newRow("letters") << QStringLiteral("abc") << 0 << ErrorNumber::TypeMismatch;
    QTest::newRow("empty") << QString() << 0 << ErrorNumber::TypeMismatch;
    QTest::newRow("comma decimal") << QStringLiteral("2,5") << 0 << ErrorNumber::TypeMismatch;
    QTest::newRow("beyond 16 bits") << QStringLiteral("40000") << 0 << ErrorNumber::Overflow;
    QTest::newRow("far beyond") << QStringLiteral("1e400") << 0 << ErrorNumber::Overflow;
}

void TestShellRules::storedDropDownPosition() {
    QFETCH(QString, stored);
    QFETCH(int, position);
    QFETCH(int, failure);
    try {
        const int result = comboPositionFromSetting(stored, 36);
        QCOMPARE(failure, 0);
        QCOMPARE(result, position);
    } catch (const Failure &raised) {
        QCOMPARE(raised.number(), failure);
    }
}

void TestShellRules::desktopFolderEndsWithSlash_data() {
    QTest::addColumn<bool>("haveDesktop");
    QTest::newRow("desktop folder exists") << true;
    QTest::newRow("no desktop folder: home") << false;
}

void TestShellRules::desktopFolderEndsWithSlash() {
    QFETCH(bool, haveDesktop);
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    if (haveDesktop)
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Desktop")));
    const QString folder = DesktopFolder();
    qputenv("HOME", savedHome);
    qputenv("XDG_CONFIG_HOME", savedConfig);
    QCOMPARE(folder, haveDesktop ? home.path() + QStringLiteral("/Desktop/")
                                 : home.path() + QStringLiteral("/"));
}

void TestShellRules::browsePutsTheChosenFolderIntoTheBox_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("lastFolderDot");
    QTest::addColumn<QString>("box");
    QTest::newRow("normal folder gets a closing slash")
        << QStringLiteral("/srv/photos") << QStringLiteral("/srv/photos")
        << QStringLiteral("/srv/photos/");
    QTest::newRow("root keeps its one slash")
        << QStringLiteral("/") << QStringLiteral("/") << QStringLiteral("/");
    QTest::newRow("blanks in the name stay")
        << QStringLiteral("/home/ann/My Files ") << QStringLiteral("/home/ann/My Files ")
        << QStringLiteral("/home/ann/My Files /");
}

void TestShellRules::browsePutsTheChosenFolderIntoTheBox() {
    QFETCH(QString, answer);
    QFETCH(QString, lastFolderDot);
    QFETCH(QString, box);
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Marnoval.ini")));
    test::FakeWindow ui;
    ui.folderAnswers << answer;
    QStringList boxTexts;
    browseOutputFolder(settings, ui, [&](const QString &text) { boxTexts << text; });
    QCOMPARE(ui.folderPrompts, QStringList{QStringLiteral("Please select folder:")});
    QCOMPARE(boxTexts, QStringList{box});
    QCOMPARE(settings.readSetting(kKeyLastOutputFolder, QStringLiteral("absent")), lastFolderDot);
    QVERIFY(ui.errorReports.isEmpty());
}

void TestShellRules::browseCancelChangesNothing() {
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Marnoval.ini")));
    QVERIFY(settings.writeSetting(kKeyLastOutputFolder, QStringLiteral("/old")));
    test::FakeWindow ui; // no answer: Cancel
    bool boxChanged = false;
    browseOutputFolder(settings, ui, [&](const QString &) { boxChanged = true; });
    QVERIFY(!boxChanged);
    QCOMPARE(settings.readSetting(kKeyLastOutputFolder, QString()), QStringLiteral("/old"));
    QCOMPARE(ui.folderStarts, QStringList{QStringLiteral("/old")});
}

void TestShellRules::browseOpensAtTheFolderPickedLast() {
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Marnoval.ini")));
    test::FakeWindow ui;
    ui.folderAnswers << QStringLiteral("/first") << QStringLiteral("/second");
    const auto ignore = [](const QString &) {};
    browseOutputFolder(settings, ui, ignore);
    browseOutputFolder(settings, ui, ignore);
    browseOutputFolder(settings, ui, ignore); // cancelled
    QCOMPARE(ui.folderStarts,
             (QStringList{QString(), QStringLiteral("/first"), QStringLiteral("/second")}));
}

void TestShellRules::browseFailureNamesItsLine() {
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Marnoval.ini")));
    test::FakeWindow ui;
    ui.folderAnswers << QStringLiteral("/media/usb") << QStringLiteral("/");
    const auto failing = [](const QString &) { throwFailure(ErrorNumber::InvalidPropertyValue); };
    browseOutputFolder(settings, ui, failing);
    browseOutputFolder(settings, ui, failing);
    const QString description = failureDescription(ErrorNumber::InvalidPropertyValue);
    QCOMPARE(ui.errorReports, (QStringList{errorReportText(description, kTagBrowseOutput, 106),
                                           errorReportText(description, kTagBrowseOutput, 108)}));
    // The folder was stored before the box failed.
    QCOMPARE(settings.readSetting(kKeyLastOutputFolder, QString()), QStringLiteral("/"));
}

QTEST_GUILESS_MAIN(TestShellRules)
#include "tst_shellrules.moc"
