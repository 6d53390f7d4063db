#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QLocale>

#include <functional>

namespace plenvoy::cli {

/// True when standard error is a terminal (not a file, a pipe or /dev/null).
bool standardErrorIsTerminal();

/// The progress line of a run on a terminal's standard error: nothing during the first
/// second, then "plenvoy-cli: 1,234 of 10,000" redrawn in place at most ten times a second;
/// finish() clears it. Disabled, it never writes.
class ProgressLine {
public:
    using Write = std::function<void(const QByteArray &bytes)>;
    using Clock = std::function<qint64()>; ///< milliseconds since the run started

    explicit ProgressLine(bool enabled, Write write = {}, Clock clock = {},
                          const QLocale &locale = QLocale());

    void report(qint64 done, qint64 total);
    void finish();

private:
    bool m_enabled;
    Write m_write;
    Clock m_clock;
    QLocale m_locale;
    QElapsedTimer m_elapsed;
    bool m_shown = false;
    qint64 m_lastShown = 0;
};

/// The time before the first progress line and between two lines, in milliseconds.
constexpr qint64 kProgressDelayMs = 1000;
constexpr qint64 kProgressIntervalMs = 100;

} // namespace plenvoy::cli
