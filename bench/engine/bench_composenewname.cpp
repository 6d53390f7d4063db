// Time per name of ComposeNewName for a clock option and a file-time option, beside the
// time per file that PlaceFile and cp take to copy 4 KiB files, measured alternately in the
// same run.
// Usage: bench_composenewname [FOLDER] (default: the temporary folder)

#include "BenchTree.h"
#include "PlaceNanos.h"
#include "copying/FilePlacement.h"
#include "naming/ComposeNewName.h"
#include "naming/FileMoment.h"
#include "naming/RenameOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

using namespace plenvoy;

using plenvoy::bench::median;
using plenvoy::bench::warmMemory;

namespace {

constexpr int kNames = 100'000;
constexpr int kFiles = 10'000;
constexpr int kRounds = 5;

/// Nanoseconds per name for composing every path under the option.
double composeNanos(const QStringList &paths, const QString &option, qsizetype &checksum) {
    QElapsedTimer timer;
    timer.start();
    for (const QString &path : paths)
        checksum += ComposeNewName(path, option, -1).size();
    return double(timer.nsecsElapsed()) / double(paths.size());
}

/// Nanoseconds per name for composing under the option from a status already read, as the
/// run does: it opens each source once and names it from the statx of that descriptor.
double composeFromStatusNanos(const QStringList &paths, const std::vector<struct statx> &statuses,
                              const QString &option, qsizetype &checksum) {
    QElapsedTimer timer;
    timer.start();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const StatusFileTimes opened(paths.at(i), statuses[size_t(i) % statuses.size()],
                                     systemFileTimes());
        checksum += ComposeNewName(paths.at(i), option, -1, systemClock(), opened).size();
    }
    return double(timer.nsecsElapsed()) / double(paths.size());
}

/// Nanoseconds per path for the bare statx that a file-time option cannot do without.
double statxNanos(const QStringList &paths, qsizetype &checksum) {
    QElapsedTimer timer;
    timer.start();
    for (const QString &path : paths) {
        struct statx status {};
        const QByteArray encoded = QFile::encodeName(path);
        checksum +=
            ::statx(AT_FDCWD, encoded.constData(), AT_STATX_SYNC_AS_STAT, STATX_MTIME, &status);
    }
    return double(timer.nsecsElapsed()) / double(paths.size());
}

/// Nanoseconds per file for cp copying the whole source folder into a never-used folder.
double copyNanos(const QString &source, const QString &destination) {
    QElapsedTimer timer;
    timer.start();
    const int status =
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), source, destination});
    const qint64 elapsed = timer.nsecsElapsed();
    if (status != 0)
        std::fprintf(stderr, "cp failed with status %d\n", status);
    return double(elapsed) / double(kFiles);
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    QTemporaryDir work(arguments.size() > 1 ? arguments.at(1) + QStringLiteral("/bench-XXXXXX")
                                            : QDir::tempPath() + QStringLiteral("/bench-XXXXXX"));
    if (!work.isValid()) {
        std::fprintf(stderr, "cannot make a work folder\n");
        return 1;
    }
    const QString source = work.filePath(QStringLiteral("source"));
    QDir().mkpath(source);
    const QByteArray content(4096, 'x');
    QStringList files;
    for (int i = 0; i < kFiles; ++i) {
        const QString path =
            source + QStringLiteral("/photo %1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        files.append(path);
    }
    // 100,000 names over the 10,000 real files, so every file time is a real statx.
    QStringList paths;
    paths.reserve(kNames);
    for (int i = 0; i < kNames; ++i)
        paths.append(files.at(i % kFiles));
    std::vector<struct statx> statuses(static_cast<size_t>(kFiles));
    for (int i = 0; i < kFiles; ++i)
        ::statx(AT_FDCWD, QFile::encodeName(files.at(i)).constData(), 0,
                STATX_BASIC_STATS | STATX_BTIME, &statuses[size_t(i)]);
    warmMemory(work.path());

    const QString clockOption = renameOptionTexts().at(7); // current time and date, end
    const QString fileOption = renameOptionTexts().at(25); // last modified time and date, end
    std::vector<double> clockTimes, fileTimes, statxTimes, copyTimes, placeTimes, openedTimes;
    qsizetype checksum = 0;
    composeNanos(paths, clockOption, checksum); // first use: caches and page faults
    composeNanos(paths, fileOption, checksum);
    for (int round = 0; round < kRounds; ++round) {
        copyTimes.push_back(copyNanos(source, work.filePath(QStringLiteral("copy-%1").arg(round))));
        placeTimes.push_back(
            bench::placeNanos(files, work.filePath(QStringLiteral("place-%1").arg(round))));
        clockTimes.push_back(composeNanos(paths, clockOption, checksum));
        fileTimes.push_back(composeNanos(paths, fileOption, checksum));
        statxTimes.push_back(statxNanos(paths, checksum));
        openedTimes.push_back(composeFromStatusNanos(paths, statuses, fileOption, checksum));
    }

    const double copy = median(copyTimes);
    const double place = median(placeTimes);
    const double clock = median(clockTimes);
    const double file = median(fileTimes);
    const double lookup = median(statxTimes);
    std::printf("rounds: %d (medians), %d names, %d files of 4 KiB (checksum %lld)\n", kRounds,
                kNames, kFiles, static_cast<long long>(checksum));
    std::printf("PlaceFile, per file:               %9.0f ns  (%.2fx cp)\n", place, place / copy);
    std::printf("cp -r, per file:                   %9.0f ns\n", copy);
    auto line = [&](const char *what, double nanos) {
        std::printf("%-34s %9.0f ns per name  (%.2f%% of PlaceFile, %.2f%% of cp)\n", what, nanos,
                    100.0 * nanos / place, 100.0 * nanos / copy);
    };
    line("ComposeNewName, clock option:", clock);
    line("ComposeNewName, file-time option:", file);
    line("  of which the file's statx alone:", lookup);
    line("file-time option, status shared:", median(openedTimes));
    std::printf("goal: composing from the status the copy reads under 3%% of placing a file\n");
    return 0;
}
