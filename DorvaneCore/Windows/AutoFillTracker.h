#pragma once

#include <optional>
#include <set>

#include "DorvaneCore/Windows/CoordinateSpaces.h"
#include "DorvaneCore/Windows/WindowKey.h"

namespace dorvane::windows {

// Keeps automatic filling from filling a window again and again: a window is filled once
// while it stays in front, and may be filled again after another window was in front
// (the user may have un-filled it meanwhile).
struct AutoFillTracker {
    using Key = WindowKey;

    // The window in front at the last `allows` or `didFill`.
    std::optional<Key> front;
    // Windows filled automatically so far.
    std::set<Key> filled;

    // Whether the window may be filled now; it becomes the front window.
    bool allows(const Key& key, const Rect& frame, const Rect& area);
    void didFill(const Key& key);
    // Forgets windows that no longer exist.
    void retain(const std::set<Key>& keys);
    void reset();

    friend bool operator==(const AutoFillTracker&, const AutoFillTracker&) = default;
};

}  // namespace dorvane::windows
