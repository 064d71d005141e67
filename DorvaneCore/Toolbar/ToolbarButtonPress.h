#pragma once

#include <optional>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// Tells one press on a toolbar button apart as a tap, a press held until
// release, a drag that scrolls the strip or a drag of the whole toolbar, and
// says what the button does at each moment.
//
// Pointer positions and the window origin are screen points with the origin at
// the bottom left and y growing upwards (the toolkit's top-left positions must
// be flipped first): so a finger moving up a vertical strip scrolls it forwards
// and a dragged handle follows the finger.
class ToolbarButtonPress {
public:
    // A scroll-drag starts past this distance along the strip's axis.
    static constexpr double scrollThreshold = 6;
    // A toolbar drag starts past this distance.
    static constexpr double dragThreshold = 10;

    // What a drag along the axis does; a scroll-drag wins when the owner wired both.
    enum class Drag { none, scrollsStrip, movesToolbar };

    struct Options {
        Drag drag = Drag::none;
        bool horizontal = false;  // drags are measured along x rather than y
    };

    // What the button does now, each field only when it applies.
    struct Reaction {
        std::optional<bool> highlight;  // turn the pressed look on or off
        bool press = false;             // call onPress
        bool release = false;           // call onRelease (once per press)
        std::optional<double> scrollStep;               // add to the strip's offset
        std::optional<geometry::Point> toolbarOrigin;  // the panel's new origin
        bool tap = false;                               // call onTap

        friend bool operator==(const Reaction&, const Reaction&) = default;
    };

    explicit ToolbarButtonPress(Options options) : options_(options) {}

    // The button went down at `pointer`; `windowOrigin` is the panel's origin then.
    Reaction begin(geometry::Point pointer, geometry::Point windowOrigin);
    // The pointer moved; `inside` says whether it is over the button.
    Reaction move(geometry::Point pointer, bool inside);
    // The button came up, over the button or not.
    Reaction finish(bool inside);
    // The press ended without a release (the grab was lost): never a tap.
    Reaction abort();

    bool dragged() const { return dragged_; }

private:
    Reaction end(bool tap);
    void setHighlight(Reaction& reaction, bool on);

    Options options_;
    geometry::Point start_;
    geometry::Point windowOrigin_;
    std::optional<geometry::Point> lastScroll_;
    bool highlighted_ = false;
    bool released_ = false;
    bool dragged_ = false;
};

}  // namespace dorvane
