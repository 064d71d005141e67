#include "Dorvane/QtHost/QtOwnPointerDelivery.h"

#include <utility>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>

#include "Dorvane/QtHost/OwnInputConversions.h"
#include "Dorvane/QtWindowSystem/WindowSystemInput.h"
#include "DorvaneCore/Input/KeyboardLayout.h"

namespace dorvane::qthost {

QWindow* QtOwnPointerDelivery::target(QWidget& under, QPointF global) {
    QWindow* target = buttons_ != Qt::NoButton && window_ ? window_.data() : under.windowHandle();
    if (target == nullptr || target == window_) return target;
    if (window_) windowsystem::leave(*window_);
    window_ = target;
    windowsystem::enter(*target, inWindow(*target, global), global);
    return window_;
}

void QtOwnPointerDelivery::left() {
    if (!window_) return;
    windowsystem::leave(*window_);
    window_ = nullptr;
}

void QtOwnPointerDelivery::click(const workspace::OwnWindowClick& click, QWidget& window) {
    const QPointF global = globalPoint(click.location);
    QWindow* into = target(window, global);
    if (into == nullptr) return;
    buttons_ = click.down ? Qt::MouseButtons(Qt::LeftButton) : buttons_ & ~Qt::LeftButton;
    // Qt's event carries none of the host's values: whoever logs the press asks for them.
    auto outer = std::exchange(delivering_, click);
    windowsystem::mouse(*into, windowsystem::MouseInput{toolkitTime(click.timestamp), inWindow(*into, global), global,
                                                        buttons_, Qt::LeftButton,
                                                        click.down ? QEvent::MouseButtonPress
                                                                   : QEvent::MouseButtonRelease,
                                                        QGuiApplication::keyboardModifiers()});
    delivering_ = std::move(outer);
}

std::optional<workspace::OwnWindowClick> QtOwnPointerDelivery::clickBeingDelivered(const QMouseEvent& event) const {
    if (!delivering_) return std::nullopt;
    const bool press = event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonDblClick;
    if (!press && event.type() != QEvent::MouseButtonRelease) return std::nullopt;
    const QPointF at = event.globalPosition();
    if (press != delivering_->down || at != QPointF(delivering_->location.x, delivering_->location.y)) {
        return std::nullopt;
    }
    return delivering_;
}

void QtOwnPointerDelivery::move(const events::Event& event, QWidget& window) {
    using events::EventType;
    const QPointF global = globalPoint(event.location);
    QWindow* into = target(window, global);
    if (into == nullptr) return;
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    switch (event.type) {
        case EventType::rightMouseDown:
            type = QEvent::MouseButtonPress;
            button = Qt::RightButton;
            buttons_ |= Qt::RightButton;
            break;
        case EventType::rightMouseUp:
            type = QEvent::MouseButtonRelease;
            button = Qt::RightButton;
            buttons_ &= ~Qt::RightButton;
            break;
        case EventType::leftMouseDragged: buttons_ |= Qt::LeftButton; break;
        case EventType::rightMouseDragged: buttons_ |= Qt::RightButton; break;
        default: buttons_ = Qt::NoButton; break;
    }
    windowsystem::mouse(*into, windowsystem::MouseInput{toolkitTime(event.timestamp), inWindow(*into, global), global,
                                                        buttons_, button, type,
                                                        Qt::KeyboardModifiers(
                                                            KeyboardLayout::qtModifiersFromFlags(event.flags))});
}

}  // namespace dorvane::qthost
