#pragma once

#include <cstddef>

namespace plenvoy {

/// Lines on their way into one file, held where the handler of SIGINT, SIGTERM and SIGHUP
/// finds them: an ended run writes what it held before the program ends as it would have.
/// Appended to and written by one thread (the run's); the handler hands the signal to that
/// thread, so that no line is written twice or in part. At most eight are open at once (runs
/// nest: one started from the window's event processing while another goes on).
class SignalSafeLines final {
public:
    SignalSafeLines() = default;
    /// Writes what is held and closes the file.
    ~SignalSafeLines();
    SignalSafeLines(const SignalSafeLines &) = delete;
    SignalSafeLines &operator=(const SignalSafeLines &) = delete;

    /// Takes the descriptor of a file opened for appending, which it closes; false (and the
    /// descriptor left open) when eight are open already.
    bool open(int fd);
    bool isOpen() const { return m_slot >= 0; }
    /// Holds the bytes, writing what was held first when they do not fit; false with errno
    /// set when a write failed: the file is then closed and nothing more is written.
    bool append(const char *data, std::size_t size);
    /// Writes what is held; false with errno set as append().
    bool flush();

private:
    void close();

    int m_slot = -1;
};

} // namespace plenvoy
