#include "Dorvane/Visual/StyledButton.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

namespace {

QFont labelFont() { return DesignTokens::font(DesignTokens::fontBody, FontWeight::medium); }

}  // namespace

StyledButton::StyledButton(ButtonStyle style, const QString& text, QWidget* parent)
    : QAbstractButton(parent), style_(style) {
    setText(text);
    setFocusPolicy(Qt::TabFocus);
    DesignTokens::repaintOnAppearanceChange(this);
}

QSize StyledButton::sizeHint() const {
    const double label = std::ceil(QFontMetricsF(labelFont()).horizontalAdvance(text()));
    return QSize(static_cast<int>(label + 2 * DesignTokens::buttonHorizontalPadding),
                 static_cast<int>(DesignTokens::controlHeight));
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
    background.addRoundedRect(QRectF(rect()), DesignTokens::radiusMd, DesignTokens::radiusMd);
    painter.fillPath(background, fill);
    painter.setFont(labelFont());
    painter.setPen(label);
    const QRectF inside = QRectF(rect()).adjusted(DesignTokens::buttonHorizontalPadding, 0,
                                                  -DesignTokens::buttonHorizontalPadding, 0);
    painter.drawText(inside, Qt::AlignCenter, QFontMetricsF(labelFont()).elidedText(text(), Qt::ElideRight, inside.width()));
}

}  // namespace dorvane
