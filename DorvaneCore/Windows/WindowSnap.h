#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows {

// The single-window snaps, in the top-left space of window positions.
enum class WindowSnap { fill, left, right, top, bottom, center };

std::string_view title(WindowSnap snap);
// Platform symbol name of the snap's button.
std::string_view symbol(WindowSnap snap);

// The snap's frame in the work area. It depends on the area alone, which is used as
// given (not made integral): halves take floor(size / 2), so an odd width leaves the
// middle column to neither half; the centred frame is 70 % by 80 % of the area.
Rect frame(WindowSnap snap, const Rect& current, const Rect& area);

// The screen a window belongs to: the one sharing the most area with it (the earlier one
// among equals), else the first that holds its centre, else 0; none for no screens.
std::optional<std::size_t> screenIndex(const Rect& window, std::span<const Rect> screens);

}  // namespace dorvane::windows

namespace dorvane {

template <>
struct EnumCases<windows::WindowSnap> {
    static constexpr std::array<std::pair<windows::WindowSnap, std::string_view>, 6> table{{
        {windows::WindowSnap::fill, "fill"},
        {windows::WindowSnap::left, "left"},
        {windows::WindowSnap::right, "right"},
        {windows::WindowSnap::top, "top"},
        {windows::WindowSnap::bottom, "bottom"},
        {windows::WindowSnap::center, "center"},
    }};
};

}  // namespace dorvane
