#include "MovieBytes.h"
#include "TestFiles.h"
#include "app/MainWindow.h"
#include "app/NewNamePreview.h"
#include "app/StampSettingsDialog.h"
#include "core/PathCodec.h"
#include "settings/AppTexts.h"
#include "settings/Presets.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>

#include <time.h>

using namespace plenvoy;

namespace {

QRadioButton *choice(const QWidget &dialog, const QString &caption) {
    for (QRadioButton *button : dialog.findChildren<QRadioButton *>())
        if (button->text() == caption)
            return button;
    return nullptr;
}

QString exampleLine(const QWidget &dialog) {
    const auto *label = dialog.findChild<QLabel *>(QStringLiteral("Example"));
    return label ? label->text() : QString();
}

} // namespace

class TestStampSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void exampleFollowsTheChoices_data();
    void exampleFollowsTheChoices();
    void exampleUsesTheFirstListedFile();
    void choicesAreStoredWhenChangedAndReadBack();
    void unknownOrMissingValuesAreTheDefaults_data();
    void unknownOrMissingValuesAreTheDefaults();
    void buttonBesideTheDropDownOpensTheDialog();
    void theWindowsRunStampsWithTheStoredChoices();
    void ownPatternIsCheckedAsItIsTyped_data();
    void ownPatternIsCheckedAsItIsTyped();
    void emptyPatternIsNoFaultUntilChosen();
    void ownPatternIsStoredWhenLeftAndOnlyWhenUsable();
    void shiftMovesTheTakenExampleAndIsStored();

private:
    QTemporaryDir m_dir;
};

void TestStampSettings::initTestCase() {
    qputenv("TZ", "UTC");
    ::tzset();
    QVERIFY(m_dir.isValid());
    // The window's own settings file, kept in the test's folder.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("config")));
    qputenv("XDG_CONFIG_HOME", pathToBytes(m_dir.filePath(QStringLiteral("config"))));
}

void TestStampSettings::exampleFollowsTheChoices_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("regional");
    QTest::addColumn<QString>("sortable");
    QTest::addColumn<QString>("compact");
    QTest::newRow("current time and date at the end")
        << QStringLiteral("Add current time and date to end of filename")
        << QStringLiteral("Holiday 12-7-2026 2-05-09 PM.jpg")
        << QStringLiteral("Holiday 2026-12-07 14-05-09.jpg")
        << QStringLiteral("Holiday 20261207-140509.jpg");
    QTest::newRow("file creation date after the 3rd character")
        << QStringLiteral("Add file creation date after nth character in filename")
        << QStringLiteral("Hol12-07-2026iday.jpg") << QStringLiteral("Hol2026-12-07iday.jpg")
        << QStringLiteral("Hol20261207iday.jpg");
    QTest::newRow("no option chosen")
        << QString() << QStringLiteral("Holiday.jpg") << QStringLiteral("Holiday.jpg")
        << QStringLiteral("Holiday.jpg");
}

void TestStampSettings::exampleFollowsTheChoices() {
    QFETCH(QString, option);
    QFETCH(QString, regional);
    QFETCH(QString, sortable);
    QFETCH(QString, compact);
    SettingsStore settings(m_dir.filePath(QStringLiteral("example.ini")));
    StampSettingsDialog dialog(settings, QString(), option);
    QCOMPARE(exampleLine(dialog), kStampExample.arg(regional));
    choice(dialog, kCaptionFormSortable)->click();
    QCOMPARE(exampleLine(dialog), kStampExample.arg(sortable));
    choice(dialog, kCaptionFormCompact)->click();
    QCOMPARE(exampleLine(dialog), kStampExample.arg(compact));
    choice(dialog, kCaptionFormRegional)->click();
    QCOMPARE(exampleLine(dialog), kStampExample.arg(regional));
}

void TestStampSettings::exampleUsesTheFirstListedFile() {
    const QString movie = m_dir.filePath(QStringLiteral("Trip.mp4"));
    const QDateTime shot(QDate(2024, 8, 9), QTime(10, 11, 12), Qt::UTC);
    QVERIFY(
        test::writeFile(movie, test::movieFile(1, test::movieSeconds(shot.toSecsSinceEpoch()))));
    SettingsStore settings(m_dir.filePath(QStringLiteral("listed.ini")));
    StampSettingsDialog dialog(
        settings, movie, QStringLiteral("Add file creation time and date to end of filename"));
    choice(dialog, kCaptionFormCompact)->click();
    const QString fileTime = exampleLine(dialog);
    QVERIFY2(fileTime.startsWith(kStampExample.arg(QStringLiteral("Trip 20"))),
             qPrintable(fileTime));
    QVERIFY(!fileTime.contains(QLatin1String("20240809")));
    choice(dialog, kCaptionCreationTaken)->click();
    QCOMPARE(exampleLine(dialog), kStampExample.arg(QStringLiteral("Trip 20240809-101112.mp4")));
    choice(dialog, kCaptionCreationFile)->click();
    QCOMPARE(exampleLine(dialog), fileTime);
}

void TestStampSettings::choicesAreStoredWhenChangedAndReadBack() {
    const QString path = m_dir.filePath(QStringLiteral("roundtrip.ini"));
    SettingsStore settings(path);
    {
        // Opening and closing the dialog writes nothing.
        StampSettingsDialog dialog(settings, QString(), QString());
        QCOMPARE(dialog.style().form, StampForm::Regional);
        QCOMPARE(dialog.style().creation, CreationTime::File);
    }
    QVERIFY(!QFile::exists(path));
    {
        StampSettingsDialog dialog(settings, QString(), QString());
        choice(dialog, kCaptionFormCompact)->click();
        // Written at once, before the dialog closes.
        QCOMPARE(settings.readSetting(kKeyStampForm, QString()), QStringLiteral("compact"));
        QCOMPARE(settings.readSetting(kKeyCreationTime, QStringLiteral("none")),
                 QStringLiteral("none"));
        choice(dialog, kCaptionCreationTaken)->click();
        QCOMPARE(settings.readSetting(kKeyCreationTime, QString()), QStringLiteral("taken"));
        QCOMPARE(settings.readSetting(QStringLiteral("Layout"), QStringLiteral("none")),
                 QStringLiteral("none"));
        choice(dialog, QStringLiteral("In year and day folders (2026/2026-12-07)"))->click();
        dialog.findChild<QCheckBox *>()->click();
    }
    const QByteArray file = test::contentOf(path);
    QVERIFY2(file.contains("[Plenvoy]") && file.contains("StampForm=compact") &&
                 file.contains("CreationTime=taken"),
             file.constData());
    // A new store on the same file, as the next start has.
    SettingsStore again(path);
    QCOMPARE(readRunChoices(again).form, StampForm::Compact);
    QCOMPARE(readRunChoices(again).creation, CreationTime::Taken);
    QCOMPARE(readRunChoices(again).layout, OutputLayout::Dates);
    QVERIFY(readRunChoices(again).skipCopied);
    StampSettingsDialog reopened(again, QString(), QString());
    QVERIFY(choice(reopened, kCaptionFormCompact)->isChecked());
    QVERIFY(choice(reopened, kCaptionCreationTaken)->isChecked());
    choice(reopened, kCaptionFormSortable)->click();
    QCOMPARE(readRunChoices(SettingsStore(path)).form, StampForm::Sortable);
}

void TestStampSettings::unknownOrMissingValuesAreTheDefaults_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::newRow("missing") << QByteArray("[Plenvoy]\nCombo1=3\n");
    QTest::newRow("unknown") << QByteArray(
        "[Plenvoy]\nStampForm=iso\nCreationTime=exif\nLayout=nested\nSkipCopied=yes\n");
    QTest::newRow("other case") << QByteArray(
        "[Plenvoy]\nStampForm=Sortable\nCreationTime=TAKEN\nLayout=Tree\nSkipCopied=TRUE\n");
    QTest::newRow("empty") << QByteArray("[Plenvoy]\nStampForm=\nCreationTime=\nLayout=\n");
}

void TestStampSettings::unknownOrMissingValuesAreTheDefaults() {
    QFETCH(QByteArray, ini);
    const QString path =
        m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".ini"));
    QVERIFY(test::writeFile(path, ini));
    SettingsStore settings(path);
    QCOMPARE(readRunChoices(settings).form, StampForm::Regional);
    QCOMPARE(readRunChoices(settings).creation, CreationTime::File);
    QCOMPARE(readRunChoices(settings).layout, OutputLayout::Flat);
    QVERIFY(!readRunChoices(settings).skipCopied);
    StampSettingsDialog dialog(settings, QString(), QString());
    QVERIFY(choice(dialog, kCaptionFormRegional)->isChecked());
    QVERIFY(choice(dialog, kCaptionCreationFile)->isChecked());
    QCOMPARE(test::contentOf(path), ini);
}

void TestStampSettings::buttonBesideTheDropDownOpensTheDialog() {
    MainWindow window;
    window.startUp();
    auto *button = window.findChild<QPushButton *>(QStringLiteral("PushButton7"));
    auto *browse = window.findChild<QPushButton *>(QStringLiteral("PushButton6"));
    auto *combo = window.findChild<QComboBox *>(QStringLiteral("Combo1"));
    QVERIFY(button && browse && combo);
    QCOMPARE(button->toolTip(), kTipStampSettings);
    QCOMPARE(button->height(), combo->height());
    QCOMPARE(button->size(), browse->size());
    QVERIFY(combo->geometry().right() < button->geometry().left());
    combo->setCurrentIndex(7); // current time and date at the end
    QString title;
    QString example;
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        title = dialog->windowTitle();
        example = exampleLine(*dialog);
        dialog->close();
    });
    button->click();
    QCOMPARE(title, kTitleStampSettings);
    QCOMPARE(example, kStampExample.arg(QStringLiteral("Holiday 12-7-2026 2-05-09 PM.jpg")));
}

void TestStampSettings::theWindowsRunStampsWithTheStoredChoices() {
    const QString out = m_dir.filePath(QStringLiteral("run-out"));
    const QString movie = m_dir.filePath(QStringLiteral("run/Walk.mp4"));
    const QDateTime shot(QDate(2023, 4, 5), QTime(6, 7, 8), Qt::UTC);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("run-out")));
    QVERIFY(
        test::writeFile(movie, test::movieFile(0, test::movieSeconds(shot.toSecsSinceEpoch()))));
    QVERIFY(test::writeFile(SettingsStore::defaultFilePath(),
                            "[Plenvoy]\nStampForm=sortable\nCreationTime=taken\n"));
    MainWindow window;
    window.startUp();
    window.fileList().append(movie);
    window.findChild<QComboBox *>(QStringLiteral("Combo1"))->setCurrentIndex(15);
    window.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(out);
    // "Done." closes as soon as it shows.
    QTimer closer;
    connect(&closer, &QTimer::timeout, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    closer.start(10);
    window.findChild<QPushButton *>(QStringLiteral("PushButton2"))->click();
    QCOMPARE(test::namesIn(out), QStringList{QStringLiteral("2023-04-05 06-07-08 Walk.mp4")});
}

void TestStampSettings::ownPatternIsCheckedAsItIsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("example");
    const QString kept = QStringLiteral("Holiday 14h05.jpg");
    QTest::newRow("usable") << QStringLiteral("%Y%m%d-%I%M%p") << QString()
                            << QStringLiteral("Holiday 20261207-0205PM.jpg");
    QTest::newRow("slash") << QStringLiteral("%Y/%m") << QStringLiteral("\"/\"") << kept;
    QTest::newRow("refused character")
        << QStringLiteral("%H*%M") << QStringLiteral("cannot hold \"*\"") << kept;
    QTest::newRow("unknown token") << QStringLiteral("%Y%k") << QStringLiteral("\"%k\"") << kept;
    QTest::newRow("too long") << QString(65, QLatin1Char('x')) << QStringLiteral("65 bytes")
                              << kept;
    QTest::newRow("empty") << QString() << QStringLiteral("empty") << kept;
}

void TestStampSettings::ownPatternIsCheckedAsItIsTyped() {
    QFETCH(QString, typed);
    QFETCH(QString, fault);
    QFETCH(QString, example);
    const QString path =
        m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral("-p.ini"));
    QVERIFY(test::writeFile(path, "[Plenvoy]\nStampForm=custom\nStampPattern=%Hh%M\n"));
    SettingsStore settings(path);
    StampSettingsDialog dialog(settings, QString(),
                               QStringLiteral("Add current time and date to end of filename"));
    QVERIFY(choice(dialog, QStringLiteral("Own pattern:"))->isChecked());
    QCOMPARE(exampleLine(dialog), kStampExample.arg(QStringLiteral("Holiday 14h05.jpg")));
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("Pattern"));
    auto *reason = dialog.findChild<QLabel *>(QStringLiteral("PatternFault"));
    QVERIFY(edit && reason);
    QVERIFY(reason->isHidden());
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    if (typed.isEmpty())
        edit->clear();
    QVERIFY2(fault.isEmpty() ? reason->isHidden() : reason->text().contains(fault),
             qPrintable(reason->text()));
    QCOMPARE(exampleLine(dialog), kStampExample.arg(example));
}

void TestStampSettings::emptyPatternIsNoFaultUntilChosen() {
    SettingsStore settings(m_dir.filePath(QStringLiteral("empty-pattern.ini")));
    StampSettingsDialog dialog(settings, QString(),
                               QStringLiteral("Add current time and date to end of filename"));
    auto *reason = dialog.findChild<QLabel *>(QStringLiteral("PatternFault"));
    QVERIFY(reason);
    QVERIFY(reason->isHidden());
    choice(dialog, QStringLiteral("Own pattern:"))->click();
    QVERIFY2(!reason->isHidden() && reason->text().contains(QStringLiteral("empty")),
             qPrintable(reason->text()));
}

void TestStampSettings::ownPatternIsStoredWhenLeftAndOnlyWhenUsable() {
    const QString path = m_dir.filePath(QStringLiteral("pattern.ini"));
    SettingsStore settings(path);
    {
        StampSettingsDialog dialog(settings, QString(), QString());
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("Pattern"));
        choice(dialog, QStringLiteral("Own pattern:"))->click();
        QCOMPARE(settings.readSetting(kKeyStampForm, QString()), QStringLiteral("custom"));
        // Chosen without a usable pattern, the form stays the default one.
        QCOMPARE(readRunChoices(settings).form, StampForm::Regional);
        QTest::keyClicks(edit, QStringLiteral("%d.%m.%Y"));
        QCOMPARE(settings.readSetting(QStringLiteral("StampPattern"), QStringLiteral("none")),
                 QStringLiteral("none"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(settings.readSetting(QStringLiteral("StampPattern"), QString()),
                 QStringLiteral("%d.%m.%Y"));
        // A pattern that cannot be used is not stored, not even on closing.
        QTest::keyClicks(edit, QStringLiteral("|"));
        QTest::keyClick(edit, Qt::Key_Return);
        dialog.reject();
        QCOMPARE(settings.readSetting(QStringLiteral("StampPattern"), QString()),
                 QStringLiteral("%d.%m.%Y"));
    }
    {
        StampSettingsDialog dialog(settings, QString(), QString());
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("Pattern"));
        QCOMPARE(edit->text(), QStringLiteral("%d.%m.%Y"));
        choice(dialog, kCaptionFormSortable)->click();
        // Typing in the field chooses the own pattern again.
        QTest::keyClicks(edit, QStringLiteral(" %H"));
        QVERIFY(choice(dialog, QStringLiteral("Own pattern:"))->isChecked());
        // Closing stores the field's pattern.
        dialog.reject();
    }
    SettingsStore again(path);
    QCOMPARE(readRunChoices(again).form, StampForm::Custom);
    QCOMPARE(readRunChoices(again).pattern, QStringLiteral("%d.%m.%Y %H"));
    QVERIFY(test::writeFile(path, "[Plenvoy]\nStampForm=custom\nStampPattern=%Y:%m\n"));
    QCOMPARE(readRunChoices(SettingsStore(path)).form, StampForm::Regional);
}

void TestStampSettings::shiftMovesTheTakenExampleAndIsStored() {
    const QString path = m_dir.filePath(QStringLiteral("shift.ini"));
    SettingsStore settings(path);
    const QString option = QStringLiteral("Add file creation time and date to end of filename");
    {
        StampSettingsDialog dialog(settings, QString(), option);
        auto *sign = dialog.findChild<QComboBox *>(QStringLiteral("ShiftSign"));
        auto *days = dialog.findChild<QSpinBox *>(QStringLiteral("ShiftDays"));
        auto *time = dialog.findChild<QTimeEdit *>(QStringLiteral("ShiftTime"));
        QVERIFY(sign && days && time);
        choice(dialog, kCaptionFormCompact)->click();
        // Only taken moments are shifted: with file times the shift has no say.
        QVERIFY(!days->isEnabled());
        choice(dialog, kCaptionCreationTaken)->click();
        QVERIFY(days->isEnabled());
        QCOMPARE(exampleLine(dialog),
                 kStampExample.arg(QStringLiteral("Holiday 20261207-140509.jpg")));
        sign->setCurrentIndex(1);
        Q_EMIT sign->activated(1);
        days->setValue(1);
        time->setTime(QTime(1, 0, 30));
        QCOMPARE(exampleLine(dialog),
                 kStampExample.arg(QStringLiteral("Holiday 20261206-130439.jpg")));
        QCOMPARE(settings.readSetting(QStringLiteral("TakenShift"), QString()),
                 QStringLiteral("-1:01:00:30"));
        choice(dialog, kCaptionCreationFile)->click();
        QCOMPARE(exampleLine(dialog),
                 kStampExample.arg(QStringLiteral("Holiday 20261207-140509.jpg")));
    }
    QCOMPARE(readRunChoices(SettingsStore(path)).takenShift, -(86'400 + 3600 + 30));
    // Opening and closing a dialog with a stored shift writes nothing.
    const QByteArray before = test::contentOf(path);
    {
        StampSettingsDialog dialog(settings, QString(), option);
        QCOMPARE(dialog.findChild<QComboBox *>(QStringLiteral("ShiftSign"))->currentIndex(), 1);
        QCOMPARE(dialog.findChild<QSpinBox *>(QStringLiteral("ShiftDays"))->value(), 1);
        QCOMPARE(dialog.findChild<QTimeEdit *>(QStringLiteral("ShiftTime"))->time(),
                 QTime(1, 0, 30));
        dialog.reject();
    }
    QCOMPARE(test::contentOf(path), before);
}

QTEST_MAIN(TestStampSettings)
#include "tst_stampsettings.moc"
