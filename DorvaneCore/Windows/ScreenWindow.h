#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <span>

#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows {

// One window of the window-server list (front to back), in window-server coordinates
// (top-left origin).
struct ScreenWindow {
    std::uint32_t number = 0;
    std::int32_t pid = 0;
    Rect bounds;
    int layer = 0;

    // The frontmost ordinary (layer 0), usable window under `point` whose number is not
    // excluded; left and top edges count as inside, right and bottom ones do not.
    static std::optional<ScreenWindow> hit(Point point, std::span<const ScreenWindow> windows,
                                           const std::set<std::uint32_t>& excluding);
    // The window numbered `number` when the same rules would let a click pick it; none for
    // number 0 (no window), a window no longer listed, or one the rules skip.
    static std::optional<ScreenWindow> numbered(std::uint32_t number, std::span<const ScreenWindow> windows,
                                                const std::set<std::uint32_t>& excluding);
    // What a press picks when it names the window under the pointer (`pressed`) and, for
    // one above the normal level, the first ordinary window under the pointer (`beneath`;
    // 0 for none): an ordinary pressed window itself; beneath a floating window, the
    // window below it; nothing on the menu bar, a menu, or anything at their level or
    // above. Whatever it finds is held to the rules of `numbered`.
    static std::optional<ScreenWindow> pressed(std::uint32_t pressed, std::uint32_t beneath,
                                               std::span<const ScreenWindow> windows,
                                               const std::set<std::uint32_t>& excluding);

    // The menu bar's layer; menus, and what the window server shows over them, lie at or
    // above it, floating windows between it and the ordinary layer 0.
    static constexpr int menuLayer = 24;

    friend bool operator==(const ScreenWindow&, const ScreenWindow&) = default;
};

}  // namespace dorvane::windows
