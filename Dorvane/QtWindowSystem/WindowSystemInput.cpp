#include "Dorvane/QtWindowSystem/WindowSystemInput.h"

#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

namespace dorvane::qthost::windowsystem {

namespace {

using Delivery = QWindowSystemInterface::SynchronousDelivery;

}  // namespace

void enter(QWindow& window, QPointF local, QPointF global) {
    QWindowSystemInterface::handleEnterEvent<Delivery>(&window, local, global);
}

void leave(QWindow& window) { QWindowSystemInterface::handleLeaveEvent<Delivery>(&window); }

void mouse(QWindow& window, const MouseInput& input) {
    QWindowSystemInterface::handleMouseEvent<Delivery>(&window, input.timestamp, input.local, input.global,
                                                       input.buttons, input.button, input.type, input.modifiers);
}

void key(QWindow& window, ulong timestamp, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
         const QString& text) {
    QWindowSystemInterface::handleKeyEvent<Delivery>(&window, timestamp, type, key, modifiers, text);
}

// Queued and then flushed at once: the interface has no synchronous form of the wheel.
void wheel(QWindow& window, const WheelInput& input) {
    QWindowSystemInterface::handleWheelEvent(&window, input.timestamp, input.local, input.global, input.pixels,
                                             input.angle, input.modifiers, input.phase);
    QWindowSystemInterface::flushWindowSystemEvents();
}

void activated(QWindow* window) {
    QWindowSystemInterface::handleWindowActivated<Delivery>(window, Qt::ActiveWindowFocusReason);
}

}  // namespace dorvane::qthost::windowsystem
