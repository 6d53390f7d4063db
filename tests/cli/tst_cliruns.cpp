#include "CliProcess.h"
#include "TestFiles.h"
#include "TestMount.h"

#include <QtTest>

#include <csignal>

using plenvoy::test::namesIn;
using plenvoy::test::TestMount;
using plenvoy::test::writeFile;

using Outcome = plenvoy::test::CliOutcome;

/// plenvoy-cli --runs and --undo on real files, each test with a state folder of its own.
class TestCliRuns : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }

    void prepare(QProcess &process) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), path(QStringLiteral("state")));
        process.setProcessEnvironment(env);
    }

    Outcome cli(const QStringList &arguments) const {
        return plenvoy::test::runProgram(
            QStringLiteral(PLENVOY_CLI_PATH), arguments,
            {{QStringLiteral("XDG_STATE_HOME"), path(QStringLiteral("state"))}});
    }

    /// Copies the named files of "src" into the folder with the empty option.
    Outcome copy(const QStringList &names, const QString &folder) const {
        QStringList arguments{QStringLiteral("--option"), QString(), QStringLiteral("--out"),
                              folder};
        for (const QString &name : names)
            arguments.append(path(QStringLiteral("src/") + name));
        return cli(arguments);
    }

private Q_SLOTS:
    void init() {
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(path(QStringLiteral("src"))) &&
                QDir().mkpath(path(QStringLiteral("out"))) &&
                QDir().mkpath(path(QStringLiteral("out2"))));
        for (const char *name : {"a", "b"})
            QVERIFY(writeFile(path(QStringLiteral("src/") + QLatin1String(name)), name));
    }

    void undoExitCodes_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("changeOne");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("copiesLeft");
        const QString undo = QStringLiteral("--undo");
        QTest::newRow("every copy removed") << QStringList{undo} << false << 0 << 0;
        QTest::newRow("a changed copy is left") << QStringList{undo} << true << 1 << 1;
        QTest::newRow("dry run removes nothing")
            << QStringList{undo, QStringLiteral("--dry-run")} << false << 0 << 2;
        QTest::newRow("unknown id") << QStringList{undo, QStringLiteral("zzzz")} << false << 2 << 2;
        QTest::newRow("undo with a run's option")
            << QStringList{undo, QStringLiteral("--quiet")} << false << 2 << 2;
        QTest::newRow("runs with a path")
            << QStringList{QStringLiteral("--runs"), QStringLiteral("x")} << false << 2 << 2;
    }
    void undoExitCodes() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, changeOne);
        QFETCH(int, exitCode);
        QFETCH(int, copiesLeft);
        QCOMPARE(
            copy({QStringLiteral("a"), QStringLiteral("b")}, path(QStringLiteral("out"))).exitCode,
            0);
        if (changeOne)
            QVERIFY(writeFile(path(QStringLiteral("out/b")), "changed"));
        const Outcome outcome = cli(arguments);
        QCOMPARE(outcome.exitCode, exitCode);
        QCOMPARE(namesIn(path(QStringLiteral("out"))).size(), copiesLeft);
        QCOMPARE(namesIn(path(QStringLiteral("src"))).size(), 2);
        // Each removed copy is named on standard output as it goes.
        if (exitCode == 0 && copiesLeft == 0)
            QCOMPARE(outcome.out, path(QStringLiteral("out/a")) + QLatin1Char('\n') +
                                      path(QStringLiteral("out/b")) + QLatin1Char('\n'));
        if (changeOne)
            QVERIFY2(outcome.err.contains(path(QStringLiteral("out/b")) +
                                          QStringLiteral(": left: its size changed")),
                     qPrintable(outcome.err));
    }

    void runsListsNewestFirst() {
        copy({QStringLiteral("a")}, path(QStringLiteral("out")));
        QTest::qWait(1100); // records are named by the second they started
        copy({QStringLiteral("a"), QStringLiteral("missing")}, path(QStringLiteral("out2")));
        QCOMPARE(cli({QStringLiteral("--undo")}).exitCode, 0);
        QVERIFY(namesIn(path(QStringLiteral("out2"))).isEmpty());
        const Outcome runs = cli({QStringLiteral("--runs")});
        QCOMPARE(runs.exitCode, 0);
        const QStringList lines = runs.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].endsWith(QLatin1Char('\t') + path(QStringLiteral("out2")) +
                                   QStringLiteral("\t1 copied, 1 not copied, undone")),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].contains(QStringLiteral("\tcli\t") + path(QStringLiteral("out")) +
                                   QStringLiteral("\t1 copied, 0 not copied")),
                 qPrintable(lines[1]));
        // The older run, by its 4-hex tail; a second undo removes nothing and says so.
        const QString id = lines[1].section(QLatin1Char('\t'), 0, 0);
        const QString tail = id.right(4);
        // A damaged line is named and skipped; the rest of the record still serves.
        QFile record(path(QStringLiteral("state/plenvoy/runs/")) + id + QStringLiteral(".jsonl"));
        QVERIFY(record.open(QIODevice::Append));
        record.write("{\"source\": \"half a li\n");
        record.close();
        const Outcome undone = cli({QStringLiteral("--undo"), tail});
        QCOMPARE(undone.exitCode, 0);
        QVERIFY2(undone.err.contains(id + QStringLiteral(" line 4: damaged, skipped")),
                 qPrintable(undone.err));
        QVERIFY(namesIn(path(QStringLiteral("out"))).isEmpty());
        QVERIFY(
            cli({QStringLiteral("--undo"), tail}).err.contains(QStringLiteral("nothing removed")));
    }

    void killedRunLeavesWhatItDid() {
        SKIP_WITHOUT_MOUNT(TestMount::Kind::TestFs);
        TestMount mount;
        QVERIFY2(mount.mount(TestMount::Kind::TestFs, {QStringLiteral("write_rate=2000000")}),
                 qPrintable(mount.error()));
        QStringList names;
        for (int i = 0; i < 300; ++i) {
            names.append(QStringLiteral("f%1").arg(i));
            QVERIFY(writeFile(path(QStringLiteral("src/") + names.last()), QByteArray(20000, 'x')));
        }
        QProcess process;
        prepare(process);
        QStringList arguments{QStringLiteral("--option"), QString(), QStringLiteral("--quiet"),
                              QStringLiteral("--out"), mount.path()};
        for (const QString &name : names)
            arguments.append(path(QStringLiteral("src/") + name));
        process.start(QStringLiteral(PLENVOY_CLI_PATH), arguments);
        QVERIFY(process.waitForStarted());
        // Ended once some copies are made (about ten a tenth of a second), long before its end.
        QTRY_VERIFY_WITH_TIMEOUT(namesIn(mount.path()).size() >= 20, 10'000);
        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(10'000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);

        const Outcome runs = cli({QStringLiteral("--runs")});
        QVERIFY2(runs.out.contains(QStringLiteral("did not finish")), qPrintable(runs.out));
        const int made = namesIn(mount.path()).size();
        QVERIFY(made < names.size());
        const Outcome undone = cli({QStringLiteral("--undo")});
        QCOMPARE(undone.exitCode, 0);
        // Every copy it made was on record, up to the last.
        QCOMPARE(undone.out.count(QLatin1Char('\n')), made);
        QVERIFY(namesIn(mount.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCliRuns)
#include "tst_cliruns.moc"
