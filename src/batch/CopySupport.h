#pragma once

// Pieces shared by the copy's own sources; not for use elsewhere.

#include <QByteArray>
#include <QString>

#include "core/PathCodec.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace plenvoy::copying {

/// Closes its descriptor when it goes out of scope.
class Descriptor final {
public:
    explicit Descriptor(int fd)
        : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    void reset(int fd) {
        close();
        m_fd = fd;
    }
    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    /// Closes now; false when the close reported an error (a late write failure).
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

/// The path in the file system's bytes; empty when the path can't be named there.
inline QByteArray encoded(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    return bytes.contains('\0') ? QByteArray() : bytes;
}

inline dev_t deviceOf(const struct statx &status) {
    return makedev(status.stx_dev_major, status.stx_dev_minor);
}

} // namespace plenvoy::copying
