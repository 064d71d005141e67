#include "Dorvane/Visual/RoundedFill.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

namespace dorvane {

RoundedFill::RoundedFill(const AdaptiveColor& fill, double radius, QWidget* parent)
    : QWidget(parent), fill_(fill), radius_(radius) {
    DesignTokens::repaintOnAppearanceChange(this);
}

void RoundedFill::setFill(const AdaptiveColor& fill) {
    if (std::string_view(fill_.name) == fill.name) return;
    fill_ = fill;
    update();
}

void RoundedFill::setOutline(std::optional<AdaptiveColor> color, double width) {
    const bool same = outline_.has_value() == color.has_value() &&
                      (!color || std::string_view(outline_->name) == color->name) && outlineWidth_ == width;
    if (same) return;
    outline_ = color;
    outlineWidth_ = width;
    update();
}

void RoundedFill::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // A capsule's radius is half its height.
    const double radius = std::min(radius_, std::min(width(), height()) / 2.0);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), radius, radius);
    painter.fillPath(shape, fill_.resolved());
    if (outline_) {
        const double inset = outlineWidth_ / 2;
        QPainterPath line;
        line.addRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), radius - inset, radius - inset);
        painter.setPen(QPen(outline_->resolved(), outlineWidth_));
        painter.drawPath(line);
    }
}

}  // namespace dorvane
