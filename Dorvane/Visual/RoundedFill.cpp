#include "Dorvane/Visual/RoundedFill.h"

#include <QPainter>
#include <QPainterPath>

namespace dorvane {

RoundedFill::RoundedFill(const AdaptiveColor& fill, QWidget* parent) : QWidget(parent), fill_(fill) {
    DesignTokens::repaintOnAppearanceChange(this);
}

void RoundedFill::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), DesignTokens::radiusMd, DesignTokens::radiusMd);
    painter.fillPath(shape, fill_.resolved());
}

}  // namespace dorvane
