#pragma once

#include <ostream>

#include "DorvaneCore/Geometry/Rect.h"

// Readable GoogleTest failures for rectangles. Every test of an executable that
// compares rectangles includes this, so all see the same printer.
namespace dorvane::geometry {

inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "(" << rect.x << ", " << rect.y << ", " << rect.width << ", " << rect.height << ")";
}

}  // namespace dorvane::geometry
