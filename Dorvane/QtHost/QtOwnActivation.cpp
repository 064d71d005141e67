#include "Dorvane/QtHost/QtOwnActivation.h"

#include <QGuiApplication>
#include <QPointer>
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
    if (report(window)) return;
    // Turned away by a held host: keys would go on reaching the window the host still holds
    // key. Reported once the host lets go, unless another window has been activated since.
    tryAgain(window);
}

void QtOwnActivation::tryAgain(QWidget& window) {
    windows_.tryAgainLater("own activation", [this, alive = lifetime_.watch(), target = QPointer<QWidget>(&window)] {
        if (!alive || target.isNull() || target->windowHandle() == nullptr ||
            target->windowHandle() != QGuiApplication::focusWindow()) {
            return true;
        }
        return report(*target);
    });
}

bool QtOwnActivation::report(QWidget& window) {
    const bool activates = activatesProgram(window);
    if (!activates && !takesKeyboardWithoutActivating(window)) return true;
    // Not listed yet: the listing, once the host lets it, reports the activation then.
    const auto known = windows_.listNow(&window);
    if (!known) return true;
    workspace::OwnActivation reported;
    auto& host = windows_.host();
    if (activates) {
        if (!windows_.attempt([&] { host.activateWindow(*known); })) return false;
        reported = workspace::OwnActivation{true, *known};
    } else {
        if (!windows_.attempt([&] { host.makeKey(*known); })) return false;
        reported = workspace::OwnActivation{standing_.frontmost, *known};
    }
    standing_ = reported;
    return true;
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
