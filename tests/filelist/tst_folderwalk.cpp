// The folder services on real trees: the walk, the listing, attributes, the folder dialog.
#include "FakeWindow.h"

#include "core/Failure.h"
#include "core/LocationTags.h"
#include "filelist/AddFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;
using plenvoy::test::FakeWindow;

namespace {

// Set in the child process that walks a tree as an unprivileged user.
constexpr char kChildWalkVariable[] = "PLENVOY_WALK_AS_CHILD";

void makeFolder(const QString &path) {
    QVERIFY2(QDir().mkpath(path), qPrintable(path));
}

void makeFile(const QString &path) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write("x");
}

QStringList walk(const QString &start, bool deeper, FakeWindow &ui) {
    QStringList folders{start};
    GetSubDirectories2016(folders, deeper, ui);
    return folders;
}

QSet<QString> setOf(const QStringList &list) {
    return QSet<QString>(list.cbegin(), list.cend());
}

// Walks the folder named by the variable and prints the result and the reports, one a line.
int childWalk() {
    FakeWindow ui;
    QStringList folders{qEnvironmentVariable(kChildWalkVariable)};
    GetSubDirectories2016(folders, true, ui);
    QTextStream out(stdout);
    for (const QString &folder : folders)
        out << "folder " << folder << '\n';
    for (const QString &report : ui.errorReports)
        out << "report " << QString(report).replace(QLatin1Char('\r'), QLatin1Char(' ')) << '\n';
    return 0;
}

} // namespace

class FolderWalkTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString root() const { return m_dir.path() + QStringLiteral("/root/"); }

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        makeFolder(m_dir.path() + QStringLiteral("/root"));
    }

    void walkIsInLevelOrderWhateverTheDepth() {
        makeFolder(root() + QStringLiteral("a/x/y/z"));
        makeFolder(root() + QStringLiteral("b"));
        makeFile(root() + QStringLiteral("b/file.txt"));
        FakeWindow ui;
        const QStringList folders = walk(root(), true, ui);
        QCOMPARE(folders.size(), 6);
        QCOMPARE(folders.at(0), root());
        QCOMPARE(setOf(folders.mid(1, 2)),
                 (QSet<QString>{root() + QStringLiteral("a/"), root() + QStringLiteral("b/")}));
        QCOMPARE(folders.mid(3),
                 (QStringList{root() + QStringLiteral("a/x/"), root() + QStringLiteral("a/x/y/"),
                              root() + QStringLiteral("a/x/y/z/")}));
        QVERIFY(ui.errorReports.isEmpty());
    }

    void withoutDeeperOnlyTheFirstLevelIsAdded() {
        makeFolder(root() + QStringLiteral("a/x"));
        FakeWindow ui;
        QCOMPARE(walk(root(), false, ui), (QStringList{root(), root() + QStringLiteral("a/")}));
    }

    void eventsAreProcessedOncePerFolderAndSubFolder() {
        makeFolder(root() + QStringLiteral("a/x"));
        makeFolder(root() + QStringLiteral("b"));
        FakeWindow ui;
        walk(root(), true, ui);
        // Four folders examined, three sub-folders read, and each sub-folder taken back up
        // once per level above it (x twice, a and b once).
        QCOMPARE(ui.processEventsCalls, 11);
    }

    void closingTheWindowStopsTheWalkAtOnce() {
        makeFolder(root() + QStringLiteral("a/x"));
        makeFolder(root() + QStringLiteral("b"));
        FakeWindow ui;
        ui.onProcessEvents = [&](int call) { ui.m_closing = call == 2; };
        const QStringList folders = walk(root(), true, ui);
        QCOMPARE(ui.processEventsCalls, 2);
        QCOMPARE(folders, QStringList{root()});
        QVERIFY(ui.errorReports.isEmpty());
    }

    void hiddenFoldersAreWalked() {
        makeFolder(root() + QStringLiteral(".hidden/inner"));
        FakeWindow ui;
        QCOMPARE(walk(root(), true, ui), (QStringList{root(), root() + QStringLiteral(".hidden/"),
                                                      root() + QStringLiteral(".hidden/inner/")}));
    }

    void linksToFoldersAreNotFollowedSoCyclesEnd() {
        makeFolder(root() + QStringLiteral("a"));
        makeFolder(m_dir.path() + QStringLiteral("/elsewhere/deep"));
        QVERIFY(QFile::link(root(), root() + QStringLiteral("a/loop")));
        QVERIFY(QFile::link(m_dir.path() + QStringLiteral("/elsewhere"),
                            root() + QStringLiteral("out")));
        FakeWindow ui;
        QCOMPARE(walk(root(), true, ui), (QStringList{root(), root() + QStringLiteral("a/")}));
    }

    void aChosenFolderThatIsALinkIsWalked() {
        makeFolder(root() + QStringLiteral("a"));
        const QString link = m_dir.path() + QStringLiteral("/link/");
        QVERIFY(QFile::link(root(), m_dir.path() + QStringLiteral("/link")));
        FakeWindow ui;
        QCOMPARE(walk(link, true, ui), (QStringList{link, link + QStringLiteral("a/")}));
    }

    void subFoldersWithBadNamesAreLeftOutWithEverythingBelow_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("kept");
        QTest::newRow("plain letters") << QStringLiteral("abc") << true;
        QTest::newRow("accented letter, code 233") << QStringLiteral("caf\u00e9") << true;
        QTest::newRow("en dash, code 150") << QStringLiteral("a\u2013b") << false;
        QTest::newRow("euro sign, code 128") << QStringLiteral("\u20ac") << false;
        QTest::newRow("tab character") << QStringLiteral("a\tb") << false;
        QTest::newRow("control character") << QStringLiteral("a\u0001b") << false;
        QTest::newRow("outside the code page") << QStringLiteral("\u0436\u0443\u043a") << false;
        QTest::newRow("question mark") << QStringLiteral("what?") << false;
    }
    void subFoldersWithBadNamesAreLeftOutWithEverythingBelow() {
        QFETCH(QString, name);
        QFETCH(bool, kept);
        makeFolder(root() + name + QStringLiteral("/below"));
        FakeWindow ui;
        const QStringList expected = kept ? QStringList{root(), root() + name + QLatin1Char('/'),
                                                        root() + name + QStringLiteral("/below/")}
                                          : QStringList{root()};
        QCOMPARE(walk(root(), true, ui), expected);
    }

    void aFolderWithALongPathStaysButIsNotEntered() {
        // Names stay within the system's 255-byte limit; the path passes 260 characters.
        const QString longName(250 - root().size(), QLatin1Char('n'));
        const QString parent = root() + longName + QLatin1Char('/');
        const QString longer = parent + QString(20, QLatin1Char('m')) + QLatin1Char('/');
        QVERIFY(longer.size() >= 260 && parent.size() < 260);
        makeFolder(longer + QStringLiteral("unreached"));
        FakeWindow ui;
        QCOMPARE(walk(root(), true, ui), (QStringList{root(), parent, longer}));
    }

    void pseudoFileSystemsAreLeftOut() {
        FakeWindow ui;
        // The chosen folder stays, but nothing of the pseudo file system below it is taken.
        QCOMPARE(walk(QStringLiteral("/proc/"), true, ui), QStringList{QStringLiteral("/proc/")});
        QCOMPARE(walk(QStringLiteral("/sys/"), true, ui), QStringList{QStringLiteral("/sys/")});
        const QStringList dev = walk(QStringLiteral("/dev/"), false, ui);
        QVERIFY(!dev.contains(QStringLiteral("/dev/pts/")));
        QVERIFY(!dev.contains(QStringLiteral("/dev/mqueue/")));
        if (QFileInfo(QStringLiteral("/run")).isDir()) {
            const QStringList top = walk(QStringLiteral("/"), false, ui);
            QVERIFY(!top.contains(QStringLiteral("/proc/")));
            QVERIFY(!top.contains(QStringLiteral("/sys/")));
            QVERIFY(top.contains(QStringLiteral("/run/")));
        }
        QVERIFY(ui.errorReports.isEmpty());
    }

    void aMissingStartFolderStaysWithoutMessage() {
        FakeWindow ui;
        const QString missing = root() + QStringLiteral("missing/");
        QCOMPARE(walk(missing, true, ui), QStringList{missing});
        QVERIFY(ui.errorReports.isEmpty());
    }

    void aFolderThatVanishesIsReportedWithTheWalksTagAndLine() {
        makeFolder(root() + QStringLiteral("a"));
        FakeWindow ui;
        // The first pause comes after the existence test and before the folder is read.
        ui.onProcessEvents = [&](int call) {
            if (call == 1)
                QDir(root()).removeRecursively();
        };
        const QStringList folders = walk(root(), true, ui);
        QCOMPARE(folders, QStringList{root()});
        QCOMPARE(ui.errorReports.size(), 1);
        QVERIFY(ui.errorReports.first().contains(kTagFolderWalk + QStringLiteral("at line 116")));
    }

    void aFolderThatCannotBeListedLeavesTheListSilently() {
        makeFolder(root() + QStringLiteral("a"));
        FakeWindow ui;
        // Swapped for a file while the window processes its events: "not a folder".
        ui.onProcessEvents = [&](int call) {
            if (call != 1)
                return;
            QDir(root()).removeRecursively();
            makeFile(m_dir.path() + QStringLiteral("/root"));
        };
        QCOMPARE(walk(root(), true, ui), QStringList());
        QVERIFY(ui.errorReports.isEmpty());
    }

    void unreadableFoldersDisappearWithoutMessage() {
        // Run as an unprivileged user, so that the denial is real also when tests run as root.
        if (::geteuid() != 0)
            QSKIP("needs root to start the unprivileged child");
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            QSKIP("setpriv is not installed");
        makeFolder(root() + QStringLiteral("a/x"));
        makeFolder(root() + QStringLiteral("b/y"));
        makeFolder(root() + QStringLiteral("c/z"));
        makeFolder(root() + QStringLiteral("d"));
        for (const QString &path :
             QStringList{m_dir.path(), root(), root() + QStringLiteral("b"),
                         root() + QStringLiteral("b/y"), root() + QStringLiteral("d")})
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0755) == 0);
        // Two unreadable folders on one level: both drop out and the walk goes on.
        QVERIFY(::chmod(QFile::encodeName(root() + QStringLiteral("a")).constData(), 0700) == 0);
        QVERIFY(::chmod(QFile::encodeName(root() + QStringLiteral("c")).constData(), 0700) == 0);

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kChildWalkVariable), root());
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral("setpriv"),
                    {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                     QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath()});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(child.readAllStandardOutput())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(setOf(lines),
                 (QSet<QString>{QStringLiteral("folder ") + root(),
                                QStringLiteral("folder ") + root() + QStringLiteral("b/"),
                                QStringLiteral("folder ") + root() + QStringLiteral("d/"),
                                QStringLiteral("folder ") + root() + QStringLiteral("b/y/")}));
        QCOMPARE(lines.first(), QStringLiteral("folder ") + root());
        QCOMPARE(lines.last(), QStringLiteral("folder ") + root() + QStringLiteral("b/y/"));
    }

    void listingKeepsMatchingFilesOnly() {
        makeFile(root() + QStringLiteral("notes.txt"));
        makeFile(root() + QStringLiteral("SHOUT.TXT"));
        makeFile(root() + QStringLiteral(".hidden.txt"));
        makeFile(root() + QStringLiteral("other.doc"));
        makeFolder(root() + QStringLiteral("folder.txt"));
        QVERIFY(
            QFile::link(root() + QStringLiteral("notes.txt"), root() + QStringLiteral("link.txt")));
        QVERIFY(
            QFile::link(root() + QStringLiteral("gone"), root() + QStringLiteral("broken.txt")));
        QVERIFY(::mkfifo(QFile::encodeName(root() + QStringLiteral("pipe.txt")).constData(),
                         0644) == 0);
        // A name that is not valid text cannot be opened again under its shown name.
        const QByteArray raw = QFile::encodeName(root()) + QByteArray("bad\xff.txt");
        const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);

        const FolderNames names = ListFolderFiles(root(), QStringLiteral("*.txt"));
        QCOMPARE(names.lowerBound(), 1);
        QCOMPARE(setOf(names.names()),
                 (QSet<QString>{QStringLiteral("notes.txt"), QStringLiteral("SHOUT.TXT"),
                                QStringLiteral(".hidden.txt"), QStringLiteral("link.txt")}));
        // The folder may be given without its trailing separator.
        QCOMPARE(
            setOf(ListFolderFiles(m_dir.path() + QStringLiteral("/root"), QStringLiteral("*.TXT"))
                      .names()),
            setOf(names.names()));
    }

    void listingWithoutMatchesIsOneEmptySlotAtZero() {
        makeFile(root() + QStringLiteral("a.doc"));
        for (const QString &folder : QStringList{root(), root() + QStringLiteral("missing")}) {
            const FolderNames names = ListFolderFiles(folder, QStringLiteral("*.txt"));
            QCOMPARE(names.lowerBound(), 0);
            QCOMPARE(names.upperBound(), 0);
            QCOMPARE(names.at(0), QString());
            QVERIFY_THROWS_EXCEPTION(Failure, names.at(1));
        }
    }

    void listingGrowsPastOneHundredNames() {
        QSet<QString> expected;
        for (int i = 1; i <= 101; ++i) {
            const QString name = QStringLiteral("file%1.txt").arg(i);
            makeFile(root() + name);
            expected.insert(name);
        }
        makeFile(root() + QStringLiteral("skip.dat"));
        const FolderNames names = ListFolderFiles(root(), QStringLiteral("*.txt"));
        QCOMPARE(names.upperBound(), 101);
        QSet<QString> got;
        for (int position = 1; position <= names.upperBound(); ++position)
            got.insert(names.at(position));
        QCOMPARE(got, expected);
        QVERIFY_THROWS_EXCEPTION(Failure, names.at(102));
    }

    void wildcardsMatchAsTheWindowsListingDoes_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("every name") << "*.*"
                                    << "a.txt" << true;
        QTest::newRow("every name, also without a dot") << "*.*"
                                                        << "Makefile" << true;
        QTest::newRow("star alone") << "*"
                                    << "Makefile" << true;
        QTest::newRow("extension") << "*.txt"
                                   << "notes.txt" << true;
        QTest::newRow("extension ignores case") << "*.TXT"
                                                << "notes.txt" << true;
        QTest::newRow("name ignores case") << "*.txt"
                                           << "NOTES.TxT" << true;
        QTest::newRow("dotless name has no extension") << "*.txt"
                                                       << "Makefile" << false;
        QTest::newRow("longer extension") << "*.txt"
                                          << "a.txtx" << false;
        QTest::newRow("two extensions") << "*.txt"
                                        << "a.tar.txt" << true;
        QTest::newRow("star dot takes dotless names") << "*."
                                                      << "README" << true;
        QTest::newRow("star dot refuses extensions") << "*."
                                                     << "a.txt" << false;
        QTest::newRow("typed dot needs two dots") << "*..txt"
                                                  << "a.txt" << false;
        QTest::newRow("typed dot matches two dots") << "*..txt"
                                                    << "a..txt" << true;
        QTest::newRow("question mark, one character") << "a?.txt"
                                                      << "ab.txt" << true;
        QTest::newRow("question mark, not none") << "a?.txt"
                                                 << "a.txt" << false;
        QTest::newRow("wildcards in the extension") << "*.t?t"
                                                    << "a.tXt" << true;
        QTest::newRow("star in the middle") << "*.d*c"
                                            << "a.docx" << false;
        QTest::newRow("backtracking star") << "*a*b.txt"
                                           << "xaxab.txt" << true;
        QTest::newRow("hidden name") << "*.txt"
                                     << ".hidden.txt" << true;
        QTest::newRow("accented, case folded") << "*.\u00c9T\u00c9"
                                               << "x.\u00e9t\u00e9" << true;
    }
    void wildcardsMatchAsTheWindowsListingDoes() {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        const WildcardPattern wildcard(pattern);
        QCOMPARE(wildcard.matches(name), matches);
        // The test on the name's bytes agrees wherever it can answer.
        const int onBytes = wildcard.matchesAscii(name.toUtf8().constData());
        if (onBytes >= 0)
            QCOMPARE(onBytes == 1, matches);
    }

    void badCharactersFollowWindows1252_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("bad");
        QTest::newRow("abc") << QStringLiteral("abc") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("question mark") << QStringLiteral("a?c") << true;
        QTest::newRow("tab") << QStringLiteral("a\tc") << true;
        QTest::newRow("euro sign, 128") << QStringLiteral("\u20ac") << true;
        QTest::newRow("en dash, 150") << QStringLiteral("\u2013") << true;
        QTest::newRow("right single quote, 146") << QStringLiteral("\u2019") << true;
        QTest::newRow("delete, 127") << QStringLiteral("\u007f") << true;
        QTest::newRow("control 129") << QStringLiteral("\u0081") << true;
        QTest::newRow("no-break space, 160") << QStringLiteral("\u00a0") << false;
        QTest::newRow("e acute, 233") << QStringLiteral("\u00e9") << false;
        QTest::newRow("y diaeresis, 255") << QStringLiteral("\u00ff") << false;
        QTest::newRow("Cyrillic") << QStringLiteral("\u0436") << true;
        QTest::newRow("CJK") << QStringLiteral("\u4e2d") << true;
        QTest::newRow("outside the plane") << QStringLiteral("\U0001F600") << true;
        QTest::newRow("blank and tilde") << QStringLiteral(" ~") << false;
    }
    void badCharactersFollowWindows1252() {
        QFETCH(QString, text);
        QFETCH(bool, bad);
        QCOMPARE(HasBadCharacters(text), bad);
    }

    void windows1252CodesOfTheHighRange() {
        QCOMPARE(windows1252Code(QChar(0x20AC)), 128);
        QCOMPARE(windows1252Code(QChar(0x2019)), 146);
        QCOMPARE(windows1252Code(QChar(0x2013)), 150);
        QCOMPARE(windows1252Code(QChar(0x0178)), 159);
        QCOMPARE(windows1252Code(QChar(0x0160)), 138);
        QCOMPARE(windows1252Code(QChar(0x0436)), 63);
    }

    void attributesAsNumbers() {
        makeFile(root() + QStringLiteral("plain"));
        makeFile(root() + QStringLiteral(".dot"));
        makeFile(root() + QStringLiteral(".readonly"));
        QVERIFY(::chmod(QFile::encodeName(root() + QStringLiteral(".readonly")).constData(),
                        0444) == 0);
        makeFolder(root() + QStringLiteral("dir"));
        makeFolder(root() + QStringLiteral(".dotdir"));
        QVERIFY(QFile::link(root() + QStringLiteral("plain"), root() + QStringLiteral("flink")));
        QVERIFY(QFile::link(root() + QStringLiteral("dir"), root() + QStringLiteral("dlink")));
        QVERIFY(QFile::link(root() + QStringLiteral("none"), root() + QStringLiteral("broken")));

        QCOMPARE(FileAttributes(root() + QStringLiteral("plain")), 32);
        QCOMPARE(FileAttributes(root() + QStringLiteral(".dot")), 34);
        QCOMPARE(FileAttributes(root() + QStringLiteral(".readonly")), 35);
        QCOMPARE(FileAttributes(root() + QStringLiteral("dir")), 16);
        QCOMPARE(FileAttributes(root() + QStringLiteral("dir/")), 16);
        QCOMPARE(FileAttributes(root() + QStringLiteral(".dotdir/")), 18);
        QCOMPARE(FileAttributes(root() + QStringLiteral("flink")), 1056);
        QCOMPARE(FileAttributes(root() + QStringLiteral("dlink/")), 1040);
        QCOMPARE(FileAttributes(root() + QStringLiteral("broken")), 1056);
        QCOMPARE(FileAttributes(QStringLiteral("/")), 16);
        try {
            FileAttributes(root() + QStringLiteral("missing"));
            QFAIL("a missing path has no attributes");
        } catch (const Failure &failure) {
            QCOMPARE(failure.number(), ErrorNumber::PathNotFound);
        }

        QVERIFY(!AttributesUnreadable(root() + QStringLiteral("plain")));
        QVERIFY(!AttributesUnreadable(root() + QStringLiteral("broken")));
        QVERIFY(AttributesUnreadable(root() + QStringLiteral("missing")));
        QVERIFY(AttributesUnreadable(QString()));
        QVERIFY(
            AttributesUnreadable(root() + QStringLiteral("nul") + QChar(0) + QStringLiteral("x")));
    }

    void browseReturnsTheFolderWithoutTrailingSeparator_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("folder") << "/home/user/docs"
                                << "/home/user/docs";
        QTest::newRow("trailing separator") << "/home/user/docs/"
                                            << "/home/user/docs";
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("cancel") << ""
                                << "";
    }
    void browseReturnsTheFolderWithoutTrailingSeparator() {
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        FakeWindow ui;
        ui.folderAnswers.append(answer);
        QCOMPARE(BrowseForFolder(ui, QStringLiteral("Please select folder:"), root()), expected);
        QCOMPARE(ui.folderPrompts, QStringList{QStringLiteral("Please select folder:")});
        QCOMPARE(ui.folderStarts, QStringList{root()});
    }
};

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsSet(kChildWalkVariable))
        return childWalk();
    QCoreApplication app(argc, argv);
    FolderWalkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_folderwalk.moc"
