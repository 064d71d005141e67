#pragma once

#include <ostream>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane::geometry {

inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "(" << rect.x << ", " << rect.y << ", " << rect.width << ", " << rect.height << ")";
}

}  // namespace dorvane::geometry
