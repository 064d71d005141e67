#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Launcher/LauncherSections.h"
#include "DorvaneCore/Visual/TextMeasurer.h"

namespace dorvane {

// Where the launcher's sections, headers and tiles go in its scrolling list of a given
// width. Frames have y growing downwards: sections in list coordinates, headers and
// tiles in their section's. Beside a toolbar on the right everything hugs the right
// edge and rows fill from it; elsewhere the left edge.
struct LauncherListLayout {
    struct Tile {
        std::size_t index;     // into the section's apps
        geometry::Rect frame;  // 64 × 64
        friend bool operator==(const Tile&, const Tile&) = default;
    };
    struct Section {
        geometry::Rect frame;   // the whole width of the list
        geometry::Rect header;  // the title and count row at its ideal width
        int columns = 1;        // of this section's grid: no more than it has tiles
        std::vector<Tile> tiles;
    };

    int columns = 1;  // that the width holds
    std::vector<Section> sections;
    double height = 0;  // of the whole list, padding included

    static LauncherListLayout make(std::span<const LauncherSection> sections, double width, ToolbarSide side,
                                   const TextMeasurer& measure);

    // The tile count as the header shows it.
    static std::string countText(const LauncherSection& section);
    static double headerWidth(const LauncherSection& section, const TextMeasurer& measure);
};

}  // namespace dorvane
