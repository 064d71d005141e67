#include "Dorvane/Visual/StyledButton.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

StyledButton::StyledButton(ButtonStyle style, const QString& text, QWidget* parent)
    : StyledButton(style, ButtonSize::regular, text, parent) {}

StyledButton::StyledButton(ButtonStyle style, ButtonSize size, const QString& text, QWidget* parent)
    : QAbstractButton(parent), style_(style), size_(size) {
    setText(text);
    setFocusPolicy(Qt::TabFocus);
    DesignTokens::repaintOnAppearanceChange(this);
}

QFont StyledButton::labelFont() const {
    return DesignTokens::font(size_ == ButtonSize::small ? DesignTokens::fontCaption : DesignTokens::fontBody,
                              FontWeight::medium);
}

double StyledButton::padding() const {
    return size_ == ButtonSize::small ? DesignTokens::smallButtonHorizontalPadding
                                      : DesignTokens::buttonHorizontalPadding;
}

QSize StyledButton::sizeHint() const {
    const double label = std::ceil(QFontMetricsF(labelFont()).horizontalAdvance(text()));
    const double height = size_ == ButtonSize::small ? DesignTokens::smallControlHeight : DesignTokens::controlHeight;
    return QSize(static_cast<int>(label + 2 * padding()), static_cast<int>(height));
}

void StyledButton::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : DesignTokens::disabledOpacity);
    QColor fill;
    QColor label;
    if (style_ == ButtonStyle::primary) {
        fill = DesignTokens::Colors::accent.resolved(dark);
        if (isDown()) fill.setAlphaF(fill.alphaF() * DesignTokens::pressedPrimaryOpacity);
        label = Qt::white;
    } else {
        fill = (isDown() ? DesignTokens::Colors::secondaryFillPressed : DesignTokens::Colors::secondaryFill).resolved(dark);
        label = DesignTokens::Colors::textPrimary.resolved(dark);
    }
    QPainterPath background;
    const double radius = size_ == ButtonSize::small ? DesignTokens::radiusSm : DesignTokens::radiusMd;
    background.addRoundedRect(QRectF(rect()), radius, radius);
    painter.fillPath(background, fill);
    painter.setFont(labelFont());
    painter.setPen(label);
    const QRectF inside = QRectF(rect()).adjusted(padding(), 0, -padding(), 0);
    painter.drawText(inside, Qt::AlignCenter, QFontMetricsF(labelFont()).elidedText(text(), Qt::ElideRight, inside.width()));
}

}  // namespace dorvane
