#include "MovieBytes.h"
#include "TestFiles.h"
#include "TestMount.h"
#include "core/PathCodec.h"
#include "naming/ComposeNewName.h"
#include "naming/RegionalForms.h"
#include "naming/TakenTime.h"

#include <QBuffer>
#include <QImage>
#include <QtTest>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

// exiv2 0.27 hands images out in std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

using namespace plenvoy;
using namespace plenvoy::test;

namespace {

qint64 ticksOfUtc(const QDateTime &utc, qint64 extraTicks = 0) {
    return (utc.toSecsSinceEpoch() + kSecondsFrom1601To1970) * kTicksPerSecond + extraTicks;
}

qint64 nowTicks() {
    return ticksOfUtc(QDateTime::currentDateTimeUtc());
}

/// A taken moment as "yyyy-MM-dd HH:mm:ss", or "none".
QString textOf(const std::optional<LocalMoment> &moment) {
    if (!moment)
        return QStringLiteral("none");
    return moment->date.toString(QStringLiteral("yyyy-MM-dd ")) +
           QTime(0, 0).addSecs(moment->secondsOfDay).toString(QStringLiteral("HH:mm:ss"));
}

/// A UTC moment as the computer's local time shows it, in the form of textOf.
QString localTextOf(const QDateTime &utc) {
    return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

/// A local moment `seconds` from now, as Exif writes it.
QString exifFromNow(qint64 seconds) {
    return QDateTime::currentDateTime().addSecs(seconds).toString(
        QStringLiteral("yyyy:MM:dd HH:mm:ss"));
}

QString testData(const char *name) {
    return QStringLiteral(PLENVOY_TEST_DATA "/") + QString::fromLatin1(name);
}

/// Tags as "Key=value" texts, e.g. "Exif.Photo.DateTimeOriginal=2021:03:04 05:06:07".
using Tags = QStringList;

/// A JPEG written by Qt, then tagged through exiv2 as a camera or an editor would tag it.
bool writeTaggedJpeg(const QString &path, const Tags &tags, QSize size = QSize(64, 48)) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) // a picture that does not compress to nothing
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    if (!image.save(path, "JPEG"))
        return false;
    if (tags.isEmpty())
        return true;
    try {
        Exiv2::Image::AutoPtr tagged = Exiv2::ImageFactory::open(pathToBytes(path).toStdString());
        tagged->readMetadata();
        Exiv2::ExifData exif;
        Exiv2::XmpData xmp;
        for (const QString &tag : tags) {
            const std::string key = tag.section(QLatin1Char('='), 0, 0).toStdString();
            const std::string value = tag.section(QLatin1Char('='), 1).toStdString();
            if (key.rfind("Xmp.", 0) == 0)
                xmp[key] = value;
            else
                exif[key] = value;
        }
        tagged->setExifData(exif);
        tagged->setXmpData(xmp);
        tagged->writeMetadata();
    } catch (const std::exception &) {
        return false;
    }
    return true;
}

quint32 crc32(const QByteArray &bytes) {
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

/// A PNG written by Qt with an eXIf chunk (Exif in TIFF form, as exiv2 encodes it) after
/// its header chunk.
QByteArray pngWithExif(const Exiv2::ExifData &exif) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    Exiv2::Blob tiff;
    Exiv2::ExifParser::encode(tiff, Exiv2::littleEndian, exif);
    const QByteArray chunk =
        QByteArray("eXIf") +
        QByteArray(reinterpret_cast<const char *>(tiff.data()), int(tiff.size()));
    const QByteArray whole =
        bigEndian(quint64(tiff.size()), 4) + chunk + bigEndian(crc32(chunk), 4);
    return png.insert(8 + 25, whole); // signature, then the 25 bytes of the header chunk
}

/// File times that answer every source with one moment and count the questions.
class KnownFileTimes final : public FileTimeProvider {
public:
    explicit KnownFileTimes(qint64 ticks)
        : m_ticks(ticks) {}
    std::optional<qint64> fileTime(const QString &, TimeSource source) const override {
        lastSource = source;
        return m_ticks;
    }
    mutable TimeSource lastSource = TimeSource::Clock;

private:
    qint64 m_ticks;
};

const QString kDtOriginal = QStringLiteral("Exif.Photo.DateTimeOriginal=");
const QString kDtDigitized = QStringLiteral("Exif.Photo.DateTimeDigitized=");
const QString kImageDateTime = QStringLiteral("Exif.Image.DateTime=2001:01:01 01:01:01");
const QString kXmpOriginal = QStringLiteral("Xmp.exif.DateTimeOriginal=");
const QString kXmpCreate = QStringLiteral("Xmp.xmp.CreateDate=");

} // namespace

class TestTakenTime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void photoTagsInTheirOrder_data();
    void photoTagsInTheirOrder();
    void phonePhotos_data();
    void phonePhotos();
    void pngWithAnExifChunk();
    void damagedPhotosGiveNone_data();
    void damagedPhotosGiveNone();
    void movieHeaders_data();
    void movieHeaders();
    void readingLeavesTheAccessTimeAlone();
    void aFileThatShrankAfterOpeningIsReadSafely();
    void creationOptionsUseTheTakenMoment();
    void shiftMovesOnlyTakenMoments_data();
    void shiftMovesOnlyTakenMoments();
    void readsOnlyWhatItNeeds_data();
    void readsOnlyWhatItNeeds();
    void largePhotosKeepTheirFileTime_data();
    void largePhotosKeepTheirFileTime();
    void filesChangingWhileReadAreReadSafely_data();
    void filesChangingWhileReadAreReadSafely();
    void aDamagedCardGivesNoneAndTheProcessLives_data();
    void aDamagedCardGivesNoneAndTheProcessLives();

private:
    QTemporaryDir m_dir;
};

void TestTakenTime::initTestCase() {
    // Local wall-clock times without an offset convert with Berlin's rules (+1, +2 in summer).
    qputenv("TZ", "Europe/Berlin");
    ::tzset();
    QVERIFY(m_dir.isValid());
}

void TestTakenTime::photoTagsInTheirOrder_data() {
    QTest::addColumn<Tags>("tags");
    QTest::addColumn<QString>("taken"); // the wall clock the stamp shows, or "none"
    const QString original = kDtOriginal + QStringLiteral("2021:03:04 05:06:07");
    const QString digitized = kDtDigitized + QStringLiteral("2020:02:03 04:05:06");
    const QString xmpOriginal = kXmpOriginal + QStringLiteral("2019-07-06T07:08:09");
    const QString xmpCreate = kXmpCreate + QStringLiteral("2018-01-02T03:04:05+05:30");
    const QString shot = QStringLiteral("2021-03-04 05:06:07");
    const QString none = QStringLiteral("none");

    QTest::newRow("original wins over all")
        << Tags{kImageDateTime, xmpCreate, xmpOriginal, digitized, original} << shot;
    QTest::newRow("digitized next") << Tags{kImageDateTime, xmpCreate, xmpOriginal, digitized}
                                    << QStringLiteral("2020-02-03 04:05:06");
    QTest::newRow("XMP original next")
        << Tags{kImageDateTime, xmpCreate, xmpOriginal} << QStringLiteral("2019-07-06 07:08:09");
    QTest::newRow("XMP create date, its offset left out")
        << Tags{kImageDateTime, xmpCreate} << QStringLiteral("2018-01-02 03:04:05");
    QTest::newRow("XMP in UTC with a fraction, both left out")
        << Tags{kXmpCreate + QStringLiteral("2017-05-06T23:59:59.75Z")}
        << QStringLiteral("2017-05-06 23:59:59");
    QTest::newRow("XMP date alone is midnight")
        << Tags{kXmpCreate + QStringLiteral("2017-05-06")} << QStringLiteral("2017-05-06 00:00:00");
    QTest::newRow("image date time is the last edit, not the shot") << Tags{kImageDateTime} << none;
    QTest::newRow("no metadata") << Tags{} << none;
    QTest::newRow("sub-seconds do not round up")
        << Tags{original, QStringLiteral("Exif.Photo.SubSecTimeOriginal=864")} << shot;
    QTest::newRow("offset is not applied")
        << Tags{original, QStringLiteral("Exif.Photo.OffsetTimeOriginal=-06:00")} << shot;
    QTest::newRow("offset and sub-seconds")
        << Tags{original, QStringLiteral("Exif.Photo.OffsetTimeOriginal=+09:00"),
                QStringLiteral("Exif.Photo.SubSecTimeOriginal=5")}
        << shot;
    QTest::newRow("the hour that summer time skips stays as written")
        << Tags{kDtOriginal + QStringLiteral("2021:03:28 02:30:00"),
                QStringLiteral("Exif.Photo.OffsetTimeOriginal=+01:00")}
        << QStringLiteral("2021-03-28 02:30:00");
    QTest::newRow("the hour that repeats in autumn stays as written")
        << Tags{kDtOriginal + QStringLiteral("2021:10:31 02:30:00")}
        << QStringLiteral("2021-10-31 02:30:00");
    QTest::newRow("unset original falls through")
        << Tags{kDtOriginal + QStringLiteral("0000:00:00 00:00:00"), digitized}
        << QStringLiteral("2020-02-03 04:05:06");
    QTest::newRow("blank original falls through")
        << Tags{kDtOriginal + QStringLiteral("    :  :     :  :  "), xmpOriginal}
        << QStringLiteral("2019-07-06 07:08:09");
    QTest::newRow("malformed offset is left out")
        << Tags{original, QStringLiteral("Exif.Photo.OffsetTimeOriginal=junk")} << shot;
    QTest::newRow("malformed XMP zone is no date")
        << Tags{kXmpCreate + QStringLiteral("2017-05-06T07:08:09+5")} << none;

    // Absurd dates are no date: the next source is asked, then the file keeps its time.
    QTest::newRow("year 9999 falls through")
        << Tags{kDtOriginal + QStringLiteral("9999:12:31 23:59:59"), digitized}
        << QStringLiteral("2020-02-03 04:05:06");
    QTest::newRow("year 2099") << Tags{kDtOriginal + QStringLiteral("2099:01:01 00:00:00")} << none;
    QTest::newRow("year 1600 falls through")
        << Tags{kDtOriginal + QStringLiteral("1600:01:01 00:00:00"), xmpOriginal}
        << QStringLiteral("2019-07-06 07:08:09");
    QTest::newRow("the last second before 1900")
        << Tags{kDtOriginal + QStringLiteral("1899:12:31 23:59:59")} << none;
    QTest::newRow("1900 begins the plausible dates")
        << Tags{kDtOriginal + QStringLiteral("1900:01:01 00:00:00")}
        << QStringLiteral("1900-01-01 00:00:00");
    QTest::newRow("XMP year 9999 with an offset")
        << Tags{kXmpCreate + QStringLiteral("9999-12-31T23:00:00-05:00")} << none;
    const QDateTime soon = QDateTime::currentDateTime().addSecs(20 * 3600);
    QTest::newRow("within a day from now (another zone)")
        << Tags{kDtOriginal + soon.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss"))}
        << soon.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QTest::newRow("more than a day from now")
        << Tags{kDtOriginal + exifFromNow(26 * 3600), digitized}
        << QStringLiteral("2020-02-03 04:05:06");
}

void TestTakenTime::photoTagsInTheirOrder() {
    QFETCH(Tags, tags);
    QFETCH(QString, taken);
    const QString path =
        m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".jpg"));
    QVERIFY(writeTaggedJpeg(path, tags));
    QCOMPARE(textOf(takenMomentOfFile(path)), taken);
}

void TestTakenTime::phonePhotos_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("taken");
    // Both were taken at -06:00; read here in Berlin (+01:00, +02:00 in summer).
    QTest::newRow("offset -06:00")
        << testData("IMG_3578-pruned.heic") << QStringLiteral("2020-04-17 10:03:40");
    QTest::newRow("offset -06:00 and .864 seconds")
        << testData("2021-02-13-1929-pruned.heic") << QStringLiteral("2021-02-13 11:03:31");
}

void TestTakenTime::phonePhotos() {
    QFETCH(QString, path);
    QFETCH(QString, taken);
    QCOMPARE(textOf(takenMomentOfFile(path)), taken);
    const QByteArray bytes = contentOf(path);
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(textOf(takenMomentOfBytes(reinterpret_cast<const uchar *>(bytes.constData()),
                                       bytes.size(), nowTicks())),
             taken);
    // Cut short anywhere, it does no harm: its moment or none.
    for (qsizetype cut = 0; cut < bytes.size(); cut += 97) {
        const QString shortened = m_dir.filePath(QStringLiteral("cut.heic"));
        QVERIFY(writeFile(shortened, bytes.left(cut)));
        const QString text = textOf(takenMomentOfFile(shortened));
        QVERIFY2(text == taken || text == QStringLiteral("none"), qPrintable(text));
    }
}

void TestTakenTime::pngWithAnExifChunk() {
    Exiv2::ExifData exif;
    exif["Exif.Photo.DateTimeOriginal"] = "2022:01:02 03:04:05";
    const QByteArray png = pngWithExif(exif);
    QCOMPARE(QImage::fromData(png).size(), QSize(16, 16)); // still a valid picture
    const QString path = m_dir.filePath(QStringLiteral("screenshot.png"));
    QVERIFY(writeFile(path, png));
    QCOMPARE(textOf(takenMomentOfFile(path)), QStringLiteral("2022-01-02 03:04:05"));
}

void TestTakenTime::damagedPhotosGiveNone_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QString sourcePath = m_dir.filePath(QStringLiteral("whole.jpg"));
    QVERIFY(writeTaggedJpeg(sourcePath, {kDtOriginal + QStringLiteral("2021:03:04 05:06:07"),
                                         kXmpOriginal + QStringLiteral("2019-07-06T07:08:09")}));
    const QByteArray whole = contentOf(sourcePath);
    QVERIFY(takenMomentOfFile(sourcePath));
    const qsizetype exif = whole.indexOf("Exif\0\0", 0);
    QVERIFY(exif > 0);

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray(4096, '\xa7');
    QTest::newRow("cut inside the Exif block") << whole.left(exif + 30);
    QByteArray segment = whole;
    segment[exif - 2] = '\xff'; // the Exif segment claims more bytes than the file holds
    segment[exif - 1] = '\xff';
    QTest::newRow("segment longer than the file") << segment.left(exif + 200);
    QByteArray ifd = whole;
    // The first directory's offset points far past the end.
    ifd.replace(exif + 6 + 4, 4, QByteArray("\x7f\xff\xff\xf0", 4));
    QTest::newRow("directory offset past the end") << ifd;
    QByteArray tiff("II*\0\x08\0\0\0\xff\xff", 10); // 65535 entries, none present
    QTest::newRow("TIFF with an impossible directory") << tiff;
    QByteArray loop("MM\0*\0\0\0\x08\0\x01\x87\x69\0\x04\0\0\0\x01\0\0\0\x08\0\0\0\0", 26);
    QTest::newRow("TIFF whose Exif directory is itself") << loop;
}

void TestTakenTime::damagedPhotosGiveNone() {
    QFETCH(QByteArray, bytes);
    const QString path =
        m_dir.filePath(QStringLiteral("damaged-") + QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(writeFile(path, bytes));
    QCOMPARE(textOf(takenMomentOfFile(path)), QStringLiteral("none"));
    QCOMPARE(textOf(takenMomentOfBytes(reinterpret_cast<const uchar *>(bytes.constData()),
                                       bytes.size(), nowTicks())),
             QStringLiteral("none"));
}

void TestTakenTime::movieHeaders_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QDateTime>("utc"); // invalid: none
    const QDateTime shot(QDate(2020, 5, 6), QTime(7, 8, 9), Qt::UTC);
    const quint64 seconds = movieSeconds(shot.toSecsSinceEpoch());
    const QByteArray type = box("ftyp", QByteArray("qt  \0\0\0\0qt  ", 12));
    const QByteArray header = movieHeader(0, seconds);
    const QByteArray data = box("mdat", QByteArray(32, '\1'));

    QTest::newRow("MP4, 32-bit times") << movieFile(0, seconds) << shot;
    QTest::newRow("64-bit times") << movieFile(1, seconds) << shot;
    QTest::newRow("MOV, movie first") << box("moov", header) + box("wide", {}) + data << shot;
    QTest::newRow("media data with a 64-bit size first")
        << type + largeBox("mdat", QByteArray(40, '\2')) + box("moov", header) << shot;
    QTest::newRow("movie box runs to the end")
        << type + QByteArray(4, '\0') + QByteArray("moov") + header << shot;
    QTest::newRow("header after other movie boxes")
        << type + box("moov", box("udta", QByteArray(20, 'u')) + header) << shot;
    QTest::newRow("zero time") << movieFile(0, 0) << QDateTime();
    QTest::newRow("before 1990")
        << movieFile(0,
                     movieSeconds(
                         QDateTime(QDate(1989, 12, 31), QTime(23, 0), Qt::UTC).toSecsSinceEpoch()))
        << QDateTime();
    QTest::newRow("in the future")
        << movieFile(1, movieSeconds(QDateTime::currentSecsSinceEpoch() + 86'400)) << QDateTime();
    QTest::newRow("64-bit time beyond any date") << movieFile(1, ~quint64(0)) << QDateTime();
    QTest::newRow("huge box size before the movie")
        << type + bigEndian(0xfffffff0, 4) + QByteArray("mdat") + box("moov", header)
        << QDateTime();
    QTest::newRow("huge 64-bit box size") << type + bigEndian(1, 4) + QByteArray("mdat") +
                                                 bigEndian(~quint64(0), 8) + box("moov", header)
                                          << QDateTime();
    QTest::newRow("box smaller than its header")
        << type + bigEndian(4, 4) + QByteArray("free") + box("moov", header) << QDateTime();
    QTest::newRow("header bigger than its movie")
        << type + bigEndian(16, 4) + QByteArray("moov") + header << QDateTime();
    QTest::newRow("truncated inside the header")
        << movieFile(0, seconds).left(20 + 8 + 8 + 6) << QDateTime();
    QTest::newRow("header too short for its version")
        << type + box("moov", box("mvhd", QByteArray("\1\0\0\0\0\0\0\0", 8))) << QDateTime();
    QTest::newRow("unknown version")
        << type + box("moov", box("mvhd", QByteArray("\2\0\0\0", 4) + QByteArray(100, '\1')))
        << QDateTime();
    QTest::newRow("a still, not a movie")
        << QByteArray("\xff\xd8\xff\xe0", 4) + header << QDateTime();
    QByteArray manyBoxes = type;
    for (int i = 0; i < 20'000; ++i)
        manyBoxes += box("free", {});
    QTest::newRow("thousands of empty boxes") << manyBoxes + box("moov", header) << QDateTime();
}

void TestTakenTime::movieHeaders() {
    QFETCH(QByteArray, bytes);
    QFETCH(QDateTime, utc);
    const std::optional<qint64> expected =
        utc.isValid() ? std::optional<qint64>(ticksOfUtc(utc)) : std::nullopt;
    // Read from a heap copy of exactly the file's bytes: a read past the end is caught.
    const std::unique_ptr<uchar[]> exact(new uchar[size_t(bytes.size())]);
    std::memcpy(exact.get(), bytes.constData(), size_t(bytes.size()));
    QCOMPARE(movieCreationTime(exact.get(), bytes.size(), nowTicks()), expected);
    const QString path =
        m_dir.filePath(QStringLiteral("movie-") + QString::fromLatin1(QTest::currentDataTag()) +
                       QStringLiteral(".mp4"));
    QVERIFY(writeFile(path, bytes));
    // From the file, box header by box header; the UTC time is shown in local time.
    QCOMPARE(textOf(takenMomentOfFile(path)),
             utc.isValid() ? localTextOf(utc) : QStringLiteral("none"));
}

void TestTakenTime::readingLeavesTheAccessTimeAlone() {
    const QString photo = m_dir.filePath(QStringLiteral("kept.jpg"));
    const QString movie = m_dir.filePath(QStringLiteral("kept.mp4"));
    QVERIFY(writeTaggedJpeg(photo, {kDtOriginal + QStringLiteral("2021:03:04 05:06:07")}));
    QVERIFY(writeFile(movie, movieFile(0, movieSeconds(1'600'000'000))));
    // Three days old: the relatime rule would refresh it on any read that it saw.
    const time_t old = ::time(nullptr) - 3 * 86'400;
    for (const QString &path : {photo, movie}) {
        QVERIFY(setFileTimes(path, {old, 500}, {old - 86'400, 0}));
        QVERIFY(takenMomentOfFile(path));
        struct stat status {};
        QCOMPARE(::stat(pathToBytes(path).constData(), &status), 0);
        QCOMPARE(status.st_atim.tv_sec, old);
        QCOMPARE(status.st_atim.tv_nsec, 500L);
    }
}

void TestTakenTime::aFileThatShrankAfterOpeningIsReadSafely() {
    const QString path = m_dir.filePath(QStringLiteral("shrinking.mp4"));
    const quint64 seconds = movieSeconds(1'600'000'000);
    // The movie comes after two pages of media data.
    const QByteArray bytes = box("ftyp", QByteArray("isom\0\0\0\0", 8)) +
                             box("mdat", QByteArray(8192, '\3')) +
                             box("moov", movieHeader(0, seconds));
    QVERIFY(writeFile(path, bytes));
    const int fd = ::open(pathToBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    QVERIFY(takenMomentOfDescriptor(fd, bytes.size()));
    // Cut by another program after the run read the size: the movie box is gone.
    QCOMPARE(::truncate(pathToBytes(path).constData(), 100), 0);
    QCOMPARE(textOf(takenMomentOfDescriptor(fd, bytes.size())), QStringLiteral("none"));
    ::close(fd);
}

void TestTakenTime::creationOptionsUseTheTakenMoment() {
    const QString photo = m_dir.filePath(QStringLiteral("Night.jpg"));
    const QString plain = m_dir.filePath(QStringLiteral("Notes.jpg"));
    const QString movie = m_dir.filePath(QStringLiteral("Clip.mp4"));
    // Shot abroad in the hour that Berlin's clocks skip that night.
    QVERIFY(writeTaggedJpeg(photo, {kDtOriginal + QStringLiteral("2021:03:28 02:30:00"),
                                    QStringLiteral("Exif.Photo.OffsetTimeOriginal=-06:00"),
                                    QStringLiteral("Exif.Photo.SubSecTimeOriginal=864")}));
    QVERIFY(writeTaggedJpeg(plain, {}));
    const QDateTime movieShot(QDate(2020, 5, 6), QTime(7, 8, 9), Qt::UTC);
    QVERIFY(writeFile(movie, movieFile(0, movieSeconds(movieShot.toSecsSinceEpoch()))));
    const qint64 fileTicks = ticksOfUtc(QDateTime(QDate(2026, 7, 15), QTime(10, 0), Qt::UTC));
    const KnownFileTimes files(fileTicks);
    const TakenFileTimes taken(files);
    const FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    const RegionalForms forms{QLocale(QStringLiteral("en_US"))};
    const char *creation = "Add file creation time and date to end of filename";
    const auto name = [&](const QString &path, const char *option, const FileTimeProvider &times) {
        return ComposeNewName(path, QString::fromLatin1(option), 0, clock, times, forms,
                              StampForm::Sortable)
            .section(QLatin1Char('/'), -1);
    };
    QCOMPARE(name(photo, creation, taken), QStringLiteral("Night 2021-03-28 02-30-00.jpg"));
    QCOMPARE(name(movie, creation, taken), QStringLiteral("Clip 2020-05-06 09-08-09.mp4"));
    // Without a recorded moment the file keeps its file time; other options are unaffected.
    QCOMPARE(name(plain, creation, taken), QStringLiteral("Notes 2026-07-15 12-00-00.jpg"));
    QCOMPARE(files.lastSource, TimeSource::Creation);
    QCOMPARE(name(photo, "Add last modified time and date to end of filename", taken),
             QStringLiteral("Night 2026-07-15 12-00-00.jpg"));
    QCOMPARE(files.lastSource, TimeSource::LastWrite);

    // Through an open descriptor, as the run reads it; one that cannot be read (here opened
    // for writing only) keeps the file's time.
    for (const int flags : {O_RDONLY, O_WRONLY}) {
        const int fd = ::open(pathToBytes(photo).constData(), flags | O_CLOEXEC);
        QVERIFY(fd >= 0);
        struct stat status {};
        QCOMPARE(::fstat(fd, &status), 0);
        const TakenFileTimes opened(files, photo, fd, status.st_size);
        QCOMPARE(name(photo, creation, opened),
                 flags == O_RDONLY ? QStringLiteral("Night 2021-03-28 02-30-00.jpg")
                                   : QStringLiteral("Night 2026-07-15 12-00-00.jpg"));
        ::close(fd);
    }
}

void TestTakenTime::shiftMovesOnlyTakenMoments_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("option");
    QTest::addColumn<qint64>("shift");
    QTest::addColumn<QString>("stamp");
    const QString creation = QStringLiteral("Add file creation time and date to end of filename");
    const QString modified = QStringLiteral("Add last modified time and date to end of filename");
    const QString fileTime = QStringLiteral("2026-07-15 12-00-00");
    const qint64 hour = 3600;
    // The phone photo was taken at 2020-04-17 10:03:40, the movie at 2020-05-06 09:08:09.
    QTest::newRow("photo an hour on") << "phone.heic" << creation << hour << "2020-04-17 11-03-40";
    QTest::newRow("photo a day and more back")
        << "phone.heic" << creation << -(86'400 + hour + 61) << "2020-04-16 09-02-39";
    QTest::newRow("movie an hour back") << "clip.mp4" << creation << -hour << "2020-05-06 08-08-09";
    QTest::newRow("photo into tomorrow and beyond")
        << "phone.heic" << creation << 20 * 365 * 86'400LL << fileTime;
    // The limits judge the shifted moment.
    QTest::newRow("photo from 1899 into 1900")
        << "old.jpg" << creation << hour << "1900-01-01 00-00-00";
    QTest::newRow("photo from 1900 into 1899") << "new-year.jpg" << creation << -hour << fileTime;
    QTest::newRow("movie from 1989 into 1990")
        << "old.mp4" << creation << 2 * hour << "1990-01-01 02-00-00";
    QTest::newRow("movie into the future")
        << "clip.mp4" << creation << 20 * 365 * 86'400LL << fileTime;
    // File times are never shifted.
    QTest::newRow("no taken moment") << "plain.jpg" << creation << hour << fileTime;
    QTest::newRow("another time of a photo") << "phone.heic" << modified << hour << fileTime;
}

void TestTakenTime::shiftMovesOnlyTakenMoments() {
    QFETCH(QString, file);
    QFETCH(QString, option);
    QFETCH(qint64, shift);
    QFETCH(QString, stamp);
    const QString folder = m_dir.filePath(QStringLiteral("shift"));
    const auto at = [&folder](const char *name) -> QString {
        return folder + QLatin1Char('/') + QLatin1String(name);
    };
    const auto original = [](const char *moment) {
        return Tags{kDtOriginal + QLatin1String(moment)};
    };
    if (!QFile::exists(folder)) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(testData("IMG_3578-pruned.heic"), at("phone.heic")));
        QVERIFY(writeTaggedJpeg(at("old.jpg"), original("1899:12:31 23:00:00")));
        QVERIFY(writeTaggedJpeg(at("new-year.jpg"), original("1900:01:01 00:30:00")));
        QVERIFY(writeTaggedJpeg(at("plain.jpg"), {}));
        const QDateTime shot(QDate(2020, 5, 6), QTime(7, 8, 9), Qt::UTC);
        QVERIFY(writeFile(at("clip.mp4"), movieFile(0, movieSeconds(shot.toSecsSinceEpoch()))));
        const QDateTime old(QDate(1989, 12, 31), QTime(23, 0), Qt::UTC);
        QVERIFY(writeFile(at("old.mp4"), movieFile(1, movieSeconds(old.toSecsSinceEpoch()))));
    }
    const QString path = folder + QLatin1Char('/') + file;
    const KnownFileTimes files(ticksOfUtc(QDateTime(QDate(2026, 7, 15), QTime(10, 0), Qt::UTC)));
    const FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    const RegionalForms forms{QLocale(QStringLiteral("en_US"))};
    const QString base = file.section(QLatin1Char('.'), 0, 0);
    const QString expected = base + QLatin1Char(' ') + stamp + file.mid(base.size());
    // By path, as the list reads it, and through an open descriptor, as the run does.
    const TakenFileTimes byPath(files, shift);
    QCOMPARE(ComposeNewName(path, option, 0, clock, byPath, forms, StampForm::Sortable)
                 .section(QLatin1Char('/'), -1),
             expected);
    const int fd = ::open(pathToBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    const TakenFileTimes opened(files, path, fd, QFileInfo(path).size(), shift);
    const QString throughDescriptor =
        ComposeNewName(path, option, 0, clock, opened, forms, StampForm::Sortable);
    ::close(fd);
    QCOMPARE(throughDescriptor.section(QLatin1Char('/'), -1), expected);
}

/// Bytes this process has read so far, through any read call (this reading included).
qint64 bytesReadSoFar() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = io.readAll();
    const qsizetype at = text.indexOf("rchar: ");
    return at < 0 ? -1 : text.mid(at + 7, text.indexOf('\n', at) - at - 7).toLongLong();
}

void TestTakenTime::readsOnlyWhatItNeeds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("least");
    QTest::addColumn<qint64>("most");
    constexpr qint64 kMiB = 1 << 20;
    const QByteArray media(4 * kMiB, '\5');
    QTest::newRow("a movie: box headers only")
        << box("ftyp", QByteArray("isom\0\0\0\0", 8)) + box("mdat", media) +
               box("moov", movieHeader(0, movieSeconds(1'600'000'000)))
        << qint64(0) << qint64(1024);
    QTest::newRow("an unknown format: its first bytes only")
        << media << qint64(1) << qint64(4096 + 1024);
    const QString jpeg = m_dir.filePath(QStringLiteral("padded.jpg"));
    QVERIFY(writeTaggedJpeg(jpeg, {kDtOriginal + QStringLiteral("2021:03:04 05:06:07")}));
    QTest::newRow("a photo: whole") << contentOf(jpeg) + media << 4 * kMiB << 5 * kMiB;
}

void TestTakenTime::readsOnlyWhatItNeeds() {
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, least);
    QFETCH(qint64, most);
    const QString path = m_dir.filePath(QStringLiteral("measured"));
    QVERIFY(writeFile(path, bytes));
    const qint64 before = bytesReadSoFar();
    QVERIFY(before >= 0);
    takenMomentOfFile(path);
    const qint64 read = bytesReadSoFar() - before;
    QVERIFY2(read >= least && read <= most, qPrintable(QString::number(read)));
}

void TestTakenTime::largePhotosKeepTheirFileTime_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("taken");
    QTest::newRow("as large as a photo is read")
        << kLargestPhotoRead << QStringLiteral("2021-03-04 05:06:07");
    QTest::newRow("one byte larger") << kLargestPhotoRead + 1 << QStringLiteral("none");
}

void TestTakenTime::largePhotosKeepTheirFileTime() {
    QFETCH(qint64, size);
    QFETCH(QString, taken);
    const QString path = m_dir.filePath(QStringLiteral("large.jpg"));
    QVERIFY(writeTaggedJpeg(path, {kDtOriginal + QStringLiteral("2021:03:04 05:06:07")}));
    // Padded with a hole after the picture's end, as some cameras pad their files.
    QCOMPARE(::truncate(pathToBytes(path).constData(), off_t(size)), 0);
    QCOMPARE(textOf(takenMomentOfFile(path)), taken);
}

void TestTakenTime::filesChangingWhileReadAreReadSafely_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("taken");
    const QDateTime shot(QDate(2020, 9, 13), QTime(12, 26, 40), Qt::UTC);
    // The movie box comes after a megabyte of media data, and the photo's Exif block is
    // followed by a megabyte of picture: the reading goes past where the file is cut.
    QTest::newRow("movie") << box("ftyp", QByteArray("isom\0\0\0\0", 8)) +
                                  box("mdat", QByteArray(1 << 20, '\3')) +
                                  box("moov", movieHeader(0, movieSeconds(shot.toSecsSinceEpoch())))
                           << localTextOf(shot);
    const QString jpeg = m_dir.filePath(QStringLiteral("big.jpg"));
    QVERIFY(writeTaggedJpeg(jpeg, {kXmpOriginal + QStringLiteral("2019-07-06T07:08:09")},
                            QSize(1200, 900)));
    QTest::newRow("photo") << contentOf(jpeg) << QStringLiteral("2019-07-06 07:08:09");
}

void TestTakenTime::filesChangingWhileReadAreReadSafely() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, taken);
    const QString path = m_dir.filePath(QStringLiteral("changing"));
    QVERIFY(writeFile(path, bytes));
    const QByteArray encoded = pathToBytes(path);
    // Another program cuts the file short and writes it again, over and over, while it is
    // read: each reading gives the moment or none, and the process lives on.
    std::atomic<bool> stop{false};
    std::thread cutter([&] {
        for (int round = 0; !stop.load(); ++round) {
            const int fd = ::open(encoded.constData(), O_WRONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            if (::ftruncate(fd, round % 2 == 0 ? 0 : bytes.size() / 3) == 0)
                (void)!::pwrite(fd, bytes.constData(), size_t(bytes.size()), 0);
            ::close(fd);
        }
    });
    int found = 0;
    QStringList wrong;
    for (int i = 0; i < 300; ++i) {
        const int fd = ::open(encoded.constData(), O_RDONLY | O_CLOEXEC);
        struct stat status {};
        if (fd < 0 || ::fstat(fd, &status) != 0)
            continue;
        for (const std::optional<LocalMoment> &moment :
             {takenMomentOfDescriptor(fd, bytes.size()), takenMomentOfFile(path)}) {
            const QString text = textOf(moment);
            found += text == taken;
            if (text != taken && text != QStringLiteral("none"))
                wrong << text;
        }
        ::close(fd);
    }
    stop = true;
    cutter.join();
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char(' '))));
    qInfo("%d of 600 readings found the moment", found);
}

QTEST_GUILESS_MAIN(TestTakenTime)
#include "tst_takentime.moc"

#pragma GCC diagnostic pop

void TestTakenTime::aDamagedCardGivesNoneAndTheProcessLives_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("taken");
    const QDateTime shot(QDate(2020, 9, 13), QTime(12, 26, 40), Qt::UTC);
    const QByteArray movieBox = box("moov", movieHeader(0, movieSeconds(shot.toSecsSinceEpoch())));
    const QByteArray start = box("ftyp", QByteArray("isom\0\0\0\0", 8));
    QTest::newRow("movie header before the damage")
        << start + movieBox + box("mdat", QByteArray(2 << 20, '\3')) << localTextOf(shot);
    QTest::newRow("movie header past the damage")
        << start + box("mdat", QByteArray(2 << 20, '\3')) + movieBox << QStringLiteral("none");
    const QString jpeg = m_dir.filePath(QStringLiteral("card.jpg"));
    QVERIFY(writeTaggedJpeg(jpeg, {kDtOriginal + QStringLiteral("2021:03:04 05:06:07")}));
    const QByteArray photo = contentOf(jpeg);
    QTest::newRow("photo within the readable part")
        << photo << QStringLiteral("2021-03-04 05:06:07");
    // A photo is read whole: a damaged picture after its metadata gives no taken time.
    QTest::newRow("photo running into the damage")
        << photo + QByteArray(2 << 20, '\0') << QStringLiteral("none");
}

void TestTakenTime::aDamagedCardGivesNoneAndTheProcessLives() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, taken);
    SKIP_WITHOUT_MOUNT(TestMount::Kind::TestFs);
    // Every read at or past the first mebibyte of a file fails with EIO, as on a damaged card.
    TestMount card;
    QVERIFY2(card.mount(TestMount::Kind::TestFs, {QStringLiteral("eio_after=1048576")}),
             qPrintable(card.error()));
    const QString path = card.path() + QStringLiteral("/file");
    QVERIFY(writeFile(path, bytes));
    QCOMPARE(textOf(takenMomentOfFile(path)), taken);
}
