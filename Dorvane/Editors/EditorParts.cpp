#include "Dorvane/Editors/EditorParts.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QGraphicsOpacityEffect>
#include <QVariantAnimation>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

SymbolLabel* framedSymbol(std::string_view symbol, double size, const AdaptiveColor& color, QSize frame,
                          QWidget* parent) {
    auto* label = new SymbolLabel(symbol, size, color, parent);
    label->setFixedSize(frame);
    return label;
}

PlainButton::PlainButton(std::string_view symbol, const QString& text, const QFont& font, const AdaptiveColor& color,
                         QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol), font_(font), color_(color) {
    setText(text);
    setFocusPolicy(controlFocusPolicy);
    setCursor(Qt::ArrowCursor);
    DesignTokens::repaintOnAppearanceChange(this);
}

void PlainButton::setSymbol(std::string_view symbol) {
    if (symbol_ == symbol) return;
    symbol_ = symbol;
    updateGeometry();
    update();
}

void PlainButton::setColor(const AdaptiveColor& color) {
    if (std::string_view(color_.name) == color.name) return;
    color_ = color;
    update();
}

void PlainButton::setSymbolSize(double points) {
    symbolSize_ = points;
    updateGeometry();
    update();
}

void PlainButton::setMinimumHit(QSize size) {
    minimumHit_ = size;
    updateGeometry();
}

void PlainButton::setCircle(const AdaptiveColor& fill) {
    circle_ = fill;
    update();
}

double PlainButton::glyphSize() const {
    if (symbolSize_ > 0) return symbolSize_;
    return font_.pixelSize() > 0 ? font_.pixelSize() : QFontMetricsF(font_).height();
}

QSize PlainButton::sizeHint() const {
    const QFontMetricsF metrics(font_);
    double width = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    double height = text().isEmpty() ? 0 : metrics.height();
    if (!symbol_.empty()) {
        width += glyphSize() + (text().isEmpty() ? 0 : DesignTokens::spacingXs);
        height = std::max(height, glyphSize());
    }
    return QSize(std::max(static_cast<int>(std::ceil(width)), minimumHit_.width()),
                 std::max(static_cast<int>(std::ceil(height)), minimumHit_.height()));
}

void PlainButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    double opacity = isEnabled() ? 1.0 : DesignTokens::disabledOpacity;
    if (isDown()) opacity *= DesignTokens::pressedSegmentOpacity;
    painter.setOpacity(opacity);
    const QColor colour = color_.resolved();
    if (circle_) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(circle_->resolved());
        const double side = std::min(width(), height());
        painter.drawEllipse(QRectF((width() - side) / 2, (height() - side) / 2, side, side));
    }
    const QFontMetricsF metrics(font_);
    const double textWidth = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    const double symbolWidth = symbol_.empty() ? 0 : glyphSize() + (text().isEmpty() ? 0 : DesignTokens::spacingXs);
    double left = (width() - textWidth - symbolWidth) / 2;
    if (!symbol_.empty()) {
        Symbols::paint(painter, QRectF(left, 0, glyphSize(), height()), symbol_, glyphSize(), colour);
        left += symbolWidth;
    }
    if (!text().isEmpty()) {
        painter.setFont(font_);
        painter.setPen(colour);
        painter.drawText(QRectF(left, 0, textWidth + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    }
}

void setVisibleFading(QWidget* widget, bool visible, bool animated, double seconds) {
    static const QString kFadeName = QStringLiteral("corvelle-fade");
    auto* running = widget->findChild<QVariantAnimation*>(kFadeName, Qt::FindDirectChildrenOnly);
    const bool fadingOut = running != nullptr && running->endValue().toDouble() == 0.0;
    if (running == nullptr && widget->isVisibleTo(widget->parentWidget()) == visible) return;
    if (running != nullptr && fadingOut != visible) return;  // already heading there
    double start = visible ? 0.0 : 1.0;
    if (running != nullptr) {
        start = running->currentValue().toDouble();
        delete running;
    }
    if (!animated) {
        widget->setGraphicsEffect(nullptr);
        widget->setVisible(visible);
        return;
    }
    auto* effect = new QGraphicsOpacityEffect(widget);
    effect->setOpacity(start);
    widget->setGraphicsEffect(effect);
    widget->setVisible(true);
    auto* fade = new QVariantAnimation(widget);
    fade->setObjectName(kFadeName);
    fade->setDuration(static_cast<int>(seconds * 1000));
    fade->setEasingCurve(QEasingCurve::InOutQuad);
    fade->setStartValue(start);
    fade->setEndValue(visible ? 1.0 : 0.0);
    QObject::connect(fade, &QVariantAnimation::valueChanged, effect,
                     [effect](const QVariant& value) { effect->setOpacity(value.toDouble()); });
    QObject::connect(fade, &QVariantAnimation::finished, widget, [widget, visible] {
        widget->setGraphicsEffect(nullptr);
        widget->setVisible(visible);
    });
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

}  // namespace dorvane
