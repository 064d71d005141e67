#include "Dorvane/Visual/ScreenGlyph.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

namespace dorvane {

namespace {

constexpr double kMinimumSide = 12;
constexpr double kCornerRadius = 2.5;

}  // namespace

ScreenGlyph::ScreenGlyph(Values values, QColor accent, QWidget* parent)
    : QWidget(parent), values_(values), accent_(accent) {
    setAccessibleName(QString());
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Decoration only: screen readers skip it.
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(sizeHint());
}

void ScreenGlyph::setValues(const Values& values) {
    const bool sameBox = values.maximumWidth == values_.maximumWidth && values.maximumHeight == values_.maximumHeight;
    const bool same = sameBox && values.dimensions == values_.dimensions && values.selected == values_.selected &&
                      values.strokeOpacity == values_.strokeOpacity;
    if (same) return;
    values_ = values;
    if (!sameBox) setFixedSize(sizeHint());
    update();
}

QSizeF ScreenGlyph::drawnSize(const Values& values) {
    const double width = static_cast<double>(values.dimensions.width);
    const double height = static_cast<double>(values.dimensions.height);
    const double scale =
        std::min(values.maximumWidth / std::max(width, 1.0), values.maximumHeight / std::max(height, 1.0));
    return QSizeF(std::max(scale * width, kMinimumSide), std::max(scale * height, kMinimumSide));
}

QSize ScreenGlyph::sizeHint() const {
    return QSize(static_cast<int>(std::ceil(values_.maximumWidth + 2)),
                 static_cast<int>(std::ceil(values_.maximumHeight + 2)));
}

void ScreenGlyph::paintEvent(QPaintEvent*) {
    const QSizeF drawn = drawnSize(values_);
    const QRectF box((width() - drawn.width()) / 2, (height() - drawn.height()) / 2, drawn.width(), drawn.height());
    QPainterPath shape;
    shape.addRoundedRect(box, kCornerRadius, kCornerRadius);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = palette().color(QPalette::WindowText);
    QColor fill = values_.selected ? accent_ : primary;
    fill.setAlphaF(values_.selected ? 0.16f : 0.04f);
    painter.fillPath(shape, fill);

    QColor stroke = values_.selected ? accent_ : primary;
    if (!values_.selected) stroke.setAlphaF(static_cast<float>(std::clamp(values_.strokeOpacity, 0.0, 1.0)));
    QPen pen(stroke, values_.selected ? 1.2 : 0.8, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    painter.drawPath(shape);
}

}  // namespace dorvane
