#include "TestFiles.h"
#include "core/PathCodec.h"
#include "filelist/AddFiles.h"
#include "settings/AppTexts.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "settings/ShellRules.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace plenvoy;
using namespace plenvoy::test;

namespace {

const QString kChildSwitch = QStringLiteral("--settings-child");

// Runs this test binary in a child process, as root or as the unprivileged user:
// "read PATH KEY" prints the value read with the fallback "FALLBACK", "readhex PATH KEY" the
// value's bytes in hex, "write PATH KEY VALUE" exits 0 when the write succeeded, "session
// PATH KEY VALUE" reads, writes twice and reads again on one store, printing each result
// and each notice as it comes. A child that does not end in time gives exit code -1.
struct ChildResult {
    int exitCode = -1;
    QString output;
};

ChildResult runChild(const QStringList &arguments, bool asNobody) {
    QProcess child;
    QStringList all{QCoreApplication::applicationFilePath(), kChildSwitch};
    if (asNobody)
        all = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                          QStringLiteral("--clear-groups")} +
              all;
    all += arguments;
    child.start(asNobody ? QStringLiteral("setpriv") : all.takeFirst(), all);
    if (!child.waitForFinished(10000))
        return {};
    return {child.exitCode(), QString::fromUtf8(child.readAllStandardOutput()).trimmed()};
}

ChildResult runAsNobody(const QStringList &arguments) {
    return runChild(arguments, true);
}

int childMain(const QStringList &arguments) {
    SettingsStore store(arguments.value(1));
    const QString &command = arguments.value(0);
    const QString key = arguments.value(2);
    const QString fallback = QStringLiteral("FALLBACK");
    if (command == QStringLiteral("read")) {
        std::printf("%s\n", qPrintable(store.readSetting(key, fallback)));
        return 0;
    }
    if (command == QStringLiteral("readhex")) {
        std::printf("%s\n", pathToBytes(store.readSetting(key, fallback)).toHex().constData());
        return 0;
    }
    if (command == QStringLiteral("session")) {
        store.setNoticeHandler(
            [](const QString &text) { std::printf("notice: %s\n", qPrintable(text)); });
        std::printf("%s\n", qPrintable(store.readSetting(key, fallback)));
        for (int i = 0; i < 2; ++i)
            std::printf("written: %d\n", store.writeSetting(key, arguments.value(3)) ? 1 : 0);
        std::printf("%s\n", qPrintable(store.readSetting(key, fallback)));
        std::fflush(stdout);
        return 0;
    }
    return store.writeSetting(key, arguments.value(3)) ? 0 : 1;
}

QStringList lines(const QString &output) {
    return output.split(QLatin1Char('\n'));
}

QString notice(const QString &text) {
    return QStringLiteral("notice: ") + text;
}

// Opens a QTemporaryDir's folder to every user, for a child run as the unprivileged user.
void openToAll(const QString &folder) {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::ExeOther);
}

struct stat statOf(const QString &path, bool followLink) {
    struct stat st {};
    const QByteArray bytes = pathToBytes(path);
    if ((followLink ? ::stat(bytes.constData(), &st) : ::lstat(bytes.constData(), &st)) != 0)
        st.st_mode = 0;
    return st;
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
    void notRegularFileIsNeitherReadNorWritten_data();
    void notRegularFileIsNeitherReadNorWritten();
    void linkToRegularFileIsFollowed();
    void readOnlyFileIsReadAndNeverWritten_data();
    void readOnlyFileIsReadAndNeverWritten();
    void firstFailedWriteIsToldOnce();
    void eachCorruptionIsKeptUnderANewNameTenAtMost();
    void valuesWithEscapedBytesComeBackExactly_data();
    void valuesWithEscapedBytesComeBackExactly();
    void desktopAndHomeKeepBytesThatAreNotUtf8();

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
    QVERIFY(contentOf(expected).contains("[Plenvoy]\nExtension=txt"));
    qputenv("XDG_CONFIG_HOME", saved);
}

void TestSettingsStore::absentKeysGiveTheFallback() {
    SettingsStore missingFile(m_dir.filePath(QStringLiteral("never-written.ini")));
    QCOMPARE(missingFile.readSetting(kKeyChosenOption, 0), QStringLiteral("0"));
    QCOMPARE(missingFile.readSetting(kKeyExtension, QStringLiteral("*")), QStringLiteral("*"));
    QCOMPARE(missingFile.readSetting(kKeyLastOutputFolder, QString()), QString());
    QVERIFY(!QFile::exists(missingFile.filePath()));

    // A key of another section is not the program's key.
    const QString other = m_dir.filePath(QStringLiteral("other-section.ini"));
    QVERIFY(writeFile(other, "[Elsewhere]\nCombo1=7\n"));
    QCOMPARE(SettingsStore(other).readSetting(kKeyChosenOption, 0), QStringLiteral("0"));
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
    QVERIFY(SettingsStore(path).writeSetting(kKeyOutputFolder, value));
    QCOMPARE(SettingsStore(path).readSetting(kKeyOutputFolder, QStringLiteral("fallback")), value);
}

void TestSettingsStore::everyWriteIsOnDiskAtOnce() {
    const QString path = m_dir.filePath(QStringLiteral("flushed.ini"));
    SettingsStore store(path);
    QVERIFY(store.writeSetting(kKeyChosenOption, QStringLiteral("12")));
    QVERIFY(contentOf(path).contains("Combo1=12"));
    QVERIFY(store.writeSetting(kKeyChosenOption, QStringLiteral("13")));
    QVERIFY(contentOf(path).contains("Combo1=13"));
}

void TestSettingsStore::laterWriteReplacesAndKeepsOtherKeys() {
    const QString path = m_dir.filePath(QStringLiteral("replace.ini"));
    QVERIFY(writeFile(path, "[Plenvoy]\nLastFolder=/music/\nCombo1=3\n"));
    SettingsStore store(path);
    QVERIFY(store.writeSetting(kKeyChosenOption, QStringLiteral("4")));
    QCOMPARE(store.readSetting(kKeyChosenOption, 0), QStringLiteral("4"));
    QCOMPARE(store.readSetting(kKeyLastAddedFolder, QString()), QStringLiteral("/music/"));
}

void TestSettingsStore::corruptFileIsKeptAsideWithTheKeysThatCouldBeRead() {
    const QString path = m_dir.filePath(QStringLiteral("corrupt.ini"));
    QByteArray garbage("[Plenvoy\nText1=/kept/\n\x01\x02\xff\xfe=\n[[[\n");
    QVERIFY(writeFile(path, garbage));
    SettingsStore store(path);
    QStringList notices;
    store.setNoticeHandler([&](const QString &text) { notices << text; });
    QCOMPARE(store.readSetting(kKeyOutputFolder, QStringLiteral("/desk/")),
             QStringLiteral("/kept/"));
    QCOMPARE(store.readSetting(kKeyChosenOption, 0), QStringLiteral("0"));
    QCOMPARE(contentOf(path + QStringLiteral(".corrupt")), garbage);
    QVERIFY(!contentOf(path).contains("[[["));
    QCOMPARE(notices,
             QStringList{kSettingsKeptAsideMessage.arg(path + QStringLiteral(".corrupt"))});

    QVERIFY(store.writeSetting(kKeyChosenOption, QStringLiteral("5")));
    QCOMPARE(store.readSetting(kKeyChosenOption, 0), QStringLiteral("5"));
    QCOMPARE(SettingsStore(path).readSetting(kKeyOutputFolder, QString()),
             QStringLiteral("/kept/"));
    QCOMPARE(contentOf(path + QStringLiteral(".corrupt")), garbage);
    QCOMPARE(notices.size(), 1);
}

void TestSettingsStore::unreadableFileGivesFallbacksAndIsNeverOverwritten() {
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                          QFile::ExeGroup);
    const QString path = dir.filePath(QStringLiteral("Marnoval.ini"));
    const QByteArray stored("[Plenvoy]\nText1=/precious/\nLastFolder=/music/\n");
    QVERIFY(writeFile(path, stored));
    QVERIFY(QProcess::execute(QStringLiteral("chown"), {QStringLiteral("65534:65534"), path}) == 0);
    QFile::setPermissions(path, QFile::WriteOwner); // writable but not readable

    const ChildResult read = runAsNobody({QStringLiteral("read"), path, kKeyOutputFolder});
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.output, QStringLiteral("FALLBACK"));

    const ChildResult write =
        runAsNobody({QStringLiteral("write"), path, kKeyChosenOption, QStringLiteral("9")});
    QCOMPARE(write.exitCode, 1);
    QCOMPARE(contentOf(path), stored);
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
    QVERIFY(writeFile(path, stored));
    QVERIFY(QProcess::execute(QStringLiteral("chown"),
                              {QStringLiteral("-R"), QStringLiteral("65534:65534"), dir.path()}) ==
            0);
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions exec = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(dir.path(),
                          folderReadOnly ? readOnly | exec : readOnly | exec | QFile::WriteOwner);
    QFile::setPermissions(path, fileReadOnly ? readOnly : readOnly | QFile::WriteOwner);

    const ChildResult write =
        runAsNobody({QStringLiteral("write"), path, kKeyOutputFolder, QStringLiteral("/new/")});
    QCOMPARE(write.exitCode, 1);
    QCOMPARE(contentOf(path), stored);
    const ChildResult read = runAsNobody({QStringLiteral("read"), path, kKeyChosenOption});
    QCOMPARE(read.output, QStringLiteral("7"));
    QFile::setPermissions(dir.path(), readOnly | exec | QFile::WriteOwner);
}

void TestSettingsStore::notRegularFileIsNeitherReadNorWritten_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("throughLink");
    for (const bool link : {false, true}) {
        for (const char *kind : {"fifo", "device", "folder"}) {
            const QString name = QString::fromLatin1(kind);
            QTest::newRow(qPrintable((link ? QStringLiteral("link to ") : QString()) + name))
                << name << link;
        }
    }
    QTest::newRow("link to nothing") << QStringLiteral("nothing") << true;
}

void TestSettingsStore::notRegularFileIsNeitherReadNorWritten() {
    QFETCH(QString, kind);
    QFETCH(bool, throughLink);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Marnoval.ini"));
    const QString node = throughLink ? dir.filePath(QStringLiteral("node")) : path;
    const QByteArray nodeBytes = pathToBytes(node);
    // The device is a null device node made here, never one of the machine's own.
    const dev_t device = makedev(1, 3);
    if (kind == QStringLiteral("fifo"))
        QCOMPARE(::mkfifo(nodeBytes.constData(), 0644), 0);
    else if (kind == QStringLiteral("device"))
        QCOMPARE(::mknod(nodeBytes.constData(), S_IFCHR | 0666, device), 0);
    else if (kind == QStringLiteral("folder"))
        QVERIFY(QDir().mkdir(node));
    if (throughLink)
        QCOMPARE(::symlink(nodeBytes.constData(), pathToBytes(path).constData()), 0);
    const QStringList namesBefore = namesIn(dir.path());

    // In a child: a FIFO that is opened for reading would block it for ever.
    const ChildResult session = runChild(
        {QStringLiteral("session"), path, kKeyOutputFolder, QStringLiteral("/new/")}, false);
    QCOMPARE(session.exitCode, 0);
    QCOMPARE(lines(session.output),
             (QStringList{notice(kSettingsUnreadableMessage), QStringLiteral("FALLBACK"),
                          QStringLiteral("written: 0"), QStringLiteral("written: 0"),
                          QStringLiteral("FALLBACK")}));

    QCOMPARE(namesIn(dir.path()), namesBefore);
    if (throughLink) {
        QVERIFY(S_ISLNK(statOf(path, false).st_mode));
        QCOMPARE(QFile::symLinkTarget(path), node);
    }
    const struct stat st = statOf(node, false);
    if (kind == QStringLiteral("fifo")) {
        QVERIFY(S_ISFIFO(st.st_mode));
    } else if (kind == QStringLiteral("device")) {
        QVERIFY(S_ISCHR(st.st_mode));
        QCOMPARE(st.st_rdev, device);
    } else if (kind == QStringLiteral("folder")) {
        QVERIFY(S_ISDIR(st.st_mode));
        QVERIFY(namesIn(node).isEmpty());
    } else {
        QCOMPARE(st.st_mode, mode_t(0));
    }
}

void TestSettingsStore::linkToRegularFileIsFollowed() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Marnoval.ini"));
    const QString target = dir.filePath(QStringLiteral("dotfiles-Marnoval.ini"));
    QVERIFY(writeFile(target, "[Plenvoy]\nCombo1=3\n"));
    QVERIFY(QFile::link(target, path));
    SettingsStore store(path);
    QCOMPARE(store.readSetting(kKeyChosenOption, 0), QStringLiteral("3"));
    QVERIFY(store.writeSetting(kKeyOutputFolder, QStringLiteral("/out/")));
    QCOMPARE(QFile::symLinkTarget(path), target);
    QCOMPARE(contentOf(target), QByteArray("[Plenvoy]\nCombo1=3\nText1=/out/\n"));
}

void TestSettingsStore::readOnlyFileIsReadAndNeverWritten_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<bool>("asNobody");
    QTest::addColumn<QString>("value");
    const QString other = QStringLiteral("/new/");
    QTest::newRow("no write bit, root") << 0444 << false << false << other;
    QTest::newRow("link to a file with no write bit, root") << 0444 << true << false << other;
    QTest::newRow("writable by its owner only, another user") << 0644 << false << true << other;
    // Writing back what is stored, as restoring the chosen option does at every start,
    // writes nothing and so tells nothing.
    QTest::newRow("the value already stored, root")
        << 0444 << false << false << QStringLiteral("/stored/");
    QTest::newRow("the value already stored, another user")
        << 0644 << false << true << QStringLiteral("/stored/");
}

void TestSettingsStore::readOnlyFileIsReadAndNeverWritten() {
    QFETCH(int, mode);
    QFETCH(bool, throughLink);
    QFETCH(bool, asNobody);
    QFETCH(QString, value);
    QTemporaryDir dir;
    openToAll(dir.path());
    const QString path = dir.filePath(QStringLiteral("Marnoval.ini"));
    const QString file = throughLink ? dir.filePath(QStringLiteral("target.ini")) : path;
    const QByteArray content("[Plenvoy]\nText1=/stored/\n");
    QVERIFY(writeFile(file, content));
    QCOMPARE(::chmod(pathToBytes(file).constData(), mode_t(mode)), 0);
    if (throughLink)
        QVERIFY(QFile::link(file, path));

    const ChildResult session =
        runChild({QStringLiteral("session"), path, kKeyOutputFolder, value}, asNobody);
    // Only a write that would change the file tells that it will not be saved.
    const QString stored = QStringLiteral("/stored/");
    QStringList expected{stored};
    if (value != stored)
        expected << notice(kSettingsUnwritableMessage);
    const QString written =
        value == stored ? QStringLiteral("written: 1") : QStringLiteral("written: 0");
    expected << written << written << stored;
    QCOMPARE(lines(session.output), expected);
    QCOMPARE(contentOf(file), content);
    QCOMPARE(int(statOf(file, true).st_mode & 07777), mode);
    QCOMPARE(namesIn(dir.path()).size(), throughLink ? 2 : 1);
}

void TestSettingsStore::firstFailedWriteIsToldOnce() {
    // No file yet, in a folder where the user may not create one.
    QTemporaryDir dir;
    openToAll(dir.path());
    const QString path = dir.filePath(QStringLiteral("Marnoval.ini"));
    const ChildResult session =
        runAsNobody({QStringLiteral("session"), path, kKeyChosenOption, QStringLiteral("4")});
    QCOMPARE(lines(session.output),
             (QStringList{QStringLiteral("FALLBACK"), notice(kSettingsUnwritableMessage),
                          QStringLiteral("written: 0"), QStringLiteral("written: 0"),
                          QStringLiteral("FALLBACK")}));
    QVERIFY(namesIn(dir.path()).isEmpty());
}

void TestSettingsStore::eachCorruptionIsKeptUnderANewNameTenAtMost() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Marnoval.ini"));
    const QString aside = path + QStringLiteral(".corrupt");
    auto garbage = [](int round) -> QByteArray {
        return QByteArray("[Plenvoy\nText1=/round") + QByteArray::number(round) + "/\n[[[\n";
    };
    for (int round = 0; round < 12; ++round) {
        QVERIFY(writeFile(path, garbage(round)));
        SettingsStore store(path);
        QStringList notices;
        store.setNoticeHandler([&](const QString &text) { notices << text; });
        QCOMPARE(store.readSetting(kKeyOutputFolder, QString()),
                 QStringLiteral("/round%1/").arg(round));
        const QString kept = round == 0 ? aside : aside + QStringLiteral(".%1").arg(round);
        QCOMPARE(contentOf(kept), garbage(round));
        QCOMPARE(notices, QStringList{kSettingsKeptAsideMessage.arg(kept)});
    }
    // The two oldest went first; the ten newest stay as they were kept.
    QVERIFY(!QFile::exists(aside));
    QVERIFY(!QFile::exists(aside + QStringLiteral(".1")));
    for (int round = 2; round < 12; ++round)
        QCOMPARE(contentOf(aside + QStringLiteral(".%1").arg(round)), garbage(round));
    QCOMPARE(namesIn(dir.path()).size(), 11);
}

void TestSettingsStore::valuesWithEscapedBytesComeBackExactly_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("folder named with a byte that is not UTF-8") << QByteArray("\xff");
    QTest::newRow("bytes beside letters") << QByteArray("caf\xc3\xa9-\xe2\x82-\xfe");
    QTest::newRow("at sign first") << QByteArray("@ByteArray(\xff)");
}

void TestSettingsStore::valuesWithEscapedBytesComeBackExactly() {
    QFETCH(QByteArray, name);
    test::ByteNamedTempDir dir;
    const QString folder = dir.path() + QLatin1Char('/') + pathFromBytes(name) + QLatin1Char('/');
    QVERIFY(hasEscapedBytes(folder));
    QCOMPARE(::mkdir(pathToBytes(folder).constData(), 0755), 0);
    const QString path = dir.filePath(QStringLiteral("Marnoval.ini"));
    QVERIFY(SettingsStore(path).writeSetting(kKeyOutputFolder, folder));
    QVERIFY(SettingsStore(path).writeSetting(kKeyChosenOption, QStringLiteral("2")));
    QVERIFY(contentOf(path).contains("Text1=@ByteArray("));
    QVERIFY(contentOf(path).contains("Combo1=2\n"));

    // Read by another process, which has no cache of what this one wrote.
    const ChildResult read = runChild({QStringLiteral("readhex"), path, kKeyOutputFolder}, false);
    const QByteArray reloaded = QByteArray::fromHex(read.output.toLatin1());
    QCOMPARE(reloaded, pathToBytes(folder));
    QVERIFY(S_ISDIR(statOf(pathFromBytes(reloaded), true).st_mode));
    QCOMPARE(SettingsStore(path).readSetting(kKeyOutputFolder, QString()), folder);
}

void TestSettingsStore::desktopAndHomeKeepBytesThatAreNotUtf8() {
    test::ByteNamedTempDir dir;
    const QString home = dir.path() + QLatin1Char('/') + pathFromBytes("h\xff");
    QCOMPARE(::mkdir(pathToBytes(home).constData(), 0755), 0);
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", pathToBytes(home));
    qputenv("XDG_CONFIG_HOME", pathToBytes(dir.path()));
    const QString withoutDesktop = DesktopFolder();
    QCOMPARE(::mkdir(pathToBytes(home + QStringLiteral("/Desktop")).constData(), 0755), 0);
    const QString withDesktop = DesktopFolder();
    qputenv("HOME", savedHome);
    qputenv("XDG_CONFIG_HOME", savedConfig);
    QCOMPARE(withoutDesktop, home + QLatin1Char('/'));
    QCOMPARE(withDesktop, home + QStringLiteral("/Desktop/"));
}

int main(int argc, char *argv[]) {
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == kChildSwitch) {
        QCoreApplication application(argc, argv);
        return childMain(QCoreApplication::arguments().mid(2));
    }
    QApplication application(argc, argv);
    TestSettingsStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsstore.moc"
