#include "LaunchFeedback.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace plenvoy {

namespace {

/// Messages go to the root window in pieces of this many bytes.
constexpr int kPieceBytes = 20;
/// _NET_ACTIVE_WINDOW's source: a normal application.
constexpr quint32 kSourceApplication = 1;

struct ConnectionCloser {
    void operator()(xcb_connection_t *connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, ConnectionCloser>;

/// A connection to the display and its default screen's root window.
Connection connectTo(const QByteArray &display, xcb_window_t &root) {
    int screenNumber = 0;
    Connection connection(
        xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber));
    if (xcb_connection_has_error(connection.get()))
        return nullptr;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem <= 0)
        return nullptr;
    root = screens.data->root;
    return connection;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name) {
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return found;
}

/// Waits until the server has handled everything sent so far.
bool roundTrip(xcb_connection_t *connection) {
    xcb_get_input_focus_reply_t *reply =
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    std::free(reply);
    return reply != nullptr;
}

/// The protocol's broadcast: a window of the sender's own names it, the first piece has
/// the type _NET_STARTUP_INFO_BEGIN, the rest _NET_STARTUP_INFO, the text ends with a NUL.
void sendStartupMessage(xcb_connection_t *connection, xcb_window_t root,
                        const QByteArray &message) {
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
    const xcb_window_t sender = xcb_generate_id(connection);
    const uint32_t overrideRedirect = 1;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, sender, root, -100, -100, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT,
                      &overrideRedirect);
    const QByteArray bytes = message + '\0';
    for (qsizetype offset = 0; offset < bytes.size(); offset += kPieceBytes) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = sender;
        event.type = offset == 0 ? begin : more;
        std::memcpy(event.data.data8, bytes.constData() + offset,
                    static_cast<size_t>(std::min<qsizetype>(kPieceBytes, bytes.size() - offset)));
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char *>(&event));
    }
    xcb_destroy_window(connection, sender);
}

} // namespace

QByteArray launchEndMessage(const QByteArray &startupId) {
    QByteArray value = startupId;
    if (value.contains(' ') || value.contains('"') || value.contains('\\')) {
        value.replace("\\", "\\\\");
        value.replace("\"", "\\\"");
        value = '"' + value + '"';
    }
    return QByteArrayLiteral("remove: ID=") + value;
}

quint32 launchTime(const QByteArray &startupId) {
    const qsizetype at = startupId.lastIndexOf("_TIME");
    if (at < 0)
        return 0;
    bool ok = false;
    const quint32 time = startupId.mid(at + 5).toUInt(&ok);
    return ok ? time : 0;
}

bool endX11Launch(const QByteArray &display, const QByteArray &startupId) {
    xcb_window_t root = XCB_NONE;
    const Connection connection = connectTo(display, root);
    if (!connection)
        return false;
    sendStartupMessage(connection.get(), root, launchEndMessage(startupId));
    return roundTrip(connection.get());
}

bool activateX11Window(const QByteArray &display, quint32 window, const QByteArray &startupId) {
    xcb_window_t root = XCB_NONE;
    const Connection connection = connectTo(display, root);
    if (!connection)
        return false;
    xcb_connection_t *c = connection.get();
    // The window manager judges the request by the launch that it belongs to.
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom(c, "_NET_STARTUP_ID"),
                        atom(c, "UTF8_STRING"), 8, static_cast<uint32_t>(startupId.size()),
                        startupId.constData());
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom(c, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = kSourceApplication;
    event.data.data32[1] = launchTime(startupId);
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    sendStartupMessage(c, root, launchEndMessage(startupId));
    return roundTrip(c);
}

WindowActivation::~WindowActivation() = default;

SystemWindowActivation::SystemWindowActivation(QString platformName)
    : m_platformName(platformName.isEmpty() ? QGuiApplication::platformName()
                                            : std::move(platformName)) {}

bool SystemWindowActivation::activate(QWindow *window, const StartupToken &token) {
    if (!window || !window->isVisible())
        return token.x11.isEmpty();
    if (m_platformName == QStringLiteral("xcb") && !token.x11.isEmpty())
        return activateX11Window(qgetenv("DISPLAY"), static_cast<quint32>(window->winId()),
                                 token.x11);
    if (m_platformName.startsWith(QStringLiteral("wayland")) && !token.wayland.isEmpty()) {
        // Qt's Wayland plugin gives the compositor this token when the window asks to be
        // activated; the compositor then ends the launch's feedback.
        qputenv("XDG_ACTIVATION_TOKEN", token.wayland);
        window->requestActivate();
    }
    return token.x11.isEmpty();
}

} // namespace plenvoy
