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

    // Where a press that failed once its writes were sent left a window part way, and the
    // frame that stays its way back while it sits there.
    struct PartWay {
        Rect frame;
        Rect wayBack;
    };
    std::map<Key, PartWay> partWay;

    // All the toggle keeps of one window: taken before a press and put back when the press
    // moved nothing (turned away as busy, failed or cancelled), so that it changes nothing.
    struct Memory {
        std::optional<Rect> saved;
        bool confirmed = false;
        std::optional<PartWay> partWay;
    };
    Memory memory(const Key& key) const;
    void restore(const Key& key, const Memory& memory);

    // A press that started with the window at `started` and the memory `before` failed once
    // its writes were sent, leaving the window at `left`. When it moved the window, the next
    // press that finds it there keeps the older way back (the frame a fill started from, or
    // the frame an un-fill was taking it back to) instead of remembering the half-moved frame.
    void leftPartWay(const Key& key, const Rect& started, const Rect& left, const Memory& before);

    // The frame a press writes: the area for a window that is not filled (remembering its
    // frame); for a filled one, its remembered frame pulled into the area, or the centred
    // frame when nothing is remembered or the remembered frame would look filled too.
    Rect target(const std::optional<Key>& key, const Rect& current, const Rect& area);

    // Whether the window counts as filled, forgetting windows missing from `liveKeys`
    // (when given) and the saved frame of a filled window that has since been moved.
    bool observe(const std::optional<Key>& key, const std::optional<Rect>& frame, const std::optional<Rect>& area,
                 const std::optional<std::set<Key>>& liveKeys);

private:
    // Takes the window's part-way record; its way back when the window is still where the
    // failed press left it, none when the person has moved it since.
    std::optional<Rect> resumePartWay(const Key& key, const Rect& current);
};

}  // namespace dorvane::windows
