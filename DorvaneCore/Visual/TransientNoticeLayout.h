#pragma once

#include <optional>
#include <string>

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Visual/TextMeasurer.h"

namespace dorvane {

// What one notice says: the title and a detail line, trimmed of white space
// and line breaks, dropped when nothing is left or it only repeats the title.
struct NoticeText {
    std::string title;
    std::optional<std::string> detail;

    NoticeText(std::string title, const std::optional<std::string>& detail);

    // What is spoken: the title and the detail joined by a full-width comma.
    std::string announcement() const;

    friend bool operator==(const NoticeText&, const NoticeText&) = default;
};

// The size and place of the notice card: 180 to 420 pt wide and never wider
// than the area less 32, centred on the area and hanging 32 pt under its top
// edge, yet never lower than 16 pt above its bottom edge. Frames are in screen
// points with y growing upwards.
struct TransientNoticeLayout {
    static constexpr double lifetimeSeconds = 3;
    static constexpr double minimumWidth = 180;
    static constexpr double maximumWidth = 420;
    static constexpr double minimumHeight = 48;
    // Kept clear of the area: the width and height limit, and the offset under the top.
    static constexpr double areaInset = 32;
    static constexpr double bottomClearance = 16;
    // The card's content: padding on every side, the icon and the space beside it,
    // and the space between title and detail.
    static constexpr double padding = 16;
    static constexpr double iconSize = 16;
    static constexpr double iconSpacing = 10;
    static constexpr double lineSpacing = 4;
    static constexpr double horizontalChrome = padding + iconSize + iconSpacing + padding;
    static constexpr double cornerRadius = 14;
    static constexpr TextFont iconFont{16, FontWeight::medium};
    static constexpr TextFont titleFont{14, FontWeight::medium};
    static constexpr TextFont detailFont{12, FontWeight::regular};

    // An area without width or height shows nothing (and leaves a shown notice alone).
    static bool accepts(const geometry::Rect& area);
    static double width(const NoticeText& text, double areaWidth, const TextMeasurer& measure);
    // The content's height at `width`, at least 48, at most the area's height less 32.
    static double height(double fittingHeight, double areaHeight);
    static geometry::Rect frame(const geometry::Rect& area, double width, double height);
};

}  // namespace dorvane
