#include "engine/RenameOptions.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace plenvoy;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome runCli(const QStringList &arguments, const QStringList &environment = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    for (const QString &entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(PLENVOY_CLI_PATH), arguments);
    Outcome outcome;
    if (!process.waitForFinished(30'000) || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

const QString kAt = QStringLiteral("2026-12-06 14:05:09");

} // namespace

class TestPlenvoyCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsTheOptionsInIndexOrder();
    void dryRunPrintsOneLinePerPath_data();
    void dryRunPrintsOneLinePerPath();
    void failuresAreReportedAndTheRunGoesOn();
    void usageErrorsExitWithTwo_data();
    void usageErrorsExitWithTwo();
    void fileTimesComeFromTheFile();
    void regionalFormsFollowTheLocale_data();
    void regionalFormsFollowTheLocale();
    void helpDescribesEveryOption();
};

void TestPlenvoyCli::listsTheOptionsInIndexOrder() {
    const Outcome outcome = runCli({QStringLiteral("--list-options")});
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.err, QString());
    QCOMPARE(outcome.out, renameOptionTexts().join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void TestPlenvoyCli::dryRunPrintsOneLinePerPath_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    const QString trip = QStringLiteral("/Photos/trip.beach.jpg");
    QTest::newRow("index with --at")
        << QStringList{QStringLiteral("--option"),  QStringLiteral("0"),
                       QStringLiteral("--at"),      kAt,
                       QStringLiteral("--dry-run"), trip}
        << QStringLiteral("/Photos/2-05-09 PM trip.beach.jpg\n");
    QTest::newRow("exact text, several paths in order")
        << QStringList{QStringLiteral("--option=Add current time and date to end of filename"),
                       QStringLiteral("--at=") + kAt,
                       QStringLiteral("--dry-run"),
                       trip,
                       QStringLiteral("/src/Makefile"),
                       QStringLiteral("a.b.c")}
        << QStringLiteral("/Photos/trip.beach 12-6-2026 2-05-09 PM.jpg\n"
                          "/src/Makefile 12-6-2026 2-05-09 PM\n"
                          "a.b 12-6-2026 2-05-09 PM.c\n");
    QTest::newRow("n is rounded half to even")
        << QStringList{QStringLiteral("--option"),  QStringLiteral("2"),
                       QStringLiteral("-n"),        QStringLiteral("2.5"),
                       QStringLiteral("--at"),      kAt,
                       QStringLiteral("--dry-run"), QStringLiteral("/p/abcd.txt")}
        << QStringLiteral("/p/ab2-05-09 PMcd.txt\n");
    QTest::newRow("n beyond the base gives the path back")
        << QStringList{QStringLiteral("--option"),  QStringLiteral("5"),
                       QStringLiteral("-n"),        QStringLiteral("11"),
                       QStringLiteral("--dry-run"), trip}
        << trip + QLatin1Char('\n');
    QTest::newRow("empty option text gives the paths back")
        << QStringList{QStringLiteral("--option"), QString(), QStringLiteral("--dry-run"), trip}
        << trip + QLatin1Char('\n');
    QTest::newRow("unknown option text gives empty lines")
        << QStringList{QStringLiteral("--option"), QStringLiteral("36"),
                       QStringLiteral("--dry-run"), trip, trip}
        << QStringLiteral("\n\n");
    QTest::newRow("after -- a path may start with a dash")
        << QStringList{QStringLiteral("--option"),  QStringLiteral("1"),
                       QStringLiteral("--at"),      kAt,
                       QStringLiteral("--dry-run"), QStringLiteral("--"),
                       QStringLiteral("-x.txt")}
        << QStringLiteral("-x 2-05-09 PM.txt\n");
}

void TestPlenvoyCli::dryRunPrintsOneLinePerPath() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    const Outcome outcome = runCli(arguments);
    QCOMPARE(outcome.err, QString());
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.exitCode, 0);
}

void TestPlenvoyCli::failuresAreReportedAndTheRunGoesOn() {
    const Outcome outcome =
        runCli({QStringLiteral("--option"), QStringLiteral("8"), QStringLiteral("-n"),
                QStringLiteral("-1"), QStringLiteral("--at"), kAt, QStringLiteral("--dry-run"),
                QStringLiteral("/p/a.txt"), QString(), QStringLiteral("/p/")});
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(outcome.out, QStringLiteral("\n\n\n"));
    QCOMPARE(outcome.err,
             QStringLiteral("plenvoy-cli: /p/a.txt: Invalid procedure call or argument\n"
                            "plenvoy-cli: : Subscript out of range\n"
                            "plenvoy-cli: /p/: Subscript out of range\n"));

    const Outcome mixed =
        runCli({QStringLiteral("--option"), QStringLiteral("1"), QStringLiteral("--at"), kAt,
                QStringLiteral("--dry-run"), QStringLiteral("/p/"), QStringLiteral("/p/b.txt")});
    QCOMPARE(mixed.exitCode, 1);
    QCOMPARE(mixed.out, QStringLiteral("\n/p/b 2-05-09 PM.txt\n"));
}

void TestPlenvoyCli::usageErrorsExitWithTwo_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("hint");
    const QString dry = QStringLiteral("--dry-run");
    const QString path = QStringLiteral("/p/a.txt");
    QTest::newRow("nothing") << QStringList() << QStringLiteral("--option");
    QTest::newRow("no option") << QStringList{dry, path} << QStringLiteral("--option");
    QTest::newRow("option without its value")
        << QStringList{QStringLiteral("--option")} << QStringLiteral("needs a value");
    QTest::newRow("after nth without -n")
        << QStringList{QStringLiteral("--option"), QStringLiteral("35"), dry, path}
        << QStringLiteral("needs -n");
    QTest::newRow("n that is no number") << QStringList{QStringLiteral("--option"),
                                                        QStringLiteral("2"),
                                                        QStringLiteral("-n"),
                                                        QStringLiteral("1,000"),
                                                        dry,
                                                        path}
                                         << QStringLiteral("Type mismatch");
    QTest::newRow("n too large") << QStringList{QStringLiteral("--option"),
                                                QStringLiteral("2"),
                                                QStringLiteral("-n"),
                                                QStringLiteral("32767.5"),
                                                dry,
                                                path}
                                 << QStringLiteral("Overflow");
    QTest::newRow("moment of another form") << QStringList{QStringLiteral("--option"),
                                                           QStringLiteral("0"),
                                                           QStringLiteral("--at"),
                                                           QStringLiteral("12/6/2026 2:05:09 PM"),
                                                           dry,
                                                           path}
                                            << QStringLiteral("--at");
    QTest::newRow("moment that does not exist")
        << QStringList{QStringLiteral("--option"),
                       QStringLiteral("0"),
                       QStringLiteral("--at"),
                       QStringLiteral("2026-02-30 10:00:00"),
                       dry,
                       path}
        << QStringLiteral("--at");
    QTest::newRow("unknown switch") << QStringList{QStringLiteral("--option"), QStringLiteral("0"),
                                                   QStringLiteral("--fast"), dry, path}
                                    << QStringLiteral("--fast");
    QTest::newRow("no dry run") << QStringList{QStringLiteral("--option"), QStringLiteral("0"),
                                               path}
                                << QStringLiteral("--dry-run");
    QTest::newRow("no path") << QStringList{QStringLiteral("--option"), QStringLiteral("0"), dry}
                             << QStringLiteral("PATH");
    QTest::newRow("list with more")
        << QStringList{QStringLiteral("--list-options"), path} << QStringLiteral("--list-options");
}

void TestPlenvoyCli::usageErrorsExitWithTwo() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, hint);
    const Outcome outcome = runCli(arguments);
    QCOMPARE(outcome.exitCode, 2);
    QCOMPARE(outcome.out, QString());
    QVERIFY2(outcome.err.startsWith(QLatin1String("plenvoy-cli: ")), qPrintable(outcome.err));
    QVERIFY2(outcome.err.contains(hint), qPrintable(outcome.err));
    QCOMPARE(outcome.err.count(QLatin1Char('\n')), 1);
    QVERIFY(outcome.err.endsWith(QLatin1Char('\n')));
}

void TestPlenvoyCli::fileTimesComeFromTheFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const qint64 access = QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC).toSecsSinceEpoch();
    const qint64 write = QDateTime(QDate(2026, 7, 15), QTime(10, 0, 0), Qt::UTC).toSecsSinceEpoch();
    const struct timespec times[2] = {{time_t(access), 0}, {time_t(write), 0}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);

    const Outcome modified = runCli(
        {QStringLiteral("--option"), QStringLiteral("25"), QStringLiteral("--dry-run"), path},
        {QStringLiteral("TZ=Europe/Berlin")});
    QCOMPARE(modified.exitCode, 0);
    QCOMPARE(modified.out, dir.filePath(QStringLiteral("photo 7-15-2026 12-00-00 PM.jpg\n")));
    const Outcome accessed = runCli(
        {QStringLiteral("--option"), QStringLiteral("30"), QStringLiteral("--dry-run"), path});
    QCOMPARE(accessed.out, dir.filePath(QStringLiteral("03-04-2021 photo.jpg\n")));
}

void TestPlenvoyCli::regionalFormsFollowTheLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("out");
    QTest::newRow("C") << QStringLiteral("C.UTF-8")
                       << QStringLiteral("/p/a 12-6-2026 2-05-09 PM.txt\n");
    QTest::newRow("English (United States)")
        << QStringLiteral("en_US.UTF-8") << QStringLiteral("/p/a 12-6-2026 2-05-09 PM.txt\n");
    QTest::newRow("German") << QStringLiteral("de_DE.UTF-8")
                            << QStringLiteral("/p/a 06.12.2026 14-05-09.txt\n");
}

void TestPlenvoyCli::regionalFormsFollowTheLocale() {
    QFETCH(QString, locale);
    QFETCH(QString, out);
    const Outcome outcome =
        runCli({QStringLiteral("--option"), QStringLiteral("7"), QStringLiteral("--at"), kAt,
                QStringLiteral("--dry-run"), QStringLiteral("/p/a.txt")},
               {QStringLiteral("LC_ALL=") + locale});
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out, out);
}

void TestPlenvoyCli::helpDescribesEveryOption() {
    const Outcome outcome = runCli({QStringLiteral("--help")});
    QCOMPARE(outcome.exitCode, 0);
    for (const char *word :
         {"--list-options", "--option", "-n", "--at", "--dry-run", "--help", "PATH", "Exit status"})
        QVERIFY2(outcome.out.contains(QLatin1String(word)), word);
}

QTEST_GUILESS_MAIN(TestPlenvoyCli)
#include "tst_plenvoycli.moc"
