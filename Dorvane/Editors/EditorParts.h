#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QAbstractButton>
#include <QFont>
#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/QtText.h"
#include "Dorvane/Visual/SymbolLabel.h"

namespace dorvane {

// Small pieces the editors and the quick-actions page are drawn with, all in the shared
// tokens and repainted when the appearance changes.

// The shared symbol label in a frame of its own (centred in it); clicks go through.
SymbolLabel* framedSymbol(std::string_view symbol, double size, const AdaptiveColor& color, QSize frame,
                          QWidget* parent);

// A rounded fill in one of the shared colours (cards, search fields, capsules), with an
// optional inner outline; its children lie on it.
class FilledBox : public QWidget {
public:
    FilledBox(const AdaptiveColor& fill, double radius, QWidget* parent = nullptr);

    void setFill(const AdaptiveColor& fill);
    // A line of `width` points inside the edge; none removes it.
    void setOutline(std::optional<AdaptiveColor> color, double width = DesignTokens::selectedStroke);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AdaptiveColor fill_;
    double radius_;
    std::optional<AdaptiveColor> outline_;
    double outlineWidth_ = 0;
};

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
