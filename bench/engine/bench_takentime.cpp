// The extra cost per file of reading the moment a photo or video was taken, beside the time
// PlaceFile takes to copy the same file, measured alternately in the same run: a 4 MiB JPEG
// tagged with Exif, and a 4 MiB MP4 whose movie header comes after its media data.
// Usage: bench_takentime [FOLDER] (default: the temporary folder)

#include "BenchTree.h"
#include "PlaceNanos.h"
#include "copying/FilePlacement.h"
#include "core/PathCodec.h"
#include "naming/TakenTime.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

// exiv2 0.27 hands images out in std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

using namespace plenvoy;

using plenvoy::bench::median;
using plenvoy::bench::warmMemory;

namespace {

constexpr int kFilesPerRound = 40;
constexpr int kRounds = 9;
constexpr qint64 kTargetSize = 4 << 20;

/// A camera-sized JPEG of noise (about 4 MiB), tagged as a camera tags it.
bool writePhoto(const QString &path) {
    QImage image(2400, 1800, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random.generate() | 0xff000000u;
    }
    if (!image.save(path, "JPEG", 92))
        return false;
    try {
        Exiv2::Image::AutoPtr tagged = Exiv2::ImageFactory::open(pathToBytes(path).toStdString());
        tagged->readMetadata();
        Exiv2::ExifData exif;
        exif["Exif.Image.Make"] = "Bench";
        exif["Exif.Image.Model"] = "Camera";
        exif["Exif.Image.DateTime"] = "2026:12:07 15:00:00";
        exif["Exif.Photo.DateTimeOriginal"] = "2026:12:07 14:05:09";
        exif["Exif.Photo.SubSecTimeOriginal"] = "42";
        exif["Exif.Photo.OffsetTimeOriginal"] = "+01:00";
        tagged->setExifData(exif);
        tagged->writeMetadata();
    } catch (const std::exception &) {
        return false;
    }
    return true;
}

QByteArray bigEndian(quint64 value, int bytes) {
    QByteArray out;
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.append(char(value >> shift & 0xff));
    return out;
}

QByteArray box(const char *type, const QByteArray &contents) {
    return bigEndian(quint64(8 + contents.size()), 4) + QByteArray(type, 4) + contents;
}

/// A 4 MiB MP4 as cameras write it: media data first, the movie header at the end.
bool writeMovie(const QString &path) {
    QByteArray header = bigEndian(0, 4) + bigEndian(3'800'000'000u, 4) +
                        bigEndian(3'800'000'000u, 4) + bigEndian(600, 4) + bigEndian(6000, 4) +
                        QByteArray(80, '\0');
    const QByteArray movie = box("moov", box("mvhd", header) + box("trak", QByteArray(400, 't')));
    QByteArray data(int(kTargetSize), '\0');
    QRandomGenerator random(9);
    random.fillRange(reinterpret_cast<quint32 *>(data.data()), data.size() / 4);
    const QByteArray file =
        box("ftyp", QByteArray("isom\0\0\2\0isomiso2mp41", 20)) + box("mdat", data) + movie;
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(file) == file.size();
}

/// Copies of the file under numbered names, so that each reading is of another file.
QStringList copiesOf(const QString &file, const QString &folder, int count) {
    QDir().mkpath(folder);
    QStringList copies;
    for (int i = 0; i < count; ++i) {
        const QString copy = folder + QStringLiteral("/%1-").arg(i) +
                             file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
        QFile::copy(file, copy);
        copies.append(copy);
    }
    return copies;
}

double takenNanos(const QStringList &files, int &found) {
    QElapsedTimer timer;
    timer.start();
    for (const QString &file : files)
        found += takenMomentOfFile(file).has_value();
    return double(timer.nsecsElapsed()) / double(files.size());
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    QTemporaryDir work(arguments.size() > 1 ? arguments.at(1) + QStringLiteral("/bench-XXXXXX")
                                            : QDir::tempPath() + QStringLiteral("/bench-XXXXXX"));
    const QString photo = work.filePath(QStringLiteral("photo.jpg"));
    const QString movie = work.filePath(QStringLiteral("clip.mp4"));
    if (!work.isValid() || !writePhoto(photo) || !writeMovie(movie)) {
        std::fprintf(stderr, "cannot write the sample files\n");
        return 1;
    }
    const QStringList photos =
        copiesOf(photo, work.filePath(QStringLiteral("photos")), kFilesPerRound);
    const QStringList movies =
        copiesOf(movie, work.filePath(QStringLiteral("movies")), kFilesPerRound);
    warmMemory(work.path());

    int found = 0;
    takenNanos(photos, found); // first use: exiv2's set-up, page cache
    takenNanos(movies, found);
    found = 0;
    std::vector<double> photoTaken, movieTaken, photoPlace, moviePlace;
    for (int round = 0; round < kRounds; ++round) {
        photoPlace.push_back(
            bench::placeNanos(photos, work.filePath(QStringLiteral("place-photo-%1").arg(round))));
        photoTaken.push_back(takenNanos(photos, found));
        moviePlace.push_back(
            bench::placeNanos(movies, work.filePath(QStringLiteral("place-movie-%1").arg(round))));
        movieTaken.push_back(takenNanos(movies, found));
    }

    std::printf("rounds: %d (medians), %d files a round; photo %lld bytes, movie %lld bytes; "
                "%d of %d readings found a moment\n",
                kRounds, kFilesPerRound, static_cast<long long>(QFile(photo).size()),
                static_cast<long long>(QFile(movie).size()), found, 2 * kRounds * kFilesPerRound);
    auto line = [](const char *what, double taken, double place) {
        std::printf("%-6s taken moment %9.0f ns, PlaceFile %10.0f ns: %.2f%% of placing\n", what,
                    taken, place, 100.0 * taken / place);
    };
    line("JPEG:", median(photoTaken), median(photoPlace));
    line("MP4:", median(movieTaken), median(moviePlace));
    std::printf("goal: under 20%% of placing a 4 MiB photo\n");
    return 0;
}

#pragma GCC diagnostic pop
