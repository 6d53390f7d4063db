#include "RunProgressBar.h"

#include <QElapsedTimer>
#include <QLocale>

#include <memory>

namespace plenvoy {

namespace {

constexpr int kSteps = 10000;

QString clockText(qint64 seconds) {
    const QString minutesAndSeconds =
        QStringLiteral("%1:%2").arg(seconds / 60 % 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (seconds < 3600)
        return minutesAndSeconds;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

RunProgressBar::RunProgressBar(QWidget *parent, Clock clock)
    : QProgressBar(parent)
    , m_clock(std::move(clock)) {
    if (!m_clock) {
        auto elapsed = std::make_shared<QElapsedTimer>();
        elapsed->start();
        m_clock = [elapsed] { return elapsed->elapsed(); };
    }
    setRange(0, kSteps);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    hide();
}

QString RunProgressBar::progressText(qint64 done, qint64 total, qint64 written, qint64 size,
                                     qint64 secondsLeft) {
    const QLocale locale;
    QStringList parts{tr("%1 of %2 files").arg(locale.toString(done), locale.toString(total))};
    if (size >= kLargeFileBytes)
        parts << tr("this file: %1 of %2")
                     .arg(locale.formattedDataSize(written, 1), locale.formattedDataSize(size, 1));
    if (secondsLeft >= 0)
        parts << tr("%1 left").arg(clockText(secondsLeft));
    return parts.join(QStringLiteral(" \u2013 "));
}

void RunProgressBar::begin() {
    m_started = m_clock();
    m_lastShown = -1;
    m_done = m_total = m_written = m_size = 0;
    setValue(0);
    show();
}

void RunProgressBar::reportFiles(qint64 done, qint64 total) {
    m_done = done;
    m_total = total;
    m_written = m_size = 0;
    update(false);
}

void RunProgressBar::reportBytes(qint64 written, qint64 size) {
    m_written = written;
    m_size = size;
    update(false);
}

void RunProgressBar::end() {
    hide();
}

void RunProgressBar::update(bool atOnce) {
    const qint64 now = m_clock();
    if (!atOnce && m_lastShown >= 0 && now - m_lastShown < kIntervalMs)
        return;
    m_lastShown = now;
    const double inHand = m_size > 0 ? double(m_written) / double(m_size) : 0.0;
    const double fraction = m_total > 0 ? (double(m_done) + inHand) / double(m_total) : 0.0;
    const qint64 elapsed = now - m_started;
    qint64 secondsLeft = -1;
    if (elapsed >= kEstimateAfterMs && fraction > 0.0)
        secondsLeft = qint64(double(elapsed) * (1.0 - fraction) / fraction / 1000.0 + 0.5);
    const QString text = progressText(m_done, m_total, m_size >= kLargeFileBytes ? m_written : 0,
                                      m_size, secondsLeft);
    setValue(int(fraction * kSteps));
    setFormat(text);
    // Read out by screen readers with the value.
    setAccessibleDescription(text);
}

} // namespace plenvoy
