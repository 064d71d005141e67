#pragma once

#include <QEvent>
#include <QPoint>
#include <QPointF>
#include <QString>

class QWindow;

namespace dorvane::qthost::windowsystem {

// The way a platform plugin hands Qt its input and activation, for the host that acts as
// the window system of the program's own windows. Behind these functions lies Qt's private
// window-system interface, which changes between minor releases: nothing else includes
// it, so only this small target depends on the release it was written for (6.4). Each
// event is handled by Qt before the call returns. Main thread only; times are the
// toolkit's milliseconds, points Qt's global and window coordinates.

void enter(QWindow& window, QPointF local, QPointF global);
void leave(QWindow& window);

struct MouseInput {
    ulong timestamp = 0;
    QPointF local;
    QPointF global;
    Qt::MouseButtons buttons;                // held after this event
    Qt::MouseButton button = Qt::NoButton;   // the one that changed
    QEvent::Type type = QEvent::MouseMove;   // press, release or move
    Qt::KeyboardModifiers modifiers;
};
void mouse(QWindow& window, const MouseInput& input);

void key(QWindow& window, ulong timestamp, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
         const QString& text);

struct WheelInput {
    ulong timestamp = 0;
    QPointF local;
    QPointF global;
    QPoint pixels;  // a trackpad's points; none for a mouse wheel
    QPoint angle;   // eighths of a degree
    Qt::KeyboardModifiers modifiers;
    Qt::ScrollPhase phase = Qt::NoScrollPhase;
};
void wheel(QWindow& window, const WheelInput& input);

// `window` is the active window now; null: the program lost activation to another
// application, so no window of it is active (its windows resign key).
void activated(QWindow* window);

}  // namespace dorvane::qthost::windowsystem
