#pragma once

#include <optional>
#include <vector>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// The footer buttons of the expanded toolbar, in the footer's order (the first
// sits nearest the strip).
enum class ToolbarFooterButton { application, window, resolution, settings, collapse };

// Where the parts of the expanded toolbar's content go: a scrolling strip of
// configurable buttons along the docked edge and a fixed footer after it.
//
// Every frame is in the content view's own coordinates with y growing downwards
// (origin at its top-left corner), so the numbers are widget coordinates as they
// stand; strip button frames are inside the scrolling document, footer, grip,
// pedestal and clip frames inside the content view.
struct ToolbarStripLayout {
    using Rect = geometry::Rect;
    using Size = geometry::Size;

    std::optional<Rect> grip;  // only a vertical strip places it
    Rect pedestal;             // the separator between strip and footer
    std::vector<Rect> footer;  // in footerButtons() order
    Rect clip;                 // the strip's visible window
    Size documentSize;         // the scrolling document, at least as long as the clip
    std::vector<Rect> strip;   // one per strip button, in the document
    bool horizontal = false;

    // The strip's length along its axis: what the offset scrolls through.
    double clipLength() const { return horizontal ? clip.width : clip.height; }
    // The document's frame in the clip at a scroll offset.
    Rect documentFrame(double offset) const;

    static std::vector<ToolbarFooterButton> footerButtons(bool applicationButton, bool windowButton);
    // The footer's length along the strip: 8 + 42 per footer button.
    static double footerLength(bool applicationButton, bool windowButton);
    // max(n × 64 − 6, 0): buttons 58 long every 64 points.
    static double contentLength(int stripButtonCount);

    static ToolbarStripLayout make(Size bounds, ToolbarSide side, bool applicationButton, bool windowButton,
                                   int stripButtonCount);
};

}  // namespace dorvane
