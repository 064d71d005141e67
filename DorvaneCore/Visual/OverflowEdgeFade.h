#pragma once

namespace dorvane {

// Which edges of a scrolling view fade out: an edge fades only while content
// lies hidden beyond it, over 24 pt.
struct OverflowEdgeFade {
    static constexpr double fadeLength = 24;

    bool fadeTop = false;
    bool fadeBottom = false;

    // `offset` is how far the content is scrolled down (with any top inset),
    // the heights those of the content and of the visible part.
    static OverflowEdgeFade forScroll(double offset, double contentHeight, double containerHeight);

    friend constexpr bool operator==(const OverflowEdgeFade&, const OverflowEdgeFade&) = default;
};

}  // namespace dorvane
