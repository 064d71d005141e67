#include "DorvaneCore/Visual/GlassGeometry.h"

#include <algorithm>
#include <cmath>

namespace dorvane::glass {

using geometry::Rect;

Corners attachedCorners(ToolbarSide side, bool toolbar) {
    using enum Corner;
    const Corners none;
    switch (side) {
        case ToolbarSide::left:
            return toolbar ? none.with(bottomLeft).with(topLeft) : none.with(bottomRight).with(topRight);
        case ToolbarSide::right:
            return toolbar ? none.with(bottomRight).with(topRight) : none.with(bottomLeft).with(topLeft);
        case ToolbarSide::top:
            return toolbar ? none.with(bottomRight).with(topLeft).with(topRight)
                           : none.with(bottomLeft).with(bottomRight);
        case ToolbarSide::bottom:
            return toolbar ? none.with(bottomLeft).with(bottomRight).with(topRight) : none.with(topLeft).with(topRight);
    }
    return Corners::all();
}

CornerRadii outerCornerRadii(double cornerRadius, std::optional<Corners> attached) {
    const Corners rounded = attached.value_or(Corners::all());
    const auto radius = [&](Corner corner) { return rounded.contains(corner) ? cornerRadius : 0.0; };
    return CornerRadii{radius(Corner::topLeft), radius(Corner::topRight), radius(Corner::bottomLeft),
                       radius(Corner::bottomRight)};
}

Rect revealStart(const Rect& bounds, ToolbarSide side) {
    const Rect b = bounds.standardized();
    switch (side) {
        case ToolbarSide::top: return Rect{b.minX(), b.minY(), b.width, 1};
        case ToolbarSide::bottom: return Rect{b.minX(), b.maxY() - 1, b.width, 1};
        case ToolbarSide::right: return Rect{b.maxX() - 1, b.minY(), 1, b.height};
        case ToolbarSide::left: return Rect{b.minX(), b.minY(), 1, b.height};
    }
    return b;
}

double hairlineWidth(double scale) { return 1 / std::max(geometry::finiteLength(scale), 1.0); }

Hairline hairline(const Rect& bounds, double cornerRadius, double scale, std::optional<ToolbarSide> omitted) {
    const Rect b = bounds.standardized();
    const double px = hairlineWidth(scale);
    // Stroked on the pixel centres inside the bounds.
    const double narrowed = std::max(b.width - px, 0.0);
    const double lowered = std::max(b.height - px, 0.0);
    const Rect stroke{b.minX() + px / 2, b.minY() + px / 2, narrowed, lowered};
    // The bounds less one device pixel on the omitted edge.
    Rect clip = b;
    if (omitted) {
        switch (*omitted) {
            case ToolbarSide::left: clip = Rect{b.maxX() - narrowed, b.minY(), narrowed, b.height}; break;
            case ToolbarSide::right: clip = Rect{b.minX(), b.minY(), narrowed, b.height}; break;
            case ToolbarSide::top: clip = Rect{b.minX(), b.maxY() - lowered, b.width, lowered}; break;
            case ToolbarSide::bottom: clip = Rect{b.minX(), b.minY(), b.width, lowered}; break;
        }
    }
    return Hairline{stroke, std::max(cornerRadius - px / 2, 0.0), px, clip};
}

}  // namespace dorvane::glass
