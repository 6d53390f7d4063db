#include "MovieBytes.h"
#include "TestFiles.h"
#include "core/PathCodec.h"
#include "engine/ComposeNewName.h"
#include "engine/RegionalForms.h"
#include "engine/TakenTime.h"

#include <QBuffer>
#include <QImage>
#include <QtTest>

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

/// Tags as "Key=value" texts, e.g. "Exif.Photo.DateTimeOriginal=2021:03:04 05:06:07".
using Tags = QStringList;

/// A JPEG written by Qt, then tagged through exiv2 as a camera or an editor would tag it.
bool writeTaggedJpeg(const QString &path, const Tags &tags) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
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
    void pngWithAnExifChunk();
    void damagedPhotosGiveNone_data();
    void damagedPhotosGiveNone();
    void movieHeaders_data();
    void movieHeaders();
    void readingLeavesTheAccessTimeAlone();
    void aFileThatShrankAfterOpeningIsReadSafely();
    void creationOptionsUseTheTakenMoment();

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
    QTest::addColumn<QDateTime>("utc"); // invalid: the photo records no moment
    QTest::addColumn<int>("fractionMs");
    const auto utc = [](int y, int mo, int d, int h, int mi, int s) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
    };
    const QString original = kDtOriginal + QStringLiteral("2021:03:04 05:06:07");
    const QString digitized = kDtDigitized + QStringLiteral("2020:02:03 04:05:06");
    const QString xmpOriginal = kXmpOriginal + QStringLiteral("2019-07-06T07:08:09");
    const QString xmpCreate = kXmpCreate + QStringLiteral("2018-01-02T03:04:05+05:30");

    QTest::newRow("original wins over all")
        << Tags{kImageDateTime, xmpCreate, xmpOriginal, digitized, original}
        << utc(2021, 3, 4, 4, 6, 7) << 0;
    QTest::newRow("digitized next")
        << Tags{kImageDateTime, xmpCreate, xmpOriginal, digitized} << utc(2020, 2, 3, 3, 5, 6) << 0;
    QTest::newRow("XMP original next, summer time")
        << Tags{kImageDateTime, xmpCreate, xmpOriginal} << utc(2019, 7, 6, 5, 8, 9) << 0;
    QTest::newRow("XMP create date with its offset")
        << Tags{kImageDateTime, xmpCreate} << utc(2018, 1, 1, 21, 34, 5) << 0;
    QTest::newRow("XMP in UTC with a fraction")
        << Tags{kXmpCreate + QStringLiteral("2017-05-06T07:08:09.25Z")} << utc(2017, 5, 6, 7, 8, 9)
        << 250;
    QTest::newRow("image date time is the last edit, not the shot")
        << Tags{kImageDateTime} << QDateTime() << 0;
    QTest::newRow("no metadata") << Tags{} << QDateTime() << 0;
    QTest::newRow("sub-seconds") << Tags{original,
                                         QStringLiteral("Exif.Photo.SubSecTimeOriginal=64")}
                                 << utc(2021, 3, 4, 4, 6, 7) << 640;
    QTest::newRow("offset converts to local")
        << Tags{original, QStringLiteral("Exif.Photo.OffsetTimeOriginal=-05:00")}
        << utc(2021, 3, 4, 10, 6, 7) << 0;
    QTest::newRow("offset and sub-seconds")
        << Tags{original, QStringLiteral("Exif.Photo.OffsetTimeOriginal=+09:00"),
                QStringLiteral("Exif.Photo.SubSecTimeOriginal=5")}
        << utc(2021, 3, 3, 20, 6, 7) << 500;
    QTest::newRow("unset original falls through")
        << Tags{kDtOriginal + QStringLiteral("0000:00:00 00:00:00"), digitized}
        << utc(2020, 2, 3, 3, 5, 6) << 0;
    QTest::newRow("blank original falls through")
        << Tags{kDtOriginal + QStringLiteral("    :  :     :  :  "), xmpOriginal}
        << utc(2019, 7, 6, 5, 8, 9) << 0;
    QTest::newRow("malformed offset is left out")
        << Tags{original, QStringLiteral("Exif.Photo.OffsetTimeOriginal=junk")}
        << utc(2021, 3, 4, 4, 6, 7) << 0;
}

void TestTakenTime::photoTagsInTheirOrder() {
    QFETCH(Tags, tags);
    QFETCH(QDateTime, utc);
    QFETCH(int, fractionMs);
    const QString path =
        m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".jpg"));
    QVERIFY(writeTaggedJpeg(path, tags));
    const std::optional<qint64> taken = takenTimeOfFile(path);
    if (!utc.isValid()) {
        QCOMPARE(taken, std::nullopt);
        return;
    }
    QVERIFY(taken);
    QCOMPARE(*taken, ticksOfUtc(utc, qint64(fractionMs) * 10'000));
}

void TestTakenTime::pngWithAnExifChunk() {
    Exiv2::ExifData exif;
    exif["Exif.Photo.DateTimeOriginal"] = "2022:01:02 03:04:05";
    const QByteArray png = pngWithExif(exif);
    QCOMPARE(QImage::fromData(png).size(), QSize(16, 16)); // still a valid picture
    const QString path = m_dir.filePath(QStringLiteral("screenshot.png"));
    QVERIFY(writeFile(path, png));
    QCOMPARE(takenTimeOfFile(path),
             ticksOfUtc(QDateTime(QDate(2022, 1, 2), QTime(2, 4, 5), Qt::UTC)));
}

void TestTakenTime::damagedPhotosGiveNone_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QString sourcePath = m_dir.filePath(QStringLiteral("whole.jpg"));
    QVERIFY(writeTaggedJpeg(sourcePath, {kDtOriginal + QStringLiteral("2021:03:04 05:06:07"),
                                         kXmpOriginal + QStringLiteral("2019-07-06T07:08:09")}));
    const QByteArray whole = contentOf(sourcePath);
    QVERIFY(takenTimeOfFile(sourcePath));
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
    QCOMPARE(takenTimeOfFile(path), std::nullopt);
    QCOMPARE(takenTimeOfBytes(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(),
                              nowTicks()),
             std::nullopt);
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
    QCOMPARE(takenTimeOfFile(path), expected);
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
        QVERIFY(takenTimeOfFile(path));
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
    QVERIFY(takenTimeOfDescriptor(fd, bytes.size()));
    // Cut by another program after the run read the size: the movie box is gone.
    QCOMPARE(::truncate(pathToBytes(path).constData(), 100), 0);
    QCOMPARE(takenTimeOfDescriptor(fd, bytes.size()), std::nullopt);
    ::close(fd);
}

void TestTakenTime::creationOptionsUseTheTakenMoment() {
    const QString photo = m_dir.filePath(QStringLiteral("Beach.jpg"));
    const QString plain = m_dir.filePath(QStringLiteral("Notes.jpg"));
    QVERIFY(writeTaggedJpeg(photo, {kDtOriginal + QStringLiteral("2021:03:04 05:06:07")}));
    QVERIFY(writeTaggedJpeg(plain, {}));
    const qint64 fileTicks = ticksOfUtc(QDateTime(QDate(2026, 7, 15), QTime(10, 0), Qt::UTC));
    const KnownFileTimes files(fileTicks);
    const TakenFileTimes taken(files);
    const FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    const RegionalForms forms{QLocale(QStringLiteral("en_US"))};
    const auto name = [&](const QString &path, const char *option) {
        return ComposeNewName(path, QString::fromLatin1(option), 0, clock, taken, forms,
                              StampForm::Sortable)
            .section(QLatin1Char('/'), -1);
    };
    QCOMPARE(name(photo, "Add file creation time and date to end of filename"),
             QStringLiteral("Beach 2021-03-04 05-06-07.jpg"));
    // Without a recorded moment the file keeps its file time; other options are unaffected.
    QCOMPARE(name(plain, "Add file creation time and date to end of filename"),
             QStringLiteral("Notes 2026-07-15 12-00-00.jpg"));
    QCOMPARE(files.lastSource, TimeSource::Creation);
    QCOMPARE(name(photo, "Add last modified time and date to end of filename"),
             QStringLiteral("Beach 2026-07-15 12-00-00.jpg"));
    QCOMPARE(files.lastSource, TimeSource::LastWrite);

    // Through an open descriptor, as the run reads it.
    const int fd = ::open(pathToBytes(photo).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    struct stat status {};
    QCOMPARE(::fstat(fd, &status), 0);
    const KnownFileTimes none(0);
    const TakenFileTimes opened(none, photo, fd, status.st_size);
    QCOMPARE(opened.fileTime(photo, TimeSource::Creation),
             ticksOfUtc(QDateTime(QDate(2021, 3, 4), QTime(4, 6, 7), Qt::UTC)));
    ::close(fd);
}

QTEST_GUILESS_MAIN(TestTakenTime)
#include "tst_takentime.moc"

#pragma GCC diagnostic pop
