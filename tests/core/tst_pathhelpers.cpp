#include "core/Failure.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;

namespace {
const QChar kWindows = QLatin1Char('\\');
const QChar kLinux = QLatin1Char('/');
} // namespace

class TestPathHelpers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void doubledSeparatorsCollapseInPairs_data();
    void doubledSeparatorsCollapseInPairs();
    void fileNameIsThePartAfterTheLastSeparator_data();
    void fileNameIsThePartAfterTheLastSeparator();
    void folderIsThePartUpToTheLastSeparator_data();
    void folderIsThePartUpToTheLastSeparator();
    void folderOfOverflowsBeyondPosition32767_data();
    void folderOfOverflowsBeyondPosition32767();
    void defaultSeparatorIsTheLinuxOne();

    void presenceTestsTellFilesFoldersAndLinksApart_data();
    void presenceTestsTellFilesFoldersAndLinksApart();

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }
};

void TestPathHelpers::initTestCase() {
    QVERIFY(m_dir.isValid());
    const auto makeFile = [&](const QString &name) {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
    };
    makeFile(QStringLiteral("f.txt"));
    makeFile(QStringLiteral("what?*.txt"));
    makeFile(QStringLiteral("\u00e9t\u00e9 \u20ac \u0436.txt"));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("d")));
    QVERIFY(QFile::link(path(QStringLiteral("f.txt")), path(QStringLiteral("link-to-file"))));
    QVERIFY(QFile::link(path(QStringLiteral("d")), path(QStringLiteral("link-to-folder"))));
    QVERIFY(QFile::link(path(QStringLiteral("gone")), path(QStringLiteral("broken-link"))));
    QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe"))).constData(), 0600), 0);
    // Names that are not UTF-8, each beside the decoy that a lossy conversion would name
    // instead: a folder "\xff" beside a file "\uFFFD", a file "\xfe" beside a folder
    // "\uFFFD\uFFFD".
    const QByteArray base = m_dir.path().toUtf8() + '/';
    QCOMPARE(::mkdir(QByteArray(base + "\xff").constData(), 0755), 0);
    QCOMPARE(::mkdir(QByteArray(base + "\xef\xbf\xbd\xef\xbf\xbd").constData(), 0755), 0);
    for (const QByteArray &name : {QByteArray("\xef\xbf\xbd"), QByteArray("\xfe")}) {
        const int fd = ::open(QByteArray(base + name).constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
}

void TestPathHelpers::doubledSeparatorsCollapseInPairs_data() {
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, QChar separator, const char *path, const char *expected) {
        QTest::newRow(name) << separator << QString::fromUtf8(path) << QString::fromUtf8(expected);
    };
    row("windows: doubled separator collapses", kWindows, R"(C:\out\\photo.jpg)",
        R"(C:\out\photo.jpg)");
    row("windows: three become two", kWindows, R"(C:\a\\\b)", R"(C:\a\\b)");
    row("windows: four become two", kWindows, R"(C:\a\\\\b)", R"(C:\a\\b)");
    row("windows: network path keeps two", kWindows, R"(\\server\share\\f.txt)",
        R"(\\server\share\f.txt)");
    row("windows: four leading become two", kWindows, R"(\\\\server\share)", R"(\\server\share)");
    row("windows: one leading becomes two", kWindows, R"(\dir\f.txt)", R"(\\dir\f.txt)");
    row("windows: lone separator", kWindows, R"(\)", R"(\\)");
    row("windows: empty", kWindows, "", "");
    row("windows: slashes are plain characters", kWindows, "C://a", "C://a");

    row("linux: doubled separator collapses", kLinux, "/out//photo.jpg", "/out/photo.jpg");
    row("linux: three become two", kLinux, "/a///b", "/a//b");
    row("linux: four become two", kLinux, "/a////b", "/a//b");
    row("linux: leading pair keeps one", kLinux, "//server/share//f.txt", "/server/share/f.txt");
    row("linux: leading run keeps one", kLinux, "////x", "/x");
    row("linux: single leading stays one", kLinux, "/dir/f.txt", "/dir/f.txt");
    row("linux: lone root", kLinux, "/", "/");
    row("linux: run of separators alone", kLinux, "///", "/");
    row("linux: relative path", kLinux, "out//f.txt", "out/f.txt");
    row("linux: trailing pair", kLinux, "/out//", "/out/");
    row("linux: empty", kLinux, "", "");
    row("linux: backslashes are plain characters", kLinux, R"(/a\\b)", R"(/a\\b)");
}

void TestPathHelpers::doubledSeparatorsCollapseInPairs() {
    QFETCH(QChar, separator);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(collapseDoubledSeparators(path, separator), expected);
}

void TestPathHelpers::fileNameIsThePartAfterTheLastSeparator_data() {
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, QChar separator, const char *path, const char *expected) {
        QTest::newRow(name) << separator << QString::fromUtf8(path) << QString::fromUtf8(expected);
    };
    row("windows: full path", kWindows, R"(C:\dir\f.txt)", "f.txt");
    row("windows: bare name", kWindows, "f.txt", "f.txt");
    row("windows: folder with closing separator", kWindows, R"(C:\dir\)", "");
    row("windows: empty", kWindows, "", "");
    row("linux: full path", kLinux, "/dir/f.txt", "f.txt");
    row("linux: bare name", kLinux, "f.txt", "f.txt");
    row("linux: folder with closing separator", kLinux, "/dir/", "");
    row("linux: root", kLinux, "/", "");
    row("linux: empty", kLinux, "", "");
    row("linux: backslash is part of the name", kLinux, R"(/dir/a\b.txt)", R"(a\b.txt)");
}

void TestPathHelpers::fileNameIsThePartAfterTheLastSeparator() {
    QFETCH(QChar, separator);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(FileNameOf(path, separator), expected);
}

void TestPathHelpers::folderIsThePartUpToTheLastSeparator_data() {
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, QChar separator, const char *path, const char *expected) {
        QTest::newRow(name) << separator << QString::fromUtf8(path) << QString::fromUtf8(expected);
    };
    row("windows: full path", kWindows, R"(C:\dir\f.txt)", R"(C:\dir\)");
    row("windows: drive root", kWindows, R"(C:\)", R"(C:\)");
    row("windows: bare name", kWindows, "f.txt", "");
    row("windows: empty", kWindows, "", "");
    row("linux: full path", kLinux, "/dir/f.txt", "/dir/");
    row("linux: root", kLinux, "/", "/");
    row("linux: file in root", kLinux, "/f.txt", "/");
    row("linux: bare name", kLinux, "f.txt", "");
    row("linux: empty", kLinux, "", "");
}

void TestPathHelpers::folderIsThePartUpToTheLastSeparator() {
    QFETCH(QChar, separator);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(FolderOf(path, separator), expected);
}

void TestPathHelpers::folderOfOverflowsBeyondPosition32767_data() {
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<int>("position"); // 1-based position of the last separator
    QTest::addColumn<bool>("overflows");
    for (const QChar separator : {kWindows, kLinux}) {
        const QByteArray form = separator == kWindows ? "windows" : "linux";
        QTest::newRow(QByteArray(form + ": at 32767").constData()) << separator << 32767 << false;
        QTest::newRow(QByteArray(form + ": at 32768").constData()) << separator << 32768 << true;
        QTest::newRow(QByteArray(form + ": far beyond").constData()) << separator << 70000 << true;
    }
}

void TestPathHelpers::folderOfOverflowsBeyondPosition32767() {
    QFETCH(QChar, separator);
    QFETCH(int, position);
    QFETCH(bool, overflows);
    const QString path =
        QString(position - 1, QLatin1Char('a')) + separator + QStringLiteral("name.txt");
    if (!overflows) {
        QCOMPARE(FolderOf(path, separator).size(), qsizetype(position));
        return;
    }
    try {
        FolderOf(path, separator);
        QFAIL("FolderOf returned instead of raising the overflow");
    } catch (const Failure &failure) {
        QCOMPARE(failure.number(), ErrorNumber::Overflow);
    }
    // Names after a long folder are still found: only the folder part is limited.
    QCOMPARE(FileNameOf(path, separator), QStringLiteral("name.txt"));
}

void TestPathHelpers::defaultSeparatorIsTheLinuxOne() {
    QCOMPARE(FolderOf(QStringLiteral("/a/b")), QStringLiteral("/a/"));
    QCOMPARE(FileNameOf(QStringLiteral(R"(/a\b)")), QStringLiteral(R"(a\b)"));
    QCOMPARE(collapseDoubledSeparators(QStringLiteral("//a//b")), QStringLiteral("/a/b"));
}

void TestPathHelpers::presenceTestsTellFilesFoldersAndLinksApart_data() {
    QTest::addColumn<QString>("name"); // relative to the fixture folder, or absolute
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<bool>("fileIsPresent");
    QTest::addColumn<bool>("pathExists");
    QTest::newRow("file") << "f.txt" << false << true << true;
    QTest::newRow("file with a closing separator") << "f.txt/" << false << false << false;
    QTest::newRow("folder") << "d" << true << false << true;
    QTest::newRow("folder with a closing separator") << "d/" << true << false << true;
    QTest::newRow("missing") << "gone" << false << false << false;
    QTest::newRow("empty") << "" << false << false << false;
    QTest::newRow("root") << "/" << true << false << true;
    QTest::newRow("link to a file") << "link-to-file" << false << true << true;
    QTest::newRow("link to a folder") << "link-to-folder" << true << false << true;
    QTest::newRow("broken link") << "broken-link" << false << false << false;
    QTest::newRow("pipe") << "pipe" << false << false << true;
    QTest::newRow("device") << "/dev/null" << false << false << true;
    QTest::newRow("question mark and star are name characters")
        << "what?*.txt" << false << true << true;
    QTest::newRow("names outside any 8-bit code page")
        << QStringLiteral("\u00e9t\u00e9 \u20ac \u0436.txt") << false << true << true;
    QTest::newRow("folder named by a byte that is not UTF-8")
        << pathFromBytes("\xff") << true << false << true;
    QTest::newRow("file named by a byte that is not UTF-8")
        << pathFromBytes("\xfe") << false << true << true;
    QTest::newRow("missing name of bytes that are not UTF-8")
        << pathFromBytes("\xfd") << false << false << false;
    QTest::newRow("embedded NUL") << QString::fromUtf8("f.txt\0x", 7) << false << false << false;
}

void TestPathHelpers::presenceTestsTellFilesFoldersAndLinksApart() {
    QFETCH(QString, name);
    QFETCH(bool, folderExists);
    QFETCH(bool, fileIsPresent);
    QFETCH(bool, pathExists);
    const QString full = name.isEmpty() || name.startsWith(QLatin1Char('/')) ? name : path(name);
    QCOMPARE(FolderExists(full), folderExists);
    QCOMPARE(FileIsPresent(full), fileIsPresent);
    QCOMPARE(PathExists(full), pathExists);
}

QTEST_GUILESS_MAIN(TestPathHelpers)
#include "tst_pathhelpers.moc"
