#pragma once

#include <map>
#include <optional>
#include <set>

#include "DorvaneCore/Windows/CoordinateSpaces.h"
#include "DorvaneCore/Windows/WindowKey.h"

namespace dorvane::windows {

// The fill button's memory: per window, the frame it had before the toggle filled it.
// Decides the frame for the next press and whether a window counts as filled.
struct FillToggle {
    using Key = WindowKey;

    static constexpr double tolerance = 6;
    static constexpr double fallbackFraction = 2.0 / 3.0;

    // The frame each window had when the toggle last filled it.
    std::map<Key, Rect> saved;
    // Windows whose filled state has been seen since the fill.
    std::set<Key> confirmed;

    // Every edge within `tolerance` of the area's edge, bounds included.
    static bool isFilled(const Rect& frame, const Rect& area, double tolerance);
    // Shrunk to fit the area and pushed in from the edges it crosses.
    static Rect clamp(const Rect& frame, const Rect& area);
    // Two thirds of the area each way, centred, with integral origin and size.
    static Rect centered(const Rect& area);

    std::optional<Rect> savedFrame(const Key& key) const;

    // All the toggle keeps of one window: taken before a press and put back when the press
    // moved nothing (turned away as busy, failed or cancelled), so that it changes nothing.
    struct Memory {
        std::optional<Rect> saved;
        bool confirmed = false;
    };
    Memory memory(const Key& key) const;
    void restore(const Key& key, const Memory& memory);

    // The frame a press writes: the area for a window that is not filled (remembering its
    // frame); for a filled one, its remembered frame pulled into the area, or the centred
    // frame when nothing is remembered or the remembered frame would look filled too.
    Rect target(const std::optional<Key>& key, const Rect& current, const Rect& area);

    // Whether the window counts as filled, forgetting windows missing from `liveKeys`
    // (when given) and the saved frame of a filled window that has since been moved.
    bool observe(const std::optional<Key>& key, const std::optional<Rect>& frame, const std::optional<Rect>& area,
                 const std::optional<std::set<Key>>& liveKeys);
};

}  // namespace dorvane::windows
