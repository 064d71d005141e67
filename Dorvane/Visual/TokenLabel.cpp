#include "Dorvane/Visual/TokenLabel.h"

#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

TokenLabel::TokenLabel(const QString& text, const QFont& font, const AdaptiveColor& color, QWidget* parent)
    : QLabel(text, parent), color_(color) {
    setFont(font);
    setTextFormat(Qt::PlainText);
    applyColor();
    connect(&VisualAppearance::shared(), &VisualAppearance::changed, this, [this] { applyColor(); });
}

void TokenLabel::setColor(const AdaptiveColor& color) {
    if (color.name == color_.name) return;
    color_ = color;
    applyColor();
}

void TokenLabel::applyColor() {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color_.resolved());
    setPalette(colours);
}

}  // namespace dorvane
