#pragma once

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// How a toolbar button draws itself: the glyph and caption frames, the
// background's shape and which colours it takes. Frames are in the button's
// own coordinates with y growing downwards.
struct ToolbarButtonLook {
    ToolbarButtonLook() = delete;

    static constexpr double captionFontSize = 10.5;

    // The background's colours, the first state that applies.
    enum class Background { selected, highlighted, hovered, plain };
    static Background background(bool selected, bool highlighted, bool hovering, bool enabled);

    // The square glyph's edge and the symbol's point size in it.
    static double glyphSize(bool largeIcon, bool caption);
    static double symbolPointSize(bool largeIcon, bool caption);

    static geometry::Rect glyphFrame(geometry::Size bounds, double glyphSize, bool caption);
    static geometry::Rect captionFrame(geometry::Size bounds);
    // A rounded rectangle 1 point inside the bounds, filled then stroked 1 point wide.
    static geometry::Rect backgroundFrame(geometry::Size bounds);
    // 10, or half the shorter side for the round handle.
    static double cornerRadius(geometry::Size bounds, bool circular);
};

}  // namespace dorvane
