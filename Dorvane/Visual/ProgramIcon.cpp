#include "Dorvane/Visual/ProgramIcon.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/Symbols.h"

namespace dorvane {

namespace {

// At the sidebar's 48 points: corners of 10 and screens of 24.
constexpr double kCornerShare = DesignTokens::radiusMd / 48;
constexpr double kSymbolShare = 0.5;
constexpr int kGradientLightening = 125;

}  // namespace

void paintProgramIcon(QPainter& painter, const QRectF& frame) {
    const double side = std::min(frame.width(), frame.height());
    if (side <= 0) return;
    const QRectF square(frame.center().x() - side / 2, frame.center().y() - side / 2, side, side);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = DesignTokens::Colors::accent.resolved();
    QLinearGradient gradient(square.topLeft(), square.bottomLeft());
    gradient.setColorAt(0, accent.lighter(kGradientLightening));
    gradient.setColorAt(1, accent);
    QPainterPath shape;
    shape.addRoundedRect(square, side * kCornerShare, side * kCornerShare);
    painter.fillPath(shape, gradient);
    Symbols::paint(painter, square, "display.2", side * kSymbolShare, Qt::white);
    painter.restore();
}

}  // namespace dorvane
