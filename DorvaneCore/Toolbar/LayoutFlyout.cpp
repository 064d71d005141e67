#include "DorvaneCore/Toolbar/LayoutFlyout.h"

#include <algorithm>

#include "DorvaneCore/Windows/WindowArrangement.h"
#include "DorvaneCore/Windows/WindowSnap.h"

namespace dorvane {

using geometry::Rect;
using geometry::Size;

namespace {

std::vector<LayoutFlyoutEntry> makeEntries() {
    using Kind = LayoutChoice::Kind;
    std::vector<LayoutFlyoutEntry> entries{
        {{Kind::snap, rawValue(windows::WindowSnap::fill)}, windows::title(windows::WindowSnap::fill), {{Rect{0, 0, 1, 1}, true}}},
        {{Kind::snap, rawValue(windows::WindowSnap::center)}, windows::title(windows::WindowSnap::center), {{Rect{0.15, 0.1, 0.7, 0.8}, true}}},
    };
    for (const windows::WindowArrangement arrangement : allCases<windows::WindowArrangement>()) {
        LayoutFlyoutEntry entry{{Kind::arrange, rawValue(arrangement)}, windows::title(arrangement), {}};
        for (const Rect& slot : windows::units(arrangement)) entry.cells.push_back({slot, entry.cells.empty()});
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
