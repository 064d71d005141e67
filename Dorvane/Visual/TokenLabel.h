#pragma once

#include <QFont>
#include <QLabel>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

// Text in one of the shared fonts and colours; it takes the colour again whenever the
// appearance changes.
class TokenLabel final : public QLabel {
public:
    TokenLabel(const QString& text, const QFont& font, const AdaptiveColor& color, QWidget* parent = nullptr);

    void setColor(const AdaptiveColor& color);
    const AdaptiveColor& color() const { return color_; }

private:
    void applyColor();

    AdaptiveColor color_;
};

}  // namespace dorvane
