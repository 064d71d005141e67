#include "Dorvane/QtHost/MouseDetails.h"

#include <exception>

#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

#include "Dorvane/QtHost/QtOwnWindowReporter.h"
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

HostMouseFactsSource hostMouseFacts(const QtOwnWindowReporter& reporter, events::PointerServices& pointer) {
    return [&reporter, &pointer](const QMouseEvent& event) {
        HostMouseFacts facts;
        facts.click = reporter.clickBeingDelivered(event);
        try {
            facts.pointer = pointer.location();
        } catch (const std::exception&) {
            // The host cannot be read now: the line shows the toolkit's cursor instead.
        }
        return facts;
    };
}

std::string mouseDetails(const QMouseEvent& event, const QWidget& view, const HostMouseFacts& facts) {
    const QWidget* window = view.window();
    const QPointF local = event.position();
    const QPointF inWindow = window ? QPointF(view.mapTo(window, local.toPoint())) : local;
    const QPointF pointer = facts.pointer ? QPointF(facts.pointer->x, facts.pointer->y) : QPointF(QCursor::pos());
    const auto& click = facts.click;
    const std::int64_t clicks = click ? click->clicks : event.type() == QEvent::MouseButtonDblClick ? 2 : 1;
    const double time = click ? click->timestamp : static_cast<double>(event.timestamp()) / 1000.0;
    return "eventXY=" + point(inWindow.x(), inWindow.y()) + " localXY=" + point(local.x(), local.y()) +
           " pointerXY=" + point(pointer.x(), pointer.y()) +
           " cgXY=" + (click ? point(click->location.x, click->location.y) : point(0, 0)) +
           " sourcePID=" + std::to_string(click ? click->sourcePID : -1) +
           " targetPID=" + std::to_string(click ? click->targetPID : -1) + " clicks=" + std::to_string(clicks) +
           " eventTime=" + decimalText(time) + " frame=" + rect(view.geometry()) +
           " windowFrame=" + rect(window ? window->geometry() : QRect());
}

}  // namespace dorvane::qthost
