#include "core/FileIdentity.h"

#include <QtTest>

#include <sys/stat.h>

using namespace plenvoy;

namespace {

constexpr unsigned long kExt4 = 0xEF53;
constexpr unsigned long kMsdos = 0x4d44;
constexpr unsigned long kExfat = 0x2011BAB0;
constexpr unsigned long kFuse = 0x65735546;

constexpr qint64 kMtime = 1'781'265'601'123'456'789;
constexpr qint64 kCtime = 1'781'265'700'000'000'001;

struct timespec timeOf(qint64 ns) {
    struct timespec time {};
    time.tv_sec = ns / 1'000'000'000;
    time.tv_nsec = ns % 1'000'000'000;
    return time;
}

/// The copy as it was written: a regular file of 100 bytes.
struct stat written() {
    struct stat status {};
    status.st_mode = S_IFREG | 0644;
    status.st_dev = 2049;
    status.st_ino = 77;
    status.st_size = 100;
    status.st_mtim = timeOf(kMtime);
    status.st_ctim = timeOf(kCtime);
    return status;
}

/// What was done to the file since it was written.
enum class Since { Nothing, Link, Folder, NewInode, OtherDevice, Grew, Touched, Chmod, Later };

struct stat after(Since since) {
    struct stat status = written();
    switch (since) {
    case Since::Nothing:
        break;
    case Since::Link:
        status.st_mode = S_IFLNK | 0777;
        break;
    case Since::Folder:
        status.st_mode = S_IFDIR | 0755;
        break;
    case Since::NewInode:
        status.st_ino = 78;
        break;
    case Since::OtherDevice:
        status.st_dev = 2050;
        break;
    case Since::Grew:
        status.st_size = 101;
        break;
    case Since::Touched:
        status.st_mtim = timeOf(kMtime + 1);
        break;
    case Since::Chmod:
        status.st_ctim = timeOf(kCtime + 1);
        break;
    case Since::Later:
        // Within two seconds of the written time, as a FAT file system keeps it.
        status.st_mtim = timeOf(kMtime - kMtime % 2'000'000'000 + 1'999'999'999);
        break;
    }
    return status;
}

} // namespace

class TestFileIdentity : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stillTheFileWeWrote_data() {
        QTest::addColumn<unsigned long>("type");
        QTest::addColumn<int>("since");
        QTest::addColumn<int>("change");
        const auto row = [](const char *name, unsigned long type, Since since,
                            IdentityChange change) {
            QTest::newRow(name) << type << int(since) << int(change);
        };
        row("ext4: untouched", kExt4, Since::Nothing, IdentityChange::None);
        row("ext4: a link in its place", kExt4, Since::Link, IdentityChange::LinkInPlace);
        row("ext4: a folder in its place", kExt4, Since::Folder, IdentityChange::AnotherFile);
        row("ext4: another inode", kExt4, Since::NewInode, IdentityChange::AnotherFile);
        row("ext4: another device", kExt4, Since::OtherDevice, IdentityChange::AnotherFile);
        row("ext4: grew", kExt4, Since::Grew, IdentityChange::SizeChanged);
        row("ext4: modified a nanosecond later", kExt4, Since::Touched, IdentityChange::Modified);
        row("ext4: permissions changed", kExt4, Since::Chmod, IdentityChange::StatusChanged);
        row("ext4: modified within two seconds", kExt4, Since::Later, IdentityChange::Modified);
        row("vfat: new inode after a re-plug", kMsdos, Since::NewInode, IdentityChange::None);
        row("vfat: another device", kMsdos, Since::OtherDevice, IdentityChange::None);
        row("vfat: change time not kept", kMsdos, Since::Chmod, IdentityChange::None);
        row("vfat: time within its two seconds", kMsdos, Since::Later, IdentityChange::None);
        row("vfat: grew", kMsdos, Since::Grew, IdentityChange::SizeChanged);
        row("vfat: a link in its place", kMsdos, Since::Link, IdentityChange::LinkInPlace);
        row("vfat: a folder in its place", kMsdos, Since::Folder, IdentityChange::AnotherFile);
        row("exFAT: new inode", kExfat, Since::NewInode, IdentityChange::None);
        row("exFAT: time beyond its ten milliseconds", kExfat, Since::Later,
            IdentityChange::Modified);
        row("FUSE: new inode", kFuse, Since::NewInode, IdentityChange::None);
        row("FUSE: modified a nanosecond later", kFuse, Since::Touched, IdentityChange::Modified);
    }
    void stillTheFileWeWrote() {
        QFETCH(unsigned long, type);
        QFETCH(int, since);
        QFETCH(int, change);
        const FileIdentity identity = FileIdentity::of(written());
        QCOMPARE(int(changeSince(identity, after(Since(since)), IdentityRules::ofType(type))),
                 change);
    }

    void nanosecondsFromATime_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<qint64>("nanoseconds");
        QTest::addColumn<qint64>("total");
        QTest::newRow("the epoch") << qint64(0) << qint64(0) << qint64(0);
        QTest::newRow("nanoseconds only")
            << qint64(0) << qint64(999'999'999) << qint64(999'999'999);
        QTest::newRow("beyond 2038, beyond 32 bits")
            << qint64(4'102'444'800) << qint64(5) << qint64(4'102'444'800'000'000'005);
        QTest::newRow("before 1970") << qint64(-2) << qint64(500'000'000) << qint64(-1'500'000'000);
    }
    void nanosecondsFromATime() {
        QFETCH(qint64, seconds);
        QFETCH(qint64, nanoseconds);
        QFETCH(qint64, total);
        struct timespec time {};
        time.tv_sec = seconds;
        time.tv_nsec = nanoseconds;
        QCOMPARE(nanosecondsOf(time), total);
        struct statx_timestamp stamp {};
        stamp.tv_sec = seconds;
        stamp.tv_nsec = quint32(nanoseconds);
        QCOMPARE(nanosecondsOf(stamp), total);
    }
};

QTEST_GUILESS_MAIN(TestFileIdentity)
#include "tst_fileidentity.moc"
