#include "Dorvane/QtHost/QtLocalMouseMonitor.h"

#include <vector>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "Dorvane/QtHost/QtOwnWindows.h"

namespace dorvane::qthost {

QtLocalMouseMonitor::QtLocalMouseMonitor(QtOwnWindows& ownWindows) : ownWindows_(ownWindows) {}

QtLocalMouseMonitor::~QtLocalMouseMonitor() {
    if (filtering_ && QApplication::instance() != nullptr) QApplication::instance()->removeEventFilter(this);
}

std::optional<dispatch::Observation> QtLocalMouseMonitor::addLocalMouseMonitor(Handler handler) {
    if (QApplication::instance() == nullptr || !handler) return std::nullopt;
    const std::uint64_t token = handlers_->next++;
    handlers_->byToken[token] = std::move(handler);
    if (!filtering_) {
        QApplication::instance()->installEventFilter(this);
        filtering_ = true;
    }
    return dispatch::Observation([this, weak = std::weak_ptr<Handlers>(handlers_), token] {
        if (weak.lock()) remove(token);
    });
}

void QtLocalMouseMonitor::remove(std::uint64_t token) {
    handlers_->byToken.erase(token);
    // Nothing to watch: every event of the application stops passing here.
    if (handlers_->byToken.empty() && filtering_) {
        QApplication::instance()->removeEventFilter(this);
        filtering_ = false;
        lastReceiver_ = nullptr;
    }
}

bool QtLocalMouseMonitor::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) return false;
    // The window-level copy of real input reaches its widget next; the widget's is the one.
    if (!watched->isWidgetType()) return false;
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (type == lastType_ && lastReceiver_ && widget != lastReceiver_ && widget->isAncestorOf(lastReceiver_)) {
        return false;  // the same event travelling on to a parent
    }
    lastReceiver_ = widget;
    lastType_ = type;

    windows::LocalMouseEvent local;
    local.kind = type == QEvent::MouseButtonPress ? events::MouseEvent::Kind::leftMouseDown
                                                  : events::MouseEvent::Kind::leftMouseUp;
    const QPointF global = mouse->globalPosition();
    local.location = geometry::Point{global.x(), global.y()};
    local.window = ownWindows_.idOf(widget->window());
    // A handler may remove itself or another one while it runs.
    std::vector<Handler> handlers;
    for (const auto& [token, handler] : handlers_->byToken) handlers.push_back(handler);
    for (const auto& handler : handlers) handler(local);
    return false;
}

}  // namespace dorvane::qthost
