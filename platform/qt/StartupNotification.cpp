#include "platform/qt/StartupNotification.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace kestrano {

namespace {

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection,
        xcb_intern_atom(connection, false, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t {XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

} // namespace

std::string startupRemoveMessage(const std::string& id)
{
    std::string message = "remove: ID=\"";
    for (char c : id) {
        if (c == '"' || c == '\\')
            message.push_back('\\');
        message.push_back(c);
    }
    return message + "\"";
}

void endStartupNotification(const QWidget& window, const std::string& id)
{
    // Only on the X11 platform: the offscreen one may answer for X11 too, without a connection.
    if (id.empty() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window.winId())
        return;
    const xcb_atom_t begin = atomNamed(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atomNamed(connection, "_NET_STARTUP_INFO");
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (begin == XCB_ATOM_NONE || more == XCB_ATOM_NONE || !screen)
        return;
    // The message with its NUL, 20 bytes to an event.
    const std::string message = startupRemoveMessage(id);
    const std::size_t size = message.size() + 1;
    for (std::size_t sent = 0; sent < size; sent += 20) {
        xcb_client_message_event_t event {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = static_cast<xcb_window_t>(window.winId());
        event.type = sent == 0 ? begin : more;
        std::memcpy(event.data.data8, message.c_str() + sent, std::min<std::size_t>(20, size - sent));
        xcb_send_event(connection, false, screen->root, XCB_EVENT_MASK_PROPERTY_CHANGE,
            reinterpret_cast<const char*>(&event));
    }
    xcb_flush(connection);
}

} // namespace kestrano
