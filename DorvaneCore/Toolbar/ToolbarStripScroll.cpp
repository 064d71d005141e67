#include "DorvaneCore/Toolbar/ToolbarStripScroll.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Toolbar/ToolbarStripLayout.h"
#include "DorvaneCore/Visual/OverflowEdgeFade.h"

namespace dorvane {

double ToolbarStripScroll::contentLength() const { return ToolbarStripLayout::contentLength(buttonCount); }

double ToolbarStripScroll::maxOffset() const { return std::max(contentLength() - clipLength, 0.0); }

double ToolbarStripScroll::clamped(double offset) const {
    if (std::isnan(offset)) return 0;
    return std::clamp(offset, 0.0, maxOffset());
}

std::optional<ToolbarStripFade> ToolbarStripScroll::fade(double offset) const {
    const OverflowEdgeFade edges = OverflowEdgeFade::forScroll(offset, contentLength(), clipLength);
    if (!edges.fadeTop && !edges.fadeBottom) return std::nullopt;
    // At most a quarter of the strip fades at each end.
    const double fraction = clipLength >= 1 ? std::min(OverflowEdgeFade::fadeLength / clipLength, 0.25) : 0.25;
    return ToolbarStripFade{edges.fadeTop, edges.fadeBottom, fraction};
}

std::optional<double> ToolbarStripScroll::wheel(double offset, ToolbarWheelDelta delta) const {
    if (contentLength() <= clipLength) return std::nullopt;
    double step = horizontal && delta.horizontal != 0 ? delta.horizontal : delta.vertical;
    if (!delta.precise) step *= notchLength;
    return clamped(offset - step);
}

bool ToolbarStripScroll::losesHover(double from, double to) { return std::abs(to - from) > hoverSlack; }

}  // namespace dorvane
