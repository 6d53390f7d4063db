#include "batch/FilePlacement.h"
#include "core/Failure.h"

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
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;

namespace {

QByteArray enc(const QString &path) {
    return QFile::encodeName(path);
}

/// A modification time with nanoseconds that no fresh file has.
constexpr struct timespec kOldTime = {981173045, 123456789}; // 2001-02-03

void writeFile(const QString &path, const QByteArray &bytes, mode_t mode = 0644,
               struct timespec mtime = kOldTime) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
    file.close();
    QCOMPARE(::chmod(enc(path).constData(), mode), 0);
    const struct timespec times[2] = {{0, UTIME_OMIT}, mtime};
    QCOMPARE(::utimensat(AT_FDCWD, enc(path).constData(), times, 0), 0);
}

QByteArray randomBytes(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(size);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(generator.bounded(256));
    return bytes;
}

QByteArray contentOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

/// One entry as lstat and its content describe it: kind, mode, size, modification time
/// and the hash of a file's bytes or a link's target.
QString describe(const QString &path) {
    struct stat info {};
    if (::lstat(enc(path).constData(), &info) != 0)
        return QStringLiteral("missing");
    // A folder's own time changes with every name made in it, even one removed again.
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("folder mode %1").arg(info.st_mode, 0, 8);
    QString text = QStringLiteral("mode %1 size %2 mtime %3.%4 ")
                       .arg(info.st_mode, 0, 8)
                       .arg(info.st_size)
                       .arg(info.st_mtim.tv_sec)
                       .arg(info.st_mtim.tv_nsec, 9, 10, QLatin1Char('0'));
    if (S_ISREG(info.st_mode))
        text += QString::fromLatin1(
            QCryptographicHash::hash(contentOf(path), QCryptographicHash::Sha1).toHex());
    else if (S_ISLNK(info.st_mode))
        text += QFile::symLinkTarget(path);
    return text;
}

using Snapshot = QMap<QString, QString>;

/// Every entry below the folder, hidden ones included, links not followed.
void collect(const QString &root, const QString &relative, Snapshot &into) {
    DIR *dir = ::opendir(enc(root + relative).constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        const QString child = relative + QLatin1Char('/') + name;
        into.insert(child, describe(root + child));
        struct stat info {};
        if (::lstat(enc(root + child).constData(), &info) == 0 && S_ISDIR(info.st_mode))
            collect(root, child, into);
    }
    ::closedir(dir);
}

Snapshot snapshot(const QString &root) {
    Snapshot result;
    collect(root, QString(), result);
    return result;
}

/// Describes the differences, for failure messages.
QByteArray difference(const Snapshot &expected, const Snapshot &actual) {
    QStringList lines;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        if (actual.value(it.key()) != it.value())
            lines << it.key() + QStringLiteral(": expected ") + it.value() +
                         QStringLiteral(", found ") + actual.value(it.key(), QStringLiteral("-"));
    for (auto it = actual.cbegin(); it != actual.cend(); ++it)
        if (!expected.contains(it.key()))
            lines << it.key() + QStringLiteral(": unexpected ") + it.value();
    return lines.join(QLatin1Char('\n')).toLocal8Bit();
}

#define COMPARE_TREE(expected, actual)                                                             \
    QVERIFY2((expected) == (actual), difference((expected), (actual)).constData())

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
    void pipeAsSourceDoesNotHang();
    void protectedFilesAreLeftAlone();
    void folderOverflowReachesTheCaller();
    void unprivilegedUser_data();
    void unprivilegedUser();

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
    Snapshot expected = snapshot(m_dir->path());
    expected.insert(QStringLiteral("/out/photo 2001.jpg"), describeAsCopyOf(source));

    PlaceFile(source, destination);

    COMPARE_TREE(expected, snapshot(m_dir->path()));
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
    Snapshot expected = snapshot(m_dir->path());
    expected.insert(QStringLiteral("/out/hard.txt"), describeAsCopyOf(source));
    expected.insert(QStringLiteral("/out/link.txt"), describeAsCopyOf(source));

    PlaceFile(source, path("out/hard.txt"));
    PlaceFile(source, path("out/link.txt"));

    Snapshot actual = snapshot(m_dir->path());
    COMPARE_TREE(expected, actual);
    QCOMPARE(contentOf(path("out/other-name")), QByteArray("old content"));
    QCOMPARE(contentOf(path("target.txt")), QByteArray("link target content"));
}

void TestFilePlacement::destinationEndingInSeparatorTakesTheSourceName() {
    const QString source = path("src/own name.txt");
    writeFile(source, "content");
    Snapshot expected = snapshot(m_dir->path());
    expected.insert(QStringLiteral("/out/own name.txt"), describeAsCopyOf(source));

    PlaceFile(source, path("out/"));

    COMPARE_TREE(expected, snapshot(m_dir->path()));
}

void TestFilePlacement::outputFolderWithClosingSeparatorGivesOneSeparator() {
    const QString source = path("src/a.txt");
    writeFile(source, "content");
    Snapshot expected = snapshot(m_dir->path());
    expected.insert(QStringLiteral("/out/b.txt"), describeAsCopyOf(source));

    PlaceFile(source, path("out/") + QStringLiteral("/b.txt"));

    COMPARE_TREE(expected, snapshot(m_dir->path()));
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
    const Snapshot before = snapshot(m_dir->path());

    if (direct)
        CopyFileQuiet(resolve(source), resolve(destination));
    else
        PlaceFile(resolve(source), resolve(destination));

    COMPARE_TREE(before, snapshot(m_dir->path()));
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
    const Snapshot before = snapshot(m_dir->path());

    detail::copyFileQuiet(source, destination, nullptr, {failAfter, errorNumber});
    COMPARE_TREE(before, snapshot(m_dir->path()));

    // The same call without the fault does copy, so the fault was what stopped it.
    detail::copyFileQuiet(source, destination, nullptr, {});
    QCOMPARE(describe(destination), describeAsCopyOf(source));
}

void TestFilePlacement::fileSizeLimitMidCopyLosesNothing() {
    // A real failure of the kernel's copy: the file-size limit stops it at 1 MiB.
    const QString source = path("src/big.bin");
    writeFile(source, randomBytes(3 << 20));
    writeFile(path("out/earlier.bin"), "the earlier copy");
    const Snapshot before = snapshot(m_dir->path());

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

    COMPARE_TREE(before, snapshot(m_dir->path()));
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
    const Snapshot before = snapshot(m_dir->path());

    detail::copyFileQuiet(source, path("out/far.bin"), nullptr, {1 << 20, EIO});
    COMPARE_TREE(before, snapshot(m_dir->path()));

    PlaceFile(source, path("out/far.bin"));
    PlaceFile(source, path("out/new.bin"));
    QCOMPARE(describe(path("out/far.bin")), describeAsCopyOf(source));
    QCOMPARE(describe(path("out/new.bin")), describeAsCopyOf(source));
}

void TestFilePlacement::pipeAsSourceDoesNotHang() {
    // No writer ever opens the pipe: a blocking open or read would wait for ever.
    QCOMPARE(::mkfifo(enc(path("src/pipe")).constData(), 0600), 0);
    const Snapshot before = snapshot(m_dir->path());
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
    COMPARE_TREE(before, snapshot(m_dir->path()));
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
    const Snapshot before = snapshot(m_dir->path());

    PlaceFile(path("src/a.txt"), path("src/b.txt"), sources);
    PlaceFile(path("src/a.txt"), path("src//b.txt"), sources);
    COMPARE_TREE(before, snapshot(m_dir->path()));

    Snapshot expected = before;
    expected.insert(QStringLiteral("/out/other.txt"), describeAsCopyOf(path("src/a.txt")));
    PlaceFile(path("src/a.txt"), path("out/other.txt"), sources);
    COMPARE_TREE(expected, snapshot(m_dir->path()));
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
    Snapshot expected = snapshot(m_dir->path());
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

    Snapshot actual = snapshot(m_dir->path());
    if (copied) {
        // The new file belongs to the child; its owner is not part of the comparison.
        struct stat info {};
        QCOMPARE(::stat(enc(destination).constData(), &info), 0);
        QCOMPARE(info.st_uid, uid_t(65534));
    }
    COMPARE_TREE(expected, actual);
}

int main(int argc, char **argv) {
    // The child of the unprivileged cases: one placement, as another user.
    if (argc == 4 && qstrcmp(argv[1], "--place-file") == 0) {
        QCoreApplication app(argc, argv);
        PlaceFile(QFile::decodeName(argv[2]), QFile::decodeName(argv[3]));
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestFilePlacement test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fileplacement.moc"
