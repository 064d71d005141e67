#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "DorvaneCore/Visual/TextMeasurer.h"

namespace dorvane {

// The fixed metrics of the launcher panel's content, in points. The tile grid's own
// (64-point tiles, 8 apart) are launcher_grid's.
struct LauncherViewMetrics {
    // Around the whole content, and between the error banner and the list under it.
    static constexpr double padding = 16;
    static constexpr double stackSpacing = 12;

    // The error banner: one row of the symbol and up to two lines of text on a red card.
    static constexpr double bannerHeight = 44;
    static constexpr double bannerHorizontalPadding = 14;
    static constexpr double bannerSpacing = 8;
    static constexpr double bannerCornerRadius = 8;
    static constexpr double bannerFillOpacity = 0.25;
    static constexpr int bannerLineLimit = 2;
    static constexpr TextFont bannerFont{12, FontWeight::regular};
    static constexpr double bannerSymbolSize = 13;

    // The list: sections under one another, each a header over its grid.
    static constexpr double listVerticalPadding = 4;
    static constexpr double sectionSpacing = 16;
    static constexpr double headerToGrid = 8;
    static constexpr double headerHeight = 20;
    static constexpr double headerPadding = 6;  // left and right of the header row
    static constexpr double headerSpacing = 6;  // between title and count
    static constexpr TextFont titleFont{15, FontWeight::semibold};
    static constexpr TextFont countFont{13, FontWeight::regular};

    // A tile: the icon in the middle, the running dot at its lower corner on the far side.
    static constexpr double iconSize = 44;
    static constexpr double tileCornerRadius = 10;
    static constexpr double runningDotSize = 7;
    static constexpr double runningDotOffset = 2;  // beyond the icon's corner, each way
    static constexpr double runningDotStroke = 1.5;
    static constexpr double pressedScale = 0.92;
    static constexpr double previewBorder = 1;

    // The name bubble under a previewed tile: its bottom 14 points below the tile's.
    static constexpr TextFont bubbleFont{11, FontWeight::medium};
    static constexpr double bubbleHorizontalPadding = 8;
    static constexpr double bubbleVerticalPadding = 3;
    static constexpr double bubbleDrop = 14;

    // The empty state's line under a dashed square.
    static constexpr std::string_view emptyMessage = "未找到已安装的应用";
    static constexpr double emptySymbolSize = 32;
    static constexpr double emptySymbolOpacity = 0.35;
    static constexpr double emptyTopPadding = 16;
    static constexpr double emptySpacing = 12;
    static constexpr TextFont emptyFont{14, FontWeight::medium};
    static constexpr double emptyTextOpacity = 0.55;

    // The panel grows to show its message whole: the empty state's line, or the error
    // banner on one line, up to this much content width (a longer error wraps instead).
    static constexpr double messageMaximumWidth = 360;

    // The content width the message needs (0 while neither shows), measured with `measure`.
    static double messageWidth(bool empty, const std::optional<std::string>& error, const TextMeasurer& measure);
};

}  // namespace dorvane
