#pragma once

#include <unistd.h>

namespace plenvoy {

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

} // namespace plenvoy
