#include "FakeWindow.h"
#include "FixedRunInputs.h"
#include "TestFiles.h"
#include "copying/ListedPlacement.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "naming/ComposeNewName.h"
#include "naming/RegionalForms.h"
#include "run/NamePlanner.h"
#include "run/StartChanging.h"

#include <QtTest>

#include <sys/stat.h>

using namespace plenvoy;
using plenvoy::test::FakeWindow;
using plenvoy::test::namesIn;
using plenvoy::test::setFileTimes;
using plenvoy::test::writeFile;

namespace {

const struct timespec kModified { 1'784'109'600, 0 };

QString describe(const PlannedName &plan) {
    switch (plan.verdict) {
    case Verdict::Copy:
        return QStringLiteral("copy ") + plan.destination;
    case Verdict::Numbered:
        return QStringLiteral("numbered ") + plan.destination;
    case Verdict::Replaces:
        return QStringLiteral("replaces ") + plan.destination;
    case Verdict::NotCopied:
        break;
    }
    return QStringLiteral("not copied: ") + plan.reason;
}

QString describe(const FileOutcome &file) {
    if (!file.copied())
        return QStringLiteral("not copied: ") + file.reason;
    if (file.renamed)
        return QStringLiteral("numbered ") + file.destination;
    return (file.replaced ? QStringLiteral("replaces ") : QStringLiteral("copy ")) +
           file.destination;
}

} // namespace

class TestNamePlanner final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void previewIsWhatTheRunDoes_data();
    void previewIsWhatTheRunDoes();
    void filesSeenByAListingGetTheSameVerdicts_data();
    void filesSeenByAListingGetTheSameVerdicts();
};

void TestNamePlanner::previewIsWhatTheRunDoes_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("n");
    QTest::newRow("clock, beginning")
        << QStringLiteral("Add current time to beginning of filename") << -1;
    QTest::newRow("creation, end")
        << QStringLiteral("Add file creation date to end of filename") << -1;
    QTest::newRow("modified, nth")
        << QStringLiteral("Add last modified time and date after nth character in filename") << 3;
    QTest::newRow("accessed, end")
        << QStringLiteral("Add last accessed time to end of filename") << -1;
    QTest::newRow("clock, nth") << QStringLiteral(
                                       "Add current date after nth character in filename")
                                << 2;
}

void TestNamePlanner::previewIsWhatTheRunDoes() {
    QFETCH(QString, option);
    QFETCH(int, n);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString src = dir.filePath(QStringLiteral("src"));
    const QString out = dir.filePath(QStringLiteral("out"));
    const FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    const auto newName = [&](const QString &source) {
        return FileNameOf(ComposeNewName(source, option, qint16(n), clock, systemFileTimes()));
    };
    const auto source = [&](const QString &name) {
        const QString path = src + QLatin1Char('/') + name;
        if (!writeFile(path, name.toUtf8()) || !setFileTimes(path, kModified, kModified))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    };
    const QString replaced = source(QStringLiteral("alpha.txt"));
    const QString readOnly = source(QStringLiteral("beta.txt"));
    const QString colon = source(QStringLiteral("x:1.txt"));
    const QString dash = source(QStringLiteral("x-1.txt"));
    const QString listedInTheWay = source(QStringLiteral("gamma.txt"));
    const QString tooLong = source(QString(245, QLatin1Char('n')) + QStringLiteral(".txt"));
    const auto inOut = [&](const QString &name, mode_t mode) {
        const QString path = out + QLatin1Char('/') + name;
        QVERIFY(writeFile(path, "before"));
        QCOMPARE(::chmod(pathToBytes(path).constData(), mode), 0);
    };
    inOut(newName(replaced), 0644);
    inOut(newName(readOnly), 0444);
    inOut(numberedName(newName(dash), 2), 0644);
    inOut(newName(listedInTheWay), 0644);
    const QStringList entries{replaced,
                              readOnly,
                              colon,
                              dash,
                              replaced,
                              listedInTheWay,
                              out + QLatin1Char('/') + newName(listedInTheWay),
                              tooLong,
                              src + QStringLiteral("/gone.txt")};

    // Names only: reading the files would move the access times that some options stamp.
    const QStringList before = namesIn(out);
    NamePlanner planner(PlanRequest{option, qint16(n), RunChoices(), out}, entries, clock,
                        systemFileTimes(), RegionalForms::system());
    QStringList preview;
    for (const PlannedName &plan : planner.planAll())
        preview << describe(plan);
    QCOMPARE(namesIn(out), before);
    // The folder holds every kind of verdict.
    for (const char *kind : {"copy ", "numbered ", "replaces ", "not copied: a read-only",
                             "not copied: the name is too long", "not copied: it no longer"})
        QVERIFY2(!preview
                      .filter(QRegularExpression(QStringLiteral("^") +
                                                 QRegularExpression::escape(QLatin1String(kind))))
                      .isEmpty(),
                 kind);

    FakeWindow ui;
    ui.textAnswers << QString::number(n);
    FixedRunInputs inputs(entries, out, option);
    QStringList run;
    startChanging(inputs, ui, clock, systemFileTimes(), RunChoices(),
                  [&run](const FileOutcome &file) { run << describe(file); });
    QCOMPARE(preview, run);
    // The closing box counts what the preview showed, and names the folder.
    const auto counted = [&](const char *kind) {
        return run.filter(QRegularExpression(QStringLiteral("^") + QLatin1String(kind))).size();
    };
    QCOMPARE(ui.messageDetails,
             QStringList{QStringLiteral("Copied: %1, numbered: %2, replaced: %3, not copied: %4\r")
                             .arg(run.size() - counted("not copied"))
                             .arg(counted("numbered"))
                             .arg(counted("replaces"))
                             .arg(counted("not copied")) +
                         out});
}

void TestNamePlanner::filesSeenByAListingGetTheSameVerdicts_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("folder"); // "src", "out" or none
    QTest::newRow("names kept, beside the sources") << QString() << QString();
    QTest::newRow("names kept, into the sources' folder") << QString() << QStringLiteral("src");
    QTest::newRow("clock, into another folder")
        << QStringLiteral("Add current date to end of filename") << QStringLiteral("out");
    QTest::newRow("modified, into another folder")
        << QStringLiteral("Add last modified date to end of filename") << QStringLiteral("out");
}

void TestNamePlanner::filesSeenByAListingGetTheSameVerdicts() {
    QFETCH(QString, option);
    QFETCH(QString, folder);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("out")));
    const auto file = [&](const QString &name) {
        const QString path = dir.filePath(name);
        if (!writeFile(path, name.toUtf8()) || !setFileTimes(path, kModified, kModified))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    };
    const QString a = file(QStringLiteral("src/a.txt"));
    // One file listed three times, and two files of one name: which file an entry is decides.
    const QStringList entries{a, a, file(QStringLiteral("src/b.txt")),
                              file(QStringLiteral("other/a.txt")), a};
    const FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    const PlanRequest request{option, -1, RunChoices(),
                              folder.isEmpty() ? std::nullopt
                                               : std::optional<QString>(dir.filePath(folder))};
    const auto plan = [&](bool seen) {
        NamePlanner planner(request, entries, clock, systemFileTimes(), RegionalForms::system());
        if (seen)
            planner.setSeenRegular([](int) { return true; });
        QStringList verdicts;
        for (const PlannedName &planned : planner.planAll())
            verdicts << describe(planned);
        return verdicts;
    };
    const QStringList looked = plan(false);
    QCOMPARE(plan(true), looked);
}

QTEST_GUILESS_MAIN(TestNamePlanner)
#include "tst_nameplanner.moc"
