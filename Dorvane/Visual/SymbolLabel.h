#pragma once

#include <string>
#include <string_view>

#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

// A symbol shown beside text (a banner's mark, a search field's glass, a status mark):
// `size` points tall in `color`, in a square frame of that size. Decoration only: it takes
// no clicks and screen readers skip it.
class SymbolLabel final : public QWidget {
public:
    SymbolLabel(std::string_view symbol, double size, const AdaptiveColor& color, QWidget* parent = nullptr);

    void set(std::string_view symbol, const AdaptiveColor& color);
    const std::string& symbol() const { return symbol_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string symbol_;
    double size_;
    AdaptiveColor color_;
};

}  // namespace dorvane
