#include "Dorvane/InputViews/WindowDragScroll.h"

#include <cmath>

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>
#include <QWidget>
#include <QWindow>

#include "Dorvane/InputViews/OperationDragHandleMarker.h"
#include "Dorvane/QtHostBase/LocalEventMonitor.h"

namespace dorvane {

using qthost::LocalEventMonitor;

WindowDragScroll::WindowDragScroll(QWidget* view) : view_(view) {
    monitor_ = LocalEventMonitor::shared().add(
        LocalEventMonitor::leftMouseDown | LocalEventMonitor::leftMouseUp | LocalEventMonitor::mouseMoved,
        [this](QEvent& event, QWindow& at) { return handle(event, at); });
}

WindowDragScroll::~WindowDragScroll() = default;

bool WindowDragScroll::isExcluded(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (qobject_cast<const QTextEdit*>(widget) != nullptr || qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
            qobject_cast<const QAbstractSlider*>(widget) != nullptr ||
            dynamic_cast<const OperationDragHandleMarker*>(widget) != nullptr) {
            return true;
        }
        if (const auto* line = qobject_cast<const QLineEdit*>(widget); line != nullptr && !line->isReadOnly()) return true;
    }
    return false;
}

QAbstractScrollArea* WindowDragScroll::scrollView(QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) return area;
    }
    return nullptr;
}

bool WindowDragScroll::handle(QEvent& event, QWindow& window) {
    QWidget* shown = view_ ? view_->window() : nullptr;
    if (shown == nullptr || shown->windowHandle() != &window) return false;
    auto& mouse = static_cast<QMouseEvent&>(event);
    const QPointF at = mouse.position();
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            gesture_.reset();
            scrollView_ = nullptr;
            QWidget* hit = shown->childAt(at.toPoint());
            if (hit == nullptr || isExcluded(hit)) return false;
            auto* area = scrollView(hit);
            if (area == nullptr) return false;
            const auto* bar = area->verticalScrollBar();
            if (bar->maximum() - bar->minimum() <= 1) return false;  // the content fits
            scrollView_ = area;
            gesture_.emplace(geometry::Point{at.x(), at.y()}, bar->value());
            return false;  // controls under the finger still see the press
        }
        case QEvent::MouseMove: {
            if (!mouse.buttons().testFlag(Qt::LeftButton) || !gesture_ || !scrollView_) return false;
            auto* bar = scrollView_->verticalScrollBar();
            const auto offset = gesture_->drag({at.x(), at.y()}, bar->maximum());
            if (!offset) return false;
            bar->setValue(static_cast<int>(std::lround(*offset)));
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const bool scrolled = gesture_ && gesture_->isScrolling;
            gesture_.reset();
            scrollView_ = nullptr;
            if (!scrolled) return false;
            // Far outside every control: the pressed one lets go without a click.
            const QPointF far(kFarAway, kFarAway);
            QMouseEvent release(QEvent::MouseButtonRelease, far, far, window.mapToGlobal(far), mouse.button(),
                                mouse.buttons(), mouse.modifiers(), mouse.pointingDevice());
            release.setTimestamp(mouse.timestamp());
            QCoreApplication::sendEvent(&window, &release);
            return true;
        }
        default: return false;
    }
}

}  // namespace dorvane
