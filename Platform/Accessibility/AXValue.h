#pragma once

#include <string>
#include <variant>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Accessibility/AXElement.h"

namespace dorvane::accessibility {

// An attribute's value: a Boolean, a number, a text, a point, a size, an element or a
// list of elements. Texts are always std::string (a bare string literal would pick bool).
using AXValue = std::variant<bool, double, std::string, geometry::Point, geometry::Size, AXElement,
                             std::vector<AXElement>>;

// As the action log writes a value: "true", "12", "0.5", "\"笔记\"", "10,20", "756x944",
// "element", "3 elements".
std::string describeValue(const AXValue& value);

}  // namespace dorvane::accessibility
