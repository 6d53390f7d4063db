#include "FakeWindow.h"
#include "FixedRunInputs.h"
#include "TestFiles.h"
#include "core/PathCodec.h"
#include "naming/ComposeNewName.h"
#include "naming/RegionalForms.h"
#include "records/CopiedIndex.h"
#include "records/RecordWriter.h"
#include "run/NamePlanner.h"
#include "run/StartChanging.h"

#include <QtTest>

#include <sys/stat.h>

using namespace plenvoy;
using plenvoy::test::FakeWindow;
using plenvoy::test::setFileTimes;
using plenvoy::test::writeFile;

namespace {

const QString kOption = QStringLiteral("Add last modified date to end of filename");
const struct timespec kModified { 1'781'265'600, 0 };

/// What happens between the first run and the second.
enum class Since {
    Nothing,
    CopyChanged,
    CopyRemoved,
    SourceChanged,
    CardPluggedInElsewhere,
    OtherFoldersIndexedBefore
};

struct Listing {
    QStringList entries;
    QStringList through;
};

/// A card's folder, listed through, with a photo that is not UTF-8 by name.
Listing cardAt(const QString &card) {
    Listing listing;
    for (const QString &name :
         {QStringLiteral("DCIM/IMG_0001.jpg"), pathFromBytes("DCIM/\xff.jpg")}) {
        const QString path = card + QLatin1Char('/') + name;
        writeFile(path, "photo");
        setFileTimes(path, kModified, kModified);
        listing.entries.append(path);
        listing.through.append(card);
    }
    return listing;
}

RunChoices skipping(bool skip) {
    RunChoices style;
    style.skipCopied = skip;
    style.form = StampForm::Sortable;
    style.layout = OutputLayout::Tree;
    return style;
}

/// Each entry as the planner and the run saw it: copied, or the reason it was not.
QStringList planAndRun(const Listing &listing, const QString &output, bool skip,
                       QStringList *planned, QString *recordId = nullptr) {
    PlanRequest request{kOption, -1, skipping(skip), output};
    NamePlanner planner(request, listing.entries, systemClock(), systemFileTimes(),
                        RegionalForms::system());
    planner.setListedThrough([&listing](int index) { return listing.through.at(index); });
    for (const PlannedName &plan : planner.planAll())
        planned->append(plan.verdict == Verdict::NotCopied ? plan.reason
                                                           : QStringLiteral("copied"));
    FixedRunInputs inputs(listing.entries, output, kOption);
    inputs.through = listing.through;
    FakeWindow window;
    QStringList said;
    const RunOutcome outcome =
        startChanging(inputs, window, systemClock(), systemFileTimes(), skipping(skip),
                      [&](const FileOutcome &file) {
                          said.append(file.copied() ? QStringLiteral("copied") : file.reason);
                      });
    if (recordId)
        *recordId = outcome.recordId;
    return said;
}

} // namespace

class TestCopiedIndex final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_STATE_HOME", pathToBytes(m_dir.path() + QStringLiteral("/state")));
        enableRunRecords(QStringLiteral("cli"));
    }
    void cleanup() {
        disableRunRecords();
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), m_dir.path()});
        QVERIFY(QDir().mkpath(m_dir.path()));
    }

    void secondRunSkipsOnlyUnchangedCopies_data();
    void secondRunSkipsOnlyUnchangedCopies();
    void indexNamesCopyAndSourceExactly_data();
    void indexNamesCopyAndSourceExactly();
};

void TestCopiedIndex::secondRunSkipsOnlyUnchangedCopies_data() {
    QTest::addColumn<Since>("since");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<bool>("skipped");
    QTest::newRow("unchanged") << Since::Nothing << true << true;
    QTest::newRow("unchanged, not asked to skip") << Since::Nothing << false << false;
    QTest::newRow("the copy was changed") << Since::CopyChanged << true << false;
    QTest::newRow("the copy was removed") << Since::CopyRemoved << true << false;
    QTest::newRow("the source was changed") << Since::SourceChanged << true << false;
    QTest::newRow("the card under another mount point")
        << Since::CardPluggedInElsewhere << true << true;
    QTest::newRow("a long index whose read splits this folder's line")
        << Since::OtherFoldersIndexedBefore << true << true;
}

void TestCopiedIndex::secondRunSkipsOnlyUnchangedCopies() {
    QFETCH(Since, since);
    QFETCH(bool, skip);
    QFETCH(bool, skipped);
    const QString output = m_dir.path() + QStringLiteral("/out");
    QVERIFY(QDir().mkpath(output));
    Listing listing = cardAt(m_dir.path() + QStringLiteral("/media/CARD"));
    QStringList planned;
    const QStringList copied{QStringLiteral("copied"), QStringLiteral("copied")};
    QCOMPARE(planAndRun(listing, output, true, &planned), copied);
    const QString copy = output + QStringLiteral("/CARD/DCIM/IMG_0001 2026-06-12.jpg");
    QVERIFY(QFileInfo::exists(copy));
    switch (since) {
    case Since::Nothing:
        break;
    case Since::CopyChanged:
        QVERIFY(writeFile(copy, "edited"));
        break;
    case Since::CopyRemoved:
        QVERIFY(QFile::remove(copy));
        break;
    case Since::SourceChanged:
        QVERIFY(writeFile(listing.entries.first(), "another photo"));
        QVERIFY(setFileTimes(listing.entries.first(), kModified, kModified));
        break;
    case Since::CardPluggedInElsewhere:
        QVERIFY(QDir().mkpath(m_dir.path() + QStringLiteral("/run/media")));
        QVERIFY(QDir().rename(m_dir.path() + QStringLiteral("/media/CARD"),
                              m_dir.path() + QStringLiteral("/run/media/CARD")));
        listing = cardAt(m_dir.path() + QStringLiteral("/run/media/CARD"));
        break;
    case Since::OtherFoldersIndexedBefore: {
        // Lines of another folder up to just short of the first megabyte.
        const QByteArray line = "b3RoZXI=\tYQ==\tYQ==\t1\t1\t1\t1\t1\t1\t1\t1\n";
        QByteArray padding;
        while (padding.size() + line.size() < (1 << 20) - 10)
            padding += line;
        padding += QByteArray((1 << 20) - 10 - padding.size() - 1, 'x') + '\n';
        QVERIFY(writeFile(copiedIndexPath(), padding + test::contentOf(copiedIndexPath())));
        break;
    }
    }
    const QString day = RegionalForms::system().shortDate(QDate::currentDate());
    const QString first = skipped ? QStringLiteral("copied before on ") + day +
                                        QStringLiteral(" as IMG_0001 2026-06-12.jpg")
                                  : QStringLiteral("copied");
    planned.clear();
    QString recordId;
    const QStringList ran = planAndRun(listing, output, skip, &planned, &recordId);
    QCOMPARE(planned.first(), first);
    QCOMPARE(ran.first(), first);
    // The other photo was left as it was: it is skipped whenever skipping is asked.
    QCOMPARE(ran.last() != QLatin1String("copied"), skip);
    // The record (of a run that copied one) says which were skipped.
    if (!recordId.isEmpty())
        QCOMPARE(test::contentOf(runRecordFolder() + QLatin1Char('/') + recordId +
                                 QStringLiteral(".jsonl"))
                     .count("\"outcome\":\"skipped\""),
                 ran.count() - ran.count(QStringLiteral("copied")));
}

void TestCopiedIndex::indexNamesCopyAndSourceExactly_data() {
    QTest::addColumn<QByteArray>("name");
    // Names of every length modulo three, and names that are not ASCII.
    QTest::newRow("a") << QByteArray("a");
    QTest::newRow("ab") << QByteArray("ab");
    QTest::newRow("abc") << QByteArray("abc");
    QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9 \xe2\x82\xac");
    QTest::newRow("not UTF-8") << QByteArray("x\xff");
}

void TestCopiedIndex::indexNamesCopyAndSourceExactly() {
    QFETCH(QByteArray, name);
    const QString card = m_dir.path() + QStringLiteral("/CARD");
    const QString source = card + QStringLiteral("/sub/") + pathFromBytes(name);
    QVERIFY(writeFile(source, "photo"));
    QVERIFY(setFileTimes(source, kModified, kModified));
    const QString output = m_dir.path() + QStringLiteral("/out");
    QVERIFY(QDir().mkpath(output));
    QStringList planned;
    QCOMPARE(planAndRun({{source}, {card}}, output, false, &planned),
             QStringList{QStringLiteral("copied")});
    const QList<QByteArray> fields = test::contentOf(copiedIndexPath()).trimmed().split('\t');
    QCOMPARE(fields.size(), 11);
    const auto decoded = [](const QByteArray &field) {
        const auto result =
            QByteArray::fromBase64Encoding(field, QByteArray::AbortOnBase64DecodingErrors);
        return result ? *result : QByteArray("(not base64)");
    };
    QCOMPARE(decoded(fields.at(0)), pathToBytes(QDir(output).canonicalPath()));
    QCOMPARE(decoded(fields.at(1)), "CARD/sub/" + name + " 2026-06-12");
    QCOMPARE(decoded(fields.at(2)), "sub/" + name);
}

QTEST_GUILESS_MAIN(TestCopiedIndex)
#include "tst_copiedindex.moc"
