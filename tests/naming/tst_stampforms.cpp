#include "naming/ComposeNewName.h"
#include "naming/FileMoment.h"
#include "naming/RegionalForms.h"
#include "naming/RunChoices.h"
#include "naming/StampPattern.h"

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
    void patternWritesEveryToken_data();
    void patternWritesEveryToken();
    void patternMakesTheWholeStamp();
    void patternsThatCouldMakeABadNameAreRefused_data();
    void patternsThatCouldMakeABadNameAreRefused();
    void shiftsAreWrittenAndReadBack_data();
    void shiftsAreWrittenAndReadBack();
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
                            RunChoices().form),
             QStringLiteral("/p/a 12-6-2026 2-05-09 PM.txt"));
}

void TestStampForms::formsAreNamedForSettingsAndCommandLine() {
    for (const StampForm form :
         {StampForm::Regional, StampForm::Sortable, StampForm::Compact, StampForm::Custom})
        QCOMPARE(stampFormNamed(stampFormName(form)), form);
    QCOMPARE(stampFormName(StampForm::Custom), QStringLiteral("custom"));
    for (const CreationTime creation : {CreationTime::File, CreationTime::Taken})
        QCOMPARE(creationTimeNamed(creationTimeName(creation)), creation);
    QCOMPARE(stampFormName(StampForm::Sortable), QStringLiteral("sortable"));
    QCOMPARE(creationTimeName(CreationTime::Taken), QStringLiteral("taken"));
    for (const char *unknown : {"", "Sortable", "iso", "regional "}) {
        QVERIFY(!stampFormNamed(QString::fromLatin1(unknown)));
        QVERIFY(!creationTimeNamed(QString::fromLatin1(unknown)));
    }
}

void TestStampForms::patternWritesEveryToken_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    // A Monday afternoon, and a Sunday early morning that ISO counts in the year before.
    const QDateTime monday(QDate(2026, 12, 7), QTime(14, 5, 9));
    const QDateTime sunday(QDate(2021, 1, 3), QTime(0, 30, 0));
    const QString numbers = QStringLiteral("%Y %y %m %d %e %H %I %M %S %j %V %G %u %%");
    const QString names = QStringLiteral("%p %b %B %a %A");
    QTest::newRow("numbers, monday")
        << "en_US" << monday << numbers << "2026 26 12 07  7 14 02 05 09 341 50 2026 1 %";
    QTest::newRow("numbers, sunday")
        << "de_DE" << sunday << numbers << "2021 21 01 03  3 00 12 30 00 003 53 2020 7 %";
    QTest::newRow("names, English") << "en_US" << monday << names << "PM Dec December Mon Monday";
    QTest::newRow("names, English morning")
        << "C" << sunday << names << "AM Jan January Sun Sunday";
    QTest::newRow("names, German") << "de_DE" << monday << names << "PM Dez. Dezember Mo. Montag";
    QTest::newRow("names, French")
        << "fr_FR" << sunday << QStringLiteral("%A %d %B") << "dimanche 03 janvier";
    QTest::newRow("other characters stand as themselves")
        << "C" << monday << QStringLiteral("[%d.%m] _ é-%H'h") << "[07.12] _ é-14'h";
}

void TestStampForms::patternWritesEveryToken() {
    QFETCH(QString, locale);
    QFETCH(QDateTime, moment);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    const RegionalForms forms{QLocale(locale)};
    QVERIFY(checkStampPattern(pattern, forms).isValid());
    QCOMPARE(
        patternStamp(pattern, moment.date(), moment.time().msecsSinceStartOfDay() / 1000, forms),
        expected);
}

void TestStampForms::patternMakesTheWholeStamp() {
    const QDateTime moment(QDate(2026, 12, 7), QTime(14, 5, 9), Qt::UTC);
    const FixedClock clock(moment);
    const OneFileTime times(utcTicks(moment));
    const RegionalForms forms{QLocale(QStringLiteral("en_US"))};
    RunChoices style;
    style.form = StampForm::Custom;
    style.pattern = QStringLiteral("%H.%M");
    // Whatever the option's kind, and from the clock or from a file time.
    for (const char *option : {"Add current date to beginning of filename",
                               "Add file creation time and date to end of filename"}) {
        const QString name = ComposeNewName(QStringLiteral("/p/a.txt"), QLatin1String(option), 1,
                                            clock, times, forms, style);
        QVERIFY2(name == QLatin1String("/p/14.05 a.txt") || name == QLatin1String("/p/a 14.05.txt"),
                 qPrintable(name));
    }
    // Another pattern of the same moment is another stamp.
    style.pattern = QStringLiteral("%B");
    QCOMPARE(ComposeNewName(QStringLiteral("/p/a.txt"),
                            QStringLiteral("Add current date to beginning of filename"), 1, clock,
                            times, forms, style),
             QStringLiteral("/p/December a.txt"));
}

void TestStampForms::patternsThatCouldMakeABadNameAreRefused_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char *name, const char *locale, const QString &pattern,
                        PatternFault fault, const char *reason) {
        QTest::newRow(name) << QString::fromLatin1(locale) << pattern << int(fault)
                            << QString::fromLatin1(reason);
    };
    row("slash", "C", QStringLiteral("%Y/%m"), PatternFault::SlashOrNul, "\"/\"");
    row("NUL", "C", QStringLiteral("%Y") + QChar(0), PatternFault::SlashOrNul, "NUL");
    for (const char c : QByteArrayLiteral("\\:*?\"<>|"))
        if (c != 0)
            row(QByteArray("refused ").append(c).constData(), "C",
                QStringLiteral("%d") + QLatin1Char(c), PatternFault::RefusedCharacter,
                "some drives refuse");
    row("line break", "C", QStringLiteral("%d\n"), PatternFault::RefusedCharacter,
        "control character");
    row("unknown token", "C", QStringLiteral("%Y%q"), PatternFault::UnknownToken, "\"%q\"");
    row("lone percent", "C", QStringLiteral("%Y%"), PatternFault::UnknownToken, "\"%\" is not");
    row("empty", "C", QString(), PatternFault::EmptyStamp, "empty");
    row("too long", "C", QStringLiteral("%B").repeated(8), PatternFault::TooLong, "72 bytes");
    // "Wednesday" five times is 45 bytes; the Russian "воскресенье" takes 22.
    row("fits in English", "C", QStringLiteral("%A").repeated(5), PatternFault::None, "");
    row("too long in Russian", "ru_RU", QStringLiteral("%A").repeated(5), PatternFault::TooLong,
        "110 bytes");
    row("64 bytes", "C", QString(64, QLatin1Char('x')), PatternFault::None, "");
    row("65 bytes", "C", QString(63, QLatin1Char('x')) + QStringLiteral("é"), PatternFault::TooLong,
        "65 bytes");
}

void TestStampForms::patternsThatCouldMakeABadNameAreRefused() {
    QFETCH(QString, locale);
    QFETCH(QString, pattern);
    QFETCH(int, fault);
    QFETCH(QString, reason);
    const PatternCheck check = checkStampPattern(pattern, RegionalForms(QLocale(locale)));
    QCOMPARE(int(check.fault), fault);
    const QString text = patternFaultText(check);
    QVERIFY2(reason.isEmpty() ? text.isEmpty() : text.contains(reason), qPrintable(text));
}

void TestStampForms::shiftsAreWrittenAndReadBack_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("seconds"); // -1 with "stored" empty: refused
    QTest::addColumn<QString>("stored");
    QTest::newRow("an hour back") << "-1:00:00" << qint64(-3600) << "-0:01:00:00";
    QTest::newRow("days on") << "+2:03:04:05" << qint64(2 * 86'400 + 3 * 3600 + 4 * 60 + 5)
                             << "+2:03:04:05";
    QTest::newRow("no sign is forward") << "0:00:01" << qint64(1) << "+0:00:00:01";
    QTest::newRow("minus nothing") << "-0:00:00:00" << qint64(0) << "+0:00:00:00";
    QTest::newRow("longest") << "-99999:23:59:59" << -(99'999 * 86'400LL + 86'399)
                             << "-99999:23:59:59";
    for (const char *refused : {"", "1:00", "24:00:00", "0:60:00", "0:00:60", "100000:00:00:00",
                                "1:2:3:4:5", "+-1:00:00", "1:00:0x", " 1:00:00", "1::00"})
        QTest::newRow(refused) << refused << qint64(-1) << "";
}

void TestStampForms::shiftsAreWrittenAndReadBack() {
    QFETCH(QString, text);
    QFETCH(qint64, seconds);
    QFETCH(QString, stored);
    const std::optional<qint64> read = takenShiftNamed(text);
    if (stored.isEmpty()) {
        QVERIFY(!read);
        return;
    }
    QCOMPARE(read, seconds);
    QCOMPARE(takenShiftText(seconds), stored);
    QCOMPARE(takenShiftNamed(stored), seconds);
}

QTEST_GUILESS_MAIN(TestStampForms)
#include "tst_stampforms.moc"
