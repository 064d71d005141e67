#include "Dorvane/Visual/NumberStepper.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/SymbolButton.h"

namespace dorvane {

namespace {

QFont valueFont() { return DesignTokens::font(DesignTokens::fontBody, FontWeight::medium); }
int side() { return static_cast<int>(DesignTokens::controlHeight); }

}  // namespace

NumberStepper::NumberStepper(const QString& accessibleName, const QString& decreaseName, const QString& increaseName,
                             const QString& widestValue, QWidget* parent)
    : QWidget(parent),
      widestValue_(widestValue),
      decrease_(new SymbolButton("minus", QSize(side(), side()), decreaseName, DesignTokens::Colors::textPrimary,
                                 DesignTokens::fontEmphasis, this)),
      increase_(new SymbolButton("plus", QSize(side(), side()), increaseName, DesignTokens::Colors::textPrimary,
                                 DesignTokens::fontEmphasis, this)) {
    setAccessibleName(accessibleName);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    DesignTokens::repaintOnAppearanceChange(this);
}

void NumberStepper::setValue(const QString& text) {
    if (text == value_) return;
    value_ = text;
    update();
}

void NumberStepper::setLimits(bool canDecrease, bool canIncrease) {
    decrease_->setEnabled(canDecrease);
    increase_->setEnabled(canIncrease);
}

QSize NumberStepper::sizeHint() const {
    const double valueWidth = QFontMetricsF(valueFont()).horizontalAdvance(widestValue_) + 2 * DesignTokens::spacingSm;
    return QSize(2 * side() + static_cast<int>(std::ceil(valueWidth)), side());
}

void NumberStepper::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int top = (height() - side()) / 2;
    decrease_->move(0, top);
    increase_->move(width() - side(), top);
}

void NumberStepper::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : DesignTokens::disabledOpacity);
    const double hairline = DesignTokens::hairline(devicePixelRatioF());
    const QRectF field = QRectF(rect()).adjusted(hairline / 2, hairline / 2, -hairline / 2, -hairline / 2);
    QPainterPath shape;
    shape.addRoundedRect(field, DesignTokens::radiusSm, DesignTokens::radiusSm);
    painter.fillPath(shape, DesignTokens::Colors::card.resolved());
    const QColor edge = DesignTokens::Colors::cardBorderHighlight.resolved();
    painter.strokePath(shape, QPen(edge, hairline));
    // The buttons' halves are set off the value by two hairlines.
    const double inset = DesignTokens::spacingXs + DesignTokens::spacingXs / 2;
    for (const double x : {static_cast<double>(side()), static_cast<double>(width() - side())}) {
        painter.fillRect(QRectF(x - hairline / 2, inset, hairline, height() - 2 * inset), edge);
    }
    painter.setFont(valueFont());
    painter.setPen(DesignTokens::Colors::textPrimary.resolved());
    painter.drawText(QRectF(side(), 0, width() - 2 * side(), height()), Qt::AlignCenter, value_);
}

}  // namespace dorvane
