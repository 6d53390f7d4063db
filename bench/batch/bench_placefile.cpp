// PlaceFile against cp on the same files, alternating, medians:
//   (a) 10,000 files of 4 KiB into a fresh folder,
//   (b) the same again over those copies (every destination replaced),
//   (c) one file of 1 GiB,
//   (d) and (e) as (a) through the copy alone, the copy written into an anonymous file
//       and into a named temporary file (as where there are no anonymous files).
// Usage: bench_placefile [rounds] [base folder]

#include "BenchSupport.h"
#include "PlaceFile.h"

#include "copying/FilePlacement.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace bench;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QString base = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    QTemporaryDir root(base + QStringLiteral("/plenvoy-bench-XXXXXX"));
    if (!root.isValid())
        return 2;
    const QString top = root.path();
    constexpr int kFiles = 10000;
    constexpr qint64 kSmall = 4096;
    constexpr qint64 kLarge = qint64(1) << 30;

    const QString sources = freshFolder(top, QStringLiteral("src"));
    QStringList names;
    for (int i = 0; i < kFiles; ++i) {
        names << QStringLiteral("file%1.dat").arg(i, 5, 10, QLatin1Char('0'));
        writeFile(sources + QLatin1Char('/') + names.last(), kSmall, unsigned(i));
    }
    const QString largeFolder = freshFolder(top, QStringLiteral("large"));
    const QString large = largeFolder + QStringLiteral("/large.bin");
    writeFile(large, kLarge, 99);
    warmMemory(top);
    settle();

    std::vector<double> newPlace, newCp, replacePlace, replaceCp, largePlace, largeCp;
    std::vector<double> anonymousCopy, anonymousCp, temporaryCopy, temporaryCp;
    const auto placeAll = [&](const QString &into) {
        for (const QString &name : names)
            plenvoy::PlaceFile(sources + QLatin1Char('/') + name, into + QLatin1Char('/') + name);
    };
    const auto copyAll = [&](const QString &into, bool withoutAnonymousFile) {
        plenvoy::CopyHooks hooks;
        hooks.faults.emplace();
        hooks.faults->withoutAnonymousFile = withoutAnonymousFile;
        for (const QString &name : names) {
            const plenvoy::SourceFile source(sources + QLatin1Char('/') + name);
            plenvoy::copySourceFile(source, into + QLatin1Char('/') + name, nullptr,
                                    plenvoy::ExistingName::Replace, hooks);
        }
    };
    const auto cpAll = [&](const QString &into) {
        run({QStringLiteral("cp"), QStringLiteral("-r"), sources + QStringLiteral("/."), into});
    };
    for (int round = 0; round < rounds; ++round) {
        const QString tag = QString::number(round);
        const QString placeInto = freshFolder(top, QStringLiteral("place") + tag);
        const QString cpInto = freshFolder(top, QStringLiteral("cp") + tag);
        const QString placeLarge = freshFolder(top, QStringLiteral("place-large") + tag);
        const QString cpLarge = freshFolder(top, QStringLiteral("cp-large") + tag);
        const bool cpFirst = round % 2 == 1;
        const auto pair = [&](auto &&ours, auto &&theirs, std::vector<double> &ourTimes,
                              std::vector<double> &theirTimes) {
            for (int turn = 0; turn < 2; ++turn) {
                settle();
                if ((turn == 0) != cpFirst)
                    ourTimes.push_back(timed(ours));
                else
                    theirTimes.push_back(timed(theirs));
            }
        };
        pair([&] { placeAll(placeInto); }, [&] { cpAll(cpInto); }, newPlace, newCp);
        pair([&] { placeAll(placeInto); }, [&] { cpAll(cpInto); }, replacePlace, replaceCp);
        pair([&] { plenvoy::PlaceFile(large, placeLarge + QStringLiteral("/large.bin")); },
             [&] {
                 run({QStringLiteral("cp"), large, cpLarge + QStringLiteral("/large.bin")});
             },
             largePlace, largeCp);
        const QString anonymousInto = freshFolder(top, QStringLiteral("anonymous") + tag);
        const QString anonymousCpInto = freshFolder(top, QStringLiteral("cp-anonymous") + tag);
        pair([&] { copyAll(anonymousInto, false); }, [&] { cpAll(anonymousCpInto); }, anonymousCopy,
             anonymousCp);
        const QString temporaryInto = freshFolder(top, QStringLiteral("temporary") + tag);
        const QString temporaryCpInto = freshFolder(top, QStringLiteral("cp-temporary") + tag);
        pair([&] { copyAll(temporaryInto, true); }, [&] { cpAll(temporaryCpInto); }, temporaryCopy,
             temporaryCp);
        std::fprintf(stderr, "round %d done\n", round + 1);
    }

    const auto line = [](const char *what, const std::vector<double> &ours,
                         const std::vector<double> &theirs, double goal) {
        const double ratio = median(ours) / median(theirs);
        std::printf("%-44s PlaceFile %8.3f s  cp %8.3f s  ratio %.2f (goal <= %.1f)\n", what,
                    median(ours), median(theirs), ratio, goal);
    };
    std::printf("medians of %d alternating rounds\n", rounds);
    line("(a) 10,000 x 4 KiB into a fresh folder", newPlace, newCp, 1.3);
    line("(b) 10,000 x 4 KiB over the earlier copies", replacePlace, replaceCp, 1.7);
    line("(c) 1 GiB", largePlace, largeCp, 1.1);
    line("(d) as (a), the copy alone, anonymous file", anonymousCopy, anonymousCp, 1.3);
    line("(e) as (a), the copy alone, temporary file", temporaryCopy, temporaryCp, 1.3);
    settle();
    return 0;
}
