#pragma once

#include "ClashRule.h"
#include "FileOutcome.h"
#include "FilePlacement.h"

#include <QHash>
#include <QString>

#include <deque>
#include <sys/sysmacros.h>
#include <utility>
#include <vector>

namespace plenvoy {

/// A file's identity: device and inode.
using Identity = std::pair<dev_t, ino_t>;

inline Identity identityOf(const struct statx &status) {
    return {makedev(status.stx_dev_major, status.stx_dev_minor), ino_t(status.stx_ino)};
}

inline Identity identityOf(const struct stat &status) {
    return {status.st_dev, status.st_ino};
}

/// What the runs in progress wrote, by the destination's identity, with the identity of the
/// source each came from. The outermost run owns it and a run started inside another shares
/// it; it is gone when the outermost run ends, so a later run replaces those copies as
/// designed.
class WrittenFiles final {
public:
    void record(Identity destination, Identity source) {
        m_written.emplace_back(destination, source);
        if (m_indexed)
            m_sourceOf.insert(destination, source);
    }
    /// True when this run wrote the destination from another source than the given one.
    bool writtenFromAnotherSource(Identity destination, Identity source) const {
        const Identity *from = sourceOf(destination);
        return from && *from != source;
    }
    bool writtenFrom(Identity destination, Identity source) const {
        const Identity *from = sourceOf(destination);
        return from && *from == source;
    }
    /// Calls f with the identity of every file the runs in progress wrote.
    template <typename F> void forEachWritten(F &&f) const {
        for (const auto &written : m_written)
            f(written.first);
    }

private:
    /// The source the destination was written from; null when this run did not write it.
    const Identity *sourceOf(Identity destination) const {
        // Only a clash asks; a run without one never pays for the index.
        if (!m_indexed) {
            m_sourceOf.reserve(qsizetype(m_written.size()));
            for (const auto &written : m_written)
                m_sourceOf.insert(written.first, written.second);
            m_indexed = true;
        }
        const auto found = m_sourceOf.constFind(destination);
        return found == m_sourceOf.cend() ? nullptr : &found.value();
    }
    // Written in order, one record per copy; an inode that comes back later is found with
    // its last source. In blocks: a million copies never move, nor hold twice their size.
    std::deque<std::pair<Identity, Identity>> m_written;
    mutable QHash<Identity, Identity> m_sourceOf;
    mutable bool m_indexed = false;
};

/// The destination folder of the last placement, opened once (O_PATH): the files placed
/// into it are named relative to its descriptor, so no path is resolved again per file.
class OpenedFolder final {
public:
    OpenedFolder() = default;
    ~OpenedFolder();
    OpenedFolder(const OpenedFolder &) = delete;
    OpenedFolder &operator=(const OpenedFolder &) = delete;

    /// The descriptor of the folder path, opened when it is another folder than the last;
    /// -1 when it can't be opened as a folder.
    int open(const QString &folder);
    /// Forgets the descriptor: the next open() opens the path again.
    void forget();
    /// Takes a descriptor opened otherwise (a folder made below the output folder) as the
    /// one of the folder path: open() of that path gives it without looking the path up.
    void adopt(const QString &folder, int fd);
    /// How copies into the open folder get their names: found by the first, kept for the rest.
    NamingRoute *route() { return &m_route; }
    /// The permission bits new files in the open folder were found to get as asked.
    std::bitset<512> *keptBits() { return &m_keptBits; }

private:
    QString m_path;
    int m_fd = -1;
    NamingRoute m_route = NamingRoute::Unknown;
    std::bitset<512> m_keptBits;
};

/// Everything one placement needs besides the file itself.
struct PlacementContext {
    const ProtectedFiles &listed;
    WrittenFiles &written;
    CopyHooks hooks;
    OpenedFolder folder;
};

/// Places one listed file: the tests of placing any file in the same order, then the
/// clash rule. A destination that existed before the run is replaced as designed; one that
/// is the file itself or read-only is left alone; one that is another listed file, or was
/// written by this run from another source, makes the copy take a numbered name. Only the
/// overflow of a destination folder beyond position 32767 throws.
FileOutcome placeListedFile(const QString &sourcePath, const QString &destination,
                            const SourceFile *source, PlacementContext &context);

} // namespace plenvoy
