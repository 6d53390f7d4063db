#include "CliProcess.h"
#include "TestFiles.h"
#include "core/PathCodec.h"

#include <QtTest>

using plenvoy::pathFromBytes;
using plenvoy::test::setFileTimes;
using plenvoy::test::snapshotOf;
using plenvoy::test::writeFile;

/// plenvoy-cli --layout: the copies of a folder tree, and what --dry-run says of them.
class TestCliLayout : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }

    int cli(const QStringList &arguments, QByteArray *out = nullptr) const {
        const plenvoy::test::CliOutcome outcome = plenvoy::test::runProgram(
            QStringLiteral(PLENVOY_CLI_PATH), arguments,
            {{QStringLiteral("XDG_STATE_HOME"), path(QStringLiteral("state"))}});
        if (out)
            *out = outcome.outBytes;
        return outcome.exitCode;
    }

private Q_SLOTS:
    void layoutsShapeTheOutputFolder_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("expected");
        const QString name = QStringLiteral("IMG_0001 2026-06-12.jpg");
        const QString odd = pathFromBytes("\xff 2026-06-12.jpg");
        QTest::newRow("flat") << QStringLiteral("flat")
                              << QStringList{name, QStringLiteral("IMG_0001 2026-06-12 (2).jpg"),
                                             odd};
        QTest::newRow("tree") << QStringLiteral("tree")
                              << QStringList{QStringLiteral("Holiday/day 1/") + name,
                                             QStringLiteral("Holiday/day 2/") + name,
                                             QStringLiteral("Holiday/") + odd};
        QTest::newRow("dates") << QStringLiteral("dates")
                               << QStringList{QStringLiteral("2026/2026-06-12/") + name,
                                              QStringLiteral("2026/2026-06-12/IMG_0001 "
                                                             "2026-06-12 (2).jpg"),
                                              QStringLiteral("2026/2026-06-12/") + odd};
    }

    void layoutsShapeTheOutputFolder() {
        QFETCH(QString, layout);
        QFETCH(QStringList, expected);
        const QString out = path(QStringLiteral("out-") + layout);
        QVERIFY(QDir().mkpath(out));
        const struct timespec noon { 1'781'265'600, 0 };
        for (const QString &name :
             {QStringLiteral("day 1/IMG_0001.jpg"), QStringLiteral("day 2/IMG_0001.jpg"),
              pathFromBytes("\xff.jpg")}) {
            const QString file = path(QStringLiteral("src/Holiday/") + name);
            QVERIFY(writeFile(file) && setFileTimes(file, noon, noon));
        }
        const QStringList common{
            QStringLiteral("--option"), QStringLiteral("Add last modified date to end of filename"),
            QStringLiteral("--form"),   QStringLiteral("sortable"),
            QStringLiteral("--layout"), layout,
            QStringLiteral("--folder"), path(QStringLiteral("src/Holiday")),
            QStringLiteral("--out"),    out};
        QByteArray planned;
        QCOMPARE(cli(common + QStringList{QStringLiteral("--dry-run")}, &planned), 0);
        // The walk's order is the folders' own: the lines are compared as a set.
        QList<QByteArray> plannedLines = planned.split('\n');
        QList<QByteArray> expectedLines{QByteArray()};
        for (const QString &relative : expected)
            expectedLines.append(plenvoy::pathToBytes(out + QLatin1Char('/') + relative));
        std::sort(plannedLines.begin(), plannedLines.end());
        std::sort(expectedLines.begin(), expectedLines.end());
        QCOMPARE(plannedLines, expectedLines);
        QCOMPARE(cli(common), 0);
        QStringList files;
        const plenvoy::test::TreeSnapshot tree = snapshotOf(out);
        for (auto entry = tree.cbegin(); entry != tree.cend(); ++entry)
            if (entry.value().startsWith(QLatin1String("mode 10")))
                files.append(entry.key().mid(1));
        QStringList sorted = expected;
        sorted.sort();
        QCOMPARE(files, sorted);
        QProcess::execute(QStringLiteral("rm"),
                          {QStringLiteral("-rf"), out, path(QStringLiteral("src"))});
    }

    void skipCopiedLeavesWhatARunCopiedBefore() {
        const QString out = path(QStringLiteral("out-skip"));
        QVERIFY(QDir().mkpath(out) && writeFile(path(QStringLiteral("card/DCIM/a.jpg"))));
        const QStringList arguments{QStringLiteral("--option"),
                                    QString(),
                                    QStringLiteral("--skip-copied"),
                                    QStringLiteral("--folder"),
                                    path(QStringLiteral("card")),
                                    QStringLiteral("--out"),
                                    out};
        QByteArray said;
        QCOMPARE(cli(arguments, &said), 0);
        QCOMPARE(said.split('\n').last(1 + 1).first(), QByteArray("1 copied, 0 not copied"));
        QCOMPARE(cli(arguments, &said), 0);
        QCOMPARE(said.split('\n').last(1 + 1).first(),
                 QByteArray("0 copied, 0 not copied, 1 copied before"));
        // Without the option the file is copied again, over its earlier copy.
        QCOMPARE(cli(arguments.mid(0, 2) + arguments.mid(3), &said), 0);
        QCOMPARE(said.split('\n').last(1 + 1).first(), QByteArray("1 copied, 0 not copied"));
    }

    void unknownLayoutIsAUsageError() {
        QCOMPARE(
            cli({QStringLiteral("--option"), QString(), QStringLiteral("--layout"),
                 QStringLiteral("nested"), QStringLiteral("--dry-run"), path(QStringLiteral("a"))}),
            2);
    }
};

QTEST_GUILESS_MAIN(TestCliLayout)
#include "tst_clilayout.moc"
