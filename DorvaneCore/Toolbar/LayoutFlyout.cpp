#include "DorvaneCore/Toolbar/LayoutFlyout.h"

#include <algorithm>

namespace dorvane {

using geometry::Rect;
using geometry::Size;

namespace {

// The arrangements' slots, slot 0 first: the front window's slot is the one
// drawn highlighted. Thirds are the doubles nearest 1/3 and 2/3, so that
// touching slots share one edge value.
constexpr double third = 1.0 / 3.0;
constexpr double twoThirds = 2.0 / 3.0;

struct Arrangement {
    std::string_view rawValue;
    std::string_view title;
    std::vector<Rect> slots;
};

const std::vector<Arrangement>& arrangements() {
    static const std::vector<Arrangement> all{
        {"halves", "左右平分", {{0, 0, 0.5, 1}, {0.5, 0, 0.5, 1}}},
        {"verticalHalves", "上下平分", {{0, 0, 1, 0.5}, {0, 0.5, 1, 0.5}}},
        {"mainAndStack", "左一右二", {{0, 0, 0.5, 1}, {0.5, 0, 0.5, 0.5}, {0.5, 0.5, 0.5, 0.5}}},
        {"stackAndMain", "左二右一", {{0.5, 0, 0.5, 1}, {0, 0, 0.5, 0.5}, {0, 0.5, 0.5, 0.5}}},
        {"topAndPair", "上一下二", {{0, 0, 1, 0.5}, {0, 0.5, 0.5, 0.5}, {0.5, 0.5, 0.5, 0.5}}},
        {"pairAndBottom", "上二下一", {{0, 0.5, 1, 0.5}, {0, 0, 0.5, 0.5}, {0.5, 0, 0.5, 0.5}}},
        {"thirds", "三列平分", {{0, 0, third, 1}, {third, 0, third, 1}, {twoThirds, 0, 1 - twoThirds, 1}}},
        {"wideLeft", "左大右小", {{0, 0, twoThirds, 1}, {twoThirds, 0, 1 - twoThirds, 1}}},
        {"wideRight", "左小右大", {{third, 0, 1 - third, 1}, {0, 0, third, 1}}},
        {"wideCenter", "中间大两侧小", {{0.25, 0, 0.5, 1}, {0, 0, 0.25, 1}, {0.75, 0, 0.25, 1}}},
        {"grid", "田字格", {{0, 0, 0.5, 0.5}, {0.5, 0, 0.5, 0.5}, {0, 0.5, 0.5, 0.5}, {0.5, 0.5, 0.5, 0.5}}},
    };
    return all;
}

std::vector<LayoutFlyoutEntry> makeEntries() {
    using Kind = LayoutChoice::Kind;
    std::vector<LayoutFlyoutEntry> entries{
        {{Kind::snap, "fill"}, "填充", {{Rect{0, 0, 1, 1}, true}}},
        {{Kind::snap, "center"}, "居中", {{Rect{0.15, 0.1, 0.7, 0.8}, true}}},
    };
    for (const Arrangement& arrangement : arrangements()) {
        LayoutFlyoutEntry entry{{Kind::arrange, arrangement.rawValue}, arrangement.title, {}};
        for (const Rect& slot : arrangement.slots) entry.cells.push_back({slot, entry.cells.empty()});
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace

const std::vector<LayoutFlyoutEntry>& LayoutFlyout::entries() {
    static const std::vector<LayoutFlyoutEntry> all = makeEntries();
    return all;
}

std::vector<Rect> LayoutFlyout::tileFrames(std::size_t count, Size panel) {
    const std::size_t rows = (count + tilesPerRow - 1) / tilesPerRow;
    const std::size_t columns = std::min<std::size_t>(count, tilesPerRow);
    const auto extent = [](std::size_t n, double length) { return n == 0 ? 0 : n * length + (n - 1) * spacing; };
    const double left = (panel.width - extent(columns, tile.width) - 2 * horizontalPadding) / 2 + horizontalPadding;
    const double top = (panel.height - extent(rows, tile.height) - 2 * verticalPadding) / 2 + verticalPadding;
    std::vector<Rect> frames;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t row = i / tilesPerRow;
        const std::size_t column = i % tilesPerRow;
        frames.push_back(Rect{left + column * (tile.width + spacing), top + row * (tile.height + spacing), tile.width,
                              tile.height});
    }
    return frames;
}

std::vector<Rect> LayoutFlyout::glyphCellFrames(std::span<const LayoutGlyphCell> cells, Size size) {
    const Rect area = Rect{0, 0, size.width, size.height}.insetBy(5, 5);
    std::vector<Rect> frames;
    if (area.isNull()) return frames;
    for (const LayoutGlyphCell& cell : cells) {
        const Rect frame{area.minX() + cell.unit.minX() * area.width, area.minY() + cell.unit.minY() * area.height,
                         cell.unit.width * area.width, cell.unit.height * area.height};
        const Rect inset = frame.insetBy(1, 1);
        frames.push_back(inset.isNull() ? Rect{frame.midX(), frame.midY(), 0, 0} : inset);
    }
    return frames;
}

double LayoutFlyout::tileBackgroundOpacity(bool pressed, bool hovering) {
    if (pressed) return 0.08;
    return hovering ? 0.06 : 0;
}

}  // namespace dorvane
