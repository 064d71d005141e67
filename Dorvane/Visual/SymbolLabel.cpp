#include "Dorvane/Visual/SymbolLabel.h"

#include <cmath>

#include <QPainter>

#include "Dorvane/Visual/Symbols.h"

namespace dorvane {

SymbolLabel::SymbolLabel(std::string_view symbol, double size, const AdaptiveColor& color, QWidget* parent)
    : QWidget(parent), symbol_(symbol), size_(size), color_(color) {
    const int side = static_cast<int>(std::ceil(size));
    setFixedSize(side, side);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    DesignTokens::repaintOnAppearanceChange(this);
}

void SymbolLabel::set(std::string_view symbol, const AdaptiveColor& color) {
    if (symbol_ == symbol && std::string_view(color_.name) == color.name) return;
    symbol_ = symbol;
    color_ = color;
    update();
}

void SymbolLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    Symbols::paint(painter, QRectF(rect()), symbol_, size_, color_.resolved());
}

}  // namespace dorvane
