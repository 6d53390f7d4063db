#include "SignalSafeLines.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <pthread.h>
#include <unistd.h>

namespace plenvoy {

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = 3;
/// Runs may nest (a run started from the window's event processing while one goes on).
constexpr int kSlots = 8;
constexpr size_t kBufferBytes = 64 * 1024;

/// One file's unwritten lines. The handler writes them; the run appends only past the
/// published length and writes them with the signals blocked, so the handler never writes
/// a line twice or half a line.
struct LinesSlot {
    std::atomic<bool> taken{false};
    /// The thread that writes the lines, set before its descriptor.
    pthread_t owner{};
    std::atomic<int> fd{-1};
    std::atomic<size_t> length{0};
    char buffer[kBufferBytes];
};

LinesSlot g_slots[kSlots];
struct sigaction g_previous[kSignalCount];
std::once_flag g_installed;

bool writeAll(int fd, const char *data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

/// Only async-signal-safe calls: write what each file's lines hold, put the earlier disposition
/// back and raise the signal again, so the program ends (or goes on) as it would have. A
/// file's own thread may be writing its lines with these signals blocked: when another
/// thread takes the signal, it hands it to that thread, so that no line is written twice.
void flushLinesAndReraise(int signal) {
    const int savedErrno = errno;
    const pthread_t self = ::pthread_self();
    bool handedOver = false;
    for (LinesSlot &slot : g_slots) {
        const int fd = slot.fd.load();
        const size_t length = slot.length.load();
        if (fd < 0 || length == 0)
            continue;
        if (!::pthread_equal(slot.owner, self)) {
            if (!handedOver)
                ::pthread_kill(slot.owner, signal);
            handedOver = true;
        } else if (writeAll(fd, slot.buffer, length)) {
            slot.length.store(0);
        }
    }
    if (!handedOver) {
        for (int i = 0; i < kSignalCount; ++i)
            if (kEndingSignals[i] == signal)
                ::sigaction(signal, &g_previous[i], nullptr);
    }
    errno = savedErrno;
    if (!handedOver)
        ::raise(signal);
}

void installHandler() {
    struct sigaction action {};
    action.sa_handler = flushLinesAndReraise;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) {
        if (::sigaction(kEndingSignals[i], &action, &g_previous[i]) != 0)
            continue;
        // An ignored signal ends nothing: it stays ignored.
        if (!(g_previous[i].sa_flags & SA_SIGINFO) && g_previous[i].sa_handler == SIG_IGN)
            ::sigaction(kEndingSignals[i], &g_previous[i], nullptr);
    }
}

/// Blocks the ending signals while it lives.
class SignalsBlocked final {
public:
    SignalsBlocked() {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : kEndingSignals)
            sigaddset(&set, signal);
        ::pthread_sigmask(SIG_BLOCK, &set, &m_previous);
    }
    ~SignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    SignalsBlocked(const SignalsBlocked &) = delete;
    SignalsBlocked &operator=(const SignalsBlocked &) = delete;

private:
    sigset_t m_previous;
};

} // namespace

SignalSafeLines::~SignalSafeLines() {
    if (m_slot < 0)
        return;
    flush();
    close();
}

bool SignalSafeLines::open(int fd) {
    std::call_once(g_installed, installHandler);
    for (int i = 0; i < kSlots && m_slot < 0; ++i)
        if (!g_slots[i].taken.exchange(true))
            m_slot = i;
    if (m_slot < 0)
        return false;
    LinesSlot &slot = g_slots[m_slot];
    slot.length.store(0);
    slot.owner = ::pthread_self();
    slot.fd.store(fd);
    return true;
}

void SignalSafeLines::close() {
    LinesSlot &slot = g_slots[m_slot];
    const int fd = slot.fd.exchange(-1);
    if (fd >= 0)
        ::close(fd);
    slot.length.store(0);
    slot.taken.store(false);
    m_slot = -1;
}

bool SignalSafeLines::append(const char *data, size_t size) {
    if (m_slot < 0 || size == 0)
        return m_slot >= 0;
    LinesSlot &slot = g_slots[m_slot];
    if (slot.length.load() + size > kBufferBytes && !flush())
        return false;
    if (size > kBufferBytes) {
        const SignalsBlocked blocked;
        if (writeAll(slot.fd.load(), data, size))
            return true;
        const int error = errno;
        close();
        errno = error;
        return false;
    }
    const size_t length = slot.length.load();
    std::memcpy(slot.buffer + length, data, size);
    // Only this thread's own signal handler reads the length meanwhile.
    slot.length.store(length + size, std::memory_order_release);
    return true;
}

bool SignalSafeLines::flush() {
    if (m_slot < 0)
        return false;
    LinesSlot &slot = g_slots[m_slot];
    const SignalsBlocked blocked;
    const size_t length = slot.length.load();
    if (length == 0)
        return true;
    if (!writeAll(slot.fd.load(), slot.buffer, length)) {
        // Nothing more is written: the file stays as far as it got.
        const int error = errno;
        close();
        errno = error;
        return false;
    }
    slot.length.store(0);
    return true;
}

} // namespace plenvoy
