#include "RenameOptionLookup.h"
#include "core/Failure.h"
#include "core/PathCodec.h"
#include "naming/ComposeNewName.h"
#include "naming/FileMoment.h"
#include "naming/NthValue.h"
#include "naming/RegionalForms.h"
#include "naming/RenameOptions.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

using namespace plenvoy;
using plenvoy::test::findRenameOption;

namespace {

const QString kClockTimeBeginning = QStringLiteral("Add current time to beginning of filename");
const QString kClockTimeEnd = QStringLiteral("Add current time to end of filename");
const QString kClockTimeNth = QStringLiteral("Add current time after nth character in filename");
const QString kClockDateEnd = QStringLiteral("Add current date to end of filename");
const QString kClockBothEnd = QStringLiteral("Add current time and date to end of filename");
const QString kCreationTimeNth =
    QStringLiteral("Add file creation time after nth character in filename");
const QString kCreationDateEnd = QStringLiteral("Add file creation date to end of filename");
const QString kCreationBothBeginning =
    QStringLiteral("Add file creation time and date to beginning of filename");
const QString kCreationBothNth =
    QStringLiteral("Add file creation time and date after nth character in filename");
const QString kModifiedTimeEnd = QStringLiteral("Add last modification time to end of filename");
const QString kModifiedDateEnd = QStringLiteral("Add last modified date to end of filename");
const QString kModifiedBothEnd =
    QStringLiteral("Add last modified time and date to end of filename");
const QString kAccessedBothEnd =
    QStringLiteral("Add last accessed time and date to end of filename");

void useTimeZone(const char *zone) {
    qputenv("TZ", zone);
    ::tzset();
}

/// Ticks since 1601 of a UTC date and time, plus extra ticks.
qint64 utcTicks(QDate date, QTime time, qint64 extraTicks = 0) {
    return (QDateTime(date, time, Qt::UTC).toSecsSinceEpoch() + kSecondsFrom1601To1970) *
               kTicksPerSecond +
           extraTicks;
}

/// File times fixed per source, counting how often they are asked.
class FixedFileTimes final : public FileTimeProvider {
public:
    std::optional<qint64> creation, lastWrite, lastAccess;
    mutable int asked = 0;
    mutable TimeSource lastSource = TimeSource::Clock;

    std::optional<qint64> fileTime(const QString &, TimeSource source) const override {
        ++asked;
        lastSource = source;
        switch (source) {
        case TimeSource::Creation:
            return creation;
        case TimeSource::LastWrite:
            return lastWrite;
        case TimeSource::LastAccess:
            return lastAccess;
        case TimeSource::Clock:
            break;
        }
        return std::nullopt;
    }
};

/// A clock that counts its readings.
class CountingClock final : public ClockProvider {
public:
    explicit CountingClock(QDateTime moment)
        : m_moment(std::move(moment)) {}
    QDateTime now() const override {
        ++readings;
        return m_moment;
    }
    mutable int readings = 0;

private:
    QDateTime m_moment;
};

int failureNumberOf(const std::function<void()> &call) {
    try {
        call();
    } catch (const Failure &failure) {
        return failure.number();
    }
    return 0;
}

void setFileTimes(const QString &path, qint64 accessSeconds, long accessNanos, qint64 writeSeconds,
                  long writeNanos) {
    const struct timespec times[2] = {{time_t(accessSeconds), accessNanos},
                                      {time_t(writeSeconds), writeNanos}};
    QCOMPARE(::utimensat(AT_FDCWD, pathToBytes(path).constData(), times, 0), 0);
}

/// The decimal digits of a text, in whatever script, as ASCII digits.
QString digitsOf(const QString &text) {
    QString digits;
    for (const uint c : text.toUcs4()) {
        const int value = QChar::digitValue(char32_t(c));
        if (value >= 0)
            digits.append(QChar(u'0' + value));
    }
    return digits;
}

/// True when brackets of any kind hold nothing but blanks.
bool hasEmptyBrackets(const QString &text) {
    QString packed;
    for (const QChar c : text) {
        if (!c.isSpace() && c.category() != QChar::Other_Format)
            packed.append(c);
    }
    static const QStringList pairs = {
        QStringLiteral("()"),           QStringLiteral("[]"),
        QStringLiteral("{}"),           QStringLiteral("<>"),
        QStringLiteral("\uFF08\uFF09"), QStringLiteral("\uFF3B\uFF3D"),
        QStringLiteral("\u3010\u3011"), QStringLiteral("\u300C\u300D"),
        QStringLiteral("\u300E\u300F")};
    for (const QString &pair : pairs) {
        if (packed.contains(pair))
            return true;
    }
    return false;
}

/// A character that a stamp should neither begin nor end with.
bool isLooseEnd(QChar c) {
    return c.isSpace() || c.category() == QChar::Other_Format || c == QLatin1Char(',') ||
           c == QLatin1Char(';') || c == QChar(0x060C) || c == QChar(0x3001);
}

/// The zone abbreviation that the C library gives for a moment in the current zone.
QString zoneAbbreviation(time_t moment) {
    struct tm local {};
    char buffer[64] = {};
    if (::localtime_r(&moment, &local) == nullptr ||
        ::strftime(buffer, sizeof buffer, "%Z", &local) == 0)
        return QString();
    return QString::fromLatin1(buffer);
}

} // namespace

class TestRenameEngine : public QObject {
    Q_OBJECT

public:
    TestRenameEngine()
        : m_us(QLocale(QLocale::English, QLocale::UnitedStates))
        , m_at(QDate(2026, 12, 6), QTime(14, 5, 9)) {}

private Q_SLOTS:
    void init();

    void catalogueTextsAndOrder();
    void catalogueLookupIsExact_data();
    void catalogueLookupIsExact();
    void onlyAfterNthOptionsNeedN();

    void workedResults_data();
    void workedResults();
    void cutting_data();
    void cutting();
    void afterNthBounds_data();
    void afterNthBounds();
    void afterNthKeepsPairsWhole_data();
    void afterNthKeepsPairsWhole();
    void nGreaterThanBaseAsksNoFileTime();
    void composedNameNeverEndsInADotOrBlank_data();
    void composedNameNeverEndsInADotOrBlank();
    void optionTextAndNameCases_data();
    void optionTextAndNameCases();
    void clockIsReadOnlyForClockOptions();

    void stampForms_data();
    void stampForms();
    void momentTextForms_data();
    void momentTextForms();
    void secondsAreRoundedToTheNearest_data();
    void secondsAreRoundedToTheNearest();
    void replacementTable_data();
    void replacementTable();
    void missingFileGivesEmptyStamps_data();
    void missingFileGivesEmptyStamps();

    void lastWriteAndLastAccessAreNotSwapped();
    void realFileKeepsItsFraction();
    void creationFallsBackToAKnownTime();
    void summerTimeReadInWinter_data();
    void summerTimeReadInWinter();
    void nameThatIsNotUtf8HasItsOwnTimes();
    void statusGivesTheTimesOfItsPath_data();
    void statusGivesTheTimesOfItsPath();
    void statusOfARealFileMatchesTheSystemTimes();

    void referenceLocalesGiveTheReferenceForms_data();
    void referenceLocalesGiveTheReferenceForms();
    void otherLocalesUseTheirOwnForms_data();
    void otherLocalesUseTheirOwnForms();
    void zonePartIsDroppedWithItsFrame_data();
    void zonePartIsDroppedWithItsFrame();
    void everyLocaleComposesCleanNames_data();
    void everyLocaleComposesCleanNames();

    void nthValueConversion_data();
    void nthValueConversion();

private:
    QString compose(const QString &path, const QString &option, qint16 n) {
        return ComposeNewName(path, option, n, m_clock, m_times, m_us);
    }

    RegionalForms m_us;
    QDateTime m_at;
    FixedClock m_clock{m_at};
    FixedFileTimes m_times;
    QTemporaryDir m_dir;
};

void TestRenameEngine::init() {
    useTimeZone("UTC");
    m_times = FixedFileTimes();
    m_times.creation = utcTicks(QDate(2026, 12, 6), QTime(9, 3, 7));
    m_times.lastWrite = utcTicks(QDate(2025, 1, 2), QTime(3, 4, 5));
    m_times.lastAccess = utcTicks(QDate(2024, 7, 8), QTime(20, 10, 11));
}

// --- catalogue -------------------------------------------------------------------------

void TestRenameEngine::catalogueTextsAndOrder() {
    const QStringList texts = renameOptionTexts();
    QCOMPARE(texts.size(), kRenameOptionCount);
    QCOMPARE(texts.at(0), kClockTimeBeginning);
    QCOMPARE(texts.at(8),
             QStringLiteral("Add current time and date after nth character in filename"));
    QCOMPARE(texts.at(19), kModifiedTimeEnd);
    QCOMPARE(texts.at(18), QStringLiteral("Add last modified time to beginning of filename"));
    QCOMPARE(texts.at(35),
             QStringLiteral("Add last accessed time and date after nth character in filename"));
    QCOMPARE(QSet<QString>(texts.begin(), texts.end()).size(), kRenameOptionCount);
    // Index = source * 9 + kind * 3 + position, in the order the list shows them.
    for (int i = 0; i < kRenameOptionCount; ++i) {
        const RenameOption &option = renameOptions().at(i);
        QCOMPARE(int(option.source), i / 9);
        QCOMPARE(int(option.kind), i / 3 % 3);
        QCOMPARE(int(option.position), i % 3);
        QCOMPARE(renameOptionIndex(option.text), i);
    }
}

void TestRenameEngine::catalogueLookupIsExact_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::newRow("entry 0") << kClockTimeBeginning << 0;
    QTest::newRow("modification wording") << kModifiedTimeEnd << 19;
    QTest::newRow("regular wording of 19 is no option")
        << QStringLiteral("Add last modified time to end of filename") << -1;
    QTest::newRow("first letter in lower case")
        << QStringLiteral("add current time to beginning of filename") << -1;
    QTest::newRow("trailing blank") << kClockTimeBeginning + QLatin1Char(' ') << -1;
    QTest::newRow("empty") << QString() << -1;
}

void TestRenameEngine::catalogueLookupIsExact() {
    QFETCH(QString, text);
    QFETCH(int, index);
    QCOMPARE(renameOptionIndex(text), index);
    QCOMPARE(findRenameOption(text).has_value(), index >= 0);
}

void TestRenameEngine::onlyAfterNthOptionsNeedN() {
    for (const RenameOption &option : renameOptions())
        QCOMPARE(needsNthValue(option.text), option.position == InsertPosition::AfterNth);
}

// --- composition -----------------------------------------------------------------------

void TestRenameEngine::workedResults_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    QTest::newRow("current time to beginning")
        << kClockTimeBeginning << -1 << QStringLiteral("/Photos/2-05-09 PM trip.beach.jpg");
    QTest::newRow("current time and date to end")
        << kClockBothEnd << -1 << QStringLiteral("/Photos/trip.beach 12-6-2026 2-05-09 PM.jpg");
    QTest::newRow("creation time after 4")
        << kCreationTimeNth << 4 << QStringLiteral("/Photos/trip09-03-07 AM.beach.jpg");
    QTest::newRow("creation date to end")
        << kCreationDateEnd << -1 << QStringLiteral("/Photos/trip.beach 12-06-2026.jpg");
    QTest::newRow("current date after 11 exceeds the base")
        << QStringLiteral("Add current date after nth character in filename") << 11
        << QStringLiteral("/Photos/trip.beach.jpg");
    QTest::newRow("creation time and date to beginning")
        << kCreationBothBeginning << -1
        << QStringLiteral("/Photos/12-6-2026 9-03-07 AM trip.beach.jpg");
    QTest::newRow("last modified uses the write time")
        << kModifiedDateEnd << -1 << QStringLiteral("/Photos/trip.beach 01-02-2025.jpg");
    QTest::newRow("last accessed uses the access time")
        << kAccessedBothEnd << -1 << QStringLiteral("/Photos/trip.beach 7-8-2024 8-10-11 PM.jpg");
}

void TestRenameEngine::workedResults() {
    QFETCH(QString, option);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(compose(QStringLiteral("/Photos/trip.beach.jpg"), option, qint16(n)), expected);
}

void TestRenameEngine::cutting_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two dots: stamp before the last only")
        << QStringLiteral("/a/archive.tar.gz") << kClockTimeEnd << -1
        << QStringLiteral("/a/archive.tar 2-05-09 PM.gz");
    QTest::newRow("leading only dot: empty base")
        << QStringLiteral("/home/u/.profile") << kClockTimeBeginning << -1
        << QStringLiteral("/home/u/2-05-09 PM .profile");
    QTest::newRow("leading only dot after 0") << QStringLiteral("/home/u/.profile") << kClockTimeNth
                                              << 0 << QStringLiteral("/home/u/2-05-09 PM.profile");
    QTest::newRow("dotted folder does not change the cut")
        << QStringLiteral("/My.Folder/a.txt") << kClockTimeEnd << -1
        << QStringLiteral("/My.Folder/a 2-05-09 PM.txt");
    QTest::newRow("no dot: whole name is the base, no trailing dot")
        << QStringLiteral("/src/Makefile") << kClockTimeEnd << -1
        << QStringLiteral("/src/Makefile 2-05-09 PM");
    QTest::newRow("no dot under a dotted folder")
        << QStringLiteral("/my.dir/README") << kClockDateEnd << -1
        << QStringLiteral("/my.dir/README 12-6-2026");
    QTest::newRow("no dot after nth") << QStringLiteral("/src/Makefile") << kClockTimeNth << 4
                                      << QStringLiteral("/src/Make2-05-09 PMfile");
    QTest::newRow("trailing dot of an empty extension is left out")
        << QStringLiteral("/d/file.") << kClockTimeEnd << -1
        << QStringLiteral("/d/file 2-05-09 PM");
    QTest::newRow("no folder") << QStringLiteral("a.b") << kClockTimeEnd << -1
                               << QStringLiteral("a 2-05-09 PM.b");
    QTest::newRow("no folder, no dot") << QStringLiteral("notes") << kClockTimeBeginning << -1
                                       << QStringLiteral("2-05-09 PM notes");
}

void TestRenameEngine::cutting() {
    QFETCH(QString, path);
    QFETCH(QString, option);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(compose(path, option, qint16(n)), expected);
}

void TestRenameEngine::afterNthBounds_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    const QString path = QStringLiteral("/Photos/trip.beach.jpg");
    QTest::newRow("0 puts the stamp first without a blank")
        << kClockTimeNth << 0 << QStringLiteral("/Photos/2-05-09 PMtrip.beach.jpg");
    QTest::newRow("base length appends without a blank")
        << kClockTimeNth << 10 << QStringLiteral("/Photos/trip.beach2-05-09 PM.jpg");
    QTest::newRow("base length + 1 gives the path back") << kClockTimeNth << 11 << path;
    QTest::newRow("largest n gives the path back") << kClockTimeNth << 32767 << path;
    QTest::newRow("file stamp after 1")
        << kCreationBothNth << 1 << QStringLiteral("/Photos/t12-6-2026 9-03-07 AMrip.beach.jpg");
}

void TestRenameEngine::afterNthBounds() {
    QFETCH(QString, option);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(compose(QStringLiteral("/Photos/trip.beach.jpg"), option, qint16(n)), expected);
}

void TestRenameEngine::afterNthKeepsPairsWhole_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    const QString camera = QStringLiteral("📷");
    const QString stamp = QStringLiteral("2-05-09 PM");
    const QString twoCameras = camera + camera + QLatin1Char('x');
    QTest::newRow("0: before the first pair") << twoCameras << 0 << stamp + twoCameras;
    QTest::newRow("1: first half of a pair, the stamp follows the pair")
        << twoCameras << 1 << camera + stamp + camera + QLatin1Char('x');
    QTest::newRow("2: right after the pair")
        << twoCameras << 2 << camera + stamp + camera + QLatin1Char('x');
    QTest::newRow("3: first half of the second pair")
        << twoCameras << 3 << camera + camera + stamp + QLatin1Char('x');
    QTest::newRow("5: at the end") << twoCameras << 5 << twoCameras + stamp;
    QTest::newRow("pair that ends the base")
        << QString(QLatin1Char('a') + camera) << 2 << QLatin1Char('a') + camera + stamp;
    // Escaped bytes are one unit each: they are no pair and are split like any unit.
    const QString bytes = QStringLiteral("\xDCC3\xDCA9x");
    QTest::newRow("escaped bytes are split as units")
        << bytes << 1 << QString(QChar(0xDCC3) + stamp + QChar(0xDCA9) + QLatin1Char('x'));
}

void TestRenameEngine::afterNthKeepsPairsWhole() {
    QFETCH(QString, base);
    QFETCH(int, n);
    QFETCH(QString, expected);
    const QString result =
        compose(QStringLiteral("/p/") + base + QStringLiteral(".jpg"), kClockTimeNth, qint16(n));
    QCOMPARE(result, QStringLiteral("/p/") + expected + QStringLiteral(".jpg"));
    QCOMPARE(result.isValidUtf16(), base.isValidUtf16());
}

void TestRenameEngine::composedNameNeverEndsInADotOrBlank_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    const QString readme = QStringLiteral("/d/README");
    QTest::newRow("Hungarian date ends a name without extension")
        << readme << QStringLiteral("hu_HU") << kClockDateEnd << -1
        << QStringLiteral("/d/README 2026. 12. 06");
    QTest::newRow("Korean date") << readme << QStringLiteral("ko_KR") << kClockDateEnd << -1
                                 << QStringLiteral("/d/README 2026. 12. 6");
    QTest::newRow("Serbian date") << readme << QStringLiteral("sr_RS") << kClockDateEnd << -1
                                  << QStringLiteral("/d/README 6.12.2026");
    QTest::newRow("Bulgarian time") << readme << QStringLiteral("bg_BG") << kClockTimeEnd << -1
                                    << QStringLiteral("/d/README 14-05-09 ч");
    QTest::newRow("Bulgarian time after the last character")
        << readme << QStringLiteral("bg_BG") << kClockTimeNth << 6
        << QStringLiteral("/d/README14-05-09 ч");
    QTest::newRow("a dot before the extension stays")
        << QStringLiteral("/d/a.txt") << QStringLiteral("sr_RS") << kClockDateEnd << -1
        << QStringLiteral("/d/a 6.12.2026..txt");
    QTest::newRow("a dot inside the name stays")
        << readme << QStringLiteral("sr_RS")
        << QStringLiteral("Add current date to beginning of filename") << -1
        << QStringLiteral("/d/6.12.2026. README");
    QTest::newRow("source ending in a dot and a blank")
        << QStringLiteral("/d/notes. ") << QStringLiteral("en_US") << kClockTimeEnd << -1
        << QStringLiteral("/d/notes 2-05-09 PM");
    QTest::newRow("source ending in blanks, stamp first")
        << QStringLiteral("/d/notes  ") << QStringLiteral("en_US") << kClockTimeBeginning << -1
        << QStringLiteral("/d/2-05-09 PM notes");
}

void TestRenameEngine::composedNameNeverEndsInADotOrBlank() {
    QFETCH(QString, path);
    QFETCH(QString, locale);
    QFETCH(QString, option);
    QFETCH(int, n);
    QFETCH(QString, expected);
    const RegionalForms forms{QLocale(locale)};
    QCOMPARE(ComposeNewName(path, option, qint16(n), m_clock, m_times, forms), expected);
}

void TestRenameEngine::nGreaterThanBaseAsksNoFileTime() {
    QCOMPARE(compose(QStringLiteral("/a/ab.txt"), kCreationTimeNth, 3),
             QStringLiteral("/a/ab.txt"));
    QCOMPARE(m_times.asked, 0);
    QCOMPARE(compose(QStringLiteral("/a/ab.txt"), kCreationTimeNth, 2),
             QStringLiteral("/a/ab09-03-07 AM.txt"));
    QCOMPARE(m_times.asked, 1);
    QCOMPARE(m_times.lastSource, TimeSource::Creation);
}

void TestRenameEngine::optionTextAndNameCases_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("failure");
    const QString path = QStringLiteral("/Photos/trip.beach.jpg");
    QTest::newRow("empty option gives the path back") << path << QString() << -1 << path << 0;
    QTest::newRow("unknown option gives the empty result")
        << path << QStringLiteral("Add nothing") << -1 << QString() << 0;
    QTest::newRow("option with a trailing blank is unknown")
        << path << kClockTimeEnd + QLatin1Char(' ') << -1 << QString() << 0;
    QTest::newRow("negative n is an invalid argument")
        << path << kClockTimeNth << -1 << QString() << ErrorNumber::InvalidProcedureCall;
    QTest::newRow("negative n of a file option too")
        << path << kCreationTimeNth << -32768 << QString() << ErrorNumber::InvalidProcedureCall;
    QTest::newRow("negative n is unused by other options")
        << path << kClockTimeEnd << -5 << QStringLiteral("/Photos/trip.beach 2-05-09 PM.jpg") << 0;
    QTest::newRow("empty path is out of range")
        << QString() << kClockTimeEnd << -1 << QString() << ErrorNumber::SubscriptOutOfRange;
    QTest::newRow("path ending in a separator is out of range")
        << QStringLiteral("/Photos/") << kClockTimeEnd << -1 << QString()
        << ErrorNumber::SubscriptOutOfRange;
    QTest::newRow("empty name fails before the option is looked at")
        << QStringLiteral("/Photos/") << QString() << -1 << QString()
        << ErrorNumber::SubscriptOutOfRange;
}

void TestRenameEngine::optionTextAndNameCases() {
    QFETCH(QString, path);
    QFETCH(QString, option);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QFETCH(int, failure);
    QString result = QStringLiteral("unset");
    QCOMPARE(failureNumberOf([&] { result = compose(path, option, qint16(n)); }), failure);
    if (failure == 0) {
        QCOMPARE(result, expected);
        QCOMPARE(result.isNull(), expected.isNull());
    }
}

void TestRenameEngine::clockIsReadOnlyForClockOptions() {
    CountingClock clock(m_at);
    const QString path = QStringLiteral("/x/y.txt");
    ComposeNewName(path, kCreationDateEnd, -1, clock, m_times, m_us);
    QCOMPARE(clock.readings, 0);
    QCOMPARE(m_times.asked, 1);
    ComposeNewName(path, kClockBothEnd, -1, clock, m_times, m_us);
    QCOMPARE(clock.readings, 1);
    QCOMPARE(m_times.asked, 1);
}

// --- stamps ----------------------------------------------------------------------------

void TestRenameEngine::stampForms_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<int>("optionIndex");
    QTest::addColumn<QString>("expected");
    const QTime halfPast(0, 30, 0);
    const QTime morning(9, 3, 7);
    const QTime midnight(0, 0, 0);
    QTest::newRow("clock time 00:30:00") << halfPast << 1 << QStringLiteral("n 12-30-00 AM");
    QTest::newRow("clock date 00:30:00") << halfPast << 4 << QStringLiteral("n 12-6-2026");
    QTest::newRow("clock both 00:30:00")
        << halfPast << 7 << QStringLiteral("n 12-6-2026 12-30-00 AM");
    QTest::newRow("file time 00:30:00") << halfPast << 10 << QStringLiteral("n 12-30-00 AM");
    QTest::newRow("file date 00:30:00") << halfPast << 13 << QStringLiteral("n 12-06-2026");
    QTest::newRow("file both 00:30:00")
        << halfPast << 16 << QStringLiteral("n 12-6-2026 12-30-00 AM");
    QTest::newRow("clock time 09:03:07") << morning << 1 << QStringLiteral("n 9-03-07 AM");
    QTest::newRow("file time 09:03:07") << morning << 10 << QStringLiteral("n 09-03-07 AM");
    QTest::newRow("file both 09:03:07")
        << morning << 16 << QStringLiteral("n 12-6-2026 9-03-07 AM");
    QTest::newRow("clock time midnight") << midnight << 1 << QStringLiteral("n 12-00-00 AM");
    QTest::newRow("clock both midnight keeps the time")
        << midnight << 7 << QStringLiteral("n 12-6-2026 12-00-00 AM");
    QTest::newRow("file time midnight") << midnight << 10 << QStringLiteral("n 12-00-00 AM");
    QTest::newRow("file date midnight") << midnight << 13 << QStringLiteral("n 12-06-2026");
    QTest::newRow("file both midnight is the date alone")
        << midnight << 16 << QStringLiteral("n 12-6-2026");
    QTest::newRow("clock time noon") << QTime(12, 0, 1) << 1 << QStringLiteral("n 12-00-01 PM");
    QTest::newRow("file time 23:59:59")
        << QTime(23, 59, 59) << 10 << QStringLiteral("n 11-59-59 PM");
}

void TestRenameEngine::stampForms() {
    QFETCH(QTime, time);
    QFETCH(int, optionIndex);
    QFETCH(QString, expected);
    const QDate day(2026, 12, 6);
    const FixedClock clock(QDateTime(day, time));
    m_times.creation = utcTicks(day, time);
    const QString option = renameOptionTexts().at(optionIndex);
    QCOMPARE(ComposeNewName(QStringLiteral("/d/n.txt"), option, -1, clock, m_times, m_us),
             QStringLiteral("/d/") + expected + QStringLiteral(".txt"));
}

void TestRenameEngine::momentTextForms_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");
    QTest::newRow("afternoon") << QDate(2026, 12, 6) << QTime(14, 5, 9)
                               << QStringLiteral("12/6/2026 2:05:09 PM");
    QTest::newRow("00:30:00") << QDate(2026, 12, 6) << QTime(0, 30, 0)
                              << QStringLiteral("12/6/2026 12:30:00 AM");
    QTest::newRow("09:03:07") << QDate(2026, 12, 6) << QTime(9, 3, 7)
                              << QStringLiteral("12/6/2026 9:03:07 AM");
    QTest::newRow("midnight is the date alone")
        << QDate(2026, 12, 6) << QTime(0, 0, 0) << QStringLiteral("12/6/2026");
    QTest::newRow("day 0 is the time alone")
        << QDate(1899, 12, 30) << QTime(14, 5, 9) << QStringLiteral("2:05:09 PM");
    QTest::newRow("midnight of day 0")
        << QDate(1899, 12, 30) << QTime(0, 0, 0) << QStringLiteral("12:00:00 AM");
    QTest::newRow("before 1900") << QDate(1850, 3, 4) << QTime(5, 6, 7)
                                 << QStringLiteral("3/4/1850 5:06:07 AM");
    QTest::newRow("first day of the count")
        << QDate(1601, 1, 1) << QTime(0, 0, 1) << QStringLiteral("1/1/1601 12:00:01 AM");
}

void TestRenameEngine::momentTextForms() {
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(QString, expected);
    m_times.lastWrite = utcTicks(date, time);
    QCOMPARE(FileMomentText(QStringLiteral("/any"), TimeSource::LastWrite, m_times, m_us),
             std::optional<QString>(expected));
}

void TestRenameEngine::secondsAreRoundedToTheNearest_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<qint64>("extraTicks");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("timeStamp");
    QTest::newRow("09.6 rounds up")
        << QTime(14, 5, 9) << qint64(6'000'000) << QStringLiteral("12/6/2026 2:05:10 PM")
        << QStringLiteral("02-05-10 PM");
    QTest::newRow("09.4 rounds down")
        << QTime(14, 5, 9) << qint64(4'000'000) << QStringLiteral("12/6/2026 2:05:09 PM")
        << QStringLiteral("02-05-09 PM");
    QTest::newRow("59.6 carries into the next minute")
        << QTime(14, 59, 59) << qint64(6'000'000) << QStringLiteral("12/6/2026 3:00:00 PM")
        << QStringLiteral("03-00-00 PM");
    QTest::newRow("carry into the next day's midnight")
        << QTime(23, 59, 59) << qint64(5'000'000) << QStringLiteral("12/7/2026")
        << QStringLiteral("12-00-00 AM");
    QTest::newRow("a fraction past midnight is midnight")
        << QTime(0, 0, 0) << qint64(4'999'999) << QStringLiteral("12/6/2026")
        << QStringLiteral("12-00-00 AM");
}

void TestRenameEngine::secondsAreRoundedToTheNearest() {
    QFETCH(QTime, time);
    QFETCH(qint64, extraTicks);
    QFETCH(QString, text);
    QFETCH(QString, timeStamp);
    m_times.lastWrite = utcTicks(QDate(2026, 12, 6), time, extraTicks);
    QCOMPARE(FileMomentText(QStringLiteral("/any"), TimeSource::LastWrite, m_times, m_us),
             std::optional<QString>(text));
    QCOMPARE(
        ComposeNewName(QStringLiteral("/d/n.txt"), kModifiedTimeEnd, -1, m_clock, m_times, m_us),
        QStringLiteral("/d/n ") + timeStamp + QStringLiteral(".txt"));
}

void TestRenameEngine::replacementTable_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("backslash removed")
        << QStringLiteral("/d/a\\b.txt") << QStringLiteral("/d/ab 12-6-2026.txt");
    QTest::newRow("colon becomes a dash")
        << QStringLiteral("/d/a:b.txt") << QStringLiteral("/d/a-b 12-6-2026.txt");
    QTest::newRow("star, question mark, quote, angles, bar removed")
        << QStringLiteral("/d/a*b?c\"d<e>f|g.txt") << QStringLiteral("/d/abcdefg 12-6-2026.txt");
    QTest::newRow("blanks and dots stay")
        << QStringLiteral("/d/a b.c.txt") << QStringLiteral("/d/a b.c 12-6-2026.txt");
    QTest::newRow("other characters stay")
        << QStringLiteral("/d/%1-€&#.txt").arg(QChar(0x00E9))
        << QStringLiteral("/d/%1-€&# 12-6-2026.txt").arg(QChar(0x00E9));
    QTest::newRow("folder and extension untouched")
        << QStringLiteral("/we:ird?/x?.t:x*") << QStringLiteral("/we:ird?/x 12-6-2026.t:x*");
    QTest::newRow("only removed characters leave the stamp")
        << QStringLiteral("/d/??.txt") << QStringLiteral("/d/ 12-6-2026.txt");
}

void TestRenameEngine::replacementTable() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(compose(path, kClockDateEnd, -1), expected);
}

void TestRenameEngine::missingFileGivesEmptyStamps_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    QTest::newRow("time at the end keeps its blank")
        << QStringLiteral("/gone/x.txt") << kModifiedTimeEnd << -1
        << QStringLiteral("/gone/x .txt");
    QTest::newRow("date at the end keeps its blank")
        << QStringLiteral("/gone/x.txt") << kModifiedDateEnd << -1
        << QStringLiteral("/gone/x .txt");
    QTest::newRow("time and date at the beginning")
        << QStringLiteral("/gone/x.txt") << kCreationBothBeginning << -1
        << QStringLiteral("/gone/ x.txt");
    QTest::newRow("time at the end of a name without extension leaves no blank")
        << QStringLiteral("/gone/README") << kModifiedTimeEnd << -1
        << QStringLiteral("/gone/README");
    QTest::newRow("after nth leaves the base as it was")
        << QStringLiteral("/gone/x.txt") << kCreationTimeNth << 1 << QStringLiteral("/gone/x.txt");
    QTest::newRow("empty new base gives the path back")
        << QStringLiteral("/gone/??.txt") << kCreationTimeNth << 0
        << QStringLiteral("/gone/??.txt");
}

void TestRenameEngine::missingFileGivesEmptyStamps() {
    QFETCH(QString, path);
    QFETCH(QString, option);
    QFETCH(int, n);
    QFETCH(QString, expected);
    // Real file times of a path that does not exist.
    const QString missing = m_dir.filePath(QStringLiteral("never-made"));
    QCOMPARE(FileMomentText(missing, TimeSource::LastWrite), std::nullopt);
    QCOMPARE(FileMomentText(missing, TimeSource::Creation), std::nullopt);
    QCOMPARE(FileMomentText(missing, TimeSource::LastAccess), std::nullopt);
    QCOMPARE(ComposeNewName(path, option, qint16(n), m_clock, systemFileTimes(), m_us), expected);
}

// --- real files ------------------------------------------------------------------------

void TestRenameEngine::lastWriteAndLastAccessAreNotSwapped() {
    const QString path = m_dir.filePath(QStringLiteral("times.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const qint64 access = QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC).toSecsSinceEpoch();
    const qint64 write =
        QDateTime(QDate(2022, 8, 9), QTime(22, 11, 12), Qt::UTC).toSecsSinceEpoch();
    setFileTimes(path, access, 0, write, 0);
    QCOMPARE(FileMomentText(path, TimeSource::LastAccess, systemFileTimes(), m_us),
             std::optional<QString>(QStringLiteral("3/4/2021 5:06:07 AM")));
    QCOMPARE(FileMomentText(path, TimeSource::LastWrite, systemFileTimes(), m_us),
             std::optional<QString>(QStringLiteral("8/9/2022 10:11:12 PM")));
    QCOMPARE(ComposeNewName(path, kModifiedBothEnd, -1, m_clock, systemFileTimes(), m_us),
             m_dir.filePath(QStringLiteral("times 8-9-2022 10-11-12 PM.txt")));
    QCOMPARE(ComposeNewName(path, kAccessedBothEnd, -1, m_clock, systemFileTimes(), m_us),
             m_dir.filePath(QStringLiteral("times 3-4-2021 5-06-07 AM.txt")));
    // Through a symbolic link the times are the target's.
    const QString link = m_dir.filePath(QStringLiteral("link.txt"));
    QVERIFY(QFile::link(path, link));
    QCOMPARE(FileMomentText(link, TimeSource::LastWrite, systemFileTimes(), m_us),
             std::optional<QString>(QStringLiteral("8/9/2022 10:11:12 PM")));
}

void TestRenameEngine::realFileKeepsItsFraction() {
    const QString path = m_dir.filePath(QStringLiteral("fraction.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const qint64 write = QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9), Qt::UTC).toSecsSinceEpoch();
    setFileTimes(path, write, 400'000'000, write, 600'000'000);
    QCOMPARE(FileMomentText(path, TimeSource::LastWrite, systemFileTimes(), m_us),
             std::optional<QString>(QStringLiteral("12/6/2026 2:05:10 PM")));
    QCOMPARE(FileMomentText(path, TimeSource::LastAccess, systemFileTimes(), m_us),
             std::optional<QString>(QStringLiteral("12/6/2026 2:05:09 PM")));
    QCOMPARE(systemFileTimes().fileTime(path, TimeSource::LastWrite),
             std::optional<qint64>(utcTicks(QDate(2026, 12, 6), QTime(14, 5, 9), 6'000'000)));
}

void TestRenameEngine::creationFallsBackToAKnownTime() {
    // The birth time where the file system keeps one, else the modification time; either
    // way it is not the (much older) access time.
    const QString path = m_dir.filePath(QStringLiteral("born.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const qint64 before = utcTicks(QDate::currentDate().addDays(-2), QTime(0, 0, 0));
    const qint64 longAgo = QDateTime(QDate(2001, 1, 1), QTime(0, 0, 0), Qt::UTC).toSecsSinceEpoch();
    setFileTimes(path, longAgo, 0, longAgo + 3600, 0);
    const std::optional<qint64> creation = systemFileTimes().fileTime(path, TimeSource::Creation);
    QVERIFY(creation.has_value());
    const qint64 modified = *systemFileTimes().fileTime(path, TimeSource::LastWrite);
    QVERIFY2(*creation > before || *creation == modified, "neither birth nor write time");
}

void TestRenameEngine::summerTimeReadInWinter_data() {
    QTest::addColumn<QDateTime>("utc");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("timeStamp");
    QTest::newRow("summer time keeps its summer offset")
        << QDateTime(QDate(2026, 7, 15), QTime(10, 0, 0), Qt::UTC)
        << QStringLiteral("7/15/2026 12:00:00 PM") << QStringLiteral("12-00-00 PM");
    QTest::newRow("winter time has the winter offset")
        << QDateTime(QDate(2026, 1, 15), QTime(10, 0, 0), Qt::UTC)
        << QStringLiteral("1/15/2026 11:00:00 AM") << QStringLiteral("11-00-00 AM");
    QTest::newRow("summer time crossing midnight")
        << QDateTime(QDate(2026, 6, 30), QTime(22, 0, 0), Qt::UTC) << QStringLiteral("7/1/2026")
        << QStringLiteral("12-00-00 AM");
    QTest::newRow("last summer second before the change back")
        << QDateTime(QDate(2026, 10, 25), QTime(0, 59, 59), Qt::UTC)
        << QStringLiteral("10/25/2026 2:59:59 AM") << QStringLiteral("02-59-59 AM");
    QTest::newRow("first winter second after the change back")
        << QDateTime(QDate(2026, 10, 25), QTime(1, 0, 0), Qt::UTC)
        << QStringLiteral("10/25/2026 2:00:00 AM") << QStringLiteral("02-00-00 AM");
}

void TestRenameEngine::summerTimeReadInWinter() {
    QFETCH(QDateTime, utc);
    QFETCH(QString, text);
    QFETCH(QString, timeStamp);
    useTimeZone("Europe/Berlin");
    // The run happens in winter; the file was written in summer.
    const FixedClock winter(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    const QString path = m_dir.filePath(QStringLiteral("berlin.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    setFileTimes(path, utc.toSecsSinceEpoch(), 0, utc.toSecsSinceEpoch(), 0);
    QCOMPARE(FileMomentText(path, TimeSource::LastWrite, systemFileTimes(), m_us),
             std::optional<QString>(text));
    QCOMPARE(ComposeNewName(path, kModifiedTimeEnd, -1, winter, systemFileTimes(), m_us),
             m_dir.filePath(QStringLiteral("berlin ") + timeStamp + QStringLiteral(".txt")));
}

void TestRenameEngine::nameThatIsNotUtf8HasItsOwnTimes() {
    // "caf" + byte E9 (Latin-1, not UTF-8) beside the name that Qt's own conversion would
    // make of it, "caf" + U+FFFD, with other times.
    const QByteArray folder = pathToBytes(m_dir.path());
    const QByteArray own = folder + "/caf\xE9.txt";
    const QByteArray decoy = folder + "/caf\xEF\xBF\xBD.txt";
    for (const QByteArray &bytes : {own, decoy}) {
        const int fd = ::open(bytes.constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    const QString path = pathFromBytes(own);
    QVERIFY(hasEscapedBytes(path));
    const qint64 ownWrite =
        QDateTime(QDate(2023, 4, 5), QTime(6, 7, 8), Qt::UTC).toSecsSinceEpoch();
    const qint64 decoyWrite =
        QDateTime(QDate(2019, 9, 9), QTime(9, 9, 9), Qt::UTC).toSecsSinceEpoch();
    setFileTimes(path, ownWrite, 0, ownWrite, 0);
    setFileTimes(pathFromBytes(decoy), decoyWrite, 0, decoyWrite, 0);
    QCOMPARE(systemFileTimes().fileTime(path, TimeSource::LastWrite),
             std::optional<qint64>(utcTicks(QDate(2023, 4, 5), QTime(6, 7, 8))));
    QCOMPARE(ComposeNewName(path, kModifiedBothEnd, -1, m_clock, systemFileTimes(), m_us),
             pathFromBytes(folder + "/caf\xE9 4-5-2023 6-07-08 AM.txt"));
    // Without the decoy the name is still found.
    QCOMPARE(::unlink(decoy.constData()), 0);
    QCOMPARE(FileMomentText(path, TimeSource::LastAccess, systemFileTimes(), m_us),
             std::optional<QString>(QStringLiteral("4/5/2023 6:07:08 AM")));
    // The temporary folder's clean-up cannot name it.
    QCOMPARE(::unlink(own.constData()), 0);
}

void TestRenameEngine::statusGivesTheTimesOfItsPath_data() {
    QTest::addColumn<bool>("hasBirth");
    QTest::newRow("birth time reported") << true;
    QTest::newRow("no birth time: creation is the write time") << false;
}

void TestRenameEngine::statusGivesTheTimesOfItsPath() {
    QFETCH(bool, hasBirth);
    struct statx status {};
    status.stx_mask = STATX_MTIME | STATX_ATIME | (hasBirth ? STATX_BTIME : 0u);
    status.stx_btime.tv_sec =
        QDateTime(QDate(2020, 1, 1), QTime(1, 1, 1), Qt::UTC).toSecsSinceEpoch();
    status.stx_btime.tv_nsec = 100'000'000;
    status.stx_mtime.tv_sec =
        QDateTime(QDate(2021, 2, 2), QTime(2, 2, 2), Qt::UTC).toSecsSinceEpoch();
    status.stx_mtime.tv_nsec = 250'000'000;
    status.stx_atime.tv_sec =
        QDateTime(QDate(2022, 3, 3), QTime(3, 3, 3), Qt::UTC).toSecsSinceEpoch();
    // A path that does not exist: the times come from the status alone.
    const QString path = m_dir.filePath(QStringLiteral("opened.txt"));
    const StatusFileTimes times(path, status, m_times);
    const qint64 birth = utcTicks(QDate(2020, 1, 1), QTime(1, 1, 1), 1'000'000);
    const qint64 write = utcTicks(QDate(2021, 2, 2), QTime(2, 2, 2), 2'500'000);
    QCOMPARE(times.fileTime(path, TimeSource::Creation),
             std::optional<qint64>(hasBirth ? birth : write));
    QCOMPARE(times.fileTime(path, TimeSource::LastWrite), std::optional<qint64>(write));
    QCOMPARE(times.fileTime(path, TimeSource::LastAccess),
             std::optional<qint64>(utcTicks(QDate(2022, 3, 3), QTime(3, 3, 3))));
    QCOMPARE(ComposeNewName(path, kAccessedBothEnd, -1, m_clock, times, m_us),
             m_dir.filePath(QStringLiteral("opened 3-3-2022 3-03-03 AM.txt")));
    QCOMPARE(m_times.asked, 0);
    // Any other path is the fallback's.
    QCOMPARE(times.fileTime(QStringLiteral("/elsewhere/b.txt"), TimeSource::LastWrite),
             m_times.lastWrite);
    QCOMPARE(m_times.asked, 1);
}

void TestRenameEngine::statusOfARealFileMatchesTheSystemTimes() {
    const QString path = m_dir.filePath(QStringLiteral("status.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const qint64 write = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC).toSecsSinceEpoch();
    setFileTimes(path, write - 86'400, 123'456'700, write, 987'654'300);
    const int fd = ::open(pathToBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    struct statx status {};
    const int read = ::statx(fd, "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT,
                             STATX_BASIC_STATS | STATX_BTIME, &status);
    ::close(fd);
    QCOMPARE(read, 0);
    const StatusFileTimes times(path, status, m_times);
    for (const TimeSource source :
         {TimeSource::Creation, TimeSource::LastWrite, TimeSource::LastAccess})
        QCOMPARE(times.fileTime(path, source), systemFileTimes().fileTime(path, source));
    QCOMPARE(m_times.asked, 0);
}

// --- regional forms --------------------------------------------------------------------

void TestRenameEngine::referenceLocalesGiveTheReferenceForms_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("C") << QLocale::c();
    QTest::newRow("POSIX") << QLocale(QStringLiteral("POSIX"));
    QTest::newRow("English (United States)") << QLocale(QLocale::English, QLocale::UnitedStates);
    // The test runs with LC_ALL=C.UTF-8.
    QTest::newRow("system") << QLocale::system();
}

void TestRenameEngine::referenceLocalesGiveTheReferenceForms() {
    QFETCH(QLocale, locale);
    const RegionalForms forms(locale);
    QCOMPARE(forms.shortDateFormat(), QStringLiteral("M/d/yyyy"));
    QCOMPARE(forms.longTimeFormat(), QStringLiteral("h:mm:ss AP"));
    QCOMPARE(forms.shortDate(QDate(2026, 12, 6)), QStringLiteral("12/6/2026"));
    QCOMPARE(forms.longTime(14, 5, 9), QStringLiteral("2:05:09 PM"));
    QCOMPARE(forms.longTime(0, 30, 0), QStringLiteral("12:30:00 AM"));
    QCOMPARE(forms.fixedDate(QDate(2026, 1, 2)), QStringLiteral("01/02/2026"));
    QCOMPARE(forms.fixedTime(0, 30, 0), QStringLiteral("12:30:00 AM"));
    QCOMPARE(forms.fixedTime(14, 5, 9), QStringLiteral("02:05:09 PM"));
}

void TestRenameEngine::otherLocalesUseTheirOwnForms_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("fixedDate");
    QTest::addColumn<QString>("fixedTime");
    QTest::newRow("German: two-digit year widened, zone dropped")
        << QStringLiteral("de_DE") << QStringLiteral("06.12.2026") << QStringLiteral("14:05:09")
        << QStringLiteral("12.06.2026") << QStringLiteral("02:05:09 PM");
    QTest::newRow("British: own AM and PM texts")
        << QStringLiteral("en_GB") << QStringLiteral("06/12/2026") << QStringLiteral("14:05:09")
        << QStringLiteral("12/06/2026") << QStringLiteral("02:05:09 pm");
    // The time separator is the first character that is not a letter: the blank after
    // the designator.
    QTest::newRow("Korean: designator first, separators from the formats")
        << QStringLiteral("ko_KR") << QStringLiteral("2026. 12. 6.")
        << QStringLiteral("오후 2시 5분 9초") << QStringLiteral("12.06.2026")
        << QStringLiteral("02 05 09 오후");
    QTest::newRow("Spanish: zone in brackets dropped with them")
        << QStringLiteral("es_ES") << QStringLiteral("6/12/2026") << QStringLiteral("14:05:09")
        << QStringLiteral("12/06/2026") << QStringLiteral("02:05:09 p.\u00A0m.");
    QTest::newRow("Persian: own digits, zone in brackets dropped")
        << QStringLiteral("fa_IR") << QStringLiteral("۲۰۲۶/۱۲/۶") << QStringLiteral("۱۴:۰۵:۰۹")
        << QStringLiteral("۱۲/۰۶/۲۰۲۶") << QStringLiteral("۰۲:۰۵:۰۹ بعدازظهر");
    QTest::newRow("Albanian: zone after a comma dropped with it")
        << QStringLiteral("sq_AL") << QStringLiteral("6.12.2026")
        << QStringLiteral("2:05:09 E PASDITES") << QStringLiteral("12.06.2026")
        << QStringLiteral("02:05:09 e pasdites");
    QTest::newRow("Burmese: zone first dropped with its blank")
        << QStringLiteral("my_MM") << QStringLiteral("၀၆-၁၂-၂၀၂၆") << QStringLiteral("၁၄:၀၅:၀၉")
        << QStringLiteral("၁၂-၀၆-၂၀၂၆") << QStringLiteral("၀၂:၀၅:၀၉ ညနေ");
    QTest::newRow("Chinese (Taiwan): day period B is the PM text, zone in brackets dropped")
        << QStringLiteral("zh_TW") << QStringLiteral("2026/12/6") << QStringLiteral("下午2:05:09")
        << QStringLiteral("12/06/2026") << QStringLiteral("02:05:09 下午");
    // The quote marks around "Klock" are no separator.
    QTest::newRow("Low German: quoted text kept, zone in brackets dropped")
        << QStringLiteral("nds_DE") << QStringLiteral("6.12.2026")
        << QStringLiteral("Klock 14.05:09") << QStringLiteral("12.06.2026")
        << QStringLiteral("02 05 09 PM");
}

void TestRenameEngine::otherLocalesUseTheirOwnForms() {
    QFETCH(QString, name);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QString, fixedDate);
    QFETCH(QString, fixedTime);
    const RegionalForms forms{QLocale(name)};
    QCOMPARE(forms.shortDate(QDate(2026, 12, 6)), date);
    QCOMPARE(forms.longTime(14, 5, 9), time);
    QCOMPARE(forms.fixedDate(QDate(2026, 12, 6)), fixedDate);
    QCOMPARE(forms.fixedTime(14, 5, 9), fixedTime);
    // Names composed in the same second under other forms do not share a stamp.
    const QString path = QStringLiteral("/p/a.txt");
    QCOMPARE(compose(path, kClockDateEnd, -1), QStringLiteral("/p/a 12-6-2026.txt"));
    QString expected = date;
    expected.replace(QLatin1Char('/'), QLatin1Char('-'));
    QCOMPARE(ComposeNewName(path, kClockDateEnd, -1, m_clock, m_times, forms),
             QStringLiteral("/p/a ") + expected + QStringLiteral(".txt"));
    QString expectedTime = time;
    expectedTime.replace(QLatin1Char(':'), QLatin1Char('-'));
    QCOMPARE(ComposeNewName(path, kClockTimeEnd, -1, m_clock, m_times, forms),
             QStringLiteral("/p/a ") + expectedTime + QStringLiteral(".txt"));
    QCOMPARE(ComposeNewName(path, kCreationDateEnd, -1, m_clock, m_times, forms),
             QStringLiteral("/p/a ") + fixedDate.replace(QLatin1Char('/'), QLatin1Char('-')) +
                 QStringLiteral(".txt"));
}

void TestRenameEngine::zonePartIsDroppedWithItsFrame_data() {
    QTest::addColumn<QString>("dateFormat");
    QTest::addColumn<QString>("timeFormat");
    QTest::addColumn<QString>("adjustedDate");
    QTest::addColumn<QString>("adjustedTime");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    const QString dmy = QStringLiteral("dd/MM/yy");
    const QString dmyyyy = QStringLiteral("dd/MM/yyyy");
    const QString day = QStringLiteral("06/12/2026");
    QTest::newRow("zone in brackets")
        << dmy << QStringLiteral("HH:mm:ss (t)") << dmyyyy << QStringLiteral("HH:mm:ss") << day
        << QStringLiteral("14:05:09");
    QTest::newRow("zone after a comma")
        << QStringLiteral("d/M/yy") << QStringLiteral("h:mm:ss AP, tttt")
        << QStringLiteral("d/M/yyyy") << QStringLiteral("h:mm:ss AP") << QStringLiteral("6/12/2026")
        << QStringLiteral("2:05:09 PM");
    QTest::newRow("zone first") << QStringLiteral("yy-MM-dd") << QStringLiteral("t HH:mm:ss")
                                << QStringLiteral("yyyy-MM-dd") << QStringLiteral("HH:mm:ss")
                                << QStringLiteral("2026-12-06") << QStringLiteral("14:05:09");
    QTest::newRow("zone between time and text keeps one blank")
        << dmy << QStringLiteral("HH:mm:ss t 'Uhr'") << dmyyyy << QStringLiteral("HH:mm:ss 'Uhr'")
        << day << QStringLiteral("14:05:09 Uhr");
    QTest::newRow("brackets in brackets, blanks inside")
        << dmy << QStringLiteral("HH:mm:ss ( [ t ] )") << dmyyyy << QStringLiteral("HH:mm:ss")
        << day << QStringLiteral("14:05:09");
    QTest::newRow("full-width brackets")
        << dmy << QStringLiteral("HH:mm:ss\uFF08t\uFF09") << dmyyyy << QStringLiteral("HH:mm:ss")
        << day << QStringLiteral("14:05:09");
    QTest::newRow("brackets that hold more stay")
        << dmy << QStringLiteral("[HH:mm:ss t]") << dmyyyy << QStringLiteral("[HH:mm:ss]") << day
        << QStringLiteral("[14:05:09]");
    QTest::newRow("quoted t and y are text")
        << QStringLiteral("dd.MM.yy 'yy'") << QStringLiteral("HH:mm:ss ('t')")
        << QStringLiteral("dd.MM.yyyy 'yy'") << QStringLiteral("HH:mm:ss ('t')")
        << QStringLiteral("06.12.2026 yy") << QStringLiteral("14:05:09 (t)");
    QTest::newRow("doubled quote inside quoted text")
        << dmy << QStringLiteral("H 'o''clock' t") << dmyyyy << QStringLiteral("H 'o''clock'")
        << day << QStringLiteral("14 o'clock");
    QTest::newRow("quoted text before a bracketed zone")
        << dmy << QStringLiteral("'at' H.mm (t)") << dmyyyy << QStringLiteral("'at' H.mm") << day
        << QStringLiteral("at 14.05");
}

void TestRenameEngine::zonePartIsDroppedWithItsFrame() {
    QFETCH(QString, dateFormat);
    QFETCH(QString, timeFormat);
    QFETCH(QString, adjustedDate);
    QFETCH(QString, adjustedTime);
    QFETCH(QString, date);
    QFETCH(QString, time);
    const RegionalForms forms(QLocale(QLocale::English, QLocale::UnitedKingdom), dateFormat,
                              timeFormat);
    QCOMPARE(forms.shortDateFormat(), adjustedDate);
    QCOMPARE(forms.longTimeFormat(), adjustedTime);
    QCOMPARE(forms.shortDate(QDate(2026, 12, 6)), date);
    QCOMPARE(forms.longTime(14, 5, 9), time);
}

void TestRenameEngine::everyLocaleComposesCleanNames_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::newRow("UTC") << QByteArray("UTC");
    QTest::newRow("Europe/Madrid") << QByteArray("Europe/Madrid");
    QTest::newRow("Asia/Kolkata (+05:30)") << QByteArray("Asia/Kolkata");
}

void TestRenameEngine::everyLocaleComposesCleanNames() {
    QFETCH(QByteArray, zone);
    useTimeZone(zone.constData());
    const FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(14, 40, 47)));
    const QString clockMinutes = QStringLiteral("4047");
    FixedFileTimes times;
    const qint64 fileTicks = utcTicks(QDate(2026, 12, 6), QTime(12, 40, 47));
    times.creation = times.lastWrite = times.lastAccess = fileTicks;
    const time_t fileSecond = time_t(fileTicks / kTicksPerSecond - kSecondsFrom1601To1970);
    struct tm fileLocal {};
    QVERIFY(::localtime_r(&fileSecond, &fileLocal) != nullptr);
    const QString fileMinutes = QString::asprintf("%02d%02d", fileLocal.tm_min, fileLocal.tm_sec);

    // Whatever the zone is called, its name and offset must not reach a name.
    QStringList zoneTexts = {QStringLiteral("UTC"), QStringLiteral("GMT"), QStringLiteral("+")};
    zoneTexts << zoneAbbreviation(fileSecond) << zoneAbbreviation(::time(nullptr))
              << QDateTime(QDate(2026, 12, 6), QTime(14, 40, 47)).timeZoneAbbreviation();
    zoneTexts.removeAll(QString());
    zoneTexts.removeDuplicates();

    QSet<QString> seen;
    QStringList faults;
    const QList<QLocale> all =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale &locale : all) {
        if (seen.contains(locale.name()))
            continue;
        seen.insert(locale.name());
        const RegionalForms forms(locale);
        for (const RenameOption &option : renameOptions()) {
            const QString name =
                ComposeNewName(QStringLiteral("/d/x.txt"), option.text, 1, clock, times, forms)
                    .mid(3);
            auto fault = [&](const QString &what) {
                faults << locale.name() + QStringLiteral(", ") + option.text +
                              QStringLiteral(": ") + what + QStringLiteral(": \"") + name +
                              QLatin1Char('"');
            };
            if (hasEmptyBrackets(name))
                fault(QStringLiteral("empty brackets"));
            for (const QString &text : zoneTexts) {
                if (name.contains(text))
                    fault(QStringLiteral("zone text ") + text);
            }
            if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char(':')))
                fault(QStringLiteral("separator kept"));
            if (name.contains(QStringLiteral("  ")))
                fault(QStringLiteral("two blanks"));
            // A name without an extension never ends in a dot or a blank either.
            const QString bare =
                ComposeNewName(QStringLiteral("/d/x"), option.text, 1, clock, times, forms);
            if (bare.endsWith(QLatin1Char('.')) || bare.endsWith(QLatin1Char(' ')))
                fault(QStringLiteral("loose end without an extension"));
            if (option.position != InsertPosition::End)
                continue;
            // "x " + stamp + ".txt": the stamp has no loose ends and says what it should.
            const QString stamp = name.mid(2, name.size() - 6);
            if (stamp.isEmpty() || isLooseEnd(stamp.front()) || isLooseEnd(stamp.back()))
                fault(QStringLiteral("loose end"));
            const QString digits = digitsOf(stamp);
            if (option.kind != StampKind::Time && !digits.contains(QStringLiteral("2026")))
                fault(QStringLiteral("no four-digit year"));
            const QString &minutes =
                option.source == TimeSource::Clock ? clockMinutes : fileMinutes;
            if (option.kind != StampKind::Date && !digits.contains(minutes))
                fault(QStringLiteral("no minutes and seconds"));
        }
    }
    qInfo("%d locales", int(seen.size()));
    QVERIFY2(seen.size() > 500, "Qt knows far fewer locales than expected");
    QVERIFY2(faults.isEmpty(),
             qPrintable(QString::number(faults.size()) + QStringLiteral(" faults, among them:\n") +
                        faults.mid(0, 20).join(QLatin1Char('\n'))));
}

// --- the answer to "Enter n:" ----------------------------------------------------------

void TestRenameEngine::nthValueConversion_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("failure");
    const int mismatch = ErrorNumber::TypeMismatch;
    const int overflow = ErrorNumber::Overflow;
    QTest::newRow("plain") << QStringLiteral("4") << 4 << 0;
    QTest::newRow("blanks around") << QStringLiteral(" \t4  ") << 4 << 0;
    QTest::newRow("plus sign") << QStringLiteral("+4") << 4 << 0;
    QTest::newRow("minus one") << QStringLiteral("-1") << -1 << 0;
    QTest::newRow("2.5 to even 2") << QStringLiteral("2.5") << 2 << 0;
    QTest::newRow("3.5 to even 4") << QStringLiteral("3.5") << 4 << 0;
    QTest::newRow("-2.5 to even -2") << QStringLiteral("-2.5") << -2 << 0;
    QTest::newRow("2.51 up") << QStringLiteral("2.51") << 3 << 0;
    QTest::newRow("fraction alone") << QStringLiteral(".5") << 0 << 0;
    QTest::newRow("trailing point") << QStringLiteral("5.") << 5 << 0;
    QTest::newRow("exponent") << QStringLiteral("1e2") << 100 << 0;
    QTest::newRow("signed capital exponent") << QStringLiteral("25E-1") << 2 << 0;
    QTest::newRow("largest") << QStringLiteral("32767") << 32767 << 0;
    QTest::newRow("smallest") << QStringLiteral("-32768") << -32768 << 0;
    QTest::newRow("-32768.5 to even fits") << QStringLiteral("-32768.5") << -32768 << 0;
    QTest::newRow("tiny exponent is 0") << QStringLiteral("1e-400") << 0 << 0;
    QTest::newRow("32767.5 to even overflows") << QStringLiteral("32767.5") << 0 << overflow;
    QTest::newRow("32768 overflows") << QStringLiteral("32768") << 0 << overflow;
    QTest::newRow("-32769 overflows") << QStringLiteral("-32769") << 0 << overflow;
    QTest::newRow("huge exponent overflows") << QStringLiteral("1e400") << 0 << overflow;
    QTest::newRow("empty") << QString() << 0 << mismatch;
    QTest::newRow("blanks only") << QStringLiteral("   ") << 0 << mismatch;
    QTest::newRow("word") << QStringLiteral("abc") << 0 << mismatch;
    QTest::newRow("digit grouping") << QStringLiteral("1,000") << 0 << mismatch;
    QTest::newRow("comma decimal") << QStringLiteral("2,5") << 0 << mismatch;
    QTest::newRow("currency") << QStringLiteral("$5") << 0 << mismatch;
    QTest::newRow("hexadecimal") << QStringLiteral("0x10") << 0 << mismatch;
    QTest::newRow("inf") << QStringLiteral("inf") << 0 << mismatch;
    QTest::newRow("nan") << QStringLiteral("nan") << 0 << mismatch;
    QTest::newRow("point alone") << QStringLiteral(".") << 0 << mismatch;
    QTest::newRow("sign alone") << QStringLiteral("-") << 0 << mismatch;
    QTest::newRow("exponent without digits") << QStringLiteral("1e") << 0 << mismatch;
    QTest::newRow("exponent alone") << QStringLiteral("e5") << 0 << mismatch;
    QTest::newRow("two numbers") << QStringLiteral("1 2") << 0 << mismatch;
    QTest::newRow("two signs") << QStringLiteral("--1") << 0 << mismatch;
}

void TestRenameEngine::nthValueConversion() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(int, failure);
    QCOMPARE(readsAsNumber(text), failure != ErrorNumber::TypeMismatch);
    qint16 converted = -999;
    QCOMPARE(failureNumberOf([&] { converted = convertNthValue(text); }), failure);
    if (failure == 0)
        QCOMPARE(int(converted), value);
}

QTEST_GUILESS_MAIN(TestRenameEngine)
#include "tst_renameengine.moc"
