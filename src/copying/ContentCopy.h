#pragma once

// The copy of a file's data, used by the copy alone.

#include "FilePlacement.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace plenvoy::copying {

/// Errors after which the kernel's copy is given up for a plain read and write loop:
/// the two files lie on different file systems, or the file system can't do it.
inline bool kernelCopyUnsupported(int error) {
    switch (error) {
    case EXDEV:
    case ENOSYS:
    case EINVAL:
    case EOPNOTSUPP:
#if ENOTSUP != EOPNOTSUPP
    case ENOTSUP:
#endif
    case EBADF:
    case EPERM:
    case ETXTBSY:
    case EOVERFLOW:
        return true;
    default:
        return false;
    }
}

/// Copies a source's data into the same places of a fresh file, in chunks, keeping holes.
class ContentCopy final {
public:
    enum class Outcome { Done, Failed, Dropped };

    /// A chunk takes about this long; the window gets its turn between chunks.
    static constexpr std::chrono::milliseconds kChunkTime{25};
    static constexpr qint64 kSmallestChunk = qint64(64) << 10;
    static constexpr qint64 kLargestChunk = qint64(64) << 20;

    ContentCopy(int from, int to, const CopyHooks &hooks)
        : m_from(from)
        , m_to(to)
        , m_hooks(hooks)
        , m_fixedChunk(faultsOf(hooks).chunkBytes > 0)
        , m_chunk(m_fixedChunk ? faultsOf(hooks).chunkBytes : kSmallestChunk)
        , m_lastAsked(std::chrono::steady_clock::now()) {}

    /// Copies the first size bytes (the size the source had when opened); errorNumber()
    /// tells why it failed. A source that is shorter now ends the copy early: the check of
    /// its status afterwards drops such a copy.
    Outcome copy(qint64 size, bool mayHaveHoles) {
        qint64 offset = 0;
        qint64 dataEnd = 0;
        while (offset < size) {
            qint64 start = offset;
            qint64 end = size;
            if (mayHaveHoles) {
                const off_t data = ::lseek(m_from, offset, SEEK_DATA);
                if (data < 0 && errno == ENXIO)
                    break; // only a hole is left
                if (data >= 0) {
                    if (data >= size)
                        break;
                    const off_t hole = ::lseek(m_from, data, SEEK_HOLE);
                    start = data;
                    end = hole < 0 ? size : std::min<qint64>(hole, size);
                } else {
                    mayHaveHoles = false; // the file system can't tell: copy it all
                }
            }
            bool ended = false;
            const Outcome outcome = copyData(start, end, ended);
            if (outcome != Outcome::Done)
                return outcome;
            dataEnd = end;
            offset = end;
            if (ended)
                break;
        }
        // A hole at the end has no data to write: the size makes it.
        if (dataEnd < size && ::ftruncate(m_to, size) != 0)
            return fail(errno);
        return Outcome::Done;
    }

    int errorNumber() const { return m_errorNumber; }

private:
    Outcome fail(int error) {
        m_errorNumber = error;
        return Outcome::Failed;
    }

    /// Copies [start, end) chunk by chunk; ended is set when the source ended before.
    Outcome copyData(qint64 start, qint64 end, bool &ended) {
        qint64 position = start;
        while (position < end) {
            qint64 want = std::min(m_chunk, end - position);
            if (faultsOf(m_hooks).faultAfterBytes >= 0) {
                if (m_written >= faultsOf(m_hooks).faultAfterBytes)
                    return fail(faultsOf(m_hooks).faultErrorNumber);
                want = std::min(want, faultsOf(m_hooks).faultAfterBytes - m_written);
            }
            const auto started = std::chrono::steady_clock::now();
            const qint64 done =
                m_kernelCopy ? kernelCopy(position, want) : plainCopy(position, want);
            if (done < 0) {
                if (m_errorNumber == EINTR)
                    continue;
                if (m_kernelCopy && kernelCopyUnsupported(m_errorNumber)) {
                    m_kernelCopy = false; // the plain loop goes on from the same place
                    continue;
                }
                return Outcome::Failed;
            }
            if (done == 0) {
                ended = true;
                return Outcome::Done;
            }
            position += done;
            m_written += done;
            const auto now = std::chrono::steady_clock::now();
            if (!m_fixedChunk)
                sizeNextChunk(done, now - started);
            if (!m_firstChunkDone) {
                m_firstChunkDone = true;
                if (faultsOf(m_hooks).afterFirstChunk)
                    faultsOf(m_hooks).afterFirstChunk();
            }
            if (!mayGoOn(now))
                return Outcome::Dropped;
        }
        return Outcome::Done;
    }

    /// The next chunk is sized to take about kChunkTime at the speed of the last one, so
    /// that a slow stick is asked as often as a fast disk.
    void sizeNextChunk(qint64 done, std::chrono::steady_clock::duration took) {
        const qint64 nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(took).count();
        const qint64 budget = std::chrono::nanoseconds(kChunkTime).count();
        // Bytes per budget, computed in floating point: a reflink moves gigabytes a second.
        const double wanted = nanos <= 0 ? double(kLargestChunk) : double(done) * budget / nanos;
        m_chunk = std::clamp<qint64>(qint64(std::min(wanted, double(kLargestChunk))),
                                     kSmallestChunk, kLargestChunk);
    }

    /// The window's events get their turn after a chunk once 10 ms have passed since the
    /// last turn, so that with chunks of about 25 ms they wait at most about 35 ms; they may
    /// stop the copy.
    bool mayGoOn(std::chrono::steady_clock::time_point now) {
        if (!m_hooks.keepGoing)
            return true;
        if (now - m_lastAsked < std::chrono::milliseconds(10))
            return true;
        m_lastAsked = now;
        if (m_hooks.progress)
            m_hooks.progress(m_written);
        return m_hooks.keepGoing();
    }

    qint64 kernelCopy(qint64 position, qint64 want) {
        loff_t in = position;
        loff_t out = position;
        const ssize_t done = ::copy_file_range(m_from, &in, m_to, &out, size_t(want), 0);
        if (done < 0)
            m_errorNumber = errno;
        return done;
    }

    qint64 plainCopy(qint64 position, qint64 want) {
        constexpr qint64 kBufferSize = qint64(256) << 10;
        if (m_buffer.empty())
            m_buffer.resize(size_t(kBufferSize));
        const ssize_t got =
            ::pread(m_from, m_buffer.data(), size_t(std::min(want, kBufferSize)), position);
        if (got < 0) {
            m_errorNumber = errno;
            return -1;
        }
        for (ssize_t put = 0; put < got;) {
            const ssize_t done =
                ::pwrite(m_to, m_buffer.data() + put, size_t(got - put), position + put);
            if (done < 0) {
                if (errno == EINTR)
                    continue;
                m_errorNumber = errno;
                return -1;
            }
            put += done;
        }
        return got;
    }

    const int m_from;
    const int m_to;
    const CopyHooks &m_hooks;
    const bool m_fixedChunk;
    qint64 m_chunk;
    std::chrono::steady_clock::time_point m_lastAsked;
    qint64 m_written = 0;
    bool m_kernelCopy = true;
    bool m_firstChunkDone = false;
    int m_errorNumber = 0;
    std::vector<char> m_buffer;
};

} // namespace plenvoy::copying
