#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

namespace dorvane::testing {

// A click of the X server's own on `widget`'s window: through the platform, as a person's
// click arrives (where Qt asks for the focus of a window that takes it).
inline void clickThroughX(QWidget& widget, QPoint local) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) return;
    xcb_connection_t* connection = x11->connection();
    const QWidget* window = widget.window();
    const QPoint inWindow = widget.mapTo(window, local);
    const QPoint global = widget.mapToGlobal(local);
    for (const bool down : {true, false}) {
        xcb_button_press_event_t event{};
        event.response_type = down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE;
        event.detail = 1;
        event.time = XCB_CURRENT_TIME;
        event.root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        event.event = static_cast<xcb_window_t>(window->winId());
        event.root_x = static_cast<std::int16_t>(global.x());
        event.root_y = static_cast<std::int16_t>(global.y());
        event.event_x = static_cast<std::int16_t>(inWindow.x());
        event.event_y = static_cast<std::int16_t>(inWindow.y());
        event.state = down ? 0 : XCB_BUTTON_MASK_1;
        event.same_screen = 1;
        xcb_send_event(connection, 0, event.event, down ? XCB_EVENT_MASK_BUTTON_PRESS : XCB_EVENT_MASK_BUTTON_RELEASE,
                       reinterpret_cast<const char*>(&event));
    }
    xcb_flush(connection);
}

// The close button a window manager draws: its request, through the X server, that the
// program close the window (the protocol message WM_DELETE_WINDOW).
inline void closeThroughX(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) return;
    xcb_connection_t* connection = x11->connection();
    const auto atom = [connection](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t found = reply != nullptr ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        std::free(reply);
        return found;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window.winId());
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, event.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

// Types into whichever window holds the keyboard focus, as the X server delivers keys.
inline void typeIntoFocus(const char* letters) {
    for (const char* letter = letters; *letter != '\0'; ++letter) {
        QTest::keyClick(QGuiApplication::focusWindow(), *letter);
    }
}

}  // namespace dorvane::testing
