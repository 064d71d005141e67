#pragma once

#include <optional>

#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

// A rounded rectangle in one of the shared colours behind whatever is laid out in it (cards,
// banners, search fields, capsules), with an optional inner outline. A radius larger than half
// the short side draws a capsule.
class RoundedFill : public QWidget {
public:
    RoundedFill(const AdaptiveColor& fill, double radius, QWidget* parent = nullptr);

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

}  // namespace dorvane
