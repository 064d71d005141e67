#include "Dorvane/QtHost/QtOwnWheelDelivery.h"

#include <QPoint>
#include <QWindow>

#include "Dorvane/QtHost/OwnInputConversions.h"
#include "Dorvane/QtWindowSystem/WindowSystemInput.h"
#include "DorvaneCore/Input/KeyboardLayout.h"

namespace dorvane::qthost {

namespace {

// A trackpad's gesture phases; a mouse wheel has none.
Qt::ScrollPhase phaseOf(const events::Event& event) {
    if (event.field(events::EventField::scrollIsContinuous) == 0) return Qt::NoScrollPhase;
    if (event.field(events::EventField::momentumPhase) != 0) return Qt::ScrollMomentum;
    switch (event.field(events::EventField::scrollPhase)) {
        case 1: return Qt::ScrollBegin;
        case 2: return Qt::ScrollUpdate;
        case 4:
        case 8: return Qt::ScrollEnd;
        default: return Qt::NoScrollPhase;
    }
}

}  // namespace

void deliverWheel(const events::Event& event, QWindow& target) {
    using events::EventField;
    const QPointF global = globalPoint(event.location);
    QPoint pixels;
    QPoint angle(static_cast<int>(event.field(EventField::scrollDeltaAxis2)) * 120,
                 static_cast<int>(event.field(EventField::scrollDeltaAxis1)) * 120);
    if (event.field(EventField::scrollIsContinuous) != 0) {
        pixels = QPoint(static_cast<int>(event.field(EventField::scrollPointDeltaAxis2)),
                        static_cast<int>(event.field(EventField::scrollPointDeltaAxis1)));
        angle = pixels * 8;
    }
    windowsystem::wheel(target, windowsystem::WheelInput{toolkitTime(event.timestamp), inWindow(target, global), global,
                                                         pixels, angle,
                                                         Qt::KeyboardModifiers(
                                                             KeyboardLayout::qtModifiersFromFlags(event.flags)),
                                                         phaseOf(event)});
}

}  // namespace dorvane::qthost
