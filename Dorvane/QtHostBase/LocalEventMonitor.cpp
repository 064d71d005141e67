#include "Dorvane/QtHostBase/LocalEventMonitor.h"

#include <algorithm>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace dorvane::qthost {

LocalEventMonitor& LocalEventMonitor::shared() {
    // Never destroyed: monitors held by other program-long objects may end at exit.
    static LocalEventMonitor* monitor = new LocalEventMonitor;
    return *monitor;
}

dispatch::Observation LocalEventMonitor::add(unsigned kinds, Handler handler) {
    auto monitor = std::make_shared<Monitor>(Monitor{kinds, std::move(handler), false});
    monitors_.push_back(monitor);
    updateInstallation();
    std::weak_ptr<Monitor> weak = monitor;
    return dispatch::Observation([this, weak] {
        if (auto held = weak.lock()) remove(held);
    });
}

void LocalEventMonitor::remove(const std::shared_ptr<Monitor>& monitor) {
    monitor->removed = true;
    monitor->handler = nullptr;
    std::erase(monitors_, monitor);
    updateInstallation();
}

void LocalEventMonitor::updateInstallation() {
    QCoreApplication* application = QCoreApplication::instance();
    const bool wanted = !monitors_.empty() && application != nullptr;
    if (wanted == installed_) return;
    if (wanted) {
        application->installEventFilter(this);
    } else if (application != nullptr) {
        application->removeEventFilter(this);
    }
    installed_ = wanted;
}

unsigned LocalEventMonitor::kindOf(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto button = static_cast<const QMouseEvent&>(event).button();
            if (button == Qt::LeftButton) return leftMouseDown;
            if (button == Qt::RightButton) return rightMouseDown;
            return 0;
        }
        case QEvent::MouseButtonRelease: {
            const auto button = static_cast<const QMouseEvent&>(event).button();
            if (button == Qt::LeftButton) return leftMouseUp;
            if (button == Qt::RightButton) return rightMouseUp;
            return 0;
        }
        case QEvent::MouseMove: return mouseMoved;
        case QEvent::Wheel: return scrollWheel;
        case QEvent::KeyPress: return keyDown;
        default: return 0;
    }
}

bool LocalEventMonitor::eventFilter(QObject* watched, QEvent* event) {
    // An input event enters at its window and is then handed on to a widget, the filter
    // seeing it again each time: only the window's turn counts.
    if (watched == nullptr || !watched->isWindowType()) return false;
    const unsigned kind = kindOf(*event);
    if (kind == 0) return false;
    auto& window = static_cast<QWindow&>(*watched);
    // A copy: handlers add and remove monitors while the event is handed round.
    const auto monitors = monitors_;
    for (const auto& monitor : monitors) {
        if (monitor->removed || (monitor->kinds & kind) == 0) continue;
        const Handler handler = monitor->handler;
        if (handler && handler(*event, window)) return true;
    }
    return false;
}

}  // namespace dorvane::qthost
