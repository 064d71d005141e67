#include "Dorvane/QtHost/MouseDetails.h"

#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

#include "DorvaneCore/Support/DecimalText.h"

namespace dorvane::qthost {

namespace {

// "(a, b, …)" with every number as a decimal with a fraction.
std::string tuple(std::initializer_list<double> values) {
    std::string text = "(";
    for (const double value : values) {
        if (text.size() > 1) text.append(", ");
        text.append(decimalText(value));
    }
    text.append(")");
    return text;
}

std::string point(double x, double y) { return tuple({x, y}); }

std::string rect(const QRect& r) { return tuple({double(r.x()), double(r.y()), double(r.width()), double(r.height())}); }

}  // namespace

std::string mouseDetails(const QMouseEvent& event, const QWidget& view) {
    const QWidget* window = view.window();
    const QPointF local = event.position();
    const QPointF inWindow = window ? QPointF(view.mapTo(window, local.toPoint())) : local;
    const QPoint pointer = QCursor::pos();
    const int clicks = event.type() == QEvent::MouseButtonDblClick ? 2 : 1;
    return "eventXY=" + point(inWindow.x(), inWindow.y()) + " localXY=" + point(local.x(), local.y()) +
           " pointerXY=" + point(pointer.x(), pointer.y()) + " cgXY=" + point(0, 0) + " sourcePID=-1 targetPID=-1" +
           " clicks=" + std::to_string(clicks) + " eventTime=" + decimalText(static_cast<double>(event.timestamp()) / 1000.0) +
           " frame=" + rect(view.geometry()) + " windowFrame=" + rect(window ? window->geometry() : QRect());
}

}  // namespace dorvane::qthost
