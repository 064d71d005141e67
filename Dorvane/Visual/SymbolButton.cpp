#include "Dorvane/Visual/SymbolButton.h"

#include <QPainter>

#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/Symbols.h"

namespace dorvane {

SymbolButton::SymbolButton(std::string_view symbol, QSize frame, const QString& accessibleName,
                           const AdaptiveColor& color, double symbolSize, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol), color_(color), symbolSize_(symbolSize) {
    setFixedSize(frame);
    setAccessibleName(accessibleName);
    setFocusPolicy(controlFocusPolicy);
    setCursor(Qt::PointingHandCursor);
    DesignTokens::repaintOnAppearanceChange(this);
}

void SymbolButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) {
        painter.setOpacity(DesignTokens::disabledOpacity);
    } else if (isDown()) {
        painter.setOpacity(DesignTokens::pressedSegmentOpacity);
    }
    Symbols::paint(painter, QRectF(rect()), symbol_, symbolSize_, color_.resolved());
}

}  // namespace dorvane
