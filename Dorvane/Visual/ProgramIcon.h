#pragma once

#include <QRectF>

class QPainter;

namespace dorvane {

// The program's own icon, drawn at any size: a rounded square in the accent's gradient with a
// pair of screens on it. The settings window's sidebar and the permission guide's row show it.
void paintProgramIcon(QPainter& painter, const QRectF& frame);

}  // namespace dorvane
