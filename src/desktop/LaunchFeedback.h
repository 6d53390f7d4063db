#pragma once

#include "HandOver.h"

#include <QByteArray>
#include <QString>

class QWindow;

namespace plenvoy {

/// The startup-notification message that ends a launch: "remove: ID=<id>", the id quoted
/// when it holds a blank, a quote or a backslash.
QByteArray launchEndMessage(const QByteArray &startupId);
/// The X server time that the launcher put in a startup id ("..._TIME1234"); 0 without one.
quint32 launchTime(const QByteArray &startupId);

/// Ends an X11 launch's busy feedback on the display: the message goes to its root window.
bool endX11Launch(const QByteArray &display, const QByteArray &startupId);
/// Brings an X11 window to the front under the launch's startup id (so that a window
/// manager that prevents focus stealing lets it) and ends the launch's feedback.
bool activateX11Window(const QByteArray &display, quint32 window, const QByteArray &startupId);

/// How the window that takes a hand-over uses the launch's token.
class WindowActivation {
public:
    virtual ~WindowActivation();
    /// Brings window to the front with the token of its window system; false when the start
    /// must end the launch's X11 feedback (it has an X11 token the window did not use).
    virtual bool activate(QWindow *window, const StartupToken &token) = 0;
};

/// The real activation, for the window system the window runs on: the X11 token on X11, the
/// Wayland token through Qt's Wayland plugin, which takes it from the environment.
class SystemWindowActivation final : public WindowActivation {
public:
    /// platformName: Qt's name of the window system ("xcb", "wayland"); by default the
    /// running application's.
    explicit SystemWindowActivation(QString platformName = QString());
    bool activate(QWindow *window, const StartupToken &token) override;

private:
    QString m_platformName;
};

} // namespace plenvoy
