#include "Dorvane/Visual/PointerHover.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

#include "Dorvane/QtHostBase/LocalEventMonitor.h"

namespace dorvane {

struct PointerHover::Element {
    std::string id;
    std::function<void(bool)> changed;
    QPointer<QObject> filter;
};

// Watches one element's widget; removing it (with the widget or by the observation) ends
// the tracking.
class PointerHover::ElementFilter final : public QObject {
public:
    ElementFilter(QWidget* widget, std::shared_ptr<Element> element) : QObject(widget), element_(std::move(element)) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    ~ElementFilter() override {
        auto& hover = PointerHover::shared();
        auto [first, last] = hover.elements_.equal_range(element_->id);
        for (auto it = first; it != last; ++it) {
            if (it->second == element_) {
                hover.elements_.erase(it);
                break;
            }
        }
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        auto& hover = PointerHover::shared();
        switch (event->type()) {
            case QEvent::Enter: {
                const auto& enter = static_cast<const QEnterEvent&>(*event);
                hover.pointerMoved(enter.globalPosition(), element_->id, (enter.buttons() & Qt::LeftButton) != 0);
                break;
            }
            case QEvent::MouseMove: {
                // The position the event carries: the cursor's own may lag or never move.
                const auto& move = static_cast<const QMouseEvent&>(*event);
                hover.pointerMoved(move.globalPosition(), element_->id, (move.buttons() & Qt::LeftButton) != 0);
                break;
            }
            case QEvent::Leave: hover.leave(element_->id); break;
            default: break;
        }
        return false;
    }

private:
    std::shared_ptr<Element> element_;
};

PointerHover& PointerHover::shared() {
    // Lives as long as the program; never destroyed, so widgets may end after it would.
    static PointerHover* hover = new PointerHover;
    return *hover;
}

PointerHover::PointerHover() {
    // Any click or wheel in the program clears the hover; the event goes on unchanged.
    using Monitor = qthost::LocalEventMonitor;
    localMonitors_.push_back(Monitor::shared().add(
        Monitor::leftMouseDown | Monitor::leftMouseUp | Monitor::rightMouseDown | Monitor::scrollWheel,
        [this](QEvent&, QWindow&) {
            reset();
            return false;
        }));
}

void PointerHover::publish() {
    if (hoveredID_ == tracker_.hoveredID()) return;
    const std::optional<std::string> previous = std::exchange(hoveredID_, tracker_.hoveredID());
    notify(previous, false);
    notify(hoveredID_, true);
    Q_EMIT hoveredIDChanged();
}

void PointerHover::notify(const std::optional<std::string>& id, bool hovered) {
    if (!id) return;
    // A copy: a callback may end its own or another element's tracking.
    std::vector<std::shared_ptr<Element>> affected;
    auto [first, last] = elements_.equal_range(*id);
    for (auto it = first; it != last; ++it) affected.push_back(it->second);
    for (const auto& element : affected) {
        if (element->filter && element->changed) element->changed(hovered);
    }
}

void PointerHover::pointerMoved(QPointF globalPosition, const std::optional<std::string>& id, bool buttonDown) {
    tracker_.pointerMoved(geometry::Point{globalPosition.x(), globalPosition.y()}, id, buttonDown);
    publish();
}

void PointerHover::leave(const std::string& id) {
    tracker_.leave(id);
    publish();
}

void PointerHover::reset() {
    if (tracker_.reset()) publish();
}

dispatch::Observation PointerHover::track(QWidget* widget, std::string id, std::function<void(bool)> changed) {
    if (widget == nullptr) return {};
    auto element = std::make_shared<Element>(Element{std::move(id), std::move(changed), nullptr});
    element->filter = new ElementFilter(widget, element);
    elements_.emplace(element->id, element);
    std::weak_ptr<Element> weak = element;
    return dispatch::Observation([weak] {
        if (const auto held = weak.lock()) delete held->filter.data();
    });
}

std::size_t PointerHover::trackedCount() const { return elements_.size(); }

void PointerHover::watch(GlobalPointerMonitor* monitor) {
    globalMonitor_ = {};
    if (monitor == nullptr) return;
    globalMonitor_ = monitor->observe([this](const GlobalPointerEvent& event) {
        // A button going up elsewhere says nothing about this program's elements.
        if (event.kind != GlobalPointerEvent::Kind::leftMouseUp) reset();
    });
}

}  // namespace dorvane
