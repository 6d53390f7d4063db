#include "PlaceFile.h"
#include "TestFiles.h"
#include "TestMount.h"
#include "copying/FilePlacement.h"
#include "core/Failure.h"
#include "core/PathCodec.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace plenvoy;
using plenvoy::test::contentOf;
using plenvoy::test::describeEntry;
using plenvoy::test::namesIn;
using plenvoy::test::setFileTimes;
using plenvoy::test::snapshotOf;
using plenvoy::test::TestMount;
using plenvoy::test::TreeSnapshot;

Q_DECLARE_METATYPE(plenvoy::CopyProblem)
Q_DECLARE_METATYPE(plenvoy::NamingRoute)
Q_DECLARE_METATYPE(plenvoy::test::TestMount::Kind)

namespace {

QByteArray enc(const QString &path) {
    return pathToBytes(path);
}

/// A modification time with nanoseconds that no fresh file has.
constexpr struct timespec kOldTime = {981173045, 123456789}; // 2001-02-03

void writeFile(const QString &path, const QByteArray &bytes, mode_t mode = 0644,
               struct timespec mtime = kOldTime) {
    QVERIFY2(test::writeFile(path, bytes), qPrintable(path));
    QCOMPARE(::chmod(enc(path).constData(), mode), 0);
    QVERIFY(setFileTimes(path, {0, UTIME_OMIT}, mtime));
}

QByteArray randomBytes(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(size);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(generator.bounded(256));
    return bytes;
}

/// How a replacement is expected to look: the source's bytes, mode bits and time.
QString describeAsCopyOf(const QString &source) {
    struct stat info {};
    if (::stat(enc(source).constData(), &info) != 0)
        return QString();
    return QStringLiteral("mode %1 size %2 mtime %3.%4 ")
               .arg(S_IFREG | (info.st_mode & 0777), 0, 8)
               .arg(info.st_size)
               .arg(info.st_mtim.tv_sec)
               .arg(info.st_mtim.tv_nsec, 9, 10, QLatin1Char('0')) +
           QString::fromLatin1(
               QCryptographicHash::hash(contentOf(source), QCryptographicHash::Sha1).toHex());
}

bool isRoot() {
    return ::geteuid() == 0;
}

/// The ways a copy may get its name: an anonymous file, a temporary file with and without
/// the exclusive rename (as on vfat, NFS), and the name written directly where there are
/// no hard links either (FUSE exFAT and FAT).
enum Route { Anonymous, TemporaryFile, TemporaryFileWithoutExclusiveRename, DirectName };

CopyHooks hooksFor(int route) {
    CopyHooks hooks;
    hooks.faults.emplace();
    hooks.faults->withoutAnonymousFile = route != Anonymous;
    hooks.faults->withoutNoReplaceRename = route >= TemporaryFileWithoutExclusiveRename;
    hooks.faults->withoutHardLinks = route == DirectName;
    return hooks;
}

const char *routeName(int route) {
    switch (route) {
    case Anonymous:
        return "anonymous file";
    case TemporaryFile:
        return "temporary file";
    case TemporaryFileWithoutExclusiveRename:
        return "temporary file, no exclusive rename";
    default:
        return "name written directly";
    }
}

CopyResult copyAlone(const QString &source, const QString &destination, const CopyHooks &hooks,
                     ExistingName existing = ExistingName::Replace,
                     const ProtectedFiles *protectedFiles = nullptr) {
    const SourceFile file(source);
    return copySourceFile(file, destination, protectedFiles, existing, hooks);
}

void setTimes(const QString &path, struct timespec atime, struct timespec mtime) {
    const struct timespec times[2] = {atime, mtime};
    QCOMPARE(::utimensat(AT_FDCWD, enc(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

struct stat statusOf(const QString &path) {
    struct stat info {};
    ::stat(enc(path).constData(), &info);
    return info;
}

bool sameTime(const struct timespec &a, const struct timespec &b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

/// An access time that relatime would replace at the first read.
constexpr struct timespec kOldAccess = {1000000000, 111111111}; // 2001-09-09

/// Runs this test program as the unprivileged user; returns its exit code (-1 on a crash).
int runAsNobody(const QStringList &arguments, QByteArray *errors = nullptr) {
    QProcess child;
    child.start(QStringLiteral("setpriv"),
                QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                            QStringLiteral("--clear-groups"),
                            QCoreApplication::applicationFilePath()} +
                    arguments);
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit)
        return -1;
    if (errors)
        *errors = child.readAllStandardError();
    return child.exitCode();
}

bool canActAsNobody() {
    return isRoot() && !QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty();
}

} // namespace

class TestFilePlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void copiesContentTimeAndMode_data();
    void copiesContentTimeAndMode();
    void replacementNeverWritesThroughTheOldName();
    void destinationEndingInSeparatorTakesTheSourceName();
    void outputFolderWithClosingSeparatorGivesOneSeparator();
    void leavesEverythingAsItWas_data();
    void leavesEverythingAsItWas();
    void copyThatFailsHalfWayLosesNothing_data();
    void copyThatFailsHalfWayLosesNothing();
    void fileSizeLimitMidCopyLosesNothing();
    void copiesAcrossFileSystems();
    void forkedChildNamesItsOwnCopy();
    void pipeAsSourceDoesNotHang();
    void protectedFilesAreLeftAlone();
    void folderOverflowReachesTheCaller();
    void unprivilegedUser_data();
    void unprivilegedUser();
    void namesThatAreNotUtf8AreCopiedExactly();
    void sourcesThatAreNoFilesToCopy_data();
    void sourcesThatAreNoFilesToCopy();
    void readingKeepsSourceTimesAndTheCopyCarriesThem_data();
    void readingKeepsSourceTimesAndTheCopyCarriesThem();
    void copyTellsWhy_data();
    void copyTellsWhy();
    void nameThatAppearsDuringTheCopy_data();
    void nameThatAppearsDuringTheCopy();
    void interruptedCopyLeavesNoFile_data();
    void interruptedCopyLeavesNoFile();
    void changedSourceIsNotCopied_data();
    void changedSourceIsNotCopied();
    void holesAreKept_data();
    void holesAreKept();
    void longCopyAsksToGoOn_data();
    void longCopyAsksToGoOn();
    void nothingEscapesTheCopy();
    void unprivilegedProblems_data();
    void unprivilegedProblems();
    void routesOnRealFileSystems_data();
    void routesOnRealFileSystems();
    void killedCopyIsClearedByTheNextRun();
    void permissionBitsAreACourtesy_data();
    void permissionBitsAreACourtesy();
    void slowOutputIsAskedOften();
    void clashIsTheReasonUnderAFullDisk_data();
    void clashIsTheReasonUnderAFullDisk();

private:
    QString path(const QString &name) const { return m_dir->path() + QLatin1Char('/') + name; }
    QString path(const char *name) const { return path(QString::fromUtf8(name)); }
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestFilePlacement::init() {
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("src")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("out")));
}

void TestFilePlacement::copiesContentTimeAndMode_data() {
    QTest::addColumn<bool>("destinationExists");
    QTest::addColumn<int>("sourceMode");
    QTest::addColumn<int>("size");
    QTest::newRow("new name") << false << 0644 << 4096;
    QTest::newRow("existing name replaced") << true << 0644 << 4096;
    QTest::newRow("group-writable mode survives the umask") << false << 0664 << 10;
    QTest::newRow("replaced file takes the source's mode") << true << 0751 << 10;
    QTest::newRow("set-user-id and sticky bits dropped") << false << 07755 << 10;
    QTest::newRow("read-only source") << true << 0444 << 10;
    QTest::newRow("empty source over a file") << true << 0644 << 0;
    QTest::newRow("several megabytes") << true << 0600 << (5 << 20) + 17;
}

void TestFilePlacement::copiesContentTimeAndMode() {
    QFETCH(bool, destinationExists);
    QFETCH(int, sourceMode);
    QFETCH(int, size);
    const QString source = path("src/photo.jpg");
    const QString destination = path("out/photo 2001.jpg");
    writeFile(source, randomBytes(size), mode_t(sourceMode));
    if (destinationExists)
        writeFile(destination, QByteArray("an older copy, longer than some sources"), 0600,
                  {12345, 0});
    TreeSnapshot expected = snapshotOf(m_dir->path());
    expected.insert(QStringLiteral("/out/photo 2001.jpg"), describeAsCopyOf(source));

    PlaceFile(source, destination);

    COMPARE_TREE(expected, snapshotOf(m_dir->path()));
}

void TestFilePlacement::forkedChildNamesItsOwnCopy() {
    // The parent has named a copy and holds a file open at the descriptor number the child's
    // copy will take: the child must name its own copy, not the parent's open file.
    writeFile(path("src/parent.txt"), "parent");
    writeFile(path("src/child.txt"), "child");
    PlaceFile(path("src/parent.txt"), path("out/parent.txt"));
    const QByteArray parentFile = pathToBytes(path("src/parent.txt"));
    const int held[2] = {::open(parentFile.constData(), O_RDONLY),
                         ::open(parentFile.constData(), O_RDONLY)};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(held[0]);
        ::close(held[1]);
        const SourceFile source(path("src/child.txt"));
        const CopyResult result =
            copySourceFile(source, path("out/child.txt"), nullptr, ExistingName::Keep);
        ::_exit(result.copied() ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    ::close(held[0]);
    ::close(held[1]);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QCOMPARE(contentOf(path("out/child.txt")), QByteArray("child"));
}

void TestFilePlacement::replacementNeverWritesThroughTheOldName() {
    // A hard link and a symbolic link show whether the old name was opened for writing:
    // both other names must keep what they had.
    const QString source = path("src/a.txt");
    writeFile(source, "new content");
    writeFile(path("out/hard.txt"), "old content");
    QCOMPARE(::link(enc(path("out/hard.txt")).constData(), enc(path("out/other-name")).constData()),
             0);
    writeFile(path("target.txt"), "link target content");
    QVERIFY(QFile::link(path("target.txt"), path("out/link.txt")));
    TreeSnapshot expected = snapshotOf(m_dir->path());
    expected.insert(QStringLiteral("/out/hard.txt"), describeAsCopyOf(source));
    expected.insert(QStringLiteral("/out/link.txt"), describeAsCopyOf(source));

    PlaceFile(source, path("out/hard.txt"));
    PlaceFile(source, path("out/link.txt"));

    TreeSnapshot actual = snapshotOf(m_dir->path());
    COMPARE_TREE(expected, actual);
    QCOMPARE(contentOf(path("out/other-name")), QByteArray("old content"));
    QCOMPARE(contentOf(path("target.txt")), QByteArray("link target content"));
}

void TestFilePlacement::destinationEndingInSeparatorTakesTheSourceName() {
    const QString source = path("src/own name.txt");
    writeFile(source, "content");
    TreeSnapshot expected = snapshotOf(m_dir->path());
    expected.insert(QStringLiteral("/out/own name.txt"), describeAsCopyOf(source));

    PlaceFile(source, path("out/"));

    COMPARE_TREE(expected, snapshotOf(m_dir->path()));
}

void TestFilePlacement::outputFolderWithClosingSeparatorGivesOneSeparator() {
    const QString source = path("src/a.txt");
    writeFile(source, "content");
    TreeSnapshot expected = snapshotOf(m_dir->path());
    expected.insert(QStringLiteral("/out/b.txt"), describeAsCopyOf(source));

    PlaceFile(source, path("out/") + QStringLiteral("/b.txt"));

    COMPARE_TREE(expected, snapshotOf(m_dir->path()));
}

void TestFilePlacement::leavesEverythingAsItWas_data() {
    // Each row names a source and a destination, relative to the fixture folder; the
    // fixture holds src/a.txt, a read-only out/ro.txt, a folder out/sub, a pipe src/pipe,
    // and links beside them.
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("direct"); // call CopyFileQuiet, skipping PlaceFile's tests
    const auto row = [](const char *name, const char *source, const char *destination,
                        bool alsoDirect = true) {
        for (const bool direct : {false, true})
            if (!direct || alsoDirect)
                QTest::newRow(
                    QByteArray(QByteArray(name) + (direct ? " (copy alone)" : "")).constData())
                    << QString::fromUtf8(source) << QString::fromUtf8(destination) << direct;
    };
    row("destination is the source", "src/a.txt", "src/a.txt");
    row("destination is the source by another spelling", "src/a.txt", "src/./../src/a.txt");
    row("destination is a link to the source", "src/a.txt", "src/link-to-a.txt");
    row("destination is a hard link to the source", "src/a.txt", "out/hard-a.txt");
    row("source reached through a link", "src/link-to-a.txt", "src/a.txt");
    row("read-only destination", "src/a.txt", "out/ro.txt");
    row("destination is a folder", "src/a.txt", "out/sub");
    row("destination is a link to a folder", "src/a.txt", "out/link-to-sub");
    row("destination is a pipe", "src/a.txt", "out/pipe");
    row("destination is a broken link", "src/a.txt", "out/broken");
    row("destination folder missing", "src/a.txt", "missing/a.txt");
    row("destination folder is a file", "src/a.txt", "src/a.txt/b.txt");
    row("source missing", "src/gone.txt", "out/a.txt");
    row("source is a folder", "src", "out/a.txt");
    row("source is a broken link", "out/broken", "out/a.txt");
    row("source is a device", "/dev/null", "out/a.txt");
    // The copy alone would take blanks for relative names.
    row("blank source", "   ", "out/a.txt", false);
    row("blank destination", "src/a.txt", "   ", false);
    row("empty source", "", "out/a.txt");
    row("empty destination", "src/a.txt", "");
}

void TestFilePlacement::leavesEverythingAsItWas() {
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(bool, direct);
    writeFile(path("src/a.txt"), "source content");
    writeFile(path("out/ro.txt"), "read-only content", 0444);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("out/sub")));
    QVERIFY(QFile::link(path("src/a.txt"), path("src/link-to-a.txt")));
    QVERIFY(QFile::link(path("out/sub"), path("out/link-to-sub")));
    QVERIFY(QFile::link(path("out/nowhere"), path("out/broken")));
    QCOMPARE(::link(enc(path("src/a.txt")).constData(), enc(path("out/hard-a.txt")).constData()),
             0);
    QCOMPARE(::mkfifo(enc(path("out/pipe")).constData(), 0600), 0);
    const auto resolve = [&](const QString &name) {
        return name.trimmed().isEmpty() || name.startsWith(QLatin1Char('/')) ? name : path(name);
    };
    const TreeSnapshot before = snapshotOf(m_dir->path());

    if (direct)
        CopyFileQuiet(resolve(source), resolve(destination));
    else
        PlaceFile(resolve(source), resolve(destination));

    COMPARE_TREE(before, snapshotOf(m_dir->path()));
}

void TestFilePlacement::copyThatFailsHalfWayLosesNothing_data() {
    QTest::addColumn<bool>("destinationExists");
    QTest::addColumn<qint64>("failAfter");
    QTest::addColumn<int>("errorNumber");
    QTest::newRow("full disk half-way over an earlier copy") << true << qint64(1 << 20) << ENOSPC;
    QTest::newRow("full disk half-way into a new name") << false << qint64(1 << 20) << ENOSPC;
    QTest::newRow("I/O error before the first byte, earlier copy") << true << qint64(0) << EIO;
    QTest::newRow("I/O error before the first byte, new name") << false << qint64(0) << EIO;
    QTest::newRow("failure one byte short of the end") << true << qint64((3 << 20) - 1) << EIO;
}

void TestFilePlacement::copyThatFailsHalfWayLosesNothing() {
    QFETCH(bool, destinationExists);
    QFETCH(qint64, failAfter);
    QFETCH(int, errorNumber);
    const QString source = path("src/big.bin");
    const QString destination = path("out/big.bin");
    writeFile(source, randomBytes(3 << 20));
    if (destinationExists)
        writeFile(destination, "the earlier copy", 0640, {12345, 678});
    const TreeSnapshot before = snapshotOf(m_dir->path());

    detail::copyFileQuiet(source, destination, nullptr, {failAfter, errorNumber});
    COMPARE_TREE(before, snapshotOf(m_dir->path()));

    // The same call without the fault does copy, so the fault was what stopped it.
    detail::copyFileQuiet(source, destination, nullptr, {});
    QCOMPARE(describeEntry(destination), describeAsCopyOf(source));
}

void TestFilePlacement::fileSizeLimitMidCopyLosesNothing() {
    // A real failure of the kernel's copy: the file-size limit stops it at 1 MiB.
    const QString source = path("src/big.bin");
    writeFile(source, randomBytes(3 << 20));
    writeFile(path("out/earlier.bin"), "the earlier copy");
    const TreeSnapshot before = snapshotOf(m_dir->path());

    struct rlimit saved {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 1 << 20;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    PlaceFile(source, path("out/earlier.bin"));
    PlaceFile(source, path("out/new.bin"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    COMPARE_TREE(before, snapshotOf(m_dir->path()));
}

void TestFilePlacement::copiesAcrossFileSystems() {
    // Between two file systems the kernel's copy refuses, and the read and write loop
    // takes over; a fault in that loop loses nothing either.
    struct stat shm {
    }, here{};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(enc(m_dir->path()).constData(), &here) != 0 ||
        shm.st_dev == here.st_dev || ::access("/dev/shm", W_OK) != 0)
        QSKIP("no second file system to copy from");
    QTemporaryDir other(QStringLiteral("/dev/shm/plenvoy-test-XXXXXX"));
    QVERIFY(other.isValid());
    const QString source = other.path() + QStringLiteral("/far.bin");
    writeFile(source, randomBytes((2 << 20) + 5));
    writeFile(path("out/far.bin"), "the earlier copy");
    const TreeSnapshot before = snapshotOf(m_dir->path());

    detail::copyFileQuiet(source, path("out/far.bin"), nullptr, {1 << 20, EIO});
    COMPARE_TREE(before, snapshotOf(m_dir->path()));

    PlaceFile(source, path("out/far.bin"));
    PlaceFile(source, path("out/new.bin"));
    QCOMPARE(describeEntry(path("out/far.bin")), describeAsCopyOf(source));
    QCOMPARE(describeEntry(path("out/new.bin")), describeAsCopyOf(source));
}

void TestFilePlacement::pipeAsSourceDoesNotHang() {
    // No writer ever opens the pipe: a blocking open or read would wait for ever.
    QCOMPARE(::mkfifo(enc(path("src/pipe")).constData(), 0600), 0);
    const TreeSnapshot before = snapshotOf(m_dir->path());
    // An alarm interrupts a wait that should never have begun, so the test fails
    // instead of hanging.
    struct sigaction wake {
    }, previous{};
    wake.sa_handler = [](int) {};
    QCOMPARE(::sigaction(SIGALRM, &wake, &previous), 0);
    QElapsedTimer timer;
    timer.start();
    ::alarm(3);
    CopyFileQuiet(path("src/pipe"), path("out/pipe-copy"));
    PlaceFile(path("src/pipe"), path("out/pipe-copy"));
    ::alarm(0);
    ::sigaction(SIGALRM, &previous, nullptr);
    QVERIFY(timer.elapsed() < 2500);
    COMPARE_TREE(before, snapshotOf(m_dir->path()));
}

void TestFilePlacement::protectedFilesAreLeftAlone() {
    writeFile(path("src/a.txt"), "first source");
    writeFile(path("src/b.txt"), "second source");
    writeFile(path("out/other.txt"), "someone else's file");
    ProtectedFiles sources;
    sources.add(path("src/a.txt"));
    sources.add(path("src/b.txt"));
    sources.add(path("src/never-there.txt"));
    QCOMPARE(sources.size(), std::size_t(2));
    const TreeSnapshot before = snapshotOf(m_dir->path());

    PlaceFile(path("src/a.txt"), path("src/b.txt"), sources);
    PlaceFile(path("src/a.txt"), path("src//b.txt"), sources);
    COMPARE_TREE(before, snapshotOf(m_dir->path()));

    TreeSnapshot expected = before;
    expected.insert(QStringLiteral("/out/other.txt"), describeAsCopyOf(path("src/a.txt")));
    PlaceFile(path("src/a.txt"), path("out/other.txt"), sources);
    COMPARE_TREE(expected, snapshotOf(m_dir->path()));
}

void TestFilePlacement::folderOverflowReachesTheCaller() {
    const QString longDestination =
        path("out/") + QString(40000, QLatin1Char('x')) + QStringLiteral("/a.txt");
    // The copy alone never raises; placing does, even for a missing source.
    CopyFileQuiet(path("src/gone.txt"), longDestination);
    try {
        PlaceFile(path("src/gone.txt"), longDestination);
        QFAIL("PlaceFile returned instead of raising the overflow");
    } catch (const Failure &failure) {
        QCOMPARE(failure.number(), ErrorNumber::Overflow);
    }
}

void TestFilePlacement::unprivilegedUser_data() {
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<bool>("destinationExists");
    QTest::addColumn<int>("destinationMode");
    QTest::addColumn<bool>("copied");
    QTest::newRow("writable folder: copied (the child can copy)") << 0777 << false << 0 << true;
    QTest::newRow("writable folder, writable file: replaced") << 0777 << true << 0666 << true;
    QTest::newRow("read-only folder: nothing written") << 0555 << false << 0 << false;
    QTest::newRow("read-only folder, writable file: left intact") << 0555 << true << 0666 << false;
    QTest::newRow("writable folder, someone else's file: left intact")
        << 0777 << true << 0644 << false;
}

void TestFilePlacement::unprivilegedUser() {
    QFETCH(int, folderMode);
    QFETCH(bool, destinationExists);
    QFETCH(int, destinationMode);
    QFETCH(bool, copied);
    if (!isRoot() || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("needs root and setpriv to act as an unprivileged user");
    QCOMPARE(::chmod(enc(m_dir->path()).constData(), 0755), 0);
    QCOMPARE(::chmod(enc(path("src")).constData(), 0755), 0);
    const QString source = path("src/a.txt");
    const QString destination = path("out/a.txt");
    writeFile(source, "content");
    if (destinationExists)
        writeFile(destination, "earlier", mode_t(destinationMode));
    QCOMPARE(::chmod(enc(path("out")).constData(), mode_t(folderMode)), 0);
    TreeSnapshot expected = snapshotOf(m_dir->path());
    if (copied) {
        expected.insert(QStringLiteral("/out/a.txt"), describeAsCopyOf(source));
    }

    QProcess child;
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                 QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
                 QStringLiteral("--place-file"), source, destination});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             child.readAllStandardError().constData());

    TreeSnapshot actual = snapshotOf(m_dir->path());
    if (copied) {
        // The new file belongs to the child; its owner is not part of the comparison.
        struct stat info {};
        QCOMPARE(::stat(enc(destination).constData(), &info), 0);
        QCOMPARE(info.st_uid, uid_t(65534));
    }
    COMPARE_TREE(expected, actual);
}

void TestFilePlacement::namesThatAreNotUtf8AreCopiedExactly() {
    // Qt's own conversion turns both bytes of the real name into U+FFFD, which names the
    // decoy beside it.
    const QByteArray folder = enc(m_dir->path());
    const QString source = pathFromBytes(folder + "/src/\xff\xfe.txt");
    const QString decoy = QString::fromUtf8("/src/\xef\xbf\xbd\xef\xbf\xbd.txt");
    // Qt can't remove these names with the folder: they go first.
    const auto removeOddNames = qScopeGuard([&] {
        ::unlink(QByteArray(folder + "/src/\xff\xfe.txt").constData());
        ::unlink(QByteArray(folder + "/out/\xfe-copy.txt").constData());
    });
    writeFile(source, "the real file");
    writeFile(m_dir->path() + decoy, "the decoy");
    QVERIFY(hasEscapedBytes(source));

    CopyFileQuiet(source, path("out/plain.txt"));
    QCOMPARE(contentOf(path("out/plain.txt")), QByteArray("the real file"));

    const QString destination = pathFromBytes(folder + "/out/\xfe-copy.txt");
    const CopyResult result = copyAlone(source, destination, {});
    QCOMPARE(result.problem, CopyProblem::None);
    struct stat written {};
    QCOMPARE(::stat(QByteArray(folder + "/out/\xfe-copy.txt").constData(), &written), 0);
    QCOMPARE(written.st_ino, result.inode);
    QCOMPARE(contentOf(destination), QByteArray("the real file"));

    ProtectedFiles listed;
    listed.add(source);
    const struct stat real = statusOf(source);
    const struct stat other = statusOf(m_dir->path() + decoy);
    QVERIFY(listed.contains(real.st_dev, real.st_ino));
    QVERIFY(!listed.contains(other.st_dev, other.st_ino));
}

void TestFilePlacement::sourcesThatAreNoFilesToCopy_data() {
    QTest::addColumn<QString>("source"); // relative to the fixture unless absolute
    QTest::addColumn<CopyProblem>("problem");
    QTest::newRow("regular file") << QStringLiteral("src/a.txt") << CopyProblem::None;
    QTest::newRow("missing") << QStringLiteral("src/gone.txt") << CopyProblem::SourceGone;
    QTest::newRow("below a file") << QStringLiteral("src/a.txt/b") << CopyProblem::SourceGone;
    QTest::newRow("folder") << QStringLiteral("src") << CopyProblem::NotRegularFile;
    QTest::newRow("pipe") << QStringLiteral("src/pipe") << CopyProblem::NotRegularFile;
    QTest::newRow("device") << QStringLiteral("/dev/null") << CopyProblem::NotRegularFile;
    QTest::newRow("proc: pagemap, endless zeros")
        << QStringLiteral("/proc/self/pagemap") << CopyProblem::NotRegularFile;
    QTest::newRow("proc: a status text")
        << QStringLiteral("/proc/self/status") << CopyProblem::NotRegularFile;
    QTest::newRow("sysfs") << QStringLiteral("/sys/kernel/uevent_seqnum")
                           << CopyProblem::NotRegularFile;
}

void TestFilePlacement::sourcesThatAreNoFilesToCopy() {
    QFETCH(QString, source);
    QFETCH(CopyProblem, problem);
    if (!source.startsWith(QLatin1Char('/')))
        source = path(source);
    else if (::access(enc(source).constData(), R_OK) != 0)
        QSKIP("not on this machine");
    writeFile(path("src/a.txt"), "content");
    QCOMPARE(::mkfifo(enc(path("src/pipe")).constData(), 0600), 0);
    const TreeSnapshot before = snapshotOf(m_dir->path());

    const SourceFile file(source);
    QCOMPARE(file.problem(), problem);
    QCOMPARE(file.isOpen(), problem == CopyProblem::None);
    if (problem == CopyProblem::None)
        return;
    QCOMPARE(copySourceFile(file, path("out/copy"), nullptr, ExistingName::Replace).problem,
             problem);
    CopyFileQuiet(source, path("out/copy"));
    COMPARE_TREE(before, snapshotOf(m_dir->path()));
}

void TestFilePlacement::readingKeepsSourceTimesAndTheCopyCarriesThem_data() {
    QTest::addColumn<int>("route");
    QTest::addColumn<bool>("destinationExists");
    for (const int route :
         {Anonymous, TemporaryFile, TemporaryFileWithoutExclusiveRename, DirectName})
        for (const bool exists : {false, true})
            QTest::addRow("%s, %s", routeName(route), exists ? "replacing" : "new name")
                << route << exists;
}

void TestFilePlacement::readingKeepsSourceTimesAndTheCopyCarriesThem() {
    QFETCH(int, route);
    QFETCH(bool, destinationExists);
    const QString source = path("src/a.bin");
    const QString destination = path("out/a.bin");
    const QByteArray content = randomBytes(100000);
    writeFile(source, content, 0640);
    setTimes(source, kOldAccess, kOldTime);
    if (destinationExists)
        writeFile(destination, "earlier");

    const CopyResult result = copyAlone(source, destination, hooksFor(route));

    QCOMPARE(result.problem, CopyProblem::None);
    QCOMPARE(result.replaced, destinationExists);
    const struct stat read = statusOf(source);
    QVERIFY2(sameTime(read.st_atim, kOldAccess), "reading the source changed its access time");
    const struct stat copy = statusOf(destination);
    QVERIFY(sameTime(copy.st_atim, kOldAccess));
    QVERIFY(sameTime(copy.st_mtim, kOldTime));
    QCOMPARE(copy.st_mode, mode_t(S_IFREG | 0640));
    QCOMPARE(copy.st_ino, result.inode);
    QCOMPARE(copy.st_dev, result.device);
    QCOMPARE(contentOf(destination), content);
    // The old entry point reads through the same source and keeps both times too.
    PlaceFile(source, path("out/placed.bin"));
    QVERIFY(sameTime(statusOf(source).st_atim, kOldAccess));
    QVERIFY(sameTime(statusOf(path("out/placed.bin")).st_atim, kOldAccess));
}

void TestFilePlacement::copyTellsWhy_data() {
    // The fixture holds src/a.txt, src/link-to-a.txt, out/old.txt, a listed out/listed.txt,
    // a read-only out/ro.txt, a folder out/sub, a pipe out/pipe and a broken link out/broken.
    QTest::addColumn<int>("route");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<int>("faultErrorNumber");
    QTest::addColumn<CopyProblem>("problem");
    QTest::addColumn<int>("errorNumber");
    const QString longName = QStringLiteral("out/") + QString(256, QLatin1Char('n'));
    for (const int route : {Anonymous, TemporaryFile, DirectName}) {
        const auto row = [&](const char *name, const QString &destination, bool keep, int fault,
                             CopyProblem problem, int errorNumber = 0) {
            QTest::addRow("%s (%s)", name, routeName(route))
                << route << destination << keep << fault << problem << errorNumber;
        };
        row("new name", QStringLiteral("out/new.txt"), false, 0, CopyProblem::None);
        row("replaced", QStringLiteral("out/old.txt"), false, 0, CopyProblem::None);
        row("the source itself", QStringLiteral("src/a.txt"), false, 0, CopyProblem::OwnSource);
        row("a link to the source", QStringLiteral("src/link-to-a.txt"), false, 0,
            CopyProblem::OwnSource);
        row("a listed file", QStringLiteral("out/listed.txt"), false, 0,
            CopyProblem::ListedFileInTheWay);
        row("read-only", QStringLiteral("out/ro.txt"), false, 0, CopyProblem::ReadOnlyInTheWay);
        row("a folder", QStringLiteral("out/sub"), false, 0, CopyProblem::NotAFileInTheWay);
        row("a pipe", QStringLiteral("out/pipe"), false, 0, CopyProblem::NotAFileInTheWay);
        row("a broken link", QStringLiteral("out/broken"), false, 0, CopyProblem::NotAFileInTheWay);
        row("kept name", QStringLiteral("out/old.txt"), true, 0, CopyProblem::NameTaken);
        row("name past 255 bytes", longName, false, 0, CopyProblem::NameTooLong, ENAMETOOLONG);
        row("missing folder", QStringLiteral("nowhere/a.txt"), false, 0, CopyProblem::SystemError,
            ENOENT);
        row("disk full", QStringLiteral("out/new.txt"), false, ENOSPC, CopyProblem::OutputFull,
            ENOSPC);
        row("quota", QStringLiteral("out/old.txt"), false, EDQUOT, CopyProblem::OutputFull, EDQUOT);
        row("file too large", QStringLiteral("out/new.txt"), false, EFBIG, CopyProblem::OutputFull,
            EFBIG);
        row("I/O error", QStringLiteral("out/old.txt"), false, EIO, CopyProblem::SystemError, EIO);
    }
}

void TestFilePlacement::copyTellsWhy() {
    QFETCH(int, route);
    QFETCH(QString, destination);
    QFETCH(bool, keep);
    QFETCH(int, faultErrorNumber);
    QFETCH(CopyProblem, problem);
    QFETCH(int, errorNumber);
    const QString source = path("src/a.txt");
    writeFile(source, randomBytes(300000));
    QVERIFY(QFile::link(source, path("src/link-to-a.txt")));
    writeFile(path("out/old.txt"), "earlier");
    writeFile(path("out/listed.txt"), "listed");
    writeFile(path("out/ro.txt"), "read-only", 0444);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("out/sub")));
    QCOMPARE(::mkfifo(enc(path("out/pipe")).constData(), 0600), 0);
    QVERIFY(QFile::link(path("out/nowhere"), path("out/broken")));
    ProtectedFiles listed;
    listed.add(path("out/listed.txt"));
    TreeSnapshot expected = snapshotOf(m_dir->path());
    const bool existed = expected.contains(QLatin1Char('/') + destination);
    if (problem == CopyProblem::None)
        expected.insert(QLatin1Char('/') + destination, describeAsCopyOf(source));
    CopyHooks hooks = hooksFor(route);
    if (faultErrorNumber != 0) {
        hooks.faults->faultAfterBytes = 100000;
        hooks.faults->faultErrorNumber = faultErrorNumber;
    }

    const CopyResult result = copyAlone(source, path(destination), hooks,
                                        keep ? ExistingName::Keep : ExistingName::Replace, &listed);

    QCOMPARE(result.problem, problem);
    QCOMPARE(result.errorNumber, errorNumber);
    QCOMPARE(result.copied(), problem == CopyProblem::None);
    COMPARE_TREE(expected, snapshotOf(m_dir->path()));
    if (result.copied()) {
        QCOMPARE(result.replaced, existed);
        const struct stat written = statusOf(path(destination));
        QCOMPARE(result.device, written.st_dev);
        QCOMPARE(result.inode, written.st_ino);
    }
}

void TestFilePlacement::nameThatAppearsDuringTheCopy_data() {
    QTest::addColumn<int>("route");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<int>("appearingMode"); // 0: nothing appears
    QTest::addColumn<CopyProblem>("problem");
    for (const int route : {Anonymous, TemporaryFile, TemporaryFileWithoutExclusiveRename}) {
        const auto row = [&](const char *name, bool keep, int mode, CopyProblem problem) {
            QTest::addRow("%s (%s)", name, routeName(route)) << route << keep << mode << problem;
        };
        row("nothing appears: copied", true, 0, CopyProblem::None);
        row("a name kept for a clash is never replaced", true, 0644, CopyProblem::NameTaken);
        row("a read-only file that appeared is left alone", false, 0444,
            CopyProblem::ReadOnlyInTheWay);
        row("a writable file that appeared is replaced as an existing one", false, 0644,
            CopyProblem::None);
        // The run names its copies without looking first: a name found taken when the copy
        // is named is judged then, and a file the run keeps apart is left alone.
        row("a file kept apart that appeared is left alone", false, 0600,
            CopyProblem::ListedFileInTheWay);
    }
}

void TestFilePlacement::nameThatAppearsDuringTheCopy() {
    QFETCH(int, route);
    QFETCH(bool, keep);
    QFETCH(int, appearingMode);
    QFETCH(CopyProblem, problem);
    const QString source = path("src/a.bin");
    const QString destination = path("out/a.bin");
    writeFile(source, randomBytes(64 << 10));
    CopyHooks hooks = hooksFor(route);
    hooks.faults->chunkBytes = 4096;
    hooks.faults->afterFirstChunk = [&] {
        if (appearingMode != 0)
            writeFile(destination, "appeared meanwhile", mode_t(appearingMode), {12345, 0});
    };

    const KeptFileTest keptApart = [&](dev_t device, ino_t inode) {
        const struct stat appeared = statusOf(destination);
        return appearingMode == 0600 && appeared.st_dev == device && appeared.st_ino == inode;
    };
    const SourceFile file(source);
    const int folder = ::open(enc(path("out")).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(folder >= 0);
    const CopyResult result = copySourceFileInto(file, folder, "a.bin", nullptr,
                                                 keep ? ExistingName::Keep : ExistingName::Replace,
                                                 hooks, true, keptApart);
    ::close(folder);

    QCOMPARE(result.problem, problem);
    TreeSnapshot expected;
    if (problem == CopyProblem::None)
        expected.insert(QStringLiteral("/a.bin"), describeAsCopyOf(source));
    else
        expected.insert(QStringLiteral("/a.bin"),
                        QStringLiteral("mode %1 size 18 mtime 12345.000000000 ")
                                .arg(S_IFREG | appearingMode, 0, 8) +
                            QString::fromLatin1(QCryptographicHash::hash("appeared meanwhile",
                                                                         QCryptographicHash::Sha1)
                                                    .toHex()));
    COMPARE_TREE(expected, snapshotOf(path("out")));
    QCOMPARE(result.replaced, problem == CopyProblem::None && appearingMode != 0);
}

void TestFilePlacement::interruptedCopyLeavesNoFile_data() {
    QTest::addColumn<int>("route");
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("destinationExists");
    QTest::newRow("anonymous file, killed, new name") << int(Anonymous) << SIGKILL << false;
    QTest::newRow("anonymous file, killed, replacing") << int(Anonymous) << SIGKILL << true;
    QTest::newRow("temporary file, terminated, new name") << int(TemporaryFile) << SIGTERM << false;
    QTest::newRow("temporary file, terminated, replacing") << int(TemporaryFile) << SIGTERM << true;
    QTest::newRow("temporary file, interrupted") << int(TemporaryFile) << SIGINT << false;
    QTest::newRow("temporary file, hung up") << int(TemporaryFile) << SIGHUP << true;
    QTest::newRow("temporary file, broken pipe") << int(TemporaryFile) << SIGPIPE << false;
    QTest::newRow("name written directly, terminated") << int(DirectName) << SIGTERM << false;
    QTest::newRow("name written directly, replacing") << int(DirectName) << SIGINT << true;
}

void TestFilePlacement::interruptedCopyLeavesNoFile() {
    QFETCH(int, route);
    QFETCH(int, signalNumber);
    QFETCH(bool, destinationExists);
    const QString source = path("src/big.bin");
    const QString destination = path("out/big.bin");
    writeFile(source, randomBytes(1 << 20));
    if (destinationExists)
        writeFile(destination, "the earlier copy", 0640, {12345, 678});
    const TreeSnapshot before = snapshotOf(path("out"));

    // The child stops after its first chunk, so the signal finds the copy half-way.
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--stalled-copy"), source, destination, QString::number(route)});
    QVERIFY(child.waitForStarted());
    QVERIFY(child.waitForReadyRead(20000));
    QCOMPARE(child.readAll(), QByteArray("half-way\n"));
    const TreeSnapshot during = snapshotOf(path("out"));
    if (route == Anonymous) {
        COMPARE_TREE(before, during); // the unfinished copy has no name at all
    } else {
        QCOMPARE(during.size(), before.size() + 1); // the temporary file is there...
    }
    ::kill(pid_t(child.processId()), signalNumber);
    QVERIFY(child.waitForFinished(20000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit); // ...and the signal still ended it

    COMPARE_TREE(before, snapshotOf(path("out")));
}

void TestFilePlacement::changedSourceIsNotCopied_data() {
    QTest::addColumn<int>("route");
    QTest::addColumn<int>("change"); // 0 truncated, 1 grown, 2 rewritten in place
    QTest::addColumn<bool>("destinationExists");
    QTest::newRow("truncated, new name") << int(Anonymous) << 0 << false;
    QTest::newRow("grown, replacing") << int(Anonymous) << 1 << true;
    QTest::newRow("rewritten in place, new name") << int(Anonymous) << 2 << false;
    QTest::newRow("truncated, temporary file") << int(TemporaryFile) << 0 << true;
    QTest::newRow("grown, temporary file") << int(TemporaryFile) << 1 << false;
    QTest::newRow("rewritten in place, temporary file") << int(TemporaryFile) << 2 << true;
    QTest::newRow("grown, name written directly") << int(DirectName) << 1 << false;
}

void TestFilePlacement::changedSourceIsNotCopied() {
    QFETCH(int, route);
    QFETCH(int, change);
    QFETCH(bool, destinationExists);
    const QString source = path("src/log.txt");
    const QString destination = path("out/log.txt");
    writeFile(source, randomBytes(1 << 20));
    if (destinationExists)
        writeFile(destination, "the earlier copy");
    const TreeSnapshot before = snapshotOf(path("out"));
    CopyHooks hooks = hooksFor(route);
    hooks.faults->chunkBytes = 64 << 10;
    hooks.faults->afterFirstChunk = [&] {
        const int fd = ::open(enc(source).constData(), O_WRONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        if (change == 0)
            QCOMPARE(::ftruncate(fd, 100 << 10), 0);
        else
            QCOMPARE(::pwrite(fd, "more", 4, change == 1 ? (1 << 20) : 500000), ssize_t(4));
        ::close(fd);
    };

    const CopyResult result = copyAlone(source, destination, hooks);

    QCOMPARE(result.problem, CopyProblem::SourceChanged);
    COMPARE_TREE(before, snapshotOf(path("out")));
}

void TestFilePlacement::holesAreKept_data() {
    QTest::addColumn<int>("route");
    QTest::addColumn<QList<qint64>>("dataAt"); // 4 KiB blocks of data in 256 MiB
    const QList<qint64> spread = {0, 100 << 20, (256 << 20) - 4096};
    const QList<qint64> inner = {64 << 20, (64 << 20) + 8192};
    QTest::newRow("data at both ends and inside") << int(Anonymous) << spread;
    QTest::newRow("holes at both ends") << int(Anonymous) << inner;
    QTest::newRow("holes at both ends, temporary file") << int(TemporaryFile) << inner;
}

void TestFilePlacement::holesAreKept() {
    QFETCH(int, route);
    QFETCH(QList<qint64>, dataAt);
    constexpr qint64 kSize = qint64(256) << 20;
    const QString source = path("src/sparse.img");
    const QString destination = path("out/sparse.img");
    {
        const int fd = ::open(enc(source).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        const QByteArray block = randomBytes(4096);
        for (const qint64 at : dataAt)
            QCOMPARE(::pwrite(fd, block.constData(), 4096, at), ssize_t(4096));
        QCOMPARE(::ftruncate(fd, kSize), 0);
        ::close(fd);
    }
    const struct stat original = statusOf(source);
    if (original.st_blocks * 512 >= kSize)
        QSKIP("this file system keeps no holes");

    QCOMPARE(copyAlone(source, destination, hooksFor(route)).problem, CopyProblem::None);

    const struct stat copy = statusOf(destination);
    QCOMPARE(copy.st_size, kSize);
    QVERIFY2(
        copy.st_blocks <= original.st_blocks + 64,
        qPrintable(QStringLiteral("%1 blocks for %2").arg(copy.st_blocks).arg(original.st_blocks)));
    QFile a(source), b(destination);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    while (!a.atEnd())
        QVERIFY(a.read(8 << 20) == b.read(8 << 20));
    QVERIFY(b.atEnd());
}

void TestFilePlacement::longCopyAsksToGoOn_data() {
    QTest::addColumn<int>("route");
    QTest::addColumn<bool>("answer");
    QTest::newRow("going on: copied") << int(Anonymous) << true;
    QTest::newRow("stopped: dropped") << int(Anonymous) << false;
    QTest::newRow("stopped: dropped, temporary file") << int(TemporaryFile) << false;
    QTest::newRow("stopped: dropped, name written directly") << int(DirectName) << false;
}

void TestFilePlacement::longCopyAsksToGoOn() {
    QFETCH(int, route);
    QFETCH(bool, answer);
    const QString source = path("src/a.bin");
    const QString destination = path("out/a.bin");
    writeFile(source, randomBytes(64 << 10));
    TreeSnapshot expected = snapshotOf(path("out"));
    if (answer)
        expected.insert(QStringLiteral("/a.bin"), describeAsCopyOf(source));
    int asked = 0;
    CopyHooks hooks = hooksFor(route);
    hooks.faults->chunkBytes = 4096;
    // The first chunk takes longer than the copy waits between two questions.
    hooks.faults->afterFirstChunk = [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(70));
    };
    hooks.keepGoing = [&] {
        ++asked;
        return answer;
    };

    const CopyResult result = copyAlone(source, destination, hooks);

    QCOMPARE(result.problem, answer ? CopyProblem::None : CopyProblem::Dropped);
    QCOMPARE(asked, 1); // the rest of the copy takes well under 50 ms
    COMPARE_TREE(expected, snapshotOf(path("out")));
}

void TestFilePlacement::nothingEscapesTheCopy() {
    const QString source = path("src/a.bin");
    writeFile(source, randomBytes(64 << 10));
    writeFile(path("out/old.bin"), "earlier");
    const TreeSnapshot before = snapshotOf(path("out"));
    for (const int route : {Anonymous, TemporaryFile, DirectName}) {
        CopyHooks hooks = hooksFor(route);
        hooks.faults->chunkBytes = 4096;
        hooks.faults->afterFirstChunk = [] { throw std::runtime_error("a hook that throws"); };
        QCOMPARE(copyAlone(source, path("out/new.bin"), hooks).problem, CopyProblem::SystemError);
        QCOMPARE(copyAlone(source, path("out/old.bin"), hooks).problem, CopyProblem::SystemError);
    }
    COMPARE_TREE(before, snapshotOf(path("out")));

    // The quiet copy keeps the caller's errno, whether it copies or not.
    for (const char *from : {"src/a.bin", "src/gone.bin"}) {
        errno = EILSEQ;
        CopyFileQuiet(path(from), path("out/quiet.bin"));
        QCOMPARE(errno, EILSEQ);
    }
}

void TestFilePlacement::unprivilegedProblems_data() {
    QTest::addColumn<int>("sourceMode");
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<bool>("destinationExists");
    QTest::addColumn<CopyProblem>("problem");
    // Root's file read by another user: the kernel refuses O_NOATIME, the copy goes on.
    QTest::newRow("someone else's readable source is copied")
        << 0644 << 0777 << false << CopyProblem::None;
    QTest::newRow("unreadable source") << 0600 << 0777 << false << CopyProblem::PermissionDenied;
    QTest::newRow("read-only folder") << 0644 << 0555 << false << CopyProblem::PermissionDenied;
    QTest::newRow("someone else's file in the way")
        << 0644 << 0777 << true << CopyProblem::ReadOnlyInTheWay;
}

void TestFilePlacement::unprivilegedProblems() {
    QFETCH(int, sourceMode);
    QFETCH(int, folderMode);
    QFETCH(bool, destinationExists);
    QFETCH(CopyProblem, problem);
    if (!canActAsNobody())
        QSKIP("needs root and setpriv to act as an unprivileged user");
    QCOMPARE(::chmod(enc(m_dir->path()).constData(), 0755), 0);
    QCOMPARE(::chmod(enc(path("src")).constData(), 0755), 0);
    const QString source = path("src/a.txt");
    const QString destination = path("out/a.txt");
    writeFile(source, "content", mode_t(sourceMode));
    if (destinationExists)
        writeFile(destination, "earlier", 0644);
    QCOMPARE(::chmod(enc(path("out")).constData(), mode_t(folderMode)), 0);
    TreeSnapshot expected = snapshotOf(path("out"));
    if (problem == CopyProblem::None)
        expected.insert(QStringLiteral("/a.txt"), describeAsCopyOf(source));

    QByteArray errors;
    QCOMPARE(runAsNobody({QStringLiteral("--copy"), source, destination}, &errors), int(problem));
    QVERIFY2(errors.isEmpty(), errors.constData());
    COMPARE_TREE(expected, snapshotOf(path("out")));
}

void TestFilePlacement::routesOnRealFileSystems_data() {
    QTest::addColumn<TestMount::Kind>("kind");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<NamingRoute>("route");
    QTest::addColumn<bool>("modeKept");
    QTest::addColumn<QString>("refusedName"); // empty: every name is taken
    const QString colon = QStringLiteral("a:b.txt");
    QTest::newRow("FUSE exFAT: no anonymous file, rename flags or links")
        << TestMount::Kind::ExFat << QStringList() << NamingRoute::DirectName << true << colon;
    QTest::newRow("FUSE FAT: the same, and no permission bits")
        << TestMount::Kind::Fat << QStringList() << NamingRoute::DirectName << false << colon;
    QTest::newRow("FUSE with the exclusive rename")
        << TestMount::Kind::TestFs << QStringList() << NamingRoute::ExclusiveRename << true
        << QString();
    QTest::newRow("FUSE with hard links only")
        << TestMount::Kind::TestFs << QStringList{QStringLiteral("no_rename_flags")}
        << NamingRoute::LinkThenUnlink << true << QString();
    QTest::newRow("FUSE with neither")
        << TestMount::Kind::TestFs
        << QStringList{QStringLiteral("no_rename_flags"), QStringLiteral("no_links")}
        << NamingRoute::DirectName << true << QString();
}

void TestFilePlacement::routesOnRealFileSystems() {
    QFETCH(TestMount::Kind, kind);
    QFETCH(QStringList, options);
    QFETCH(NamingRoute, route);
    QFETCH(bool, modeKept);
    QFETCH(QString, refusedName);
    SKIP_WITHOUT_MOUNT(kind);
    TestMount mount;
    QVERIFY2(mount.mount(kind, options), qPrintable(mount.error()));
    const QString out = mount.path() + QStringLiteral("/out");
    QVERIFY(QDir().mkpath(out));
    const QByteArray content = randomBytes(300000);
    writeFile(path("src/a.jpg"), content, 0640);
    writeFile(path("src/b.jpg"), "second", 0640);
    QVERIFY(test::writeFile(out + QStringLiteral("/old.jpg"), "an older copy"));

    NamingRoute found = NamingRoute::Unknown;
    CopyHooks hooks;
    hooks.folderRoute = &found;
    const auto check = [&](const QString &from, const QString &name, bool replaced) {
        const CopyResult result = copyAlone(path(from), out + QLatin1Char('/') + name, hooks);
        QCOMPARE(result.problem, CopyProblem::None);
        QCOMPARE(result.replaced, replaced);
        QCOMPARE(result.modeNotKept, !modeKept && found == route);
        QCOMPARE(contentOf(out + QLatin1Char('/') + name), contentOf(path(from)));
        // FAT keeps the time to two seconds: rounded, not refused.
        const struct stat copy = statusOf(out + QLatin1Char('/') + name);
        QVERIFY2(qAbs(copy.st_mtim.tv_sec - kOldTime.tv_sec) <= 2,
                 qPrintable(QString::number(copy.st_mtim.tv_sec)));
        if (modeKept && kind == TestMount::Kind::TestFs)
            QCOMPARE(copy.st_mode & 0777, mode_t(0640));
    };
    check(QStringLiteral("src/a.jpg"), QStringLiteral("a 2001.jpg"), false);
    QCOMPARE(found, route);
    check(QStringLiteral("src/b.jpg"), QStringLiteral("b 2001.jpg"), false);
    check(QStringLiteral("src/a.jpg"), QStringLiteral("old.jpg"), true);
    QCOMPARE(found, route);
    if (!refusedName.isEmpty()) {
        const CopyResult refused =
            copyAlone(path("src/b.jpg"), out + QLatin1Char('/') + refusedName, hooks);
        QCOMPARE(refused.problem, CopyProblem::NameRefused);
    }
    // No temporary file and no partial copy stays behind.
    QCOMPARE(namesIn(out), (QStringList{QStringLiteral("a 2001.jpg"), QStringLiteral("b 2001.jpg"),
                                        QStringLiteral("old.jpg")}));
    QVERIFY2(mount.unmount(), qPrintable(mount.error()));
}

void TestFilePlacement::killedCopyIsClearedByTheNextRun() {
    const QString source = path("src/big.bin");
    writeFile(source, randomBytes(1 << 20));
    writeFile(path("src/small.txt"), "small");
    // A temporary name of a process that still runs is left alone.
    writeFile(path("out/.plenvoy-1-live.tmp"), "init's copy in progress");
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--stalled-copy"), source, path("out/big.bin"),
                 QString::number(TemporaryFile)});
    QVERIFY(child.waitForStarted());
    QVERIFY(child.waitForReadyRead(20000));
    const qint64 killed = child.processId();
    ::kill(pid_t(killed), SIGKILL);
    QVERIFY(child.waitForFinished(20000));
    const QStringList left = namesIn(path("out"));
    QCOMPARE(left.size(), 2);
    QVERIFY2(left.last().startsWith(QStringLiteral(".plenvoy-%1-").arg(killed)),
             qPrintable(left.last()));

    // The next run into the folder, in a process of its own, clears what the killed one left.
    QProcess next;
    next.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--run-copy"), path("src/small.txt"), path("out/small.txt")});
    QVERIFY(next.waitForFinished(20000));
    QCOMPARE(next.exitCode(), 0);
    QCOMPARE(namesIn(path("out")),
             (QStringList{QStringLiteral(".plenvoy-1-live.tmp"), QStringLiteral("small.txt")}));
}

void TestFilePlacement::permissionBitsAreACourtesy_data() {
    QTest::addColumn<int>("route");
    QTest::addColumn<bool>("exists");
    for (const int route : {TemporaryFile, DirectName})
        for (const bool exists : {false, true})
            QTest::addRow("%s, %s", routeName(route), exists ? "replacing" : "new name")
                << route << exists;
}

void TestFilePlacement::permissionBitsAreACourtesy() {
    QFETCH(int, route);
    QFETCH(bool, exists);
    writeFile(path("src/a.txt"), "content", 0604);
    if (exists)
        writeFile(path("out/a.txt"), "earlier");
    CopyHooks hooks = hooksFor(route);
    hooks.faults->withoutPermissionBits = true;

    const CopyResult result = copyAlone(path("src/a.txt"), path("out/a.txt"), hooks);

    QCOMPARE(result.problem, CopyProblem::None);
    QVERIFY(result.modeNotKept);
    QCOMPARE(contentOf(path("out/a.txt")), QByteArray("content"));
    QCOMPARE(namesIn(path("out")), QStringList{QStringLiteral("a.txt")});
}

void TestFilePlacement::slowOutputIsAskedOften() {
    SKIP_WITHOUT_MOUNT(TestMount::Kind::TestFs);
    TestMount mount;
    QVERIFY2(mount.mount(TestMount::Kind::TestFs, {QStringLiteral("write_rate=4000000")}),
             qPrintable(mount.error()));
    const QByteArray content = randomBytes(2 << 20);
    writeFile(path("src/a.bin"), content);
    int asked = 0;
    CopyHooks hooks;
    hooks.keepGoing = [&] {
        ++asked;
        return true;
    };

    const CopyResult result =
        copyAlone(path("src/a.bin"), mount.path() + QStringLiteral("/a.bin"), hooks);

    QCOMPARE(result.problem, CopyProblem::None);
    QCOMPARE(contentOf(mount.path() + QStringLiteral("/a.bin")), content);
    // Half a second at 4 MB/s in chunks of about 25 ms: asked every 20 to 50 ms.
    QVERIFY2(asked >= 10, qPrintable(QString::number(asked)));
}

void TestFilePlacement::clashIsTheReasonUnderAFullDisk_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<CopyProblem>("problem");
    for (const int size : {4096, 2 << 20}) {
        const auto row = [&](const char *what, const char *name, CopyProblem problem) {
            QTest::addRow("%s, %d bytes", what, size) << QString::fromUtf8(name) << size << problem;
        };
        row("the file itself", "a.txt", CopyProblem::OwnSource);
        row("another listed file", "listed.txt", CopyProblem::ListedFileInTheWay);
        row("a read-only file", "ro.txt", CopyProblem::ReadOnlyInTheWay);
        row("a file to replace", "old.txt", CopyProblem::OutputFull);
        row("a free name", "new.txt", CopyProblem::OutputFull);
    }
}

void TestFilePlacement::clashIsTheReasonUnderAFullDisk() {
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(CopyProblem, problem);
    writeFile(path("out/a.txt"), randomBytes(size));
    writeFile(path("out/listed.txt"), "listed");
    writeFile(path("out/ro.txt"), "read-only", 0444);
    writeFile(path("out/old.txt"), "earlier");
    ProtectedFiles listed;
    listed.add(path("out/listed.txt"));
    const TreeSnapshot before = snapshotOf(path("out"));
    CopyHooks hooks;
    hooks.faults.emplace();
    hooks.faults->faultAfterBytes = 0;
    hooks.faults->faultErrorNumber = ENOSPC;

    const SourceFile file(path("out/a.txt"));
    const int folder = ::open(enc(path("out")).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(folder >= 0);
    const CopyResult result = copySourceFileInto(file, folder, pathToBytes(name), &listed,
                                                 ExistingName::Replace, hooks, true);
    ::close(folder);

    QCOMPARE(result.problem, problem);
    COMPARE_TREE(before, snapshotOf(path("out")));
}

int main(int argc, char **argv) {
    // The child of the unprivileged cases: one copy as another user; the exit code tells
    // the problem.
    if (argc == 4 && qstrcmp(argv[1], "--copy") == 0) {
        QCoreApplication app(argc, argv);
        return int(copyAlone(pathFromBytes(argv[2]), pathFromBytes(argv[3]), {}).problem);
    }
    // The child of the interrupted copies: it says when the copy is half-way and waits there.
    if (argc == 5 && qstrcmp(argv[1], "--stalled-copy") == 0) {
        QCoreApplication app(argc, argv);
        CopyHooks hooks = hooksFor(std::atoi(argv[4]));
        hooks.faults->chunkBytes = 64 << 10;
        hooks.faults->afterFirstChunk = [] {
            std::fputs("half-way\n", stdout);
            std::fflush(stdout);
            ::sleep(60);
        };
        return int(copyAlone(pathFromBytes(argv[2]), pathFromBytes(argv[3]), hooks).problem);
    }
    // The next run into a folder: one copy that finds the folder's route, as a run does.
    if (argc == 4 && qstrcmp(argv[1], "--run-copy") == 0) {
        QCoreApplication app(argc, argv);
        NamingRoute route = NamingRoute::Unknown;
        CopyHooks hooks;
        hooks.folderRoute = &route;
        return int(copyAlone(pathFromBytes(argv[2]), pathFromBytes(argv[3]), hooks).problem);
    }
    // The child of the unprivileged cases: one placement, as another user.
    if (argc == 4 && qstrcmp(argv[1], "--place-file") == 0) {
        QCoreApplication app(argc, argv);
        PlaceFile(pathFromBytes(argv[2]), pathFromBytes(argv[3]));
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestFilePlacement test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fileplacement.moc"
