#include "core/PathCodec.h"
#include "settings/Presets.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace plenvoy;

Q_DECLARE_METATYPE(plenvoy::Preset)

namespace {

Preset fullPreset(const QString &output) {
    Preset preset;
    preset.option = QStringLiteral("Add file creation date after nth character in filename");
    preset.nthValue = 7;
    preset.style.form = StampForm::Custom;
    preset.style.pattern = QStringLiteral("%Y-%m-%d \"%Hh\" é");
    preset.style.creation = CreationTime::Taken;
    preset.style.takenShift = -(2 * 86'400 + 3600 + 5);
    preset.style.layout = OutputLayout::Dates;
    preset.style.skipCopied = true;
    preset.outputFolder = output;
    return preset;
}

bool samePreset(const Preset &a, const Preset &b) {
    return a.option == b.option && a.nthValue == b.nthValue && a.style.form == b.style.form &&
           a.style.pattern == b.style.pattern && a.style.creation == b.style.creation &&
           a.style.takenShift == b.style.takenShift && a.style.layout == b.style.layout &&
           a.style.skipCopied == b.style.skipCopied && a.outputFolder == b.outputFolder;
}

} // namespace

class TestPresets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void presetsRoundTripThroughTheFile_data();
    void presetsRoundTripThroughTheFile();
    void namesThatCannotNameAPresetAreRefused_data();
    void namesThatCannotNameAPresetAreRefused();
    void presetsThatCannotBeReadAreLeftOut_data();
    void presetsThatCannotBeReadAreLeftOut();
    void aReadOnlyStoreNeverWrites();

private:
    QTemporaryDir m_dir;
    int m_files = 0;
    QString newFile(const QByteArray &contents = QByteArray()) {
        const QString path = m_dir.filePath(QStringLiteral("%1.ini").arg(++m_files));
        if (!contents.isNull()) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
                return QString();
        }
        return path;
    }
};

void TestPresets::presetsRoundTripThroughTheFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Preset>("preset");
    const QString escaped = pathFromBytes(QByteArray("/tmp/caf\xe9 \xff/out"));
    QTest::newRow("plain") << QStringLiteral("Holiday") << fullPreset(QStringLiteral("/media/out"));
    QTest::newRow("defaults, nothing else") << QStringLiteral("bare") << Preset();
    QTest::newRow("output folder not UTF-8") << QStringLiteral("card") << fullPreset(escaped);
    QTest::newRow("INI's own characters")
        << QStringLiteral(" a = b ; c # d [e] %41, \"f\" ") << fullPreset(QStringLiteral("/o,p"));
    QTest::newRow("non-ASCII") << QStringLiteral("Ferien Zürich 東京 😀") << Preset();
    QTest::newRow("64 characters")
        << QString(63, QLatin1Char('x')) + QStringLiteral("😀") << fullPreset(QString());
}

void TestPresets::presetsRoundTripThroughTheFile() {
    QFETCH(QString, name);
    QFETCH(Preset, preset);
    const QString path = newFile();
    SettingsStore settings(path);
    settings.writeSetting(QStringLiteral("Combo1"), QStringLiteral("3"));
    PresetStore presets(settings);
    QVERIFY(presets.save(QStringLiteral("other"), Preset()));
    QVERIFY(presets.save(name, preset));
    // A store that only reads, on the same file, finds the same.
    SettingsStore reader = SettingsStore::readOnly(path);
    const PresetStore read(reader);
    QCOMPARE(read.names().size(), 2);
    QVERIFY(read.names().contains(name));
    const std::optional<Preset> back = read.preset(name);
    QVERIFY(back);
    QVERIFY(samePreset(*back, preset));
    QCOMPARE(settings.readSetting(QStringLiteral("Combo1"), QString()), QStringLiteral("3"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("[Presets]"));
    // A path that is not UTF-8 goes as its bytes in base64, the rest as plain text.
    QCOMPARE(text.contains("b64"), hasEscapedBytes(preset.outputFolder));
}

void TestPresets::namesThatCannotNameAPresetAreRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("fault");
    QTest::newRow("empty") << QString() << int(PresetNameFault::Empty);
    QTest::newRow("65 characters")
        << QString(65, QLatin1Char('x')) << int(PresetNameFault::TooLong);
    QTest::newRow("slash") << QStringLiteral("a/b") << int(PresetNameFault::Separator);
    QTest::newRow("backslash") << QStringLiteral("a\\b") << int(PresetNameFault::Separator);
    QTest::newRow("line break") << QStringLiteral("a\nb") << int(PresetNameFault::ControlCharacter);
    QTest::newRow("tab") << QStringLiteral("a\tb") << int(PresetNameFault::ControlCharacter);
}

void TestPresets::namesThatCannotNameAPresetAreRefused() {
    QFETCH(QString, name);
    QFETCH(int, fault);
    QCOMPARE(int(presetNameFault(name).value_or(PresetNameFault(-1))), fault);
    const QString path = newFile();
    SettingsStore settings(path);
    PresetStore presets(settings);
    QVERIFY(!presets.save(name, Preset()));
    QVERIFY(presets.save(QStringLiteral("good"), Preset()));
    QVERIFY(!presets.rename(QStringLiteral("good"), name));
    QCOMPARE(presets.names(), QStringList{QStringLiteral("good")});
}

void TestPresets::presetsThatCannotBeReadAreLeftOut_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("not JSON") << QByteArray("{\"form\": \"sortable\"");
    QTest::newRow("unknown option") << QByteArray("{\"option\": \"Add a smile\"}");
    QTest::newRow("negative n") << QByteArray("{\"n\": -1}");
    QTest::newRow("unknown form") << QByteArray("{\"form\": \"Sortable\"}");
    QTest::newRow("custom without pattern") << QByteArray("{\"form\": \"custom\"}");
    QTest::newRow("output a number") << QByteArray("{\"output\": 5}");
}

void TestPresets::presetsThatCannotBeReadAreLeftOut() {
    QFETCH(QByteArray, value);
    const QString path = newFile();
    {
        SettingsStore settings(path);
        QVERIFY(settings.writeSettingIn(kPresetsSection, QStringLiteral("bad"),
                                        QString::fromUtf8(value)));
        PresetStore presets(settings);
        QVERIFY(presets.save(QStringLiteral("good"), fullPreset(QStringLiteral("/out"))));
    }
    SettingsStore settings(path);
    const PresetStore presets(settings);
    QCOMPARE(presets.names(), QStringList{QStringLiteral("good")});
    QVERIFY(!presets.preset(QStringLiteral("bad")));
}

void TestPresets::aReadOnlyStoreNeverWrites() {
    // A file that cannot be parsed in full is read as far as it goes and left as it is.
    const QByteArray contents("[Presets]\nx={\"form\":\"compact\"}\n[Plenvoy\nCombo1=2\n\x01\x02=");
    const QString path = newFile(contents);
    SettingsStore settings = SettingsStore::readOnly(path);
    PresetStore presets(settings);
    presets.names();
    QVERIFY(!presets.save(QStringLiteral("new"), Preset()));
    QVERIFY(!presets.remove(QStringLiteral("x")));
    QVERIFY(!settings.writeSetting(QStringLiteral("Combo1"), QStringLiteral("5")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), contents);
    QVERIFY(!QFile::exists(path + QStringLiteral(".corrupt")));
    // An absent file is not made.
    const QString absent = newFile();
    SettingsStore none = SettingsStore::readOnly(absent);
    QVERIFY(!PresetStore(none).save(QStringLiteral("new"), Preset()));
    QVERIFY(!QFile::exists(absent));
}

QTEST_GUILESS_MAIN(TestPresets)
#include "tst_presets.moc"
