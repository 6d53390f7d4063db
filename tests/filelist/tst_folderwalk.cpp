// The folder walk on real trees: its order, links, names, depth, and folders that vanish or
// cannot be read.
#include "FakeWindow.h"
#include "FolderTrees.h"

#include "core/Failure.h"
#include "core/LocationTags.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "filelist/AddFiles.h"
#include "filelist/BrowseForFolder.h"
#include "filelist/FileAttributes.h"
#include "filelist/FileList.h"
#include "filelist/FolderListing.h"
#include "filelist/FolderWalk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;
using namespace plenvoy::test;

namespace {

// Set in the child process that walks a tree as an unprivileged user.
constexpr char kChildWalkVariable[] = "PLENVOY_WALK_AS_CHILD";
// A file whose presence the child also tells.
constexpr char kChildProbeVariable[] = "PLENVOY_WALK_PROBE";

// Walks the folder named by the variable and prints, one a line, the folders, the files
// each lists, what the walk left out, and the error reports.
int childWalk() {
    FakeWindow ui;
    QStringList leftOut;
    const QStringList folders = walk(qEnvironmentVariable(kChildWalkVariable), true, ui, &leftOut);
    QTextStream out(stdout);
    for (const QString &folder : folders)
        out << "folder " << folder << '\n';
    for (const QString &folder : folders) {
        const FolderNames names = ListFolderFiles(folder, QStringLiteral("*.*"));
        for (const QString &name : names.names())
            out << "file " << folder << name << " present " << FileIsPresent(folder + name) << '\n';
    }
    FileList added;
    FakeWindow addingUi;
    addFolderTree(added, qEnvironmentVariable(kChildWalkVariable), QStringLiteral("*"), addingUi);
    for (const QString &path : added.entries())
        out << "added " << path << '\n';
    if (qEnvironmentVariableIsSet(kChildProbeVariable)) {
        const QString probe = qEnvironmentVariable(kChildProbeVariable);
        out << "probe " << probe << " present " << FileIsPresent(probe) << '\n';
    }
    for (const QString &line : leftOut)
        out << "left out " << line << '\n';
    for (const QString &report : ui.errorReports)
        out << "report " << QString(report).replace(QLatin1Char('\r'), QLatin1Char(' ')) << '\n';
    return 0;
}

// Runs childWalk on the folder as an unprivileged user; the lines it printed.
QStringList walkAsUnprivilegedUser(const QString &folder, const QString &probe = QString()) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildWalkVariable), folder);
    if (!probe.isEmpty())
        environment.insert(QString::fromLatin1(kChildProbeVariable), probe);
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                 QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath()});
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return {QStringLiteral("the child failed")};
    return QString::fromUtf8(child.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList linesStartingWith(const QStringList &lines, const QString &start) {
    QStringList kept;
    for (const QString &line : lines) {
        if (line.startsWith(start))
            kept.append(line);
    }
    return kept;
}

bool canDropPrivileges() {
    return ::geteuid() == 0 && !QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty();
}

// Makes a chain of folders below an open folder, one openat at a time, so that the path
// may pass the system's limit; the folder's whole path ends up exactly pathBytes long.
// Each folder on the way gets a file; returns the folders' paths (without separators).
QStringList makeDeepChain(const QString &start, int pathBytes) {
    QStringList made;
    QByteArray path = pathToBytes(start);
    int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY);
    while (fd >= 0 && path.size() < pathBytes) {
        const int left = pathBytes - int(path.size()) - 1;
        const QByteArray name(left > 255 ? 200 : left, 'n');
        if (::mkdirat(fd, name.constData(), 0755) != 0)
            break;
        const int next = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        path += '/' + name;
        made.append(pathFromBytes(path));
        const int file = ::openat(fd, "f.txt", O_CREAT | O_WRONLY, 0644);
        if (file >= 0)
            ::close(file);
    }
    if (fd >= 0)
        ::close(fd);
    return made;
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
        // rm copes with trees deeper than the path limit, which a failed test may leave.
        QCOMPARE(QProcess::execute(QStringLiteral("rm"),
                                   {QStringLiteral("-rf"), m_dir.path() + QStringLiteral("/root")}),
                 0);
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
        QStringList leftOut;
        QCOMPARE(walk(root(), true, ui, &leftOut),
                 (QStringList{root(), root() + QStringLiteral("a/")}));
        QVERIFY(leftOut.isEmpty()); // left out silently
    }

    void aChosenFolderThatIsALinkIsWalked() {
        makeFolder(root() + QStringLiteral("a"));
        const QString link = m_dir.path() + QStringLiteral("/link/");
        QVERIFY(QFile::link(root(), m_dir.path() + QStringLiteral("/link")));
        FakeWindow ui;
        QCOMPARE(walk(link, true, ui), (QStringList{link, link + QStringLiteral("a/")}));
    }

    void onlyControlCharactersKeepASubFolderOut_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("kept");
        QTest::newRow("plain letters") << QStringLiteral("abc") << true;
        QTest::newRow("accented letter") << QStringLiteral("caf\u00e9") << true;
        QTest::newRow("en dash") << QStringLiteral("a\u2013b") << true;
        QTest::newRow("euro sign") << QStringLiteral("\u20ac") << true;
        QTest::newRow("right single quote") << QStringLiteral("it\u2019s") << true;
        QTest::newRow("Cyrillic") << QStringLiteral("\u0436\u0443\u043a") << true;
        QTest::newRow("CJK") << QStringLiteral("\u4e2d\u6587") << true;
        QTest::newRow("outside the plane") << QStringLiteral("\U0001F600") << true;
        QTest::newRow("question mark") << QStringLiteral("what?") << true;
        QTest::newRow("a byte that is not UTF-8") << pathFromBytes("b\xff") << true;
        QTest::newRow("tab character") << QStringLiteral("a\tb") << false;
        QTest::newRow("control character") << QStringLiteral("a\u0001b") << false;
        QTest::newRow("delete") << QStringLiteral("a\u007fb") << false;
        QTest::newRow("control character 133") << QStringLiteral("a\u0085b") << false;
    }
    void onlyControlCharactersKeepASubFolderOut() {
        QFETCH(QString, name);
        QFETCH(bool, kept);
        const QString folder = root() + name + QLatin1Char('/');
        makeFolder(folder + QStringLiteral("below"));
        makeFile(folder + QStringLiteral("below/file.txt"));
        FakeWindow ui;
        QStringList leftOut;
        const QStringList folders = walk(root(), true, ui, &leftOut);
        if (!kept) {
            QCOMPARE(folders, QStringList{root()});
            QCOMPARE(leftOut, QStringList{QStringLiteral("control character: ") + folder});
            return;
        }
        QCOMPARE(folders, (QStringList{root(), folder, folder + QStringLiteral("below/")}));
        QVERIFY(leftOut.isEmpty());
        // The files below are listed, and the listed text names them.
        const QStringList names = ListFolderFiles(folders.last(), QStringLiteral("*.txt")).names();
        QCOMPARE(names, QStringList{QStringLiteral("file.txt")});
        QVERIFY(FileIsPresent(folders.last() + names.first()));
    }

    void namesThatAreNotUtf8AreListedOnceEachAsThemselves() {
        // The decoy is what a lossy conversion makes of the real name.
        const QByteArray real("\xff\xfe.txt");
        const QByteArray decoy("\xef\xbf\xbd\xef\xbf\xbd.txt");
        makeFile(root() + pathFromBytes(real), "real");
        makeFile(root() + pathFromBytes(decoy), "decoy");
        const QStringList names = ListFolderFiles(root(), QStringLiteral("*.txt")).names();
        QCOMPARE(names.size(), 2);
        QCOMPARE(bytesOf(names), (QSet<QByteArray>{real, decoy}));
        for (const QString &name : names) {
            const QString path = root() + name;
            QCOMPARE(contentOf(path),
                     pathToBytes(name) == real ? QByteArray("real") : QByteArray("decoy"));
            QVERIFY(FileIsPresent(path));
            QCOMPARE(FileAttributes(path), 32);
            QVERIFY(!AttributesUnreadable(path));
        }
    }

    void subFoldersNamedInBytesThatAreNotUtf8AreWalkedOnceEach() {
        const QString real = root() + pathFromBytes("d\xff/");
        const QString decoy = root() + QStringLiteral("d\ufffd/");
        makeFolder(real + QStringLiteral("inner"));
        makeFolder(decoy + QStringLiteral("inner"));
        makeFile(real + QStringLiteral("inner/real.txt"));
        FakeWindow ui;
        QStringList leftOut;
        const QStringList folders = walk(root(), true, ui, &leftOut);
        QCOMPARE(folders.size(), 5);
        QCOMPARE(bytesOf(folders), bytesOf({root(), real, decoy, real + QStringLiteral("inner/"),
                                            decoy + QStringLiteral("inner/")}));
        QVERIFY(leftOut.isEmpty());
        const qsizetype inner = folders.indexOf(real + QStringLiteral("inner/"));
        QVERIFY(inner > 0);
        QCOMPARE(ListFolderFiles(folders.at(inner), QStringLiteral("*.txt")).names(),
                 QStringList{QStringLiteral("real.txt")});
    }

    void deepTreesAreWalkedUpToThePathLimit_data() {
        QTest::addColumn<int>("pathBytes");
        QTest::addColumn<bool>("deepestKept");
        QTest::newRow("deepest folder one byte under the limit") << kPathLimitBytes - 1 << true;
        QTest::newRow("deepest folder at the limit") << kPathLimitBytes << false;
    }
    void deepTreesAreWalkedUpToThePathLimit() {
        QFETCH(int, pathBytes);
        QFETCH(bool, deepestKept);
        // Multi-byte names count by their bytes: the first level is Cyrillic.
        const QString first = root() + QString(60, QChar(0x0436));
        makeFolder(first);
        const QStringList chain = QStringList{first} + makeDeepChain(first, pathBytes);
        QCOMPARE(pathToBytes(chain.last()).size(), qsizetype(pathBytes));
        QVERIFY(chain.at(2).size() > 260);
        FakeWindow ui;
        QStringList leftOut;
        const QStringList folders = walk(root(), true, ui, &leftOut);
        QStringList expected{root()};
        for (const QString &folder : chain)
            expected.append(folder + QLatin1Char('/'));
        if (!deepestKept)
            expected.removeLast();
        QCOMPARE(folders, expected);
        QCOMPARE(leftOut, deepestKept ? QStringList()
                                      : QStringList{QStringLiteral("too long: ") + chain.last() +
                                                    QLatin1Char('/')});
        // Every folder walked lists its file, also past 260 characters and at 4095 bytes.
        for (qsizetype i = 1; i < folders.size(); ++i)
            QCOMPARE(ListFolderFiles(folders.at(i), QStringLiteral("*.txt")).upperBound(),
                     i == 1 ? 0 : 1);
        // A folder at the limit cannot be opened: it lists nothing.
        QCOMPARE(ListFolderFiles(chain.last(), QStringLiteral("*.txt")).upperBound(),
                 deepestKept ? 1 : 0);
        // The system's own removal copes with paths past the limit.
        QCOMPARE(QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), first}), 0);
    }

    void pseudoFileSystemsAreLeftOut() {
        FakeWindow ui;
        // The chosen folder stays, but nothing of the pseudo file system below it is taken,
        // and nothing is told.
        QStringList leftOut;
        QCOMPARE(walk(QStringLiteral("/proc/"), true, ui, &leftOut),
                 QStringList{QStringLiteral("/proc/")});
        QVERIFY(leftOut.isEmpty());
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
        QStringList leftOut;
        QCOMPARE(walk(root(), true, ui, &leftOut), QStringList());
        QVERIFY(ui.errorReports.isEmpty());
        QCOMPARE(leftOut, QStringList{QStringLiteral("unreadable: ") + root()});
    }

    void aSubFolderThatVanishesAfterItsFolderWasReadIsToldAsUnreadable() {
        makeFolder(root() + QStringLiteral("a"));
        makeFolder(root() + QStringLiteral("b"));
        FakeWindow ui;
        // Calls 2 and 3 pause over the two names just read.
        ui.onProcessEvents = [&](int call) {
            if (call == 3)
                QDir(root() + QStringLiteral("b")).removeRecursively();
        };
        QStringList leftOut;
        QCOMPARE(walk(root(), false, ui, &leftOut),
                 (QStringList{root(), root() + QStringLiteral("a/")}));
        QCOMPARE(leftOut,
                 QStringList{QStringLiteral("unreadable: ") + root() + QStringLiteral("b/")});
        QVERIFY(ui.errorReports.isEmpty());
    }

    void unreadableFoldersDisappearWithoutMessage() {
        // Run as an unprivileged user, so that the denial is real also when tests run as root.
        if (!canDropPrivileges())
            QSKIP("needs root and setpriv to start the unprivileged child");
        makeFolder(root() + QStringLiteral("a/x"));
        makeFolder(root() + QStringLiteral("b/y"));
        makeFolder(root() + QStringLiteral("c/z"));
        makeFolder(root() + QStringLiteral("d"));
        for (const QString &path :
             QStringList{m_dir.path(), root(), root() + QStringLiteral("b"),
                         root() + QStringLiteral("b/y"), root() + QStringLiteral("d")})
            setMode(path, 0755);
        // Two unreadable folders on one level: both drop out and the walk goes on.
        setMode(root() + QStringLiteral("a"), 0700);
        setMode(root() + QStringLiteral("c"), 0700);

        const QStringList lines = walkAsUnprivilegedUser(root());
        const QStringList folders = linesStartingWith(lines, QStringLiteral("folder "));
        QCOMPARE(setOf(folders),
                 (QSet<QString>{QStringLiteral("folder ") + root(),
                                QStringLiteral("folder ") + root() + QStringLiteral("b/"),
                                QStringLiteral("folder ") + root() + QStringLiteral("d/"),
                                QStringLiteral("folder ") + root() + QStringLiteral("b/y/")}));
        QCOMPARE(folders.first(), QStringLiteral("folder ") + root());
        QCOMPARE(folders.last(), QStringLiteral("folder ") + root() + QStringLiteral("b/y/"));
        // No message, but the walk tells what it left out.
        QVERIFY(linesStartingWith(lines, QStringLiteral("report ")).isEmpty());
        QCOMPARE(setOf(linesStartingWith(lines, QStringLiteral("left out "))),
                 (QSet<QString>{
                     QStringLiteral("left out unreadable: ") + root() + QStringLiteral("a/"),
                     QStringLiteral("left out unreadable: ") + root() + QStringLiteral("c/")}));
    }

    void aFolderThatCannotBeSearchedListsNoFiles() {
        if (!canDropPrivileges())
            QSKIP("needs root and setpriv to start the unprivileged child");
        makeFolder(root() + QStringLiteral("open"));
        makeFolder(root() + QStringLiteral("shut/inner"));
        makeFile(root() + QStringLiteral("open/a.txt"));
        makeFile(root() + QStringLiteral("shut/b.txt"));
        for (const QString &path :
             QStringList{m_dir.path(), root(), root() + QStringLiteral("open")})
            setMode(path, 0755);
        // Readable, so its names can be read, but not searchable: its files cannot be opened.
        setMode(root() + QStringLiteral("shut"), 0644);

        const QString hidden = root() + QStringLiteral("shut/b.txt");
        const QStringList lines = walkAsUnprivilegedUser(root(), hidden);
        QCOMPARE(linesStartingWith(lines, QStringLiteral("probe ")),
                 QStringList{QStringLiteral("probe ") + hidden + QStringLiteral(" present 0")});
        QCOMPARE(
            linesStartingWith(lines, QStringLiteral("file ")),
            QStringList{QStringLiteral("file ") + root() + QStringLiteral("open/a.txt present 1")});
        QVERIFY(lines.contains(QStringLiteral("folder ") + root() + QStringLiteral("shut/")));
        // Its sub-folder cannot be examined either: it is told as unreadable.
        QCOMPARE(linesStartingWith(lines, QStringLiteral("left out ")),
                 QStringList{QStringLiteral("left out unreadable: ") + root() +
                             QStringLiteral("shut/inner/")});
        QVERIFY(linesStartingWith(lines, QStringLiteral("report ")).isEmpty());
    }

    void addingATreeTakesNoFileFromAFolderThatCannotBeSearched() {
        if (!canDropPrivileges())
            QSKIP("needs root and setpriv to start the unprivileged child");
        makeFolder(root() + QStringLiteral("open"));
        makeFolder(root() + QStringLiteral("shut"));
        makeFile(root() + QStringLiteral("open/a.txt"));
        makeFile(root() + QStringLiteral("shut/b.txt"));
        for (const QString &path : QStringList{m_dir.path(), root()})
            setMode(path, 0755);
        setMode(root() + QStringLiteral("shut"), 0644); // its names can be read, not its files
        QCOMPARE(linesStartingWith(walkAsUnprivilegedUser(root()), QStringLiteral("added ")),
                 QStringList{QStringLiteral("added ") + root() + QStringLiteral("open/a.txt")});
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
