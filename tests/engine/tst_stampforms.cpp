#include "engine/ComposeNewName.h"
#include "engine/FileMoment.h"
#include "engine/RegionalForms.h"
#include "engine/StampStyle.h"

#include <QtTest>

#include <time.h>

using namespace plenvoy;

namespace {

/// Every file time is the same moment.
class OneFileTime final : public FileTimeProvider {
public:
    explicit OneFileTime(qint64 ticks)
        : m_ticks(ticks) {}
    std::optional<qint64> fileTime(const QString &, TimeSource) const override { return m_ticks; }

private:
    qint64 m_ticks;
};

qint64 utcTicks(const QDateTime &utc) {
    return (utc.toSecsSinceEpoch() + kSecondsFrom1601To1970) * kTicksPerSecond;
}

/// Locales whose regional forms differ in order, separators, clock and digits.
const char *const kLocales[] = {"en_US", "de_DE", "ar_EG"};

} // namespace

class TestStampForms : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void sameStampInEveryLocale_data();
    void sameStampInEveryLocale();
    void regionalStaysTheDefault();
    void formsAreNamedForSettingsAndCommandLine();
};

void TestStampForms::initTestCase() {
    qputenv("TZ", "UTC");
    ::tzset();
}

void TestStampForms::sameStampInEveryLocale_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("expected");
    const QDateTime afternoon(QDate(2026, 12, 7), QTime(14, 5, 9), Qt::UTC);
    const QDateTime midnight(QDate(2026, 3, 1), QTime(0, 0, 0), Qt::UTC);
    const QDateTime morning(QDate(987, 1, 2), QTime(3, 4, 5), Qt::UTC);
    const int sortable = int(StampForm::Sortable);
    const int compact = int(StampForm::Compact);
    const auto row = [](const char *name, const char *option, const QDateTime &moment, int form,
                        const char *expected) {
        QTest::newRow(name) << QString::fromLatin1(option) << moment << form
                            << QString::fromLatin1(expected);
    };
    row("clock both end, sortable", "Add current time and date to end of filename", afternoon,
        sortable, "/p/a 2026-12-07 14-05-09.txt");
    row("clock both end, compact", "Add current time and date to end of filename", afternoon,
        compact, "/p/a 20261207-140509.txt");
    row("clock time beginning, sortable", "Add current time to beginning of filename", afternoon,
        sortable, "/p/14-05-09 a.txt");
    row("clock date end, compact", "Add current date to end of filename", afternoon, compact,
        "/p/a 20261207.txt");
    row("file both end, sortable", "Add file creation time and date to end of filename", afternoon,
        sortable, "/p/a 2026-12-07 14-05-09.txt");
    row("file time end, compact", "Add file creation time to end of filename", afternoon, compact,
        "/p/a 140509.txt");
    row("file date beginning, sortable", "Add last modified date to beginning of filename",
        afternoon, sortable, "/p/2026-12-07 a.txt");
    row("accessed both, compact", "Add last accessed time and date to end of filename", afternoon,
        compact, "/p/a 20261207-140509.txt");
    // The regional form writes a moment at midnight as the date alone; these stay whole.
    row("file midnight stays whole, sortable", "Add last modified time and date to end of filename",
        midnight, sortable, "/p/a 2026-03-01 00-00-00.txt");
    row("clock midnight stays whole, compact", "Add current time and date to end of filename",
        midnight, compact, "/p/a 20260301-000000.txt");
    row("zero-padded year", "Add current time and date to end of filename", morning, sortable,
        "/p/a 0987-01-02 03-04-05.txt");
    row("after nth, compact", "Add current time and date after nth character in filename",
        afternoon, compact, "/p/a20261207-140509.txt");
}

void TestStampForms::sameStampInEveryLocale() {
    QFETCH(QString, option);
    QFETCH(QDateTime, moment);
    QFETCH(int, form);
    QFETCH(QString, expected);
    const FixedClock clock(moment);
    const OneFileTime times(utcTicks(moment));
    for (const char *name : kLocales) {
        const RegionalForms forms{QLocale(QString::fromLatin1(name))};
        QCOMPARE(ComposeNewName(QStringLiteral("/p/a.txt"), option, 1, clock, times, forms,
                                StampForm(form)),
                 expected);
        // The English regional form of the same moment is another name: the cache of
        // written stamps must not hand one form's stamp to the other.
        if (qstrcmp(name, "en_US") == 0)
            QVERIFY(ComposeNewName(QStringLiteral("/p/a.txt"), option, 1, clock, times, forms,
                                   StampForm::Regional) != expected);
    }
}

void TestStampForms::regionalStaysTheDefault() {
    const QDateTime moment(QDate(2026, 12, 6), QTime(14, 5, 9), Qt::UTC);
    const FixedClock clock(moment);
    const OneFileTime times(utcTicks(moment));
    const RegionalForms forms{QLocale(QStringLiteral("en_US"))};
    const QString option = QStringLiteral("Add current time and date to end of filename");
    QCOMPARE(ComposeNewName(QStringLiteral("/p/a.txt"), option, 1, clock, times, forms),
             QStringLiteral("/p/a 12-6-2026 2-05-09 PM.txt"));
    QCOMPARE(ComposeNewName(QStringLiteral("/p/a.txt"), option, 1, clock, times, forms,
                            StampStyle().form),
             QStringLiteral("/p/a 12-6-2026 2-05-09 PM.txt"));
}

void TestStampForms::formsAreNamedForSettingsAndCommandLine() {
    for (const StampForm form : {StampForm::Regional, StampForm::Sortable, StampForm::Compact})
        QCOMPARE(stampFormNamed(stampFormName(form)), form);
    for (const CreationTime creation : {CreationTime::File, CreationTime::Taken})
        QCOMPARE(creationTimeNamed(creationTimeName(creation)), creation);
    QCOMPARE(stampFormName(StampForm::Sortable), QStringLiteral("sortable"));
    QCOMPARE(creationTimeName(CreationTime::Taken), QStringLiteral("taken"));
    for (const char *unknown : {"", "Sortable", "iso", "regional "}) {
        QVERIFY(!stampFormNamed(QString::fromLatin1(unknown)));
        QVERIFY(!creationTimeNamed(QString::fromLatin1(unknown)));
    }
}

QTEST_GUILESS_MAIN(TestStampForms)
#include "tst_stampforms.moc"
