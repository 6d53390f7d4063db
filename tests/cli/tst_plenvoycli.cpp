#include "CliProcess.h"
#include "MovieBytes.h"
#include "TestFiles.h"
#include "TestMount.h"
#include "core/PathCodec.h"
#include "naming/RenameOptions.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

using namespace plenvoy;
using plenvoy::test::contentOf;
using plenvoy::test::setFileTimes;
using plenvoy::test::snapshotOf;
using plenvoy::test::TreeSnapshot;

Q_DECLARE_METATYPE(plenvoy::test::TestMount::Kind)

namespace {

using Outcome = plenvoy::test::CliOutcome;

/// Runs plenvoy-cli with each argument as the bytes the path codec makes of it (QProcess
/// would pass them through Qt's lossy conversion); standardOutput, when given, is the
/// descriptor the program writes its standard output to.
Outcome runCli(const QStringList &arguments, const QStringList &environment = {},
               const QString &workingDirectory = {}, int standardOutput = -1) {
    QProcess process;
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    // Run records go to a folder of the test's own, never to the user's.
    static const QTemporaryDir state;
    env.insert(QStringLiteral("XDG_STATE_HOME"), state.path());
    for (const QString &entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    std::vector<QByteArray> strings{QByteArrayLiteral(PLENVOY_CLI_PATH)};
    for (const QString &argument : arguments)
        strings.push_back(pathToBytes(argument));
    std::vector<QByteArray> environmentStrings;
    for (const QString &entry : env.toStringList())
        environmentStrings.push_back(pathToBytes(entry));
    std::vector<char *> argv;
    for (QByteArray &string : strings)
        argv.push_back(string.data());
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (QByteArray &string : environmentStrings)
        envp.push_back(string.data());
    envp.push_back(nullptr);
    process.setChildProcessModifier([&argv, &envp, standardOutput] {
        if (standardOutput >= 0)
            ::dup2(standardOutput, STDOUT_FILENO);
        ::execve(argv.front(), argv.data(), envp.data());
        ::_exit(127);
    });
    process.start(QStringLiteral(PLENVOY_CLI_PATH), {});
    return plenvoy::test::outcomeOf(process);
}

/// What the empty option says on standard error.
const QString kKeepsNames =
    QStringLiteral("plenvoy-cli: warning: the empty option keeps every name as it is\n");

const QString kAt = QStringLiteral("2026-12-06 14:05:09");

/// 2026-07-15 10:00:00 UTC, the modification time of the files that runs copy.
constexpr time_t kWritten = 1'784'109'600;

/// Writes a file under the exact bytes of its path (which may hold escaped bytes).
bool writeFile(const QString &path, const QByteArray &content, time_t modified = kWritten) {
    return test::writeFile(path, content) && setFileTimes(path, {modified, 0}, {modified, 0});
}

/// The arguments with {src} and {out} replaced.
QStringList expanded(QStringList arguments, const QString &src, const QString &out) {
    for (QString &argument : arguments)
        argument.replace(QLatin1String("{src}"), src).replace(QLatin1String("{out}"), out);
    return arguments;
}

QStringList sortedLines(const QString &text) {
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

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
    void fixedFormsAreTheSameInEveryLocale_data();
    void fixedFormsAreTheSameInEveryLocale();
    void patternsWriteTheWholeStamp_data();
    void patternsWriteTheWholeStamp();
    void creationCanBeTheTakenMoment();
    void shiftMovesTakenMomentsOnly_data();
    void shiftMovesTakenMomentsOnly();
    void phonePhotosAreStampedAsTheCameraWroteThem();
    void namesLoseATrailingDotEverywhere_data();
    void namesLoseATrailingDotEverywhere();
    void warningsLeaveTheCallAlone_data();
    void warningsLeaveTheCallAlone();
    void namesAreTakenAndPrintedAsBytes();
    void aFailingStandardOutputStopsOnlyThePrinting_data();
    void aFailingStandardOutputStopsOnlyThePrinting();
    void recordsWithLineBreaks_data();
    void recordsWithLineBreaks();
    void dryRunNumbersClashesAsTheRunDoes_data();
    void dryRunNumbersClashesAsTheRunDoes();
    void dryRunWithoutAFolderChecksOnlyTheList_data();
    void dryRunWithoutAFolderChecksOnlyTheList();

    // --out: the run without a window.
    void runCopiesEveryFileUnderItsNewName_data();
    void runCopiesEveryFileUnderItsNewName();
    void runWithTheClockNamesWhatItWrote();
    void filesNotCopiedAreNamedAndCounted_data();
    void filesNotCopiedAreNamedAndCounted();
    void checksComeInTheWindowsOrder_data();
    void checksComeInTheWindowsOrder();
    void strictArgumentsTouchNothing();
    void removableOutputFolders_data();
    void removableOutputFolders();

    // --folder: adding a folder's files.
    void sourcesAreListedInTheOrderGiven_data();
    void sourcesAreListedInTheOrderGiven();
    void leftOutFoldersAreNamed();
    void extensionFiltersAsTheWindowDoes_data();
    void extensionFiltersAsTheWindowDoes();
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
    const QString trip = QStringLiteral("Photos/trip.beach.jpg");
    QTest::newRow("index with --at")
        << QStringList{QStringLiteral("--option"),  QStringLiteral("0"),
                       QStringLiteral("--at"),      kAt,
                       QStringLiteral("--dry-run"), trip}
        << QStringLiteral("Photos/2-05-09 PM trip.beach.jpg\n");
    QTest::newRow("exact text, several paths in order")
        << QStringList{QStringLiteral("--option=Add current time and date to end of filename"),
                       QStringLiteral("--at=") + kAt,
                       QStringLiteral("--dry-run"),
                       trip,
                       QStringLiteral("src/Makefile"),
                       QStringLiteral("a.b.c")}
        << QStringLiteral("Photos/trip.beach 12-6-2026 2-05-09 PM.jpg\n"
                          "src/Makefile 12-6-2026 2-05-09 PM\n"
                          "a.b 12-6-2026 2-05-09 PM.c\n");
    QTest::newRow("n is rounded half to even")
        << QStringList{QStringLiteral("--option"),  QStringLiteral("2"),
                       QStringLiteral("-n"),        QStringLiteral("2.5"),
                       QStringLiteral("--at"),      kAt,
                       QStringLiteral("--dry-run"), QStringLiteral("p/abcd.txt")}
        << QStringLiteral("p/ab2-05-09 PMcd.txt\n");
    QTest::newRow("n beyond the base gives the path back")
        << QStringList{QStringLiteral("--option"),  QStringLiteral("5"),
                       QStringLiteral("-n"),        QStringLiteral("11"),
                       QStringLiteral("--dry-run"), trip}
        << trip + QLatin1Char('\n');
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
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char *name :
         {"Photos/trip.beach.jpg", "src/Makefile", "a.b.c", "p/abcd.txt", "-x.txt"})
        QVERIFY(writeFile(dir.filePath(QLatin1String(name)), "x"));
    const Outcome outcome = runCli(arguments, {}, dir.path());
    QCOMPARE(outcome.err, QString());
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.exitCode, 0);
}

void TestPlenvoyCli::failuresAreReportedAndTheRunGoesOn() {
    const Outcome outcome =
        runCli({QStringLiteral("--option"), QStringLiteral("8"), QStringLiteral("-n"),
                QStringLiteral("1"), QStringLiteral("--at"), kAt, QStringLiteral("--dry-run"),
                QString(), QStringLiteral("/p/")});
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(outcome.out, QStringLiteral("\n\n"));
    QCOMPARE(outcome.err, QStringLiteral("plenvoy-cli: : Subscript out of range\n"
                                         "plenvoy-cli: /p/: Subscript out of range\n"));

    QTemporaryDir dir;
    QVERIFY(dir.isValid() && writeFile(dir.filePath(QStringLiteral("b.txt")), "b"));
    const Outcome mixed =
        runCli({QStringLiteral("--option"), QStringLiteral("1"), QStringLiteral("--at"), kAt,
                QStringLiteral("--dry-run"), QStringLiteral("/p/"), QStringLiteral("b.txt")},
               {}, dir.path());
    QCOMPARE(mixed.exitCode, 1);
    QCOMPARE(mixed.out, QStringLiteral("\nb 2-05-09 PM.txt\n"));
}

void TestPlenvoyCli::usageErrorsExitWithTwo_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("hint");
    const QString dry = QStringLiteral("--dry-run");
    const QString path = QStringLiteral("/p/a.txt");
    QTest::newRow("nothing") << QStringList() << QStringLiteral("--option");
    QTest::newRow("unknown form") << QStringList{QStringLiteral("--option"),
                                                 QStringLiteral("7"),
                                                 QStringLiteral("--form"),
                                                 QStringLiteral("iso"),
                                                 dry,
                                                 path}
                                  << QStringLiteral("regional, sortable, compact or custom");
    QTest::newRow("unknown creation")
        << QStringList{QStringLiteral("--option"), QStringLiteral("7"),
                       QStringLiteral("--creation=shot"), dry, path}
        << QStringLiteral("file or taken");
    QTest::newRow("form without its value")
        << QStringList{QStringLiteral("--option"), QStringLiteral("7"), QStringLiteral("--form")}
        << QStringLiteral("needs a value");
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
    // Strict where the window cannot be wrong: an option or an n that no file could use.
    for (const char *option : {"36", "99", "-1", "Add current time to end of file name"})
        QTest::newRow(option) << QStringList{QStringLiteral("--option"), QLatin1String(option), dry,
                                             path}
                              << QStringLiteral("names none of the options");
    QTest::newRow("-1 inline") << QStringList{QStringLiteral("--option=-1"), dry, path}
                               << QStringLiteral("names none of the options");
    for (const char *n : {"-1", "-0.6", "1e9", "", "3x"})
        QTest::newRow(QByteArray(QByteArrayLiteral("n ") + n).constData())
            << QStringList{QStringLiteral("--option"),
                           QStringLiteral("2"),
                           QStringLiteral("-n"),
                           QLatin1String(n),
                           dry,
                           path}
            << QStringLiteral("-n \"") + QLatin1String(n) + QLatin1Char('"');
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
    QTest::newRow("list with a folder")
        << QStringList{QStringLiteral("--list-options"), QStringLiteral("--folder"),
                       QStringLiteral("/tmp")}
        << QStringLiteral("--list-options");

    const QString out = QStringLiteral("--out");
    const QString folder = QStringLiteral("--folder");
    const QString extension = QStringLiteral("--extension");
    const QString tmp = QStringLiteral("/tmp");
    QTest::newRow("run of an after-nth option without -n")
        << QStringList{QStringLiteral("--option"), QStringLiteral("35"), out, tmp, path}
        << QStringLiteral("needs -n");
    QTest::newRow("two output folders")
        << QStringList{QStringLiteral("--option"), QStringLiteral("0"), out, tmp, out, tmp, path}
        << QStringLiteral("--out");
    QTest::newRow("output folder without its value")
        << QStringList{QStringLiteral("--option"), QStringLiteral("0"), out}
        << QStringLiteral("needs a value");
    QTest::newRow("extension without a folder") << QStringList{QStringLiteral("--option"),
                                                               QStringLiteral("0"),
                                                               dry,
                                                               extension,
                                                               QStringLiteral("txt"),
                                                               path}
                                                << QStringLiteral("--extension");
    QTest::newRow("extension after a PATH that follows the folder")
        << QStringList{QStringLiteral("--option"),
                       QStringLiteral("0"),
                       dry,
                       folder,
                       tmp,
                       path,
                       extension,
                       QStringLiteral("txt")}
        << QStringLiteral("--extension");
    QTest::newRow("two extensions for one folder") << QStringList{QStringLiteral("--option"),
                                                                  QStringLiteral("0"),
                                                                  dry,
                                                                  folder,
                                                                  tmp,
                                                                  extension,
                                                                  QStringLiteral("txt"),
                                                                  extension,
                                                                  QStringLiteral("jpg")}
                                                   << QStringLiteral("--extension");
    QTest::newRow("empty extension") << QStringList{QStringLiteral("--option"),
                                                    QStringLiteral("0"),
                                                    dry,
                                                    folder,
                                                    tmp,
                                                    extension,
                                                    QString()}
                                     << QStringLiteral("--extension");
    QTest::newRow("empty folder") << QStringList{QStringLiteral("--option"), QStringLiteral("0"),
                                                 dry, folder, QString()}
                                  << QStringLiteral("--folder");
    QTest::newRow("folder without its value")
        << QStringList{QStringLiteral("--option"), QStringLiteral("0"), dry, folder}
        << QStringLiteral("needs a value");
    QTest::newRow("neither dry run nor run")
        << QStringList{QStringLiteral("--option"), QStringLiteral("0"), folder, tmp}
        << QStringLiteral("--out");
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
                       << QStringLiteral("p/a 12-6-2026 2-05-09 PM.txt\n");
    QTest::newRow("English (United States)")
        << QStringLiteral("en_US.UTF-8") << QStringLiteral("p/a 12-6-2026 2-05-09 PM.txt\n");
    QTest::newRow("German") << QStringLiteral("de_DE.UTF-8")
                            << QStringLiteral("p/a 06.12.2026 14-05-09.txt\n");
}

void TestPlenvoyCli::regionalFormsFollowTheLocale() {
    QFETCH(QString, locale);
    QFETCH(QString, out);
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && writeFile(dir.filePath(QStringLiteral("p/a.txt")), "a"));
    const Outcome outcome =
        runCli({QStringLiteral("--option"), QStringLiteral("7"), QStringLiteral("--at"), kAt,
                QStringLiteral("--dry-run"), QStringLiteral("p/a.txt")},
               {QStringLiteral("LC_ALL=") + locale}, dir.path());
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out, out);
}

void TestPlenvoyCli::helpDescribesEveryOption() {
    const Outcome outcome = runCli({QStringLiteral("--help")});
    QCOMPARE(outcome.exitCode, 0);
    for (const char *word : {"--list-options",
                             "--option",
                             "-n",
                             "--at",
                             "--form",
                             "--creation",
                             "sortable",
                             "compact",
                             "taken",
                             "--dry-run",
                             "--out",
                             "--folder",
                             "--extension",
                             "--help",
                             "PATH",
                             "SOURCE -> DESTINATION",
                             "N copied, N not copied",
                             "No files added.",
                             "Exit status",
                             "-0",
                             "--null",
                             "NUL",
                             "not copied: REASON",
                             "renamed to avoid a clash",
                             "standard output cannot be written",
                             "numbered name"})
        QVERIFY2(outcome.out.contains(QLatin1String(word)), word);
}

void TestPlenvoyCli::fixedFormsAreTheSameInEveryLocale_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("out");
    QTest::newRow("sortable, current") << QStringLiteral("sortable") << QStringLiteral("7")
                                       << QStringLiteral("p/a 2026-12-06 14-05-09.txt\n");
    QTest::newRow("compact, current") << QStringLiteral("compact") << QStringLiteral("7")
                                      << QStringLiteral("p/a 20261206-140509.txt\n");
    QTest::newRow("sortable, modified") << QStringLiteral("sortable") << QStringLiteral("25")
                                        << QStringLiteral("p/a 2026-07-15 10-00-00.txt\n");
    QTest::newRow("compact, modified date") << QStringLiteral("compact") << QStringLiteral("21")
                                            << QStringLiteral("p/20260715 a.txt\n");
    QTest::newRow("regional is the default") << QStringLiteral("regional") << QStringLiteral("7")
                                             << QStringLiteral("p/a 12-6-2026 2-05-09 PM.txt\n");
}

void TestPlenvoyCli::fixedFormsAreTheSameInEveryLocale() {
    QFETCH(QString, form);
    QFETCH(QString, option);
    QFETCH(QString, out);
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && writeFile(dir.filePath(QStringLiteral("p/a.txt")), "a"));
    const QStringList locales =
        form == QLatin1String("regional")
            ? QStringList{QStringLiteral("en_US.UTF-8")}
            : QStringList{QStringLiteral("C.UTF-8"), QStringLiteral("de_DE.UTF-8"),
                          QStringLiteral("ar_EG.UTF-8")};
    for (const QString &locale : locales) {
        QStringList arguments{QStringLiteral("--option"),  option,
                              QStringLiteral("--at"),      kAt,
                              QStringLiteral("--dry-run"), QStringLiteral("p/a.txt")};
        if (form != QLatin1String("regional"))
            arguments << QStringLiteral("--form") << form;
        const Outcome outcome = runCli(arguments, {QStringLiteral("LC_ALL=") + locale}, dir.path());
        QCOMPARE(outcome.exitCode, 0);
        QCOMPARE(outcome.out, out);
    }
}

void TestPlenvoyCli::patternsWriteTheWholeStamp_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    const QString both = QStringLiteral("Add current time and date to end of filename");
    const auto row = [](const char *name, const QString &option, const QStringList &style,
                        const char *locale, int exitCode, const char *output) {
        QTest::newRow(name) << (QStringList{QStringLiteral("--option"), option} + style)
                            << QString::fromLatin1(locale) << exitCode << QString::fromUtf8(output);
    };
    const auto pattern = [](const char *text) {
        return QStringList{QStringLiteral("--pattern"), QString::fromUtf8(text)};
    };
    row("English names", both, pattern("%Y%m%d_%H%M%S %a %b"), "C.UTF-8", 0,
        "p/a 20261206_140509 Sun Dec.txt\n");
    row("German names", both, pattern("%A %d. %B"), "de_DE.UTF-8", 0,
        "p/a Sonntag 06. Dezember.txt\n");
    row("the whole stamp of a date option",
        QStringLiteral("Add current date to beginning of filename"), pattern("%H.%M"), "C.UTF-8", 0,
        "p/14.05 a.txt\n");
    row("with --form custom", both,
        QStringList{QStringLiteral("--form"), QStringLiteral("custom"),
                    QStringLiteral("--pattern=%j")},
        "C.UTF-8", 0, "p/a 340.txt\n");
    row("custom without a pattern", both, {QStringLiteral("--form"), QStringLiteral("custom")},
        "C.UTF-8", 2, "--form custom needs --pattern");
    row("pattern with another form", both,
        QStringList{QStringLiteral("--form"), QStringLiteral("sortable")} + pattern("%Y"),
        "C.UTF-8", 2, "--pattern goes with --form custom only");
    row("slash", both, pattern("%Y/%m"), "C.UTF-8", 2, "cannot hold \"/\"");
    row("colon", both, pattern("%H:%M"), "C.UTF-8", 2, "cannot hold \":\"");
    row("unknown token", both, pattern("%Y%Q"), "C.UTF-8", 2, "\"%Q\" is not a token");
    row("empty", both, pattern(""), "C.UTF-8", 2, "empty");
    row("too long", both, pattern("%B%B%B%B%B%B%B%B"), "C.UTF-8", 2, "72 bytes, more than 64");
}

void TestPlenvoyCli::patternsWriteTheWholeStamp() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, locale);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && writeFile(dir.filePath(QStringLiteral("p/a.txt")), "a"));
    const Outcome outcome =
        runCli(arguments + QStringList{QStringLiteral("--at"), kAt, QStringLiteral("--dry-run"),
                                       QStringLiteral("p/a.txt")},
               {QStringLiteral("LC_ALL=") + locale}, dir.path());
    QCOMPARE(outcome.exitCode, exitCode);
    if (exitCode == 0)
        QCOMPARE(outcome.out, output);
    else
        QVERIFY2(outcome.err.contains(output), qPrintable(outcome.err));
}

void TestPlenvoyCli::shiftMovesTakenMomentsOnly_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString taken = QStringLiteral("--creation=taken");
    const QString creation = QStringLiteral("--option=16");
    const QString modified =
        QStringLiteral("--option=Add last modified time and date to end of filename");
    const auto shift = [](const char *value) -> QString {
        return QStringLiteral("--shift=") + QLatin1String(value);
    };
    // The movie was taken at 2024-08-09 10:11:12 UTC and last written at 2026-07-15 10:00:00.
    QTest::newRow("an hour back") << QStringList{creation, taken, shift("-1:00:00")} << 0
                                  << "clip 20240809-091112.mp4\n"
                                  << "";
    QTest::newRow("a day and two hours on")
        << QStringList{creation, taken, shift("+1:02:00:00")} << 0 << "clip 20240810-121112.mp4\n"
        << "";
    QTest::newRow("as a separate argument")
        << QStringList{creation, taken, QStringLiteral("--shift"), QStringLiteral("-0:30:00")} << 0
        << "clip 20240809-094112.mp4\n"
        << "";
    QTest::newRow("into the future") << QStringList{modified, taken, shift("+9999:00:00:00")} << 0
                                     << "clip 20260715-100000.mp4\n"
                                     << "";
    QTest::newRow("not the file's time")
        << QStringList{modified, taken, shift("+5:00:00")} << 0 << "clip 20260715-100000.mp4\n"
        << "";
    QTest::newRow("without taken")
        << QStringList{modified, shift("+5:00:00")} << 0 << "clip 20260715-100000.mp4\n"
        << "--shift is not used without --creation taken";
    for (const char *bad :
         {"1:60:00", "24:00:00", "1h", "+:01:00:00", "1:2:3:4:5", "100000:00:00:00"})
        QTest::newRow(bad) << QStringList{creation, taken, shift(bad)} << 2 << ""
                           << "give [+|-][D:]HH:MM:SS";
}

void TestPlenvoyCli::shiftMovesTakenMomentsOnly() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    const QDateTime shot(QDate(2024, 8, 9), QTime(10, 11, 12), Qt::UTC);
    QVERIFY(dir.isValid() &&
            writeFile(dir.filePath(QStringLiteral("clip.mp4")),
                      test::movieFile(0, test::movieSeconds(shot.toSecsSinceEpoch()))));
    const Outcome outcome =
        runCli(arguments + QStringList{QStringLiteral("--form=compact"),
                                       QStringLiteral("--dry-run"), QStringLiteral("clip.mp4")},
               {}, dir.path());
    QCOMPARE(outcome.exitCode, exitCode);
    QCOMPARE(outcome.out, out);
    QVERIFY2(err.isEmpty() ? outcome.err.isEmpty() : outcome.err.contains(err),
             qPrintable(outcome.err));
}

void TestPlenvoyCli::creationCanBeTheTakenMoment() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("out")));
    const QDateTime shot(QDate(2024, 8, 9), QTime(10, 11, 12), Qt::UTC);
    QVERIFY(writeFile(dir.filePath(QStringLiteral("clip.mp4")),
                      test::movieFile(0, test::movieSeconds(shot.toSecsSinceEpoch()))));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("notes.txt")), "no metadata"));
    const QStringList files{QStringLiteral("clip.mp4"), QStringLiteral("notes.txt")};
    // Option 16: file creation time and date at the end.
    const QStringList taken{QStringLiteral("--option"),   QStringLiteral("16"),
                            QStringLiteral("--form"),     QStringLiteral("compact"),
                            QStringLiteral("--creation"), QStringLiteral("taken")};
    const Outcome dry =
        runCli(taken + QStringList{QStringLiteral("--dry-run")} + files, {}, dir.path());
    QCOMPARE(dry.exitCode, 0);
    // A file without a recorded moment keeps its file time (birth time where kept).
    QVERIFY2(QRegularExpression(QStringLiteral("^clip 20240809-101112\\.mp4\n"
                                               "notes 20\\d{6}-\\d{6}\\.txt\n$"))
                 .match(dry.out)
                 .hasMatch(),
             qPrintable(dry.out));
    QVERIFY(!dry.out.contains(QLatin1String("notes 20240809")));
    // The run reads the same moment through the descriptor it copies from.
    const Outcome run = runCli(taken + QStringList{QStringLiteral("--out"), QStringLiteral("out"),
                                                   QStringLiteral("clip.mp4")},
                               {}, dir.path());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("clip.mp4 -> out/clip 20240809-101112.mp4\n"
                                     "1 copied, 0 not copied\n"));
    // "file", the default, keeps the file's own time.
    const Outcome file =
        runCli({QStringLiteral("--option"), QStringLiteral("16"), QStringLiteral("--form"),
                QStringLiteral("compact"), QStringLiteral("--dry-run"), QStringLiteral("clip.mp4")},
               {}, dir.path());
    QVERIFY2(!file.out.contains(QLatin1String("20240809")), qPrintable(file.out));
}

void TestPlenvoyCli::phonePhotosAreStampedAsTheCameraWroteThem() {
    // Taken at 10:03:40 at -06:00: the stamp shows 10:03:40 in Berlin too.
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("out")));
    const QString photo = QStringLiteral("IMG_3578.heic");
    QVERIFY(QFile::copy(QStringLiteral(PLENVOY_TEST_DATA "/IMG_3578-pruned.heic"),
                        dir.filePath(photo)));
    const QStringList taken{QStringLiteral("--option"),   QStringLiteral("16"),
                            QStringLiteral("--form"),     QStringLiteral("compact"),
                            QStringLiteral("--creation"), QStringLiteral("taken")};
    const QStringList berlin{QStringLiteral("TZ=Europe/Berlin")};
    const Outcome dry =
        runCli(taken + QStringList{QStringLiteral("--dry-run"), photo}, berlin, dir.path());
    QCOMPARE(dry.out, QStringLiteral("IMG_3578 20200417-100340.heic\n"));
    const Outcome run =
        runCli(taken + QStringList{QStringLiteral("--out"), QStringLiteral("out"), photo}, berlin,
               dir.path());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("IMG_3578.heic -> out/IMG_3578 20200417-100340.heic\n"
                                     "1 copied, 0 not copied\n"));
}

void TestPlenvoyCli::namesLoseATrailingDotEverywhere_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("name");
    QTest::newRow("Serbian date") << QStringLiteral("sr_RS.UTF-8")
                                  << QStringLiteral("Add current date to end of filename")
                                  << QStringLiteral("README 6.12.2026");
    QTest::newRow("Hungarian time and date")
        << QStringLiteral("hu_HU.UTF-8")
        << QStringLiteral("Add current time and date to end of filename")
        << QStringLiteral("README 2026. 12. 06. 14-05-09");
    QTest::newRow("Bulgarian time")
        << QStringLiteral("bg_BG.UTF-8") << QStringLiteral("Add current time to end of filename")
        << QStringLiteral("README 14-05-09 ч");
}

void TestPlenvoyCli::namesLoseATrailingDotEverywhere() {
    QFETCH(QString, locale);
    QFETCH(QString, option);
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("out")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("README")), "read me"));
    const QStringList arguments{QStringLiteral("--option=") + option, QStringLiteral("--at"), kAt};
    const QStringList environment{QStringLiteral("LC_ALL=") + locale};
    // The dry run promises the name that the run gives.
    const Outcome dry =
        runCli(arguments + QStringList{QStringLiteral("--dry-run"), QStringLiteral("README")},
               environment, dir.path());
    QCOMPARE(dry.out, name + QLatin1Char('\n'));
    const Outcome run =
        runCli(arguments + QStringList{QStringLiteral("--out"), QStringLiteral("out"),
                                       QStringLiteral("README")},
               environment, dir.path());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(contentOf(dir.filePath(QStringLiteral("out/") + name)), QByteArray("read me"));
}

// The run: a temporary folder holds "src" with the sources and "out" for the copies; the
// program runs in it, so paths read as they are typed.
namespace {

struct RunFolder {
    QTemporaryDir dir;
    QString root() const { return dir.path(); }
    QString path(const QString &relative) const { return dir.filePath(relative); }
    bool fill() {
        return dir.isValid() && QDir(root()).mkpath(QStringLiteral("out")) &&
               writeFile(path(QStringLiteral("src/notes.txt")), "note\n") &&
               writeFile(path(QStringLiteral("src/photo.jpg")), "JPEG data") &&
               writeFile(path(QStringLiteral("src/Makefile")), "all:\n") &&
               writeFile(path(QStringLiteral("src/sub/inner.txt")), "inner\n");
    }
};

} // namespace

void TestPlenvoyCli::runCopiesEveryFileUnderItsNewName_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QStringList>("names");
    const QString option = QStringLiteral("--option");
    const QString at = QStringLiteral("--at");
    const QString out = QStringLiteral("--out");
    const QStringList threePaths{QStringLiteral("{src}/notes.txt"),
                                 QStringLiteral("{src}/photo.jpg"),
                                 QStringLiteral("{src}/Makefile")};
    const QStringList three{QStringLiteral("notes.txt"), QStringLiteral("photo.jpg"),
                            QStringLiteral("Makefile")};
    QTest::newRow("current time at the end")
        << QStringList{option, QStringLiteral("1"), at, kAt, out, QStringLiteral("{out}")} +
               threePaths
        << three
        << QStringList{QStringLiteral("notes 2-05-09 PM.txt"),
                       QStringLiteral("photo 2-05-09 PM.jpg"),
                       QStringLiteral("Makefile 2-05-09 PM")};
    QTest::newRow("output folder typed with a trailing separator")
        << QStringList{option, QStringLiteral("1"), at, kAt, out, QStringLiteral("{out}/")} +
               threePaths
        << three
        << QStringList{QStringLiteral("notes 2-05-09 PM.txt"),
                       QStringLiteral("photo 2-05-09 PM.jpg"),
                       QStringLiteral("Makefile 2-05-09 PM")};
    QTest::newRow("after the nth character, n from -n")
        << QStringList{option,
                       QStringLiteral("2"),
                       QStringLiteral("-n"),
                       QStringLiteral("2"),
                       at,
                       kAt,
                       out,
                       QStringLiteral("{out}")} +
               threePaths
        << three
        << QStringList{QStringLiteral("no2-05-09 PMtes.txt"), QStringLiteral("ph2-05-09 PMoto.jpg"),
                       QStringLiteral("Ma2-05-09 PMkefile")};
    QTest::newRow("the file's own modification time")
        << QStringList{option, QStringLiteral("25"), out, QStringLiteral("{out}")} + threePaths
        << three
        << QStringList{QStringLiteral("notes 7-15-2026 10-00-00 AM.txt"),
                       QStringLiteral("photo 7-15-2026 10-00-00 AM.jpg"),
                       QStringLiteral("Makefile 7-15-2026 10-00-00 AM")};
    QTest::newRow("a folder's files between paths")
        << QStringList{option,
                       QStringLiteral("1"),
                       at,
                       kAt,
                       out,
                       QStringLiteral("{out}"),
                       QStringLiteral("{src}/Makefile"),
                       QStringLiteral("--folder"),
                       QStringLiteral("{src}"),
                       QStringLiteral("--extension"),
                       QStringLiteral("JPG"),
                       QStringLiteral("{src}/notes.txt")}
        << QStringList{QStringLiteral("Makefile"), QStringLiteral("photo.jpg"),
                       QStringLiteral("notes.txt")}
        << QStringList{QStringLiteral("Makefile 2-05-09 PM"),
                       QStringLiteral("photo 2-05-09 PM.jpg"),
                       QStringLiteral("notes 2-05-09 PM.txt")};
}

void TestPlenvoyCli::runCopiesEveryFileUnderItsNewName() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, sources);
    QFETCH(QStringList, names);
    RunFolder folder;
    QVERIFY(folder.fill());
    const TreeSnapshot before = snapshotOf(folder.path(QStringLiteral("src")));

    const Outcome outcome = runCli(
        expanded(arguments, QStringLiteral("src"), QStringLiteral("out")), {}, folder.root());
    QCOMPARE(outcome.err, QString());
    QString lines;
    TreeSnapshot copies;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        lines += QStringLiteral("src/") + sources.at(i) + QStringLiteral(" -> out/") + names.at(i) +
                 QLatin1Char('\n');
        copies.insert(QLatin1Char('/') + names.at(i),
                      before.value(QLatin1Char('/') + sources.at(i)));
    }
    QCOMPARE(outcome.out, lines + QStringLiteral("%1 copied, 0 not copied\n").arg(sources.size()));
    QCOMPARE(outcome.exitCode, 0);
    // Each copy has its source's content, modification time and mode; sources are untouched.
    QCOMPARE(snapshotOf(folder.path(QStringLiteral("out"))), copies);
    QCOMPARE(snapshotOf(folder.path(QStringLiteral("src"))), before);
}

void TestPlenvoyCli::runWithTheClockNamesWhatItWrote() {
    RunFolder folder;
    QVERIFY(folder.fill());
    const Outcome outcome = runCli(
        {QStringLiteral("--option"), QStringLiteral("7"), QStringLiteral("--out"),
         QStringLiteral("out"), QStringLiteral("src/notes.txt"), QStringLiteral("src/Makefile")},
        {}, folder.root());
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.err, QString());
    QStringList lines = outcome.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.takeLast(), QStringLiteral("2 copied, 0 not copied"));
    // Each line names the copy actually written, stamped with the run's clock.
    const QRegularExpression line(
        QStringLiteral("^src/(notes\\.txt|Makefile) -> out/(notes|Makefile) \\d+-\\d+-\\d{4} "
                       "\\d+-\\d\\d-\\d\\d [AP]M"
                       "(\\.txt)?$"));
    QStringList written;
    for (const QString &text : lines) {
        QVERIFY2(line.match(text).hasMatch(), qPrintable(text));
        written.append(text.section(QStringLiteral(" -> out/"), 1));
    }
    written.sort();
    QCOMPARE(QDir(folder.path(QStringLiteral("out"))).entryList(QDir::Files, QDir::Name), written);
}

void TestPlenvoyCli::filesNotCopiedAreNamedAndCounted_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("preparedPath");
    QTest::addColumn<QByteArray>("preparedContent");
    QTest::addColumn<int>("preparedMode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("exitCode");
    const QStringList stamped{QStringLiteral("--option"), QStringLiteral("1"),
                              QStringLiteral("--at"), kAt};
    const QStringList toOut = stamped + QStringList{QStringLiteral("--out"), QStringLiteral("out")};
    const QString notesCopy = QStringLiteral("out/notes 2-05-09 PM.txt");

    QTest::newRow("a vanished file")
        << toOut + QStringList{QStringLiteral("src/notes.txt"), QStringLiteral("src/gone.txt"),
                               QStringLiteral("src/photo.jpg")}
        << QString() << QByteArray() << 0
        << QStringLiteral("src/notes.txt -> out/notes 2-05-09 PM.txt\n"
                          "src/photo.jpg -> out/photo 2-05-09 PM.jpg\n"
                          "2 copied, 1 not copied\n")
        << QStringLiteral("plenvoy-cli: src/gone.txt: not copied: it no longer exists\n") << 1;
    QTest::newRow("a folder in the list")
        << toOut + QStringList{QStringLiteral("src/sub")} << QString() << QByteArray() << 0
        << QStringLiteral("0 copied, 1 not copied\n")
        << QStringLiteral("plenvoy-cli: src/sub: not copied: it is not a regular file\n") << 1;
    // Same size and time as the copy would have: only its being left alone tells.
    QTest::newRow("a read-only destination that looks like the copy")
        << toOut + QStringList{QStringLiteral("src/notes.txt")} << notesCopy << QByteArray("NOTE\n")
        << 0444 << QStringLiteral("0 copied, 1 not copied\n")
        << QStringLiteral(
               "plenvoy-cli: src/notes.txt: not copied: a read-only file of that name is "
               "in the way\n")
        << 1;
    QTest::newRow("a writable destination is replaced")
        << toOut + QStringList{QStringLiteral("src/notes.txt")} << notesCopy
        << QByteArray("older and longer\n") << 0644
        << QStringLiteral("src/notes.txt -> out/notes 2-05-09 PM.txt\n1 copied, 0 not copied\n")
        << QString() << 0;
    QTest::newRow("the same file listed twice")
        << toOut + QStringList{QStringLiteral("src/notes.txt"), QStringLiteral("src/notes.txt")}
        << QString() << QByteArray() << 0
        << QStringLiteral("src/notes.txt -> out/notes 2-05-09 PM.txt\n"
                          "src/notes.txt -> out/notes 2-05-09 PM.txt\n"
                          "2 copied, 0 not copied\n")
        << QString() << 0;
    QTest::newRow("the destination is the source itself")
        << QStringList{QStringLiteral("--option"), QString(), QStringLiteral("--out"),
                       QStringLiteral("src"), QStringLiteral("src/notes.txt")}
        << QString() << QByteArray() << 0 << QStringLiteral("0 copied, 1 not copied\n")
        << kKeepsNames +
               QStringLiteral(
                   "plenvoy-cli: src/notes.txt: not copied: the new name is the file itself\n")
        << 1;
    QTest::newRow("the destination is another listed file: the copy gets a numbered name")
        << stamped + QStringList{QStringLiteral("--out"), QStringLiteral("src"),
                                 QStringLiteral("src/notes.txt"),
                                 QStringLiteral("src/notes 2-05-09 PM.txt")}
        << QStringLiteral("src/notes 2-05-09 PM.txt") << QByteArray("listed\n") << 0644
        << QStringLiteral("src/notes.txt -> src/notes 2-05-09 PM (2).txt\n"
                          "src/notes 2-05-09 PM.txt -> src/notes 2-05-09 PM 2-05-09 PM.txt\n"
                          "2 copied, 0 not copied, 1 renamed to avoid a clash\n")
        << QString() << 0;
    QTest::newRow("a name that cannot be composed: the error report, then the reason")
        << toOut + QStringList{QStringLiteral("src/"), QStringLiteral("src/notes.txt")} << QString()
        << QByteArray() << 0
        << QStringLiteral("src/notes.txt -> out/notes 2-05-09 PM.txt\n1 copied, 1 not copied\n")
        << QStringLiteral("plenvoy-cli: src/: Subscript out of range "
                          "(in Plenvoy2021/08/31.Form1.PushButton2_Click at line 122)\n"
                          "plenvoy-cli: src/: not copied: it is not a regular file\n")
        << 1;
}

void TestPlenvoyCli::filesNotCopiedAreNamedAndCounted() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, preparedPath);
    QFETCH(QByteArray, preparedContent);
    QFETCH(int, preparedMode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(int, exitCode);
    RunFolder folder;
    QVERIFY(folder.fill());
    if (!preparedPath.isEmpty()) {
        const QString prepared = folder.path(preparedPath);
        QVERIFY(writeFile(prepared, preparedContent));
        QCOMPARE(::chmod(QFile::encodeName(prepared).constData(), mode_t(preparedMode)), 0);
    }

    const Outcome outcome = runCli(arguments, {}, folder.root());
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.exitCode, exitCode);
    if (!preparedPath.isEmpty()) {
        QFile prepared(folder.path(preparedPath));
        QVERIFY(prepared.open(QIODevice::ReadOnly));
        const QByteArray expected =
            out.contains(QStringLiteral("-> ") + preparedPath + QLatin1Char('\n'))
                ? QByteArray("note\n")
                : preparedContent;
        QCOMPARE(prepared.readAll(), expected);
    }
}

void TestPlenvoyCli::removableOutputFolders_data() {
    QTest::addColumn<test::TestMount::Kind>("kind");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("modesKept");
    QTest::newRow("FUSE FAT: no permission bits")
        << test::TestMount::Kind::Fat << QStringList() << false;
    QTest::newRow("FUSE without rename flags or links")
        << test::TestMount::Kind::TestFs
        << QStringList{QStringLiteral("no_rename_flags"), QStringLiteral("no_links")} << true;
}

void TestPlenvoyCli::removableOutputFolders() {
    QFETCH(test::TestMount::Kind, kind);
    QFETCH(QStringList, options);
    QFETCH(bool, modesKept);
    SKIP_WITHOUT_MOUNT(kind);
    test::TestMount mount;
    QVERIFY2(mount.mount(kind, options), qPrintable(mount.error()));
    QTemporaryDir sources;
    const QStringList names{QStringLiteral("a.txt"), QStringLiteral("b.txt")};
    QStringList arguments{QStringLiteral("--option"), QStringLiteral("1"),
                          QStringLiteral("--at"),     kAt,
                          QStringLiteral("--out"),    mount.path()};
    for (const QString &name : names) {
        QVERIFY(writeFile(sources.filePath(name), name.toUtf8()));
        arguments << sources.filePath(name);
    }

    const Outcome outcome = runCli(arguments);

    // Said once for the folder, however many copies lack the bits.
    const QString note = QStringLiteral("plenvoy-cli: warning: ") + mount.path() +
                         QStringLiteral(": its file system does not keep permission bits; the "
                                        "copies have none of the sources'\n");
    QCOMPARE(outcome.err.count(note), modesKept ? 0 : 1);
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(contentOf(mount.path() + QStringLiteral("/a 2-05-09 PM.txt")), QByteArray("a.txt"));
    QCOMPARE(contentOf(mount.path() + QStringLiteral("/b 2-05-09 PM.txt")), QByteArray("b.txt"));
}

void TestPlenvoyCli::checksComeInTheWindowsOrder_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString noFiles = QStringLiteral("No files added.");
    const QString noFolder = QStringLiteral("Folder does not exist. Please select another folder.");
    const QStringList run{QStringLiteral("--option"), QStringLiteral("1"), QStringLiteral("--out")};
    const QString notes = QStringLiteral("src/notes.txt");
    QTest::newRow("empty list and a missing folder")
        << run + QStringList{QStringLiteral("nope")} << noFiles;
    QTest::newRow("empty list and an existing folder")
        << run + QStringList{QStringLiteral("out")} << noFiles;
    QTest::newRow("a folder that lists nothing and a missing output folder")
        << run + QStringList{QStringLiteral("nope"), QStringLiteral("--folder"),
                             QStringLiteral("src"), QStringLiteral("--extension"),
                             QStringLiteral("none")}
        << noFiles;
    QTest::newRow("files and a missing folder")
        << run + QStringList{QStringLiteral("nope"), notes} << noFolder;
    QTest::newRow("files and a file as the folder") << run + QStringList{notes, notes} << noFolder;
    QTest::newRow("files and an empty folder text")
        << run + QStringList{QString(), notes} << noFolder;
    QTest::newRow("files and a folder typed with a trailing blank")
        << run + QStringList{QStringLiteral("out "), notes} << noFolder;
    QTest::newRow("an after-nth option and a missing folder")
        << QStringList{QStringLiteral("--option"),
                       QStringLiteral("2"),
                       QStringLiteral("-n"),
                       QStringLiteral("3"),
                       QStringLiteral("--out"),
                       QStringLiteral("nope"),
                       notes}
        << noFolder;
}

void TestPlenvoyCli::checksComeInTheWindowsOrder() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    RunFolder folder;
    QVERIFY(folder.fill());
    const TreeSnapshot before = snapshotOf(folder.root());
    const Outcome outcome = runCli(arguments, {}, folder.root());
    QCOMPARE(outcome.err, QStringLiteral("plenvoy-cli: ") + message + QLatin1Char('\n'));
    QCOMPARE(outcome.out, QString());
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(snapshotOf(folder.root()), before);
}

void TestPlenvoyCli::strictArgumentsTouchNothing() {
    const QStringList arguments[] = {{QStringLiteral("--option"), QStringLiteral("36")},
                                     {QStringLiteral("--option"), QStringLiteral("-1")},
                                     {QStringLiteral("--option"), QStringLiteral("2"),
                                      QStringLiteral("-n"), QStringLiteral("-1")},
                                     {QStringLiteral("--option"), QStringLiteral("2"),
                                      QStringLiteral("-n"), QStringLiteral("40000")}};
    for (const QStringList &strict : arguments) {
        RunFolder folder;
        QVERIFY(folder.fill());
        const TreeSnapshot before = snapshotOf(folder.root());
        const Outcome outcome =
            runCli(strict + QStringList{QStringLiteral("--out"), QStringLiteral("out"),
                                        QStringLiteral("src/notes.txt")},
                   {}, folder.root());
        QCOMPARE(outcome.exitCode, 2);
        QCOMPARE(outcome.out, QString());
        QCOMPARE(snapshotOf(folder.root()), before);
    }
}

void TestPlenvoyCli::warningsLeaveTheCallAlone_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString notes = QStringLiteral("notes.txt");
    QTest::newRow("the empty option keeps the names, said once")
        << QStringList{QStringLiteral("--option"), QString(), QStringLiteral("--dry-run"), notes,
                       notes}
        << QStringLiteral("notes.txt\nnotes.txt\n") << kKeepsNames;
    QTest::newRow("-n for an option that does not use it")
        << QStringList{QStringLiteral("--option"),  QStringLiteral("1"),
                       QStringLiteral("-n"),        QStringLiteral("3"),
                       QStringLiteral("--at"),      kAt,
                       QStringLiteral("--dry-run"), notes}
        << QStringLiteral("notes 2-05-09 PM.txt\n")
        << QStringLiteral("plenvoy-cli: warning: -n is not used by the option \"") +
               renameOptionTexts().at(1) + QStringLiteral("\"\n");
}

void TestPlenvoyCli::warningsLeaveTheCallAlone() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && writeFile(dir.filePath(QStringLiteral("notes.txt")), "n"));
    const Outcome outcome = runCli(arguments, {}, dir.path());
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.exitCode, 0);
}

void TestPlenvoyCli::namesAreTakenAndPrintedAsBytes() {
    RunFolder folder;
    QVERIFY(folder.fill());
    // Names that are not UTF-8, and beside them the names Qt's own conversion makes of them.
    const QString name = pathFromBytes(QByteArrayLiteral("\xff\xfe.txt"));
    const QString outFolder = pathFromBytes(QByteArrayLiteral("\xffout"));
    const QChar mark(0xFFFD);
    const QString decoyFolder = mark + QStringLiteral("out");
    QVERIFY(writeFile(folder.path(name), "real"));
    QVERIFY(writeFile(folder.path(QString(mark) + mark + QStringLiteral(".txt")), "decoy"));
    QCOMPARE(::mkdir(pathToBytes(folder.path(outFolder)).constData(), 0755), 0);
    QVERIFY(QDir(folder.root()).mkdir(decoyFolder));

    const QStringList stamped{QStringLiteral("--option"), QStringLiteral("1"),
                              QStringLiteral("--at"), kAt};
    const Outcome dry =
        runCli(stamped + QStringList{QStringLiteral("--dry-run"), name}, {}, folder.root());
    QCOMPARE(dry.err, QString());
    QCOMPARE(dry.outBytes, QByteArrayLiteral("\xff\xfe 2-05-09 PM.txt\n"));
    QCOMPARE(dry.exitCode, 0);

    const Outcome run =
        runCli(stamped + QStringList{QStringLiteral("--out"), outFolder, name}, {}, folder.root());
    QCOMPARE(run.err, QString());
    QCOMPARE(run.outBytes, QByteArrayLiteral("\xff\xfe.txt -> \xffout/\xff\xfe 2-05-09 PM.txt\n"
                                             "1 copied, 0 not copied\n"));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(contentOf(folder.path(outFolder + QLatin1Char('/') +
                                   pathFromBytes(QByteArrayLiteral("\xff\xfe 2-05-09 PM.txt")))),
             QByteArray("real"));
    QCOMPARE(QDir(folder.path(decoyFolder)).entryList(QDir::Files), QStringList());
}

void TestPlenvoyCli::aFailingStandardOutputStopsOnlyThePrinting_data() {
    QTest::addColumn<bool>("closedPipe");
    QTest::addColumn<bool>("run");
    QTest::addColumn<QString>("error");
    const QString full = QStringLiteral("No space left on device");
    const QString broken = QStringLiteral("Broken pipe");
    QTest::newRow("a full disk, a run") << false << true << full;
    QTest::newRow("a closed pipe, a run") << true << true << broken;
    QTest::newRow("a full disk, a long dry run") << false << false << full;
    QTest::newRow("a closed pipe, a long dry run") << true << false << broken;
}

void TestPlenvoyCli::aFailingStandardOutputStopsOnlyThePrinting() {
    QFETCH(bool, closedPipe);
    QFETCH(bool, run);
    QFETCH(QString, error);
    RunFolder folder;
    QVERIFY(folder.fill());
    int sink = -1;
    if (closedPipe) {
        int ends[2] = {-1, -1};
        QCOMPARE(::pipe2(ends, O_CLOEXEC), 0);
        ::close(ends[0]);
        sink = ends[1];
    } else {
        sink = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    }
    QVERIFY(sink >= 0);
    QStringList arguments{QStringLiteral("--option"), QStringLiteral("1"), QStringLiteral("--at"),
                          kAt};
    if (run) {
        arguments << QStringLiteral("--out") << QStringLiteral("out")
                  << QStringLiteral("src/notes.txt") << QStringLiteral("src/photo.jpg")
                  << QStringLiteral("src/Makefile");
    } else {
        // More than the output buffer holds: the failure comes while printing, not at the end.
        arguments << QStringLiteral("--dry-run");
        for (int i = 0; i < 400; ++i)
            arguments << QStringLiteral("src/notes.txt");
    }
    const Outcome outcome = runCli(arguments, {}, folder.root(), sink);
    ::close(sink);
    QCOMPARE(outcome.err, QStringLiteral("plenvoy-cli: cannot write to standard output: ") + error +
                              QLatin1Char('\n'));
    QCOMPARE(outcome.exitCode, 1);
    if (run)
        QCOMPARE(QDir(folder.path(QStringLiteral("out"))).entryList(QDir::Files).size(), 3);
}

namespace {

/// The bytes of a literal, NULs included.
template <std::size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

} // namespace

void TestPlenvoyCli::recordsWithLineBreaks_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("exitCode");
    const QStringList files{QStringLiteral("two\nlines.txt"), QStringLiteral("plain.txt")};
    const QStringList stamped{QStringLiteral("--option"), QStringLiteral("1"),
                              QStringLiteral("--at"), kAt};
    const QString warning = QStringLiteral("plenvoy-cli: warning: file 1 of the list: a name "
                                           "holds a line break; printed as an empty line (-0 "
                                           "prints it)\n");
    QTest::newRow("dry run, -0")
        << stamped + QStringList{QStringLiteral("-0"), QStringLiteral("--dry-run")} + files
        << bytes("two\nlines 2-05-09 PM.txt\0plain 2-05-09 PM.txt\0") << QString() << 0;
    QTest::newRow("dry run, lines") << stamped + QStringList{QStringLiteral("--dry-run")} + files
                                    << bytes("\nplain 2-05-09 PM.txt\n") << warning << 1;
    QTest::newRow("run, --null")
        << stamped +
               QStringList{QStringLiteral("--null"), QStringLiteral("--out"),
                           QStringLiteral("out")} +
               files
        << bytes("two\nlines.txt\0out/two\nlines 2-05-09 PM.txt\0plain.txt\0out/plain 2-05-09 "
                 "PM.txt\0")
        << QStringLiteral("2 copied, 0 not copied\n") << 0;
    QTest::newRow("run, lines")
        << stamped + QStringList{QStringLiteral("--out"), QStringLiteral("out")} + files
        << bytes("\nplain.txt -> out/plain 2-05-09 PM.txt\n2 copied, 0 not copied\n") << warning
        << 1;
}

void TestPlenvoyCli::recordsWithLineBreaks() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, out);
    QFETCH(QString, err);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && QDir(dir.path()).mkdir(QStringLiteral("out")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("two\nlines.txt")), "2"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("plain.txt")), "1"));
    const Outcome outcome = runCli(arguments, {}, dir.path());
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.outBytes, out);
    QCOMPARE(outcome.exitCode, exitCode);
}

void TestPlenvoyCli::dryRunNumbersClashesAsTheRunDoes_data() {
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("renamed");
    const QString colon = QStringLiteral("d/x:1.txt");
    const QString dash = QStringLiteral("d/x-1.txt");
    QTest::newRow("two names that clean alike")
        << QStringList{colon, dash} << QStringList()
        << QStringLiteral("d/x-1 2-05-09 PM.txt\nd/x-1 2-05-09 PM (2).txt\n") << QString() << 1;
    QTest::newRow("names without a dot")
        << QStringList{QStringLiteral("d/Make:file"), QStringLiteral("d/Make-file")}
        << QStringList() << QStringLiteral("d/Make-file 2-05-09 PM\nd/Make-file 2-05-09 PM (2)\n")
        << QString() << 1;
    QTest::newRow("a new name that is another listed file")
        << QStringList{QStringLiteral("d/notes.txt"), QStringLiteral("d/notes 2-05-09 PM.txt")}
        << QStringList()
        << QStringLiteral("d/notes 2-05-09 PM (2).txt\nd/notes 2-05-09 PM 2-05-09 PM.txt\n")
        << QString() << 1;
    QTest::newRow("a numbered name that exists is skipped")
        << QStringList{colon, dash} << QStringList{QStringLiteral("d/x-1 2-05-09 PM (2).txt")}
        << QStringLiteral("d/x-1 2-05-09 PM.txt\nd/x-1 2-05-09 PM (3).txt\n") << QString() << 1;
    QTest::newRow("the same file twice lands on its own name")
        << QStringList{colon, dash, colon} << QStringList()
        << QStringLiteral("d/x-1 2-05-09 PM.txt\nd/x-1 2-05-09 PM (2).txt\n"
                          "d/x-1 2-05-09 PM.txt\n")
        << QString() << 1;
    QTest::newRow("a name that only exists in the folder is replaced, not numbered")
        << QStringList{colon} << QStringList{QStringLiteral("d/x-1 2-05-09 PM.txt")}
        << QStringLiteral("d/x-1 2-05-09 PM.txt\n") << QString() << 0;
    QTest::newRow("refused files get empty lines and their reasons")
        << QStringList{QStringLiteral("d/gone.txt"), QStringLiteral("d/sub"), colon}
        << QStringList{QStringLiteral("d/sub/inner.txt"), QStringLiteral("ro:d/x-1 2-05-09 PM.txt")}
        << QStringLiteral("\n\n\n")
        << QStringLiteral("plenvoy-cli: d/gone.txt: not copied: it no longer exists\n"
                          "plenvoy-cli: d/sub: not copied: it is not a regular file\n"
                          "plenvoy-cli: d/x:1.txt: not copied: a read-only file of that name is "
                          "in the way\n")
        << 0;
    const QString longBase = QString(245, QLatin1Char('n'));
    QTest::newRow("a name too long for the folder")
        << QStringList{QStringLiteral("d/") + longBase + QStringLiteral(".txt")}
        << QStringList{QStringLiteral("d/") + longBase + QStringLiteral(".txt")}
        << QStringLiteral("\n")
        << QStringLiteral("plenvoy-cli: d/") + longBase +
               QStringLiteral(".txt: not copied: the name is too long for the output folder\n")
        << 0;
}

void TestPlenvoyCli::dryRunNumbersClashesAsTheRunDoes() {
    QFETCH(QStringList, sources);
    QFETCH(QStringList, present);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(int, renamed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (QString name :
         QStringList{QStringLiteral("d/x:1.txt"), QStringLiteral("d/x-1.txt"),
                     QStringLiteral("d/Make:file"), QStringLiteral("d/Make-file"),
                     QStringLiteral("d/notes.txt"), QStringLiteral("d/notes 2-05-09 PM.txt")} +
             present) {
        const bool readOnly = name.startsWith(QLatin1String("ro:"));
        name.remove(QStringLiteral("ro:"));
        QVERIFY(writeFile(dir.filePath(name), name.toUtf8()));
        if (readOnly)
            QVERIFY(::chmod(pathToBytes(dir.filePath(name)).constData(), 0444) == 0);
    }
    const QStringList stamped{QStringLiteral("--option"), QStringLiteral("1"),
                              QStringLiteral("--at"), kAt};
    const QStringList into{QStringLiteral("--out"), QStringLiteral("d")};
    const TreeSnapshot before = snapshotOf(dir.path());
    const Outcome dry =
        runCli(stamped + QStringList{QStringLiteral("--dry-run")} + into + sources, {}, dir.path());
    QCOMPARE(dry.err, err);
    QCOMPARE(dry.out, out);
    QCOMPARE(dry.exitCode, err.isEmpty() ? 0 : 1);
    QCOMPARE(snapshotOf(dir.path()), before);

    // The run into that folder writes the very names the dry run showed, and refuses the rest
    // with the same words.
    const Outcome run = runCli(stamped + into + sources, {}, dir.path());
    QString expected;
    const QStringList lines = out.split(QLatin1Char('\n'));
    int copied = 0;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        if (lines.at(i).isEmpty())
            continue;
        expected += sources.at(i) + QStringLiteral(" -> ") + lines.at(i) + QLatin1Char('\n');
        ++copied;
    }
    expected +=
        QStringLiteral("%1 copied, %2 not copied").arg(copied).arg(sources.size() - copied) +
        (renamed > 0 ? QStringLiteral(", %1 renamed to avoid a clash").arg(renamed) : QString()) +
        QLatin1Char('\n');
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, expected);
    QCOMPARE(run.exitCode, err.isEmpty() ? 0 : 1);
}

void TestPlenvoyCli::dryRunWithoutAFolderChecksOnlyTheList_data() {
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("a numbered name that exists on disk is not looked at")
        << QStringList{QStringLiteral("d/x:1.txt"), QStringLiteral("d/x-1.txt")}
        << QStringLiteral("d/x-1 2-05-09 PM.txt\nd/x-1 2-05-09 PM (2).txt\n") << QString();
    QTest::newRow("a new name that is another listed path is numbered")
        << QStringList{QStringLiteral("d/notes.txt"), QStringLiteral("d/notes 2-05-09 PM.txt")}
        << QStringLiteral("d/notes 2-05-09 PM (2).txt\nd/notes 2-05-09 PM 2-05-09 PM.txt\n")
        << QString();
    const QString longName = QStringLiteral("d/") + QString(250, QLatin1Char('n'));
    QTest::newRow("a name too long for any folder")
        << QStringList{QStringLiteral("d/gone.txt"), longName} << QStringLiteral("\n\n")
        << QStringLiteral("plenvoy-cli: d/gone.txt: not copied: it no longer exists\n"
                          "plenvoy-cli: ") +
               longName + QStringLiteral(": not copied: the name is too long for any folder\n");
}

void TestPlenvoyCli::dryRunWithoutAFolderChecksOnlyTheList() {
    QFETCH(QStringList, sources);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char *name : {"d/x:1.txt", "d/x-1.txt", "d/x-1 2-05-09 PM (2).txt", "d/notes.txt",
                             "d/notes 2-05-09 PM.txt"})
        QVERIFY(writeFile(dir.filePath(QLatin1String(name)), name));
    QVERIFY(writeFile(dir.filePath(sources.last()), "long"));
    const QStringList arguments{QStringLiteral("--option"), QStringLiteral("1"),
                                QStringLiteral("--at"), kAt, QStringLiteral("--dry-run")};
    const Outcome dry = runCli(arguments + sources, {}, dir.path());
    QCOMPARE(dry.err, err);
    QCOMPARE(dry.out, out);
    QCOMPARE(dry.exitCode, err.isEmpty() ? 0 : 1);
}

void TestPlenvoyCli::sourcesAreListedInTheOrderGiven_data() {
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString folder = QStringLiteral("--folder");
    QTest::newRow("a PATH before a folder")
        << QStringList{QStringLiteral("t/x.txt"), folder, QStringLiteral("t/two")}
        << QStringLiteral("t/x.txt\nt/two/d.txt\n") << QString();
    QTest::newRow("a PATH between folders, sub-folders at every depth")
        << QStringList{folder, QStringLiteral("t/two"), QStringLiteral("t/x.txt"), folder,
                       QStringLiteral("t/one")}
        << QStringLiteral("t/two/d.txt\nt/x.txt\nt/one/a.txt\nt/one/sub/b.txt\n"
                          "t/one/sub/deeper/c.txt\n")
        << QString();
    QTest::newRow("the same folder twice lists its files twice")
        << QStringList{folder, QStringLiteral("t/two"), QStringLiteral("--folder=t/two")}
        << QStringLiteral("t/two/d.txt\nt/two/d.txt\n") << QString();
    QTest::newRow("a folder typed with trailing separators")
        << QStringList{folder, QStringLiteral("t/two//")} << QStringLiteral("t/two/d.txt\n")
        << QString();
    QTest::newRow("a missing folder between paths adds nothing and warns")
        << QStringList{QStringLiteral("t/x.txt"), folder, QStringLiteral("t/nope"),
                       QStringLiteral("t/x.txt")}
        << QStringLiteral("t/x.txt\nt/x.txt\n")
        << QStringLiteral("plenvoy-cli: warning: t/nope: no such folder, nothing added from it\n");
    QTest::newRow("a file given as a folder adds nothing and warns")
        << QStringList{folder, QStringLiteral("t/x.txt")} << QString()
        << QStringLiteral("plenvoy-cli: warning: t/x.txt: no such folder, nothing added from it\n");
}

void TestPlenvoyCli::sourcesAreListedInTheOrderGiven() {
    QFETCH(QStringList, sources);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char *name :
         {"t/x.txt", "t/one/a.txt", "t/one/sub/b.txt", "t/one/sub/deeper/c.txt", "t/two/d.txt"})
        QVERIFY(writeFile(dir.filePath(QLatin1String(name)), "x"));
    // The empty option text gives every path back: the output is the list itself.
    const Outcome outcome = runCli(
        QStringList{QStringLiteral("--option"), QString(), QStringLiteral("--dry-run")} + sources,
        {}, dir.path());
    QCOMPARE(outcome.err, kKeepsNames + err);
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.exitCode, 0);
}

void TestPlenvoyCli::leftOutFoldersAreNamed() {
    // The window leaves such a folder out in silence; the command line names it, and the
    // rest of the tree is still listed.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(dir.filePath(QStringLiteral("t/kept/a.txt")), "x"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("t/tab\there/b.txt")), "x"));
    const Outcome outcome =
        runCli({QStringLiteral("--option"), QString(), QStringLiteral("--dry-run"),
                QStringLiteral("--folder"), QStringLiteral("t")},
               {}, dir.path());
    QCOMPARE(outcome.out, QStringLiteral("t/kept/a.txt\n"));
    QCOMPARE(outcome.err,
             kKeepsNames + QStringLiteral("plenvoy-cli: warning: t/tab\there/: left "
                                          "out, its name holds a control character\n"));
    QCOMPARE(outcome.exitCode, 0);
}

void TestPlenvoyCli::extensionFiltersAsTheWindowDoes_data() {
    QTest::addColumn<QStringList>("extension");
    QTest::addColumn<QStringList>("listed");
    const QString e = QStringLiteral("--extension");
    const QStringList everyFile{QStringLiteral("f/.dotdir/inside.txt"),
                                QStringLiteral("f/.readonly.txt"),
                                QStringLiteral("f/LOUD.TXT"),
                                QStringLiteral("f/Makefile"),
                                QStringLiteral("f/archive.tar.gz"),
                                QStringLiteral("f/notes.txt"),
                                QStringLiteral("f/photo.jpeg"),
                                QStringLiteral("f/photo.jpg"),
                                QStringLiteral("f/report~.txt"),
                                QStringLiteral("f/sub/deep.txt"),
                                QStringLiteral("f/two..txt")};
    QTest::newRow("no extension lists every file") << QStringList() << everyFile;
    QTest::newRow("* lists every file") << QStringList{e, QStringLiteral("*")} << everyFile;
    const QStringList txt{QStringLiteral("f/.dotdir/inside.txt"),
                          QStringLiteral("f/.readonly.txt"),
                          QStringLiteral("f/LOUD.TXT"),
                          QStringLiteral("f/notes.txt"),
                          QStringLiteral("f/report~.txt"),
                          QStringLiteral("f/sub/deep.txt"),
                          QStringLiteral("f/two..txt")};
    QTest::newRow("TXT matches in any case") << QStringList{e, QStringLiteral("TXT")} << txt;
    // As in the window, a leading "." or "*." typed out of habit is dropped.
    QTest::newRow(".txt lists what txt lists") << QStringList{e, QStringLiteral(".txt")} << txt;
    QTest::newRow("*.txt lists what txt lists") << QStringList{e, QStringLiteral("*.txt")} << txt;
    QTest::newRow("? stands for one character")
        << QStringList{e, QStringLiteral("jp?")} << QStringList{QStringLiteral("f/photo.jpg")};
    QTest::newRow("the last part of a double extension")
        << QStringList{e, QStringLiteral("gz")} << QStringList{QStringLiteral("f/archive.tar.gz")};
    QTest::newRow("nothing matches")
        << QStringList{QStringLiteral("--extension=doc")} << QStringList();
}

void TestPlenvoyCli::extensionFiltersAsTheWindowDoes() {
    QFETCH(QStringList, extension);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char *name :
         {"f/notes.txt", "f/LOUD.TXT", "f/archive.tar.gz", "f/photo.jpg", "f/photo.jpeg",
          "f/Makefile", "f/two..txt", "f/~draft.txt", "f/report~.txt", "f/.hidden.txt",
          "f/.readonly.txt", "f/sub/deep.txt", "f/.dotdir/inside.txt", "elsewhere/linked.txt"})
        QVERIFY(writeFile(dir.filePath(QLatin1String(name)), "x"));
    // A read-only dot-file (35) is listed, a plain one (34) is not; a linked folder is not
    // walked.
    QCOMPARE(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("f/.readonly.txt"))).constData(),
                     0444),
             0);
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere")),
                        dir.filePath(QStringLiteral("f/link"))));

    const Outcome outcome =
        runCli(QStringList{QStringLiteral("--option"), QString(), QStringLiteral("--dry-run"),
                           QStringLiteral("--folder"), QStringLiteral("f")} +
                   extension,
               {}, dir.path());
    QCOMPARE(outcome.err, kKeepsNames);
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(sortedLines(outcome.out), listed);
}

QTEST_GUILESS_MAIN(TestPlenvoyCli)
#include "tst_plenvoycli.moc"
