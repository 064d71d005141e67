#pragma once

#include <functional>
#include <optional>
#include <string>

#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Events/PointerServices.h"
#include "Platform/Workspace/OwnWindows.h"

class QMouseEvent;
class QWidget;

namespace dorvane::qthost {

class QtOwnWindowReporter;

// What the host knows of a mouse event that Qt's own event does not carry.
struct HostMouseFacts {
    // The host's record of this very press or release; none for an event the host did not
    // deliver (a click from the toolkit's own windowing system).
    std::optional<workspace::OwnWindowClick> click;
    // Where the host's pointer is now; none: the toolkit's cursor.
    std::optional<geometry::Point> pointer;
};
using HostMouseFactsSource = std::function<HostMouseFacts(const QMouseEvent& event)>;

// The facts of the clicks `reporter` hands to the program's widgets and of the host's
// pointer. Both must outlive the source.
HostMouseFactsSource hostMouseFacts(const QtOwnWindowReporter& reporter, events::PointerServices& pointer);

// One line describing a mouse press for the operations log: "eventXY=(x, y)
// localXY=… pointerXY=… cgXY=… sourcePID=… targetPID=… clicks=… eventTime=… frame=(x, y,
// w, h) windowFrame=…". cgXY, the two process ids, the click count and the time are the
// host's record of the event; without one, cgXY is the zero point, both process ids are
// -1 and the rest is Qt's. Main thread.
std::string mouseDetails(const QMouseEvent& event, const QWidget& view, const HostMouseFacts& facts = {});

}  // namespace dorvane::qthost
