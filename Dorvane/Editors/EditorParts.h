#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QAbstractButton>
#include <QFont>
#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/QtText.h"
#include "Dorvane/Visual/RoundedFill.h"
#include "Dorvane/Visual/SymbolLabel.h"

namespace dorvane {

// Small pieces the editors and the quick-actions page are drawn with, all in the shared
// tokens and repainted when the appearance changes.

// The shared symbol label in a frame of its own (centred in it); clicks go through.
SymbolLabel* framedSymbol(std::string_view symbol, double size, const AdaptiveColor& color, QSize frame,
                          QWidget* parent);

// A button without a bezel: a symbol, a text or both in one colour, the whole frame
// clickable (at least `minimumHit` points), optionally on a filled circle. Faded while
// disabled, dimmed while pressed.
class PlainButton final : public QAbstractButton {
public:
    PlainButton(std::string_view symbol, const QString& text, const QFont& font, const AdaptiveColor& color,
                QWidget* parent = nullptr);

    void setSymbol(std::string_view symbol);
    const std::string& symbol() const { return symbol_; }
    void setColor(const AdaptiveColor& color);
    // The symbol's size; by default the font's.
    void setSymbolSize(double points);
    void setMinimumHit(QSize size);
    // A circle of `fill` behind the symbol.
    void setCircle(const AdaptiveColor& fill);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double glyphSize() const;

    std::string symbol_;
    QFont font_;
    AdaptiveColor color_;
    double symbolSize_ = 0;
    QSize minimumHit_;
    std::optional<AdaptiveColor> circle_;
};

// Shows or hides `widget`, fading it in or out over `seconds` when `animated`; a fade still
// running is cut short. Without animation the change is immediate.
void setVisibleFading(QWidget* widget, bool visible, bool animated, double seconds);

}  // namespace dorvane
