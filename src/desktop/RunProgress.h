#pragma once

#include <QElapsedTimer>
#include <QLocale>
#include <QString>

#include <functional>

namespace plenvoy {

/// "Plenvoy – 1,234 of 10,000": the title during a run, digits grouped as the locale
/// groups them.
QString progressTitle(const QString &applicationTitle, qint64 done, qint64 total,
                      const QLocale &locale = QLocale());

/// The run's progress where the user sees it: the window's title and, where the desktop
/// shows it, the task bar. At most ten updates a second; finish() puts both back.
class RunProgress {
public:
    using ShowTitle = std::function<void(const QString &title)>;
    using Clock = std::function<qint64()>; ///< milliseconds, steadily rising

    RunProgress(QString applicationTitle, ShowTitle showTitle, QString desktopEntryId,
                Clock clock = {});

    void report(qint64 done, qint64 total);
    void finish();
    /// True while a run's progress is shown.
    bool showing() const { return m_showing; }

private:
    void sendToTaskBar(double fraction, bool visible);

    QString m_applicationTitle;
    ShowTitle m_showTitle;
    QString m_desktopEntryId;
    Clock m_clock;
    QElapsedTimer m_elapsed;
    bool m_showing = false;
    qint64 m_lastShown = 0;
};

/// The minimum time between two updates of the title, in milliseconds.
constexpr qint64 kProgressIntervalMs = 100;

} // namespace plenvoy
