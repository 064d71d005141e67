#pragma once

#include <string>
#include <string_view>

#include <QAbstractButton>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

// A plain button that is only a symbol: drawn in `color`, `symbolSize` points tall, centred
// in a fixed frame whose whole rectangle takes clicks. Its accessible name says what it
// does, since nothing is written on it. Dimmed while pressed, faded while disabled.
class SymbolButton final : public QAbstractButton {
public:
    SymbolButton(std::string_view symbol, QSize frame, const QString& accessibleName,
                 const AdaptiveColor& color = DesignTokens::Colors::textSecondary,
                 double symbolSize = DesignTokens::fontBody, QWidget* parent = nullptr);

    const std::string& symbol() const { return symbol_; }

    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string symbol_;
    AdaptiveColor color_;
    double symbolSize_;
};

}  // namespace dorvane
