#pragma once

#include <optional>

#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows {

// What maximise remembers of a window: where it was, and where maximise put it.
struct WindowMaximizeSnapshot {
    Rect original;
    Rect maximized;
    // Where a restore that failed left the window, when it moved it there.
    std::optional<Rect> leftPartWay = std::nullopt;

    // The frame a second press puts the window back to: `original` while the window still
    // sits where maximise put it (within 2 points); none once it has moved, or when
    // maximising did not change it.
    std::optional<Rect> restoration(const Rect& current) const;

    // A restore that started at `started` failed and left the window at `left`: remembered
    // when it moved the window (more than 2 points).
    void restoreFailed(const Rect& started, const Rect& left);
    // The frame a maximise from `current` remembers as the way back: `original` while the
    // window still sits where a failed restore left it (within 2 points), else `current`,
    // as for a window the person moved.
    Rect wayBack(const Rect& current) const;

    friend bool operator==(const WindowMaximizeSnapshot&, const WindowMaximizeSnapshot&) = default;
};

}  // namespace dorvane::windows
