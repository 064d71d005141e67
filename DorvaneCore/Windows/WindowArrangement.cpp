#include "DorvaneCore/Windows/WindowArrangement.h"

#include <algorithm>
#include <cmath>

namespace dorvane::windows {

namespace {

// The doubles closest to 1/3 and 2/3: a + a is exactly b, and the widths 1 − b and
// 1 − a, computed in double, bring every right-hand slot to exactly 1.
constexpr double a = 1.0 / 3.0;
constexpr double b = 2.0 / 3.0;

constexpr std::array<Rect, 2> halvesUnits{{{0, 0, 0.5, 1}, {0.5, 0, 0.5, 1}}};
constexpr std::array<Rect, 2> verticalHalvesUnits{{{0, 0, 1, 0.5}, {0, 0.5, 1, 0.5}}};
constexpr std::array<Rect, 3> mainAndStackUnits{{{0, 0, 0.5, 1}, {0.5, 0, 0.5, 0.5}, {0.5, 0.5, 0.5, 0.5}}};
constexpr std::array<Rect, 3> stackAndMainUnits{{{0.5, 0, 0.5, 1}, {0, 0, 0.5, 0.5}, {0, 0.5, 0.5, 0.5}}};
constexpr std::array<Rect, 3> topAndPairUnits{{{0, 0, 1, 0.5}, {0, 0.5, 0.5, 0.5}, {0.5, 0.5, 0.5, 0.5}}};
constexpr std::array<Rect, 3> pairAndBottomUnits{{{0, 0.5, 1, 0.5}, {0, 0, 0.5, 0.5}, {0.5, 0, 0.5, 0.5}}};
constexpr std::array<Rect, 3> thirdsUnits{{{0, 0, a, 1}, {a, 0, a, 1}, {b, 0, 1 - b, 1}}};
constexpr std::array<Rect, 2> wideLeftUnits{{{0, 0, b, 1}, {b, 0, 1 - b, 1}}};
constexpr std::array<Rect, 2> wideRightUnits{{{a, 0, 1 - a, 1}, {0, 0, a, 1}}};
constexpr std::array<Rect, 3> wideCenterUnits{{{0.25, 0, 0.5, 1}, {0, 0, 0.25, 1}, {0.75, 0, 0.25, 1}}};
constexpr std::array<Rect, 4> gridUnits{
    {{0, 0, 0.5, 0.5}, {0.5, 0, 0.5, 0.5}, {0, 0.5, 0.5, 0.5}, {0.5, 0.5, 0.5, 0.5}}};

}  // namespace

std::string_view title(WindowArrangement arrangement) {
    switch (arrangement) {
        case WindowArrangement::halves: return "左右平分";
        case WindowArrangement::verticalHalves: return "上下平分";
        case WindowArrangement::mainAndStack: return "左一右二";
        case WindowArrangement::stackAndMain: return "左二右一";
        case WindowArrangement::topAndPair: return "上一下二";
        case WindowArrangement::pairAndBottom: return "上二下一";
        case WindowArrangement::thirds: return "三列平分";
        case WindowArrangement::wideLeft: return "左大右小";
        case WindowArrangement::wideRight: return "左小右大";
        case WindowArrangement::wideCenter: return "中间大两侧小";
        case WindowArrangement::grid: return "田字格";
    }
    return {};
}

std::span<const Rect> units(WindowArrangement arrangement) {
    switch (arrangement) {
        case WindowArrangement::halves: return halvesUnits;
        case WindowArrangement::verticalHalves: return verticalHalvesUnits;
        case WindowArrangement::mainAndStack: return mainAndStackUnits;
        case WindowArrangement::stackAndMain: return stackAndMainUnits;
        case WindowArrangement::topAndPair: return topAndPairUnits;
        case WindowArrangement::pairAndBottom: return pairAndBottomUnits;
        case WindowArrangement::thirds: return thirdsUnits;
        case WindowArrangement::wideLeft: return wideLeftUnits;
        case WindowArrangement::wideRight: return wideRightUnits;
        case WindowArrangement::wideCenter: return wideCenterUnits;
        case WindowArrangement::grid: return gridUnits;
    }
    return {};
}

std::size_t windowCount(WindowArrangement arrangement) { return units(arrangement).size(); }

std::vector<Rect> frames(WindowArrangement arrangement, int available, const Rect& area) {
    const Rect integral = area.integral();
    const std::span<const Rect> slots = units(arrangement);
    const std::size_t count = std::min(slots.size(), static_cast<std::size_t>(std::max(available, 0)));
    // Multiplication first, then addition; std::round takes halves away from zero.
    const auto xAt = [&](double unit) { return std::round(integral.minX() + unit * integral.width); };
    const auto yAt = [&](double unit) { return std::round(integral.minY() + unit * integral.height); };
    std::vector<Rect> result;
    result.reserve(count);
    for (const Rect& unit : slots.first(count)) {
        const double left = xAt(unit.minX());
        const double top = yAt(unit.minY());
        const double right = xAt(unit.maxX());
        const double bottom = yAt(unit.maxY());
        result.push_back(Rect{left, top, right - left, bottom - top});
    }
    return result;
}

}  // namespace dorvane::windows
