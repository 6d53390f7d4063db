#include "ProgressLine.h"

#include <QString>

#include <unistd.h>

namespace plenvoy::cli {

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

ProgressLine::ProgressLine(bool enabled, Write write, Clock clock, const QLocale &locale)
    : m_enabled(enabled)
    , m_write(std::move(write))
    , m_clock(std::move(clock))
    , m_locale(locale) {
    if (!m_write)
        m_write = [](const QByteArray &bytes) {
            // Best effort: a terminal that cannot take the line loses only the line.
            if (::write(STDERR_FILENO, bytes.constData(), static_cast<size_t>(bytes.size())) < 0)
                return;
        };
    if (!m_clock) {
        m_elapsed.start();
        m_clock = [this] { return m_elapsed.elapsed(); };
    }
}

void ProgressLine::report(qint64 done, qint64 total) {
    if (!m_enabled)
        return;
    const qint64 now = m_clock();
    if (now < kProgressDelayMs || (m_shown && now - m_lastShown < kProgressIntervalMs))
        return;
    m_shown = true;
    m_lastShown = now;
    const QString text = QStringLiteral("plenvoy-cli: ") + m_locale.toString(done) +
                         QStringLiteral(" of ") + m_locale.toString(total);
    // Back to the line's start, the text, then the rest of the line cleared.
    m_write(QByteArray("\r" + text.toUtf8() + "\x1b[K"));
}

void ProgressLine::finish() {
    if (!m_shown)
        return;
    m_shown = false;
    m_write(QByteArrayLiteral("\r\x1b[K"));
}

} // namespace plenvoy::cli
