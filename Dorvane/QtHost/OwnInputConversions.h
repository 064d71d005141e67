#pragma once

#include <algorithm>

#include <QPointF>
#include <QWindow>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane::qthost {

// Event times in the toolkit's milliseconds, from the host's uptime seconds.
inline ulong toolkitTime(double seconds) { return static_cast<ulong>(std::max(0.0, seconds) * 1000); }

// The host's points are Qt's global coordinates.
inline QPointF globalPoint(geometry::Point location) { return QPointF(location.x, location.y); }

inline QPointF inWindow(const QWindow& window, QPointF global) { return global - QPointF(window.geometry().topLeft()); }

}  // namespace dorvane::qthost
