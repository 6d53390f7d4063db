// Each route to a name, and the whole run, against cp -p on the disks people have: fresh
// ext4, xfs and btrfs images on loop devices and a tmpfs, each made and mounted by this
// program under its work folder (a file system it can't make or mount is skipped, saying so).
// Per file system and round, in a rotating order, each into a new folder never used before:
// 10,000 files of 4 KiB through the copy alone by each route (anonymous file + link,
// exclusive temporary name + rename, the same + link and unlink, the name written directly),
// the real "Start Changing" run (by the route it finds there), and cp -rp.
// Medians; ratios to cp -p. On btrfs and xfs a 256 MiB copy is checked to stay a reflink.
// Needs root (mount, loop devices).
// Usage: bench_routes [rounds] [work folder] [files] [file systems, comma-separated]
//   bench_routes 11 /var/tmp 10000 tmpfs,ext4,xfs,btrfs

#include "BenchSupport.h"
#include "PlaceFile.h"

#include "FixedRunInputs.h"
#include "copying/FilePlacement.h"
#include "core/SilentWindowPort.h"
#include "run/StartChanging.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <sys/statfs.h>

using namespace bench;
using plenvoy::NamingRoute;

namespace {

/// A file system made for the benchmark and mounted under the work folder; unmounted and
/// its image removed when it goes.
class BenchMount final {
public:
    BenchMount(const QString &type, const QString &work)
        : m_mountPoint(work + QStringLiteral("/mnt-") + type) {
        QDir().mkpath(m_mountPoint);
        if (type == QLatin1String("tmpfs")) {
            m_mounted = runQuietly({QStringLiteral("mount"), QStringLiteral("-t"), type,
                                    QStringLiteral("-o"), QStringLiteral("size=6g,nr_inodes=2m"),
                                    type, m_mountPoint});
            return;
        }
        m_image = work + QStringLiteral("/") + type + QStringLiteral(".img");
        QFile image(m_image);
        if (!image.open(QIODevice::WriteOnly) || !image.resize(qint64(8) << 30))
            return;
        image.close();
        QStringList make{QStringLiteral("mkfs.") + type};
        if (type == QLatin1String("ext4"))
            make << QStringLiteral("-q") << QStringLiteral("-i") << QStringLiteral("4096");
        else
            make << QStringLiteral("-q") << QStringLiteral("-f");
        make << m_image;
        m_mounted = runQuietly(make) && runQuietly({QStringLiteral("mount"), QStringLiteral("-o"),
                                                    QStringLiteral("loop"), m_image, m_mountPoint});
    }
    ~BenchMount() {
        if (m_mounted)
            runQuietly({QStringLiteral("umount"), m_mountPoint});
        if (!m_image.isEmpty())
            QFile::remove(m_image);
    }
    BenchMount(const BenchMount &) = delete;
    BenchMount &operator=(const BenchMount &) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_mountPoint; }

private:
    QString m_mountPoint;
    QString m_image;
    bool m_mounted = false;
};

const char *routeName(NamingRoute route) {
    switch (route) {
    case NamingRoute::AnonymousFile:
        return "anonymous file + link";
    case NamingRoute::ExclusiveRename:
        return "temporary name + exclusive rename";
    case NamingRoute::LinkThenUnlink:
        return "temporary name + link, unlink";
    case NamingRoute::DirectName:
        return "name written directly";
    case NamingRoute::Unknown:
        break;
    }
    return "chosen for the file system";
}

/// The copy alone into a fresh folder by one route, the folder opened once as the run does.
bool copyAll(const QStringList &sources, const QString &into, NamingRoute route) {
    const int folder = ::open(QFile::encodeName(into).constData(), O_PATH | O_DIRECTORY);
    if (folder < 0)
        return false;
    NamingRoute found = NamingRoute::Unknown;
    plenvoy::CopyHooks hooks;
    hooks.faults.emplace();
    hooks.faults->firstRoute = route;
    hooks.folderRoute = &found;
    bool all = true;
    for (const QString &source : sources) {
        const plenvoy::SourceFile file(source);
        const QByteArray name =
            QFile::encodeName(source.mid(source.lastIndexOf(QLatin1Char('/')) + 1));
        all = plenvoy::copySourceFileInto(file, folder, name, nullptr,
                                          plenvoy::ExistingName::Replace, hooks, true)
                  .copied() &&
              all;
    }
    ::close(folder);
    return all && found == route;
}

/// Blocks of the file system in use.
qint64 usedBlocks(const QString &path) {
    struct statfs info {};
    ::statfs(QFile::encodeName(path).constData(), &info);
    return qint64(info.f_blocks - info.f_bfree) * qint64(info.f_bsize);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const QString base = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/var/tmp");
    const int files = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10000;
    const QStringList types = QString::fromLocal8Bit(argc > 4 ? argv[4] : "tmpfs,ext4,xfs,btrfs")
                                  .split(QLatin1Char(','), Qt::SkipEmptyParts);
    QTemporaryDir work(base + QStringLiteral("/plenvoy-bench-routes-XXXXXX"));
    if (!work.isValid())
        return 2;
    const std::vector<NamingRoute> routes{NamingRoute::AnonymousFile, NamingRoute::ExclusiveRename,
                                          NamingRoute::LinkThenUnlink, NamingRoute::DirectName};
    std::printf("medians of %d rotating rounds, %d x 4 KiB, ratio to cp -p\n", rounds, files);
    std::printf("%-8s %-36s %9s %9s %7s\n", "fs", "way", "ours s", "cp -p s", "ratio");
    for (const QString &type : types) {
        BenchMount mount(type, work.path());
        if (!mount.mounted()) {
            std::printf("%-8s skipped: it could not be made or mounted here\n", qPrintable(type));
            std::fflush(stdout);
            continue;
        }
        const QString top = mount.path();
        const QString sourceFolder = freshFolder(top, QStringLiteral("src"));
        plenvoy::FixedRunInputs inputs({}, {},
                                       QStringLiteral("Add last modified date to end of filename"));
        for (int i = 0; i < files; ++i) {
            inputs.entries << sourceFolder +
                                  QStringLiteral("/file%1.dat").arg(i, 5, 10, QLatin1Char('0'));
            writeFile(inputs.entries.last(), 4096, unsigned(i));
        }
        warmMemory(top);
        settle();

        // Ways: 0..3 the routes, 4 the run, 5 cp -p.
        constexpr int kWays = 6;
        std::vector<std::vector<double>> times(kWays);
        bool failed = false;
        for (int round = 0; round < rounds && !failed; ++round) {
            for (int turn = 0; turn < kWays; ++turn) {
                const int way = (turn + round) % kWays;
                const QString into =
                    freshFolder(top, QStringLiteral("r%1-w%2").arg(round).arg(way));
                settle();
                if (way < 4) {
                    bool copied = false;
                    times[size_t(way)].push_back(timed(
                        [&] { copied = copyAll(inputs.entries, into, routes[size_t(way)]); }));
                    failed = !copied;
                } else if (way == 4) {
                    QuietWindow ui;
                    inputs.outputFolder = into;
                    times[4].push_back(timed([&] { plenvoy::startChanging(inputs, ui); }));
                    failed = ui.messages != QStringList{plenvoy::kMessageDone};
                } else {
                    times[5].push_back(timed([&] {
                        run({QStringLiteral("cp"), QStringLiteral("-rp"),
                             sourceFolder + QStringLiteral("/."), into});
                    }));
                }
                if (failed) {
                    std::printf("%-8s way %d did not copy every file\n", qPrintable(type), way);
                    break;
                }
            }
        }
        if (failed)
            continue;
        const double cp = median(times[5]);
        NamingRoute chosen = NamingRoute::Unknown;
        {
            const QString probe = freshFolder(top, QStringLiteral("probe"));
            plenvoy::CopyHooks hooks;
            hooks.folderRoute = &chosen;
            const plenvoy::SourceFile file(inputs.entries.first());
            plenvoy::copySourceFile(file, probe + QStringLiteral("/probe.dat"), nullptr,
                                    plenvoy::ExistingName::Replace, hooks);
        }
        for (int way = 0; way < 5; ++way) {
            const QString label = way < 4 ? QString::fromLatin1(routeName(routes[size_t(way)]))
                                          : QStringLiteral("the run (") +
                                                QString::fromLatin1(routeName(chosen)) +
                                                QLatin1Char(')');
            std::printf("%-8s %-36s %9.3f %9.3f %7.2f\n", qPrintable(type), qPrintable(label),
                        median(times[size_t(way)]), cp, median(times[size_t(way)]) / cp);
        }
        if (type == QLatin1String("btrfs") || type == QLatin1String("xfs")) {
            const QString large = top + QStringLiteral("/large.bin");
            writeFile(large, qint64(256) << 20, 5);
            settle();
            const qint64 before = usedBlocks(top);
            plenvoy::PlaceFile(large, freshFolder(top, QStringLiteral("large")) +
                                          QStringLiteral("/large.bin"));
            settle();
            const qint64 grown = usedBlocks(top) - before;
            std::printf("%-8s a 256 MiB copy took %lld KiB more space: %s\n", qPrintable(type),
                        grown / 1024, grown < (qint64(16) << 20) ? "a reflink" : "NOT a reflink");
        }
        std::fflush(stdout);
    }
    return 0;
}
