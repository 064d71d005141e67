#include "Dorvane/Visual/StyledButton.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

StyledButton::StyledButton(ButtonStyle style, const QString& text, QWidget* parent)
    : StyledButton(style, ButtonSize::regular, text, parent) {}

StyledButton::StyledButton(ButtonStyle style, ButtonSize size, const QString& text, QWidget* parent)
    : QAbstractButton(parent), style_(style), size_(size) {
    setText(text);
    setFocusPolicy(controlFocusPolicy);
    DesignTokens::repaintOnAppearanceChange(this);
}

namespace {

// Between a symbol and the title.
constexpr double kSymbolSpacing = 4;

}  // namespace

void StyledButton::setSymbol(std::string_view symbol) {
    symbol_ = symbol;
    updateGeometry();
    update();
}

void StyledButton::setLabelSize(double points) {
    labelSize_ = points;
    updateGeometry();
    update();
}

double StyledButton::labelPoints() const {
    return labelSize_.value_or(size_ == ButtonSize::small ? DesignTokens::fontCaption : DesignTokens::fontBody);
}

QFont StyledButton::labelFont() const { return DesignTokens::font(labelPoints(), FontWeight::medium); }

double StyledButton::symbolWidth() const { return symbol_.empty() ? 0 : labelPoints() + kSymbolSpacing; }

double StyledButton::padding() const {
    return size_ == ButtonSize::small ? DesignTokens::smallButtonHorizontalPadding
                                      : DesignTokens::buttonHorizontalPadding;
}

QSize StyledButton::sizeHint() const {
    const double label = std::ceil(QFontMetricsF(labelFont()).horizontalAdvance(text()) + symbolWidth());
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
        const bool destructive = style_ == ButtonStyle::destructive;
        label = (destructive ? DesignTokens::Colors::destructive : DesignTokens::Colors::textPrimary).resolved(dark);
    }
    QPainterPath background;
    const double radius = size_ == ButtonSize::small ? DesignTokens::radiusSm : DesignTokens::radiusMd;
    background.addRoundedRect(QRectF(rect()), radius, radius);
    painter.fillPath(background, fill);
    painter.setFont(labelFont());
    painter.setPen(label);
    QRectF inside = QRectF(rect()).adjusted(padding(), 0, -padding(), 0);
    if (!symbol_.empty()) {
        // Symbol and title centred together.
        const QFontMetricsF metrics(labelFont());
        const double whole = std::min(inside.width(), metrics.horizontalAdvance(text()) + symbolWidth());
        const double left = inside.left() + (inside.width() - whole) / 2;
        const double glyph = symbolWidth() - kSymbolSpacing;
        Symbols::paint(painter, QRectF(left, inside.top(), glyph, inside.height()), symbol_, glyph, label);
        inside.setLeft(left + symbolWidth());
        inside.setWidth(whole - symbolWidth());
        painter.setFont(labelFont());
    }
    painter.drawText(inside, Qt::AlignCenter, QFontMetricsF(labelFont()).elidedText(text(), Qt::ElideRight, inside.width()));
}

}  // namespace dorvane
