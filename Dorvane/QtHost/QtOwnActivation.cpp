#include "Dorvane/QtHost/QtOwnActivation.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include "Dorvane/QtWindowSystem/WindowSystemInput.h"

namespace dorvane::qthost {

// Panels that must not take focus never make the program frontmost, also where the
// platform plugin (offscreen) activates every window it shows.
bool QtOwnActivation::activatesProgram(const QWidget& window) {
    return !window.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus) &&
           !window.testAttribute(Qt::WA_ShowWithoutActivating);
}

bool QtOwnActivation::takesKeyboardWithoutActivating(const QWidget& window) {
    return !window.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus) &&
           window.testAttribute(Qt::WA_ShowWithoutActivating);
}

void QtOwnActivation::activatedInQt(QWidget& window) {
    const bool activates = activatesProgram(window);
    if (!activates && !takesKeyboardWithoutActivating(window)) return;
    const auto known = windows_.listNow(&window);
    if (!known) return;
    workspace::OwnActivation reported;
    auto& host = windows_.host();
    if (activates) {
        if (!windows_.attempt([&] { host.activateWindow(*known); })) return;
        reported = workspace::OwnActivation{true, *known};
    } else {
        if (!windows_.attempt([&] { host.makeKey(*known); })) return;
        reported = workspace::OwnActivation{standing_.frontmost, *known};
    }
    standing_ = reported;
}

void QtOwnActivation::activate(QWidget& window) {
    if (!window.isVisible() || (!activatesProgram(window) && !takesKeyboardWithoutActivating(window))) return;
    QWindow* handle = window.windowHandle();
    if (handle != nullptr && QGuiApplication::focusWindow() != handle) {
        // Reported to the host as every activation is, through the reporter's event filter.
        windowsystem::activated(handle);
    } else {
        // Qt holds it active already, perhaps since before another application came forward.
        activatedInQt(window);
    }
    window.activateWindow();
}

void QtOwnActivation::changedInHost(const workspace::OwnActivation& now) {
    // The program's own activations come back here as well: only news count.
    if (now == standing_) return;
    standing_ = now;
    QWidget* key = now.keyWindow ? windows_.widget(*now.keyWindow) : nullptr;
    if (key == nullptr || !key->isVisible() || key->isMinimized()) {
        // Another application's window, or none, has the keyboard: the program's resign key.
        if (QGuiApplication::focusWindow() != nullptr) windowsystem::activated(nullptr);
        return;
    }
    QWindow* handle = key->windowHandle();
    if (handle != nullptr && QGuiApplication::focusWindow() != handle) windowsystem::activated(handle);
}

}  // namespace dorvane::qthost
