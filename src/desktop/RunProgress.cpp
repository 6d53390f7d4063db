#include "RunProgress.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

#include <sys/stat.h>

namespace plenvoy {

namespace {

/// A session bus is there to ask: without one, Qt would try to start one or complain.
bool sessionBusExpected() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat status {};
    return !runtime.isEmpty() && ::stat(QByteArray(runtime + "/bus").constData(), &status) == 0 &&
           S_ISSOCK(status.st_mode);
}

} // namespace

QString progressTitle(const QString &applicationTitle, qint64 done, qint64 total,
                      const QLocale &locale) {
    return QCoreApplication::translate("RunProgress", "%1 \u2013 %2 of %3")
        .arg(applicationTitle, locale.toString(done), locale.toString(total));
}

RunProgress::RunProgress(QString applicationTitle, ShowTitle showTitle, QString desktopEntryId,
                         Clock clock)
    : m_applicationTitle(std::move(applicationTitle))
    , m_showTitle(std::move(showTitle))
    , m_desktopEntryId(std::move(desktopEntryId))
    , m_clock(std::move(clock)) {
    if (!m_clock) {
        m_elapsed.start();
        m_clock = [this] { return m_elapsed.elapsed(); };
    }
}

void RunProgress::report(qint64 done, qint64 total) {
    const qint64 now = m_clock();
    if (m_showing && now - m_lastShown < kProgressIntervalMs)
        return;
    m_showing = true;
    m_lastShown = now;
    m_showTitle(progressTitle(m_applicationTitle, done, total));
    sendToTaskBar(total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 0.0, true);
}

void RunProgress::finish() {
    if (!m_showing)
        return;
    m_showing = false;
    m_showTitle(m_applicationTitle);
    sendToTaskBar(0.0, false);
}

void RunProgress::sendToTaskBar(double fraction, bool visible) {
    if (m_desktopEntryId.isEmpty() || !sessionBusExpected())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/plenvoy/Plenvoy"), QStringLiteral("com.canonical.Unity.LauncherEntry"),
        QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress"), fraction);
    properties.insert(QStringLiteral("progress-visible"), visible);
    const QString entry =
        QStringLiteral("application://") + m_desktopEntryId + QStringLiteral(".desktop");
    signal << QVariant(entry) << QVariant(properties);
    bus.send(signal);
}

} // namespace plenvoy
