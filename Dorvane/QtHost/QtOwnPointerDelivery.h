#pragma once

#include <optional>

#include <QPointF>
#include <QPointer>
#include <QWindow>

#include "Platform/Events/Event.h"
#include "Platform/Workspace/OwnWindows.h"

class QMouseEvent;
class QWidget;

namespace dorvane::qthost {

// The host's pointer over the program's windows, handed to Qt as a platform hands its
// own: clicks with the host's own values, moves, drags and the right button to the window
// under the point (or the one holding a pressed button), with enter and leave as the
// pointer goes from one window to another or on to another application.
class QtOwnPointerDelivery {
public:
    // A press or release of the left button on `window`.
    void click(const workspace::OwnWindowClick& click, QWidget& window);
    // A move, a drag or the right button over `window`.
    void move(const events::Event& event, QWidget& window);
    // The pointer went on to another application's window or the desktop.
    void left();

    // The window the pointer's events go to: the one holding a pressed button, else the
    // one under the point; Qt hears of the pointer leaving one and entering the other.
    QWindow* target(QWidget& under, QPointF global);

    // The host's click being handed to the widget under the pointer, when `event` is it.
    std::optional<workspace::OwnWindowClick> clickBeingDelivered(const QMouseEvent& event) const;

private:
    QPointer<QWindow> window_;
    Qt::MouseButtons buttons_;
    std::optional<workspace::OwnWindowClick> delivering_;
};

}  // namespace dorvane::qthost
