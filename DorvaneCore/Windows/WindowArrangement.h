#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows {

// The multi-window tiling layouts. Each owns a fixed table of unit rectangles (fractions
// of the work area, origin top-left); a position in the table is a slot, slot 0 being
// the one the front window takes when the layout starts.
enum class WindowArrangement {
    halves,
    verticalHalves,
    mainAndStack,
    stackAndMain,
    topAndPair,
    pairAndBottom,
    thirds,
    wideLeft,
    wideRight,
    wideCenter,
    grid,
};

std::string_view title(WindowArrangement arrangement);
std::span<const Rect> units(WindowArrangement arrangement);
std::size_t windowCount(WindowArrangement arrangement);

// The frames of the first min(windowCount, max(available, 0)) slots, in slot order. The
// area is made integral first; each edge is rounded to the nearest point (halves away
// from zero), and since touching slots share one unit edge value, the frames tile the
// area with no gap and no overlap.
std::vector<Rect> frames(WindowArrangement arrangement, int available, const Rect& area);

}  // namespace dorvane::windows

namespace dorvane {

template <>
struct EnumCases<windows::WindowArrangement> {
    using A = windows::WindowArrangement;
    static constexpr std::array<std::pair<A, std::string_view>, 11> table{{
        {A::halves, "halves"},
        {A::verticalHalves, "verticalHalves"},
        {A::mainAndStack, "mainAndStack"},
        {A::stackAndMain, "stackAndMain"},
        {A::topAndPair, "topAndPair"},
        {A::pairAndBottom, "pairAndBottom"},
        {A::thirds, "thirds"},
        {A::wideLeft, "wideLeft"},
        {A::wideRight, "wideRight"},
        {A::wideCenter, "wideCenter"},
        {A::grid, "grid"},
    }};
};

}  // namespace dorvane
