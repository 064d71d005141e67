#pragma once

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// Where a sheet of the settings window lies: hanging from the top edge of the window's
// content, centred across it, as large as its content asks but never beyond the window.
// Top-left space, in the window's own coordinates; whole points so that edges stay sharp.
struct SheetPlacement {
    static geometry::Rect frame(geometry::Size window, geometry::Size preferred);
};

}  // namespace dorvane
