// The one place a listed file's new name is made: which time it stamps with, and the folder
// its copy goes into under each layout.
#include "naming/ComposeNewName.h"
#include "naming/FileMoment.h"
#include "naming/NewNameOf.h"
#include "naming/RegionalForms.h"

#include <QtTest>

#include <time.h>

using namespace plenvoy;

namespace {

/// Every file has the same times: the day given, at noon UTC.
class DayTimes final : public FileTimeProvider {
public:
    explicit DayTimes(QDate day)
        : m_ticks(
              (QDateTime(day, QTime(12, 0), Qt::UTC).toSecsSinceEpoch() + kSecondsFrom1601To1970) *
              kTicksPerSecond) {}
    std::optional<qint64> fileTime(const QString &, TimeSource) const override { return m_ticks; }

private:
    qint64 m_ticks;
};

const QString kCreatedDateAtEnd = QStringLiteral("Add file creation date to end of filename");
const QString kCurrentDateAtEnd = QStringLiteral("Add current date to end of filename");

} // namespace

class TestNewNameOf final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        qputenv("TZ", "UTC");
        ::tzset();
    }
    void nameAndFolderFollowTheChoices_data();
    void nameAndFolderFollowTheChoices();
    void aTimeOutsideTheStampsYearsIsNoTime_data();
    void aTimeOutsideTheStampsYearsIsNoTime();
};

void TestNewNameOf::nameAndFolderFollowTheChoices_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("listedThrough");
    QTest::addColumn<QString>("composed");
    QTest::addColumn<QString>("folder");
    const QString through = QStringLiteral("/photos");
    QTest::newRow("flat: the file's own time, no folder")
        << kCreatedDateAtEnd << int(OutputLayout::Flat) << false << through
        << QStringLiteral("/photos/2024/a 2024-05-01.jpg") << QString();
    QTest::newRow("taken: the moment the photo was taken")
        << kCreatedDateAtEnd << int(OutputLayout::Flat) << true << through
        << QStringLiteral("/photos/2024/a 2023-08-09.jpg") << QString();
    QTest::newRow("dates: the folder of the stamped day")
        << kCreatedDateAtEnd << int(OutputLayout::Dates) << false << through
        << QStringLiteral("/photos/2024/a 2024-05-01.jpg") << QStringLiteral("2024/2024-05-01");
    QTest::newRow("dates of a taken moment")
        << kCreatedDateAtEnd << int(OutputLayout::Dates) << true << through
        << QStringLiteral("/photos/2024/a 2023-08-09.jpg") << QStringLiteral("2023/2023-08-09");
    QTest::newRow("dates of an option that stamps the clock")
        << kCurrentDateAtEnd << int(OutputLayout::Dates) << true << through
        << QStringLiteral("/photos/2024/a 2026-12-08.jpg") << QStringLiteral("2026/2026-12-08");
    QTest::newRow("tree: the path below the folder listed through")
        << kCreatedDateAtEnd << int(OutputLayout::Tree) << false << through
        << QStringLiteral("/photos/2024/a 2024-05-01.jpg") << QStringLiteral("photos/2024");
    QTest::newRow("tree of a file listed on its own")
        << kCreatedDateAtEnd << int(OutputLayout::Tree) << false << QString()
        << QStringLiteral("/photos/2024/a 2024-05-01.jpg") << QString();
}

void TestNewNameOf::nameAndFolderFollowTheChoices() {
    QFETCH(QString, option);
    QFETCH(int, layout);
    QFETCH(bool, taken);
    QFETCH(QString, listedThrough);
    QFETCH(QString, composed);
    QFETCH(QString, folder);
    RunChoices choices{StampForm::Sortable, taken ? CreationTime::Taken : CreationTime::File,
                       OutputLayout(layout)};
    const FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(9, 30)));
    const NewName name = NewNameOf(
        {QStringLiteral("/photos/2024/a.jpg"), listedThrough}, NamingRule{option, -1, choices},
        clock, DayTimes(QDate(2024, 5, 1)), DayTimes(QDate(2023, 8, 9)), RegionalForms::system());
    QCOMPARE(name.composed, composed);
    QCOMPARE(name.folder, folder);
}

namespace {

/// A file without any time.
class NoTimes final : public FileTimeProvider {
public:
    std::optional<qint64> fileTime(const QString &, TimeSource) const override {
        return std::nullopt;
    }
};

} // namespace

void TestNewNameOf::aTimeOutsideTheStampsYearsIsNoTime_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<bool>("stamped");
    QTest::newRow("year 10000") << QDate(10000, 1, 1) << false;
    QTest::newRow("a year before the common era") << QDate(-1, 6, 1) << false;
    QTest::newRow("the year before 1601") << QDate(1600, 12, 30) << false;
    QTest::newRow("the first year") << QDate(1601, 1, 2) << true;
    QTest::newRow("the last year") << QDate(9999, 12, 30) << true;
}

void TestNewNameOf::aTimeOutsideTheStampsYearsIsNoTime() {
    QFETCH(QDate, day);
    QFETCH(bool, stamped);
    const RunChoices choices{StampForm::Sortable, CreationTime::File, OutputLayout::Dates};
    const FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(9, 30)));
    const QString source = QStringLiteral("/photos/a.jpg");
    const NamingRule rule{kCreatedDateAtEnd, -1, choices};
    const NewName named = NewNameOf({source, QString()}, rule, clock, DayTimes(day), DayTimes(day),
                                    RegionalForms::system());
    const NewName none =
        NewNameOf({source, QString()}, rule, clock, NoTimes(), NoTimes(), RegionalForms::system());
    QCOMPARE(named.composed == none.composed && named.folder == none.folder, !stamped);
    if (stamped)
        QVERIFY(named.folder.startsWith(QString::number(day.year())));
}

QTEST_GUILESS_MAIN(TestNewNameOf)
#include "tst_newnameof.moc"
