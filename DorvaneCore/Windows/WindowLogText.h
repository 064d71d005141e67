#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "DorvaneCore/Windows/CoordinateSpaces.h"

// How values read in window-management log lines. Numbers are the shortest decimal that
// reads back as the same double.
namespace dorvane::windows {

// The window-actions log's rectangle, always with a fraction: (0.0, 25.0, 1440.0, 875.0).
std::string rectText(const Rect& rect);

// Optional((0.0, 25.0, 1440.0, 875.0)), Optional(true), Optional(42), or nil.
std::string optionalText(const std::optional<Rect>& value);
std::string optionalText(std::optional<bool> value);
std::string optionalText(std::optional<std::uint32_t> value);

// The operations log's rectangle, with no forced fraction: {{0, 25}, {720, 875}}.
std::string operationsRectText(const Rect& rect);

// The operations log's point, always with a fraction: (500.0, 300.0).
std::string pointText(Point point);

}  // namespace dorvane::windows
