#include "core/PathCodec.h"
#include "core/PathText.h"

#include <QTest>

using namespace plenvoy;

class PathTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trailingSeparatorsGoAndALoneRootStays_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("stripped");
        QTest::newRow("no separator") << QByteArray("/tmp/a") << QByteArray("/tmp/a");
        QTest::newRow("one") << QByteArray("/tmp/a/") << QByteArray("/tmp/a");
        QTest::newRow("several") << QByteArray("/tmp/a///") << QByteArray("/tmp/a");
        QTest::newRow("inner ones stay") << QByteArray("/tmp//a/") << QByteArray("/tmp//a");
        QTest::newRow("root") << QByteArray("/") << QByteArray("/");
        QTest::newRow("root repeated") << QByteArray("///") << QByteArray("/");
        QTest::newRow("relative") << QByteArray("a/") << QByteArray("a");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("byte that is no utf-8") << QByteArray("/x\xff/") << QByteArray("/x\xff");
    }
    void trailingSeparatorsGoAndALoneRootStays() {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, stripped);
        QCOMPARE(withoutTrailingSeparators(path), stripped);
        QCOMPARE(pathToBytes(withoutTrailingSeparators(pathFromBytes(path))), stripped);
    }

    void aRelativePathIsTakenInTheWorkingFolder_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("workingFolder");
        QTest::addColumn<QByteArray>("absolute");
        QTest::newRow("absolute stays")
            << QByteArray("/a/b") << QByteArray("/w") << QByteArray("/a/b");
        QTest::newRow("relative") << QByteArray("b.txt") << QByteArray("/w")
                                  << QByteArray("/w/b.txt");
        QTest::newRow("in the root") << QByteArray("b") << QByteArray("/") << QByteArray("/b");
        QTest::newRow("closing separator of a folder")
            << QByteArray("d//") << QByteArray("/w") << QByteArray("/w/d");
        QTest::newRow("absolute folder")
            << QByteArray("/d/") << QByteArray("/w") << QByteArray("/d");
        QTest::newRow("the root") << QByteArray("/") << QByteArray("/w") << QByteArray("/");
    }
    void aRelativePathIsTakenInTheWorkingFolder() {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, workingFolder);
        QFETCH(QByteArray, absolute);
        QCOMPARE(absolutePath(path, workingFolder), absolute);
    }

    void onlyAnAbsolutePathIsTakenFromTheEnvironment_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("taken");
        QTest::newRow("absolute") << QByteArray("/home/a") << true;
        QTest::newRow("byte that is no utf-8 survives") << QByteArray("/home/\xe9") << true;
        QTest::newRow("relative") << QByteArray("home/a") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void onlyAnAbsolutePathIsTakenFromTheEnvironment() {
        QFETCH(QByteArray, value);
        QFETCH(bool, taken);
        constexpr char kName[] = "PLENVOY_TEST_PATH";
        qputenv(kName, value);
        const std::optional<QString> path = absolutePathFromEnvironment(kName);
        qunsetenv(kName);
        QCOMPARE(path.has_value(), taken);
        if (taken)
            QCOMPARE(pathToBytes(*path), value);
        QVERIFY(!absolutePathFromEnvironment(kName));
    }
};

QTEST_APPLESS_MAIN(PathTextTest)
#include "tst_pathtext.moc"
