#pragma once

#include <QProgressBar>

#include <functional>

namespace plenvoy {

/// The bar under the list during a run: files done of the count, the bytes of a large file
/// in hand and, once it can be estimated, the time left. At most ten updates a second.
class RunProgressBar final : public QProgressBar {
    Q_OBJECT

public:
    using Clock = std::function<qint64()>; ///< milliseconds, steadily rising

    explicit RunProgressBar(QWidget *parent = nullptr, Clock clock = {});

    /// "3 of 49 files – this file: 1.2 GB of 2.0 GB – 2:15 left"; the bytes only for a file of
    /// kLargeFileBytes or more, the time only when secondsLeft is not negative.
    static QString progressText(qint64 done, qint64 total, qint64 written, qint64 size,
                                qint64 secondsLeft);

    /// A run begins: the bar shows from now on.
    void begin();
    /// The file at position done + 1 of total is the one in hand.
    void reportFiles(qint64 done, qint64 total);
    /// The file in hand has written of size bytes copied.
    void reportBytes(qint64 written, qint64 size);
    /// The run ended: the bar disappears.
    void end();

    static constexpr qint64 kLargeFileBytes = 32LL << 20;
    /// The time left is estimated once the run has gone on this long.
    static constexpr qint64 kEstimateAfterMs = 2000;
    static constexpr qint64 kIntervalMs = 100;

private:
    void update(bool atOnce);

    Clock m_clock;
    qint64 m_started = 0;
    qint64 m_lastShown = -1;
    qint64 m_done = 0;
    qint64 m_total = 0;
    qint64 m_written = 0;
    qint64 m_size = 0;
};

} // namespace plenvoy
