#include "CliProcess.h"
#include "core/PathCodec.h"
#include "settings/Presets.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;

namespace {

const QString kAt = QStringLiteral("2026-12-06 14:05:09");
const QString kTimeAndDateAtEnd = QStringLiteral("Add current time and date to end of filename");

using Outcome = test::CliOutcome;

/// The settings file as it is on disk: its bytes and its modification time.
QByteArray fileState(const QString &path) {
    struct stat st {};
    QFile file(path);
    if (::stat(pathToBytes(path).constData(), &st) != 0 || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll() + QByteArray::number(qint64(st.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qint64(st.st_mtim.tv_nsec));
}

} // namespace

class TestCliPresets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void presetsGiveWhatTheCommandLineLeavesOut_data();
    void presetsGiveWhatTheCommandLineLeavesOut();
    void aRunCopiesIntoThePresetsFolder();
    void listPresetsNamesEachReadablePreset();
    void presetUsageErrorsExitWithTwo_data();
    void presetUsageErrorsExitWithTwo();
    void cleanupTestCase();

private:
    Outcome runCli(const QStringList &arguments);

    QTemporaryDir m_dir;
    QString m_settingsFile;
    QString m_out;
    QString m_source;
};

Outcome TestCliPresets::runCli(const QStringList &arguments) {
    const QByteArray before = fileState(m_settingsFile);
    Outcome outcome = test::runProgram(
        QStringLiteral(PLENVOY_CLI_PATH), arguments,
        {{QStringLiteral("TZ"), QStringLiteral("UTC")},
         {QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config"))},
         {QStringLiteral("XDG_STATE_HOME"), m_dir.filePath(QStringLiteral("state"))}});
    // The window's settings are only ever read.
    if (fileState(m_settingsFile) != before)
        outcome.exitCode = -2;
    return outcome;
}

void TestCliPresets::initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("config")));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("out")));
    m_out = m_dir.filePath(QStringLiteral("out"));
    m_source = m_dir.filePath(QStringLiteral("a.txt"));
    QFile source(m_source);
    QVERIFY(source.open(QIODevice::WriteOnly) && source.write("a") == 1);
    source.close();
    m_settingsFile = m_dir.filePath(QStringLiteral("config/Marnoval.ini"));
    SettingsStore settings(m_settingsFile);
    PresetStore presets(settings);
    Preset holiday;
    holiday.option = kTimeAndDateAtEnd;
    holiday.style.form = StampForm::Sortable;
    holiday.outputFolder = m_out;
    QVERIFY(presets.save(QStringLiteral("Holiday"), holiday));
    Preset odd;
    odd.option = QStringLiteral("Add current date after nth character in filename");
    odd.nthValue = 1;
    odd.style.form = StampForm::Custom;
    odd.style.pattern = QStringLiteral("_%d.%m_");
    QVERIFY(presets.save(QStringLiteral("Zürich = odd; #1 [x]"), odd));
    QVERIFY(presets.save(QStringLiteral("bare"), Preset()));
    Preset card;
    card.option = kTimeAndDateAtEnd;
    card.style.form = StampForm::Compact;
    card.style.layout = OutputLayout::Dates;
    card.outputFolder = pathFromBytes(m_dir.filePath(QStringLiteral("card")).toUtf8() + "\xff");
    QVERIFY(presets.save(QStringLiteral("card"), card));
    QVERIFY(settings.writeSettingIn(kPresetsSection, QStringLiteral("garbled"),
                                    QStringLiteral("{\"form\": ")));
}

void TestCliPresets::presetsGiveWhatTheCommandLineLeavesOut_data() {
    // The arguments, "|" between two; {dir} is the test's folder, {out} the preset's.
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("the preset alone, its folder planned against")
        << QStringLiteral("--preset|Holiday") << QStringLiteral("{out}/a 2026-12-06 14-05-09.txt");
    QTest::newRow("form given") << QStringLiteral("--preset=Holiday|--form|compact")
                                << QStringLiteral("{out}/a 20261206-140509.txt");
    QTest::newRow("option given") << QStringLiteral("--preset|Holiday|--option|4")
                                  << QStringLiteral("{out}/a 2026-12-06.txt");
    QTest::newRow("folder given") << QStringLiteral("--preset|Holiday|--out|{dir}")
                                  << QStringLiteral("{dir}/a 2026-12-06 14-05-09.txt");
    QTest::newRow("odd name: its n and pattern, no folder")
        << QStringLiteral("--preset|Zürich = odd; #1 [x]") << QStringLiteral("{dir}/a_06.12_.txt");
    QTest::newRow("n given") << QStringLiteral("--preset|Zürich = odd; #1 [x]|-n|0")
                             << QStringLiteral("{dir}/_06.12_a.txt");
    QTest::newRow("pattern given") << QStringLiteral("--preset|Zürich = odd; #1 [x]|--pattern|%Y")
                                   << QStringLiteral("{dir}/a2026.txt");
}

void TestCliPresets::presetsGiveWhatTheCommandLineLeavesOut() {
    QFETCH(QString, arguments);
    QFETCH(QString, path);
    const auto expanded = [this](QString text) {
        return text.replace(QLatin1String("{out}"), m_out)
            .replace(QLatin1String("{dir}"), m_dir.path());
    };
    const Outcome outcome =
        runCli(expanded(arguments).split(QLatin1Char('|')) +
               QStringList{QStringLiteral("--at"), kAt, QStringLiteral("--dry-run"), m_source});
    QCOMPARE(outcome.err, QString());
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out, expanded(path) + QLatin1Char('\n'));
}

void TestCliPresets::aRunCopiesIntoThePresetsFolder() {
    // Its folder is not UTF-8 and is made for the dates layout.
    const QString card = pathFromBytes(m_dir.filePath(QStringLiteral("card")).toUtf8() + "\xff");
    QVERIFY(::mkdir(pathToBytes(card).constData(), 0700) == 0);
    const Outcome outcome = runCli({QStringLiteral("--preset"), QStringLiteral("card"),
                                    QStringLiteral("--at"), kAt, m_source});
    QCOMPARE(outcome.exitCode, 0);
    struct stat st {};
    QCOMPARE(::stat(pathToBytes(card + QStringLiteral("/2026/2026-12-06/a 20261206-140509.txt"))
                        .constData(),
                    &st),
             0);
}

void TestCliPresets::listPresetsNamesEachReadablePreset() {
    const Outcome outcome = runCli({QStringLiteral("--list-presets")});
    QCOMPARE(outcome.exitCode, 0);
    QStringList names;
    for (const QString &line : outcome.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        names << line.section(QLatin1Char('\t'), 0, 0);
    QCOMPARE(names,
             (QStringList{QStringLiteral("bare"), QStringLiteral("card"), QStringLiteral("Holiday"),
                          QStringLiteral("Zürich = odd; #1 [x]")}));
    QVERIFY(outcome.out.contains(QStringLiteral("Holiday\t\"") + kTimeAndDateAtEnd +
                                 QStringLiteral("\", sortable, file, flat, out ") + m_out));
}

void TestCliPresets::presetUsageErrorsExitWithTwo_data() {
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("hint");
    QTest::newRow("unknown preset") << QStringLiteral("--preset|holiday|--dry-run|/a")
                                    << QStringLiteral("\"holiday\" names no preset");
    QTest::newRow("garbled preset") << QStringLiteral("--preset|garbled|--dry-run|/a")
                                    << QStringLiteral("\"garbled\" names no preset");
    QTest::newRow("no folder in the preset nor given")
        << QStringLiteral("--preset|Zürich = odd; #1 [x]|/a")
        << QStringLiteral("--out DIR is missing: the preset holds no output folder");
    QTest::newRow("no option in the preset nor given")
        << QStringLiteral("--preset|bare|--dry-run|/a") << QStringLiteral("--option is missing");
    QTest::newRow("list with more") << QStringLiteral("--list-presets|--preset|bare")
                                    << QStringLiteral("--list-presets takes no other arguments");
}

void TestCliPresets::presetUsageErrorsExitWithTwo() {
    QFETCH(QString, arguments);
    QFETCH(QString, hint);
    const Outcome outcome = runCli(arguments.split(QLatin1Char('|')));
    QCOMPARE(outcome.exitCode, 2);
    QCOMPARE(outcome.out, QString());
    QVERIFY2(outcome.err.contains(hint), qPrintable(outcome.err));
}

void TestCliPresets::cleanupTestCase() {
    // Qt's own removal cannot name a folder that is not UTF-8.
    const QByteArray card = m_dir.filePath(QStringLiteral("card")).toUtf8() + "\xff";
    for (const char *below :
         {"/2026/2026-12-06/a 20261206-140509.txt", "/2026/2026-12-06", "/2026", ""}) {
        const QByteArray path = card + below;
        if (::unlink(path.constData()) != 0)
            ::rmdir(path.constData());
    }
}

QTEST_GUILESS_MAIN(TestCliPresets)
#include "tst_clipresets.moc"
