#pragma once

#include <string>

class QMouseEvent;
class QWidget;

namespace dorvane::qthost {

// One line describing a mouse press for the operations log: "eventXY=(x, y)
// localXY=… pointerXY=… cgXY=… sourcePID=… targetPID=… clicks=… eventTime=… frame=(x, y,
// w, h) windowFrame=…". Qt hands the program no system event underneath its own, so
// cgXY is the zero point and both process ids are -1. Main thread.
std::string mouseDetails(const QMouseEvent& event, const QWidget& view);

}  // namespace dorvane::qthost
