#include "FakeWindow.h"
#include "FixedRunInputs.h"
#include "TestFiles.h"
#include "copying/OutputLayout.h"
#include "core/PathCodec.h"
#include "naming/ComposeNewName.h"
#include "naming/RegionalForms.h"
#include "records/RecordWriter.h"
#include "records/RunUndo.h"
#include "run/NamePlanner.h"
#include "run/StartChanging.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;
using plenvoy::test::FakeWindow;
using plenvoy::test::setFileTimes;
using plenvoy::test::snapshotOf;
using plenvoy::test::writeFile;

namespace {

/// Noon UTC on 12 June 2026: the same local date in every zone the tests run in.
const struct timespec kModified { 1'781'265'600, 0 };
const QString kOption = QStringLiteral("Add last modified date to end of filename");
const QString kNotUtf8 = pathFromBytes("\xff.jpg");

/// A tree as a user lists it: a folder added whole, with two sub-folders holding the same
/// name and a name that is not UTF-8, and a file listed on its own.
struct Listing {
    QStringList entries;
    QStringList through;
};

Listing makeListing(const QString &sources) {
    const QString holiday = sources + QStringLiteral("/Holiday");
    Listing listing;
    for (const QString &name :
         {QStringLiteral("day 1/IMG_0001.jpg"), QStringLiteral("day 2/IMG_0001.jpg"), kNotUtf8}) {
        writeFile(holiday + QLatin1Char('/') + name);
        listing.entries.append(holiday + QLatin1Char('/') + name);
        listing.through.append(holiday);
    }
    writeFile(sources + QStringLiteral("/IMG_0001.jpg"));
    listing.entries.append(sources + QStringLiteral("/IMG_0001.jpg"));
    listing.through.append(QString());
    for (const QString &entry : listing.entries)
        setFileTimes(entry, kModified, kModified);
    return listing;
}

RunChoices styleOf(OutputLayout layout) {
    RunChoices style;
    style.form = StampForm::Sortable;
    style.layout = layout;
    return style;
}

QString below(const QString &folder, const QString &path) {
    return path.startsWith(folder + QLatin1Char('/')) ? path.mid(folder.size() + 1) : path;
}

/// What the planner says of each entry: the path below the output folder, or why not.
QStringList planned(const Listing &listing, const QString &output, OutputLayout layout) {
    PlanRequest request{kOption, -1, styleOf(layout), output};
    NamePlanner planner(request, listing.entries, systemClock(), systemFileTimes(),
                        RegionalForms::system());
    planner.setListedThrough([&listing](int index) { return listing.through.at(index); });
    QStringList said;
    while (!planner.atEnd()) {
        const PlannedName plan = planner.next();
        said.append(plan.copied() ? below(output, plan.destination)
                                  : QStringLiteral("not copied: ") + plan.reason);
    }
    return said;
}

/// What the run did with each entry, in the same words.
QStringList ran(const Listing &listing, const QString &output, OutputLayout layout,
                RunOutcome *kept = nullptr) {
    FixedRunInputs inputs(listing.entries, output, kOption);
    inputs.through = listing.through;
    FakeWindow window;
    QStringList said;
    RunOutcome outcome =
        startChanging(inputs, window, systemClock(), systemFileTimes(), styleOf(layout),
                      [&](const FileOutcome &file) {
                          said.append(file.copied() ? below(output, file.destination)
                                                    : QStringLiteral("not copied: ") + file.reason);
                      });
    if (kept)
        *kept = std::move(outcome);
    return said;
}

/// The files below a folder, as paths below it, sorted.
QStringList filesBelow(const QString &folder) {
    QStringList files;
    const test::TreeSnapshot tree = snapshotOf(folder);
    for (auto entry = tree.cbegin(); entry != tree.cend(); ++entry)
        if (entry.value().startsWith(QLatin1String("mode 10")))
            files.append(entry.key().mid(1));
    return files;
}

void removeTree(const QString &path) {
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), path});
}

} // namespace

class TestOutputLayout final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_sources;
    QString m_output;

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_STATE_HOME", pathToBytes(m_dir.path() + QStringLiteral("/state")));
        m_sources = m_dir.path() + QStringLiteral("/sources");
        m_output = m_dir.path() + QStringLiteral("/out");
        QVERIFY(QDir().mkpath(m_output));
    }
    void cleanup() {
        disableRunRecords();
        removeTree(m_sources);
        removeTree(m_output);
        removeTree(m_dir.path() + QStringLiteral("/elsewhere"));
    }

    void eachLayoutPlansAndCopiesAlike_data();
    void eachLayoutPlansAndCopiesAlike();
    void folderThatCannotBeUsedIsNotCopiedInto_data();
    void folderThatCannotBeUsedIsNotCopiedInto();
    void undoRemovesTheFoldersTheRunMade_data();
    void undoRemovesTheFoldersTheRunMade();
};

void TestOutputLayout::eachLayoutPlansAndCopiesAlike_data() {
    QTest::addColumn<OutputLayout>("layout");
    QTest::addColumn<QStringList>("expected");
    const QString stamped = QStringLiteral("IMG_0001 2026-06-12.jpg");
    const QString odd = pathFromBytes("\xff 2026-06-12.jpg");
    QTest::newRow("flat: one folder, the clashes numbered")
        << OutputLayout::Flat
        << QStringList{stamped, QStringLiteral("IMG_0001 2026-06-12 (2).jpg"), odd,
                       QStringLiteral("IMG_0001 2026-06-12 (3).jpg")};
    QTest::newRow("tree: the path below the folder listed through, under its name")
        << OutputLayout::Tree
        << QStringList{QStringLiteral("Holiday/day 1/") + stamped,
                       QStringLiteral("Holiday/day 2/") + stamped, QStringLiteral("Holiday/") + odd,
                       stamped};
    QTest::newRow("dates: year and day of the stamped moment")
        << OutputLayout::Dates
        << QStringList{QStringLiteral("2026/2026-06-12/") + stamped,
                       QStringLiteral("2026/2026-06-12/IMG_0001 2026-06-12 (2).jpg"),
                       QStringLiteral("2026/2026-06-12/") + odd,
                       QStringLiteral("2026/2026-06-12/IMG_0001 2026-06-12 (3).jpg")};
}

void TestOutputLayout::eachLayoutPlansAndCopiesAlike() {
    QFETCH(OutputLayout, layout);
    QFETCH(QStringList, expected);
    const Listing listing = makeListing(m_sources);
    QCOMPARE(planned(listing, m_output, layout), expected);
    QCOMPARE(ran(listing, m_output, layout), expected);
    QStringList sorted = expected;
    sorted.sort();
    QCOMPARE(filesBelow(m_output), sorted);
    // The folders are made with 0777 less the umask.
    if (layout != OutputLayout::Flat) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        struct stat status {};
        const QString first =
            m_output + QLatin1Char('/') + expected.first().section(QLatin1Char('/'), 0, 0);
        QCOMPARE(::stat(pathToBytes(first).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0777 & ~mask);
    }
}

void TestOutputLayout::folderThatCannotBeUsedIsNotCopiedInto_data() {
    QTest::addColumn<OutputLayout>("layout");
    QTest::addColumn<QString>("inTheWay"); // below the output folder
    QTest::addColumn<bool>("link");
    QTest::addColumn<QStringList>("expected");
    const QString refused = QStringLiteral("not copied: ") + kReasonFolderInTheWay;
    const QString alone = QStringLiteral("IMG_0001 2026-06-12.jpg");
    QTest::newRow("tree, a link in place of the listed folder")
        << OutputLayout::Tree << QStringLiteral("Holiday") << true
        << QStringList{refused, refused, refused, alone};
    QTest::newRow("tree, a link in place of a sub-folder")
        << OutputLayout::Tree << QStringLiteral("Holiday/day 2") << true
        << QStringList{QStringLiteral("Holiday/day 1/") + alone, refused,
                       QStringLiteral("Holiday/") + pathFromBytes("\xff 2026-06-12.jpg"), alone};
    QTest::newRow("tree, a file in place of the listed folder")
        << OutputLayout::Tree << QStringLiteral("Holiday") << false
        << QStringList{refused, refused, refused, alone};
    QTest::newRow("dates, a link in place of the year")
        << OutputLayout::Dates << QStringLiteral("2026") << true
        << QStringList{refused, refused, refused, refused};
}

void TestOutputLayout::folderThatCannotBeUsedIsNotCopiedInto() {
    QFETCH(OutputLayout, layout);
    QFETCH(QString, inTheWay);
    QFETCH(bool, link);
    QFETCH(QStringList, expected);
    const Listing listing = makeListing(m_sources);
    const QString elsewhere = m_dir.path() + QStringLiteral("/elsewhere");
    QVERIFY(QDir().mkpath(elsewhere));
    const QString blocked = m_output + QLatin1Char('/') + inTheWay;
    QVERIFY(QDir().mkpath(blocked.section(QLatin1Char('/'), 0, -2)));
    if (link)
        QCOMPARE(::symlink(pathToBytes(elsewhere).constData(), pathToBytes(blocked).constData()),
                 0);
    else
        QVERIFY(writeFile(blocked, "in the way"));
    const test::TreeSnapshot before = snapshotOf(m_output);
    QCOMPARE(planned(listing, m_output, layout), expected);
    QCOMPARE(ran(listing, m_output, layout), expected);
    // Nothing was written through the link.
    QVERIFY(snapshotOf(elsewhere).isEmpty());
    QCOMPARE(test::describeEntry(blocked), before.value(QLatin1Char('/') + inTheWay));
}

void TestOutputLayout::undoRemovesTheFoldersTheRunMade_data() {
    QTest::addColumn<bool>("folderThere");
    QTest::newRow("into an empty output folder") << false;
    QTest::newRow("into a folder of the tree that was there before") << true;
}

void TestOutputLayout::undoRemovesTheFoldersTheRunMade() {
    QFETCH(bool, folderThere);
    enableRunRecords(QStringLiteral("window"));
    const Listing listing = makeListing(m_sources);
    if (folderThere)
        QVERIFY(writeFile(m_output + QStringLiteral("/Holiday/keep.txt")));
    const test::TreeSnapshot before = snapshotOf(m_output);
    RunOutcome outcome;
    ran(listing, m_output, OutputLayout::Tree, &outcome);
    QCOMPARE(outcome.copiedCount(), 4);
    QVERIFY(!outcome.recordId.isEmpty());
    const UndoResult undone = undoRun(outcome.recordId, false);
    QCOMPARE(undone.removed.size(), 4);
    QVERIFY(undone.left.isEmpty());
    COMPARE_TREE(before, snapshotOf(m_output));
}

QTEST_GUILESS_MAIN(TestOutputLayout)
#include "tst_outputlayout.moc"
