#pragma once

#include <optional>

namespace dorvane {

// How the strip's ends fade while buttons lie beyond them. The mask is a
// gradient along the strip from its start (the top of a vertical strip, the left
// end of a horizontal one: what offset 0 shows) to its end, with stops at
// 0, fraction, 1 − fraction and 1; an end that fades is transparent at its stop.
struct ToolbarStripFade {
    bool start = false;
    bool end = false;
    double fraction = 0.25;

    friend bool operator==(const ToolbarStripFade&, const ToolbarStripFade&) = default;
};

// One wheel or trackpad event as the strip reads it. Positive values scroll
// towards the strip's start: a wheel turned away from the user or to the left.
struct ToolbarWheelDelta {
    double horizontal = 0;
    double vertical = 0;
    // Pixel deltas of a trackpad; otherwise the deltas count wheel notches
    // (angle delta / 120) and each notch moves 16 points.
    bool precise = false;
};

// The scroll offset of the expanded toolbar's strip of buttons: how far it may
// go, where the wheel takes it and which ends fade. Lengths are points along
// the strip.
struct ToolbarStripScroll {
    static constexpr double notchLength = 16;
    // A move larger than this scrolls buttons from under the pointer, which
    // therefore loses its hover.
    static constexpr double hoverSlack = 0.5;

    int buttonCount = 0;
    double clipLength = 0;
    bool horizontal = false;

    double contentLength() const;
    // How far the content reaches past the clip, 0 when it fits.
    double maxOffset() const;
    // Within 0…maxOffset; a value that is not a number counts as 0.
    double clamped(double offset) const;
    // None when nothing is hidden beyond either end (no mask).
    std::optional<ToolbarStripFade> fade(double offset) const;
    // The clamped offset a wheel event leads to, or none when the content fits
    // and the event should go on to the parent.
    std::optional<double> wheel(double offset, ToolbarWheelDelta delta) const;

    static bool losesHover(double from, double to);
};

}  // namespace dorvane
