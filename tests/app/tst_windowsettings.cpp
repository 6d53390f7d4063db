// The window's settings at start and at every change: the option and the output folder
// restored and written back, settings that cannot be used told once.
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

namespace {} // namespace

class TestWindowSettings : public WindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstStartSelectsTheFirstOptionAndTheDesktop();
    void storedPositionIsRestored_data();
    void storedPositionIsRestored();
    void storedFolderIsShownAndWrittenBack();
    void settingsThatCannotBeUsedAreToldOnce_data();
    void settingsThatCannotBeUsedAreToldOnce();
    void optionsAreTheCatalogueInOrder();
    void dropDownAndBoxWriteAtEveryChange();
};

void TestWindowSettings::init() {
    QVERIFY(makeWindowFolders());
}

void TestWindowSettings::cleanup() {
    restoreWindowEnvironment();
}

void TestWindowSettings::firstStartSelectsTheFirstOptionAndTheDesktop() {
    BoxWatcher boxes;
    auto form = startForm();
    auto *combo = form->findChild<QComboBox *>(QStringLiteral("Combo1"));
    auto *text = form->findChild<QLineEdit *>(QStringLiteral("Text1"));
    const QString desktop = m_home->path() + QStringLiteral("/Desktop/");
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(combo->currentText(), QStringLiteral("Add current time to beginning of filename"));
    QCOMPARE(text->text(), desktop);
    QCOMPARE(stored(kKeyChosenOption), QStringLiteral("0"));
    QCOMPARE(stored(kKeyOutputFolder), desktop);
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(form->windowTitle(), QStringLiteral("Plenvoy"));
    QVERIFY(!form->windowIcon().isNull());
    QCOMPARE(applicationTitle(), QStringLiteral("Plenvoy"));
}

void TestWindowSettings::storedPositionIsRestored_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<int>("failure");
    QTest::newRow("-1 leaves none") << QStringLiteral("-1") << -1 << QStringLiteral("-1") << 0;
    QTest::newRow("2.5 gives 2") << QStringLiteral("2.5") << 2 << QStringLiteral("2") << 0;
    QTest::newRow("3.5 gives 4") << QStringLiteral("3.5") << 4 << QStringLiteral("4") << 0;
    QTest::newRow("19") << QStringLiteral("19") << 19 << QStringLiteral("19") << 0;
    QTest::newRow("35 the last") << QStringLiteral("35") << 35 << QStringLiteral("35") << 0;
    QTest::newRow("36 reported") << QStringLiteral("36") << -1 << QStringLiteral("36")
                                 << ErrorNumber::InvalidPropertyValue;
    QTest::newRow("abc reported") << QStringLiteral("abc") << -1 << QStringLiteral("abc")
                                  << ErrorNumber::TypeMismatch;
}

void TestWindowSettings::storedPositionIsRestored() {
    QFETCH(QString, value);
    QFETCH(int, position);
    QFETCH(QString, storedAfter);
    QFETCH(int, failure);
    BoxWatcher boxes;
    auto form = startForm("[Plenvoy]\nCombo1=" + value.toUtf8() + "\nText1=/kept/\n");
    auto *combo = form->findChild<QComboBox *>(QStringLiteral("Combo1"));
    QCOMPARE(combo->currentIndex(), position);
    if (position < 0)
        QCOMPARE(combo->currentText(), QString());
    QCOMPARE(stored(kKeyChosenOption), storedAfter);
    if (failure == 0) {
        QVERIFY(boxes.texts.isEmpty());
    } else {
        const QString report =
            displayText(errorReportText(failureDescription(failure), kTagFormLoad, 204));
        QCOMPARE(boxes.texts, QStringList{report});
        QCOMPARE(boxes.titles, QStringList{QStringLiteral("Application Error")});
        QCOMPARE(boxes.icons, QList<QMessageBox::Icon>{QMessageBox::Warning});
    }
    // Start-up goes on after a failed restore.
    QCOMPARE(form->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(),
             QStringLiteral("/kept/"));
}

void TestWindowSettings::storedFolderIsShownAndWrittenBack() {
    auto form = startForm("[Plenvoy]\nText1=/no/such/folder\n");
    QCOMPARE(form->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(),
             QStringLiteral("/no/such/folder"));
    QCOMPARE(stored(kKeyOutputFolder), QStringLiteral("/no/such/folder"));
}

void TestWindowSettings::settingsThatCannotBeUsedAreToldOnce_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("shownFolder"); // empty: the desktop
    QTest::newRow("read-only file") << QStringLiteral("read-only") << QStringLiteral("/stored/");
    QTest::newRow("fifo") << QStringLiteral("fifo") << QString();
    QTest::newRow("corrupt file") << QStringLiteral("corrupt") << QStringLiteral("/stored/");
}

void TestWindowSettings::settingsThatCannotBeUsedAreToldOnce() {
    QFETCH(QString, kind);
    QFETCH(QString, shownFolder);
    const QByteArray written = kind == QStringLiteral("corrupt")
                                   ? QByteArray("[Plenvoy]\nText1=/stored/\n[[[\n")
                                   : QByteArray("[Plenvoy]\nText1=/stored/\n");
    QString expected;
    if (kind == QStringLiteral("fifo")) {
        QCOMPARE(::mkfifo(pathToBytes(iniPath()).constData(), 0644), 0);
        expected = kSettingsUnreadableMessage;
    } else {
        QVERIFY(writeFile(iniPath(), written));
        if (kind == QStringLiteral("read-only")) {
            QVERIFY(QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::ReadOther));
            expected = kSettingsUnwritableMessage;
        } else {
            expected = kSettingsKeptAsideMessage.arg(iniPath() + QStringLiteral(".corrupt"));
        }
    }
    BoxWatcher boxes;
    auto form = startForm();
    auto *combo = form->findChild<QComboBox *>(QStringLiteral("Combo1"));
    auto *text = form->findChild<QLineEdit *>(QStringLiteral("Text1"));
    QCOMPARE(text->text(),
             shownFolder.isEmpty() ? m_home->path() + QStringLiteral("/Desktop/") : shownFolder);
    combo->setCurrentIndex(5);
    text->setText(QStringLiteral("/typed/"));
    QCOMPARE(boxes.texts, QStringList{expected});
    QCOMPARE(boxes.titles, QStringList{QStringLiteral("Plenvoy")});
    if (kind == QStringLiteral("read-only"))
        QCOMPARE(contentOf(iniPath()), written);
    if (kind == QStringLiteral("corrupt")) {
        QCOMPARE(contentOf(iniPath() + QStringLiteral(".corrupt")), written);
        QCOMPARE(stored(kKeyOutputFolder), QStringLiteral("/typed/"));
    }
}

void TestWindowSettings::optionsAreTheCatalogueInOrder() {
    auto form = startForm();
    auto *combo = form->findChild<QComboBox *>(QStringLiteral("Combo1"));
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    QCOMPARE(shown, renameOptionTexts());
    QCOMPARE(combo->itemText(19), QStringLiteral("Add last modification time to end of filename"));
    QVERIFY(!combo->isEditable());
}

void TestWindowSettings::dropDownAndBoxWriteAtEveryChange() {
    auto form = startForm("[Plenvoy]\nText1=/a\n");
    auto *combo = form->findChild<QComboBox *>(QStringLiteral("Combo1"));
    auto *text = form->findChild<QLineEdit *>(QStringLiteral("Text1"));
    combo->setCurrentIndex(7);
    QCOMPARE(stored(kKeyChosenOption), QStringLiteral("7"));
    // A click on the entry already selected writes it again.
    writeFile(iniPath(), "[Plenvoy]\nCombo1=x\n");
    Q_EMIT combo->activated(7);
    QCOMPARE(stored(kKeyChosenOption), QStringLiteral("7"));

    text->setText(QStringLiteral("/a"));
    text->setCursorPosition(2);
    QStringList seen;
    connect(text, &QLineEdit::textChanged, this, [&] { seen << stored(kKeyOutputFolder); });
    QTest::keyClicks(text, QStringLiteral("bc"));
    QCOMPARE(seen, (QStringList{QStringLiteral("/ab"), QStringLiteral("/abc")}));
    text->clear();
    QCOMPARE(stored(kKeyOutputFolder), QString());
}

QTEST_MAIN(TestWindowSettings)
#include "tst_windowsettings.moc"
