#pragma once

#include <QRect>
#include <QRectF>

#include "Dorvane/ShellBase/ScreenSpace.h"
#include "DorvaneCore/Geometry/Rect.h"

class QScreen;

namespace dorvane::qthost {

// Where the program's rectangles meet Qt's. Qt's global space is the host's top-left
// screen space (the main display's top-left corner is (0, 0), a point is a logical
// pixel); the toolbar geometry, notices and dropdown placement work in toolkit frames
// (bottom-left, y up). These are the only conversions between them.

QRectF toQRectF(const geometry::Rect& rect);
geometry::Rect fromQRectF(const QRectF& rect);

// A toolkit frame as a Qt rectangle, and back, flipped around `space`.
QRectF qtFrame(const geometry::Rect& toolkitFrame, const ScreenSpace& space);
geometry::Rect toolkitFrame(const QRectF& qtFrame, const ScreenSpace& space);

// The flip of Qt's own screens: around the primary screen's top edge as the host sees it.
ScreenSpace qtScreenSpace();

// A window frame on whole logical pixels: edges rounded to the nearest pixel, so a
// frame of fractional points keeps its size within a pixel.
QRect pixelFrame(const QRectF& frame);

}  // namespace dorvane::qthost
