#pragma once

#include <optional>

#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows {

// What maximise remembers of a window: where it was, and where maximise put it.
struct WindowMaximizeSnapshot {
    Rect original;
    Rect maximized;

    // The frame a second press puts the window back to: `original` while the window still
    // sits where maximise put it (within 2 points); none once it has moved, or when
    // maximising did not change it.
    std::optional<Rect> restoration(const Rect& current) const;

    friend bool operator==(const WindowMaximizeSnapshot&, const WindowMaximizeSnapshot&) = default;
};

}  // namespace dorvane::windows
