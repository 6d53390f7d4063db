// "Presets" in the stamp settings: names checked as typed, presets written only when saved,
// renamed or deleted, and a preset applied as the user would choose each of its settings.
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

} // namespace

class TestPresetsPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void presetNamesThatCannotBeUsedAreSaidAndNotSaved_data();
    void presetNamesThatCannotBeUsedAreSaidAndNotSaved();
    void presetsAreWrittenOnlyWhenSavedRenamedOrDeleted();
    void applyingAPresetSetsTheWindowAsTheUserWould();

private:
    QTemporaryDir m_dir;
};

void TestPresetsPanel::initTestCase() {
    qputenv("TZ", "UTC");
    ::tzset();
    QVERIFY(m_dir.isValid());
    // The window's own settings file, kept in the test's folder.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("config")));
    qputenv("XDG_CONFIG_HOME", pathToBytes(m_dir.filePath(QStringLiteral("config"))));
}

void TestPresetsPanel::presetNamesThatCannotBeUsedAreSaidAndNotSaved_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("said");
    QTest::newRow("65 characters") << QString(65, QLatin1Char('x')) << QStringLiteral("at most 64");
    QTest::newRow("slash") << QStringLiteral("a/b") << QStringLiteral("\"/\" or \"\\\"");
    QTest::newRow("64 characters, none said") << QString(64, QLatin1Char('x')) << QString();
}

void TestPresetsPanel::presetNamesThatCannotBeUsedAreSaidAndNotSaved() {
    QFETCH(QString, name);
    QFETCH(QString, said);
    const QString path = m_dir.filePath(QStringLiteral("names.ini"));
    QFile::remove(path);
    SettingsStore settings(path);
    PresetStore presets(settings);
    StampSettingsDialog dialog(settings, QString(), QString(), presets, PresetWindow());
    auto *field = dialog.findChild<QLineEdit *>(QStringLiteral("PresetName"));
    auto *fault = dialog.findChild<QLabel *>(QStringLiteral("PresetFault"));
    auto *save = dialog.findChild<QPushButton *>(QStringLiteral("SavePreset"));
    QVERIFY(field && fault && save);
    QVERIFY(!save->isEnabled());
    field->setText(name);
    QCOMPARE(fault->isVisibleTo(&dialog), !said.isEmpty());
    QVERIFY2(fault->text().contains(said), qPrintable(fault->text()));
    QCOMPARE(save->isEnabled(), said.isEmpty());
    save->click();
    QCOMPARE(presets.names(), said.isEmpty() ? QStringList{name} : QStringList());
}

void TestPresetsPanel::presetsAreWrittenOnlyWhenSavedRenamedOrDeleted() {
    const QString path = m_dir.filePath(QStringLiteral("presets.ini"));
    SettingsStore settings(path);
    PresetStore presets(settings);
    PresetWindow window;
    window.current = [] {
        Preset preset;
        preset.option = QStringLiteral("Add current date after nth character in filename");
        preset.nthValue = 4;
        preset.outputFolder = QStringLiteral("/media/card/out");
        return preset;
    };
    QStringList asked;
    bool answer = false;
    window.confirm = [&](const QString &question) {
        asked.append(question);
        return answer;
    };
    StampSettingsDialog dialog(settings, QString(), QString(), presets, window);
    auto *list = dialog.findChild<QComboBox *>(QStringLiteral("PresetList"));
    auto *field = dialog.findChild<QLineEdit *>(QStringLiteral("PresetName"));
    auto *fault = dialog.findChild<QLabel *>(QStringLiteral("PresetFault"));
    const auto button = [&](const char *name) {
        return dialog.findChild<QPushButton *>(QLatin1String(name));
    };
    QVERIFY(list && field && fault && button("SavePreset") && button("RenamePreset") &&
            button("DeletePreset") && button("ApplyPreset"));
    choice(dialog, kCaptionFormCompact)->click();
    const QByteArray chosen = test::contentOf(path);
    field->setText(QStringLiteral("Trip = 1; #a"));
    QCOMPARE(test::contentOf(path), chosen);
    button("SavePreset")->click();
    const std::optional<Preset> saved = presets.preset(QStringLiteral("Trip = 1; #a"));
    QVERIFY(saved);
    QCOMPARE(saved->option, window.current().option);
    QCOMPARE(saved->nthValue, std::optional<qint16>(4));
    QCOMPARE(saved->outputFolder, QStringLiteral("/media/card/out"));
    QCOMPARE(saved->style.form, StampForm::Compact);
    QCOMPARE(list->currentText(), QStringLiteral("Trip = 1; #a"));
    QVERIFY(presets.save(QStringLiteral("Other"), Preset()));
    const QByteArray afterSave = test::contentOf(path);
    // A preset of that name is replaced only after a yes.
    field->setText(QStringLiteral("Other"));
    button("SavePreset")->click();
    QCOMPARE(asked, QStringList{QStringLiteral("Replace the preset \"Other\"?")});
    QCOMPARE(test::contentOf(path), afterSave);
    // Choosing and applying write no preset.
    list->setCurrentIndex(list->findText(QStringLiteral("Trip = 1; #a")));
    button("ApplyPreset")->click();
    QCOMPARE(test::contentOf(path), afterSave);
    field->setText(QStringLiteral("Other"));
    button("RenamePreset")->click();
    QVERIFY2(fault->text().contains(QStringLiteral("exists already")), qPrintable(fault->text()));
    QCOMPARE(test::contentOf(path), afterSave);
    field->setText(QStringLiteral("Trip 2"));
    button("RenamePreset")->click();
    QCOMPARE(presets.names(), (QStringList{QStringLiteral("Other"), QStringLiteral("Trip 2")}));
    QCOMPARE(presets.preset(QStringLiteral("Trip 2"))->nthValue, std::optional<qint16>(4));
    button("DeletePreset")->click();
    QCOMPARE(asked.last(), QStringLiteral("Delete the preset \"Trip 2\"?"));
    QCOMPARE(presets.names().size(), 2);
    answer = true;
    button("DeletePreset")->click();
    QCOMPARE(presets.names(), QStringList{QStringLiteral("Other")});
}

void TestPresetsPanel::applyingAPresetSetsTheWindowAsTheUserWould() {
    const QString path = SettingsStore::defaultFilePath();
    QVERIFY(test::writeFile(path, "[Plenvoy]\nCombo1=1\nLastN=2\n"));
    SettingsStore settings(path);
    Preset preset;
    preset.option = QStringLiteral("Add current date after nth character in filename");
    preset.nthValue = 9;
    preset.style.form = StampForm::Custom;
    preset.style.pattern = QStringLiteral("%Y_%m");
    preset.style.creation = CreationTime::Taken;
    preset.style.takenShift = -3600;
    preset.style.layout = OutputLayout::Tree;
    preset.style.skipCopied = true;
    preset.outputFolder = pathFromBytes(QByteArray("/media/\xff card"));
    QVERIFY(PresetStore(settings).save(QStringLiteral("Zürich"), preset));
    MainWindow window;
    window.startUp();
    QTimer::singleShot(0, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        auto *list = dialog->findChild<QComboBox *>(QStringLiteral("PresetList"));
        list->setCurrentIndex(list->findText(QStringLiteral("Zürich")));
        dialog->findChild<QPushButton *>(QStringLiteral("ApplyPreset"))->click();
        dialog->close();
    });
    window.findChild<QPushButton *>(QStringLiteral("PushButton7"))->click();
    QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("Combo1"))->currentIndex(), 5);
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), preset.outputFolder);
    SettingsStore stored(path);
    const QString none = QStringLiteral("none");
    QCOMPARE(stored.readSetting(QStringLiteral("Combo1"), none), QStringLiteral("5"));
    QCOMPARE(stored.readSetting(QStringLiteral("Text1"), none), preset.outputFolder);
    QCOMPARE(stored.readSetting(QStringLiteral("LastN"), none), QStringLiteral("9"));
    QCOMPARE(stored.readSetting(QStringLiteral("StampForm"), none), QStringLiteral("custom"));
    QCOMPARE(stored.readSetting(QStringLiteral("StampPattern"), none), QStringLiteral("%Y_%m"));
    QCOMPARE(stored.readSetting(QStringLiteral("CreationTime"), none), QStringLiteral("taken"));
    QCOMPARE(stored.readSetting(QStringLiteral("TakenShift"), none), QStringLiteral("-0:01:00:00"));
    QCOMPARE(stored.readSetting(QStringLiteral("Layout"), none), QStringLiteral("tree"));
    QCOMPARE(stored.readSetting(QStringLiteral("SkipCopied"), none), QStringLiteral("true"));
    // n is the last answer only: "Enter n:" still asks without one.
    QCOMPARE(window.preview().lastN(), std::optional<qint16>(9));
}

QTEST_MAIN(TestPresetsPanel)
#include "tst_presetspanel.moc"
