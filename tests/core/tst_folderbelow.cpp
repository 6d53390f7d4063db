#include "core/FolderBelow.h"
#include "core/PathCodec.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;

namespace {

/// The folder the descriptor holds, by its path below root; empty when it is none of them.
QString folderOf(int fd, const QString &root) {
    struct stat held {};
    if (::fstat(fd, &held) != 0)
        return QStringLiteral("?");
    for (const QString &below : {QString(), QStringLiteral("a"), QStringLiteral("a/b"),
                                 QStringLiteral("new"), QStringLiteral("new/deeper")}) {
        struct stat status {};
        if (::stat(pathToBytes(root + QLatin1Char('/') + below).constData(), &status) == 0 &&
            status.st_dev == held.st_dev && status.st_ino == held.st_ino)
            return below;
    }
    return QStringLiteral("?");
}

} // namespace

class FolderBelowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyPlainNamesAreFollowedAndNoLinkIsTaken_data() {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("make");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("made");
        const QStringList none;
        QTest::newRow("empty is the base itself") << QString() << false << 0 << QString() << none;
        QTest::newRow("existing folders")
            << QStringLiteral("a/b") << false << 0 << QStringLiteral("a/b") << none;
        QTest::newRow("missing, not made")
            << QStringLiteral("new") << false << ENOENT << QString() << none;
        QTest::newRow("missing, made")
            << QStringLiteral("new/deeper") << true << 0 << QStringLiteral("new/deeper")
            << QStringList{QStringLiteral("new"), QStringLiteral("new/deeper")};
        QTest::newRow("a link in the way")
            << QStringLiteral("link/b") << true << ENOTDIR << QString() << none;
        QTest::newRow("a file in the way")
            << QStringLiteral("a/file/c") << true << ENOTDIR << QString() << none;
        QTest::newRow("dot-dot leads out")
            << QStringLiteral("a/../..") << true << EINVAL << QString() << none;
        QTest::newRow("dot") << QStringLiteral(".") << true << EINVAL << QString() << none;
        QTest::newRow("an empty name")
            << QStringLiteral("a//b") << true << EINVAL << QString() << none;
        QTest::newRow("a closing separator")
            << QStringLiteral("a/") << true << EINVAL << QString() << none;
        QTest::newRow("a NUL") << QStringLiteral("new") + QChar(u'\0') + QStringLiteral("x") << true
                               << EINVAL << QString() << none;
    }
    void onlyPlainNamesAreFollowedAndNoLinkIsTaken() {
        QFETCH(QString, relative);
        QFETCH(bool, make);
        QFETCH(int, error);
        QFETCH(QString, opened);
        QFETCH(QStringList, made);
        QTemporaryDir dir;
        const QString root = dir.path() + QStringLiteral("/root");
        const QByteArray rootBytes = pathToBytes(root);
        QCOMPARE(::mkdir(rootBytes.constData(), 0755), 0);
        QCOMPARE(::mkdir(QByteArray(rootBytes + "/a").constData(), 0755), 0);
        QCOMPARE(::mkdir(QByteArray(rootBytes + "/a/b").constData(), 0755), 0);
        QCOMPARE(::symlink("a", QByteArray(rootBytes + "/link").constData()), 0);
        const int file =
            ::open(QByteArray(rootBytes + "/a/file").constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(file >= 0);
        ::close(file);

        const int base = ::open(rootBytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(base >= 0);
        QStringList madeNow;
        const int fd = openFolderBelow(base, relative, make ? &madeNow : nullptr);
        const int errorNumber = errno;
        ::close(base);
        if (error != 0) {
            QCOMPARE(fd, -1);
            QCOMPARE(errorNumber, error);
        } else {
            QVERIFY(fd >= 0);
            QCOMPARE(folderOf(fd, root), opened);
            ::close(fd);
        }
        QCOMPARE(madeNow, made);
        // Nothing was made outside the base.
        QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral("/new")));
    }
};

QTEST_APPLESS_MAIN(FolderBelowTest)
#include "tst_folderbelow.moc"
