#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QSize>

#include "DorvaneCore/Visual/GlassGeometry.h"

namespace dorvane {

// A rectangle with its own radius at each corner (each capped at half the shorter side).
QPainterPath roundedPath(const QRectF& rect, const glass::CornerRadii& radii);

// A soft shadow: `shape` filled black at `opacity` on an image of `size` logical pixels at
// `ratio`, blurred by about `blurRadius` points (three box passes, close to a Gaussian).
QImage blurredShape(QSize size, double ratio, const QPainterPath& shape, double blurRadius, double opacity);

}  // namespace dorvane
