#pragma once

// Shared pieces of the batch benchmarks: timing, running cp, medians, fixtures.

#include "core/SilentWindowPort.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace bench {

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <typename F> double timed(F &&body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return secondsSince(start);
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0.0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

/// Runs a program with arguments and waits for it: true when it ran and succeeded. A quiet
/// run sends the program's output to /dev/null.
inline bool runCommand(const QStringList &command, bool quiet) {
    std::vector<QByteArray> encoded;
    for (const QString &part : command)
        encoded.push_back(QFile::encodeName(part));
    std::vector<char *> argv;
    for (QByteArray &part : encoded)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    pid_t child = 0;
    const bool started =
        posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return started && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

/// Runs a program quietly: true when it ran and succeeded.
inline bool runQuietly(const QStringList &command) {
    return runCommand(command, true);
}

/// Runs a program with arguments and waits for it; exits the benchmark when it fails.
inline void run(const QStringList &command) {
    if (!runCommand(command, false)) {
        std::fprintf(stderr, "%s failed\n", qPrintable(command.value(0)));
        std::exit(2);
    }
}

/// Writes a file of the given size with varying bytes.
inline void writeFile(const QString &path, qint64 size, unsigned seed) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::perror("open");
        std::exit(2);
    }
    // Only as much of the pattern as the file takes: a million small files are made fast.
    std::vector<char> block(static_cast<size_t>(std::min<qint64>(size, qint64(1) << 20)));
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>((i * 2654435761u + seed) >> 13);
    for (qint64 left = size; left > 0;) {
        const size_t n = static_cast<size_t>(std::min<qint64>(left, qint64(block.size())));
        if (::write(fd, block.data(), n) != ssize_t(n)) {
            std::perror("write");
            std::exit(2);
        }
        left -= qint64(n);
    }
    ::close(fd);
}

/// Freshly used memory is slow the first time: write and drop a throw-away file first.
inline void warmMemory(const QString &folder) {
    const QString path = folder + QStringLiteral("/warm-up.bin");
    writeFile(path, qint64(512) << 20, 7);
    QFile::remove(path);
}

/// A new folder that was never used before (new files in reused folders are slow here).
inline QString freshFolder(const QString &base, const QString &name) {
    const QString path = base + QLatin1Char('/') + name;
    if (!QDir().mkpath(path)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(path));
        std::exit(2);
    }
    return path;
}

/// The sources of a run: `files` files of `size` bytes each in a new folder "src" below
/// top, named in the order they are listed.
inline QStringList writeSourceFiles(const QString &top, int files, qint64 size) {
    const QString sources = freshFolder(top, QStringLiteral("src"));
    QStringList paths;
    paths.reserve(files);
    for (int i = 0; i < files; ++i) {
        paths << sources + QStringLiteral("/file%1.dat").arg(i, 7, 10, QLatin1Char('0'));
        writeFile(paths.last(), size, unsigned(i));
    }
    return paths;
}

/// A window that answers nothing and processes the application's events for real, as the
/// main window's port does: at most every 4 ms, however often the run asks.
class QuietWindow final : public plenvoy::SilentWindowPort {
public:
    void showMessage(const QString &text) override { messages << text; }
    void showErrorReport(const QString &text) override { reports << text; }
    void processEvents() override {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastEvents < std::chrono::milliseconds(4))
            return;
        QCoreApplication::processEvents();
        m_lastEvents = std::chrono::steady_clock::now();
    }

    QStringList messages;
    QStringList reports;

private:
    std::chrono::steady_clock::time_point m_lastEvents{};
};

inline void settle() {
    ::sync(); // no earlier run's dirty pages are written back inside the next timing
}

} // namespace bench
