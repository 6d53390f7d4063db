#include "app/AppTexts.h"
#include "app/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

using namespace plenvoy;

namespace {

const QString kChildSwitch = QStringLiteral("--settings-child");

QByteArray contentsOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Runs this test binary as the unprivileged user: "read PATH KEY" prints the value read with
// the fallback "FALLBACK", "write PATH KEY VALUE" exits 0 when the write succeeded.
struct ChildResult {
    int exitCode = -1;
    QString output;
};

ChildResult runAsNobody(const QStringList &arguments) {
    QProcess child;
    QStringList all{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                    QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
                    kChildSwitch};
    all += arguments;
    child.start(QStringLiteral("setpriv"), all);
    if (!child.waitForFinished(30000))
        return {};
    return {child.exitCode(), QString::fromUtf8(child.readAllStandardOutput()).trimmed()};
}

int childMain(const QStringList &arguments) {
    SettingsStore store(arguments.value(1));
    if (arguments.value(0) == QStringLiteral("read")) {
        std::printf("%s\n",
                    qPrintable(store.readSetting(arguments.value(2), QStringLiteral("FALLBACK"))));
        return 0;
    }
    return store.writeSetting(arguments.value(2), arguments.value(3)) ? 0 : 1;
}

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileLivesInTheConfigurationFolder();
    void absentKeysGiveTheFallback();
    void valuesComeBackExactly_data();
    void valuesComeBackExactly();
    void everyWriteIsOnDiskAtOnce();
    void laterWriteReplacesAndKeepsOtherKeys();
    void corruptFileIsKeptAsideWithTheKeysThatCouldBeRead();
    void unreadableFileGivesFallbacksAndIsNeverOverwritten();
    void failedWriteLosesNothingStoredBefore_data();
    void failedWriteLosesNothingStoredBefore();

private:
    QTemporaryDir m_dir;
};

void TestSettingsStore::fileLivesInTheConfigurationFolder() {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    const QString expected = m_dir.path() + QStringLiteral("/Marnoval.ini");
    QCOMPARE(SettingsStore::defaultFilePath(), expected);
    SettingsStore store;
    QVERIFY(store.writeSetting(kKeyExtension, QStringLiteral("txt")));
    QVERIFY(contentsOf(expected).contains("[Plenvoy]\nExtension=txt"));
    qputenv("XDG_CONFIG_HOME", saved);
}

void TestSettingsStore::absentKeysGiveTheFallback() {
    SettingsStore missingFile(m_dir.filePath(QStringLiteral("never-written.ini")));
    QCOMPARE(missingFile.readSetting(kKeyCombo1, 0), QStringLiteral("0"));
    QCOMPARE(missingFile.readSetting(kKeyExtension, QStringLiteral("*")), QStringLiteral("*"));
    QCOMPARE(missingFile.readSetting(kKeyLastFolderDot, QString()), QString());
    QVERIFY(!QFile::exists(missingFile.filePath()));

    // A key of another section is not the program's key.
    const QString other = m_dir.filePath(QStringLiteral("other-section.ini"));
    writeBytes(other, "[Elsewhere]\nCombo1=7\n");
    QCOMPARE(SettingsStore(other).readSetting(kKeyCombo1, 0), QStringLiteral("0"));
}

void TestSettingsStore::valuesComeBackExactly_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("folder with closing slash") << QStringLiteral("/home/ann/Desktop/");
    QTest::newRow("empty text") << QString();
    QTest::newRow("comma, as a list would be") << QStringLiteral("/data/a,b/");
    QTest::newRow("leading and trailing blanks") << QStringLiteral("  /x y/  ");
    QTest::newRow("quotes, semicolon, equals, hash") << QStringLiteral("\"q\";a=b #c [d]");
    QTest::newRow("backslashes") << QStringLiteral("C:\\Users\\ann\\");
    QTest::newRow("at sign that looks like a variant") << QStringLiteral("@Variant(abc)");
    QTest::newRow("non-Latin letters") << QStringLiteral("/tmp/Ünïcødé/Привет/日本/");
    QTest::newRow("negative number") << QStringLiteral("-1");
    QTest::newRow("carriage return and tab") << QStringLiteral("a\rb\tc");
}

void TestSettingsStore::valuesComeBackExactly() {
    QFETCH(QString, value);
    const QString path = m_dir.filePath(QStringLiteral("roundtrip.ini"));
    QVERIFY(SettingsStore(path).writeSetting(kKeyText1, value));
    QCOMPARE(SettingsStore(path).readSetting(kKeyText1, QStringLiteral("fallback")), value);
}

void TestSettingsStore::everyWriteIsOnDiskAtOnce() {
    const QString path = m_dir.filePath(QStringLiteral("flushed.ini"));
    SettingsStore store(path);
    QVERIFY(store.writeSetting(kKeyCombo1, QStringLiteral("12")));
    QVERIFY(contentsOf(path).contains("Combo1=12"));
    QVERIFY(store.writeSetting(kKeyCombo1, QStringLiteral("13")));
    QVERIFY(contentsOf(path).contains("Combo1=13"));
}

void TestSettingsStore::laterWriteReplacesAndKeepsOtherKeys() {
    const QString path = m_dir.filePath(QStringLiteral("replace.ini"));
    writeBytes(path, "[Plenvoy]\nLastFolder=/music/\nCombo1=3\n");
    SettingsStore store(path);
    QVERIFY(store.writeSetting(kKeyCombo1, QStringLiteral("4")));
    QCOMPARE(store.readSetting(kKeyCombo1, 0), QStringLiteral("4"));
    QCOMPARE(store.readSetting(kKeyLastFolder, QString()), QStringLiteral("/music/"));
}

void TestSettingsStore::corruptFileIsKeptAsideWithTheKeysThatCouldBeRead() {
    const QString path = m_dir.filePath(QStringLiteral("corrupt.ini"));
    QByteArray garbage("[Plenvoy\nText1=/kept/\n\x01\x02\xff\xfe=\n[[[\n");
    writeBytes(path, garbage);
    SettingsStore store(path);
    QStringList notices;
    store.setNoticeHandler([&](const QString &text) { notices << text; });
    QCOMPARE(store.readSetting(kKeyText1, QStringLiteral("/desk/")), QStringLiteral("/kept/"));
    QCOMPARE(store.readSetting(kKeyCombo1, 0), QStringLiteral("0"));
    QCOMPARE(contentsOf(path + QStringLiteral(".corrupt")), garbage);
    QVERIFY(!contentsOf(path).contains("[[["));
    QCOMPARE(notices,
             QStringList{kSettingsKeptAsideMessage.arg(path + QStringLiteral(".corrupt"))});

    QVERIFY(store.writeSetting(kKeyCombo1, QStringLiteral("5")));
    QCOMPARE(store.readSetting(kKeyCombo1, 0), QStringLiteral("5"));
    QCOMPARE(SettingsStore(path).readSetting(kKeyText1, QString()), QStringLiteral("/kept/"));
    QCOMPARE(contentsOf(path + QStringLiteral(".corrupt")), garbage);
    QCOMPARE(notices.size(), 1);
}

void TestSettingsStore::unreadableFileGivesFallbacksAndIsNeverOverwritten() {
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                          QFile::ExeGroup);
    const QString path = dir.filePath(QStringLiteral("Marnoval.ini"));
    const QByteArray stored("[Plenvoy]\nText1=/precious/\nLastFolder=/music/\n");
    writeBytes(path, stored);
    QVERIFY(QProcess::execute(QStringLiteral("chown"), {QStringLiteral("65534:65534"), path}) == 0);
    QFile::setPermissions(path, QFile::WriteOwner); // writable but not readable

    const ChildResult read = runAsNobody({QStringLiteral("read"), path, kKeyText1});
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.output, QStringLiteral("FALLBACK"));

    const ChildResult write =
        runAsNobody({QStringLiteral("write"), path, kKeyCombo1, QStringLiteral("9")});
    QCOMPARE(write.exitCode, 1);
    QCOMPARE(contentsOf(path), stored);
}

void TestSettingsStore::failedWriteLosesNothingStoredBefore_data() {
    QTest::addColumn<bool>("fileReadOnly");
    QTest::addColumn<bool>("folderReadOnly");
    QTest::newRow("read-only file") << true << false;
    QTest::newRow("read-only folder") << false << true;
}

void TestSettingsStore::failedWriteLosesNothingStoredBefore() {
    QFETCH(bool, fileReadOnly);
    QFETCH(bool, folderReadOnly);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Marnoval.ini"));
    const QByteArray stored("[Plenvoy]\nText1=/precious/\nCombo1=7\n");
    writeBytes(path, stored);
    QVERIFY(QProcess::execute(QStringLiteral("chown"),
                              {QStringLiteral("-R"), QStringLiteral("65534:65534"), dir.path()}) ==
            0);
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions exec = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(dir.path(),
                          folderReadOnly ? readOnly | exec : readOnly | exec | QFile::WriteOwner);
    QFile::setPermissions(path, fileReadOnly ? readOnly : readOnly | QFile::WriteOwner);

    const ChildResult write =
        runAsNobody({QStringLiteral("write"), path, kKeyText1, QStringLiteral("/new/")});
    QCOMPARE(write.exitCode, 1);
    QCOMPARE(contentsOf(path), stored);
    const ChildResult read = runAsNobody({QStringLiteral("read"), path, kKeyCombo1});
    QCOMPARE(read.output, QStringLiteral("7"));
    QFile::setPermissions(dir.path(), readOnly | exec | QFile::WriteOwner);
}

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && arguments.at(1) == kChildSwitch)
        return childMain(arguments.mid(2));
    TestSettingsStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsstore.moc"
