#pragma once

#include <optional>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"

// The arithmetic of the glass surfaces: which corners stay rounded where a
// panel touches the toolbar, the strip the unfold grows from, and the one-pixel
// border without its touching edge. Everything here is in the view's own
// top-left space (y grows downwards) and every "top" is the top on screen.
namespace dorvane::glass {

enum class Corner : unsigned { topLeft = 1, topRight = 2, bottomLeft = 4, bottomRight = 8 };

// A set of corners.
struct Corners {
    unsigned bits = 0;

    static constexpr Corners all() { return Corners{15}; }
    constexpr bool contains(Corner corner) const { return (bits & static_cast<unsigned>(corner)) != 0; }
    constexpr Corners with(Corner corner) const { return Corners{bits | static_cast<unsigned>(corner)}; }

    friend constexpr bool operator==(const Corners&, const Corners&) = default;
};

// Per-corner radii of a rounded rectangle.
struct CornerRadii {
    double topLeft = 0;
    double topRight = 0;
    double bottomLeft = 0;
    double bottomRight = 0;
    friend constexpr bool operator==(const CornerRadii&, const CornerRadii&) = default;
};

// The corners that stay rounded once a surface touches the toolbar on `side`:
// the toolbar's own surface (`toolbar` true) or a panel beside it. A horizontal
// toolbar keeps three: only its corner at the left end of the facing edge is
// square, where the panels beside it start.
Corners attachedCorners(ToolbarSide side, bool toolbar);

// The outer rounding: every corner while standalone, else only the attached ones.
CornerRadii outerCornerRadii(double cornerRadius, std::optional<Corners> attached);

// The rounding of the inner layers: the corner radius while standalone, 0 once
// attached (the outer shape then rounds the chosen corners).
constexpr double innerRadius(double cornerRadius, bool attached) { return attached ? 0 : cornerRadius; }

// The unfold: a clip that grows over 0.2 s, ease-out, from a one-point strip
// along the edge that faces a toolbar on `side` to the whole of `bounds`.
inline constexpr double revealDuration = 0.2;
geometry::Rect revealStart(const geometry::Rect& bounds, ToolbarSide side);

// The width of one device pixel at a backing scale; a scale below 1, or one
// that is not finite, counts as 1.
double hairlineWidth(double scale);

// How to draw the border: stroke `stroke` with corner radius `radius` and
// line width `lineWidth`, clipped to `clip`, which leaves out the edge on the
// omitted side.
struct Hairline {
    geometry::Rect stroke;
    double radius = 0;
    double lineWidth = 1;
    geometry::Rect clip;
    friend bool operator==(const Hairline&, const Hairline&) = default;
};

Hairline hairline(const geometry::Rect& bounds, double cornerRadius, double scale, std::optional<ToolbarSide> omitted);

}  // namespace dorvane::glass
