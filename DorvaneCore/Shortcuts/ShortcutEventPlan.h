#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "DorvaneCore/Shortcuts/ShortcutKey.h"

namespace dorvane {

// One synthetic key event to post.
struct ShortcutStroke {
    std::uint16_t code = 0;   // key that goes down or up
    std::uint64_t flags = 0;  // the complete event-flag word of the event
    bool down = false;
    bool modifier = false;  // a modifier change (a flags-changed event) rather than the main key

    friend bool operator==(const ShortcutStroke&, const ShortcutStroke&) = default;
};

// Turns a key into the exact ordered events that press it and release it. The
// shortcut sender posts `press`, keeps `release` while a shortcut is held and
// posts it on release; both lists are complete and in posting order.
struct ShortcutEventPlan {
    ShortcutEventPlan() = delete;

    struct ModifierKey {
        std::uint16_t code;
        std::uint64_t mask;
    };

    struct Strokes {
        std::vector<ShortcutStroke> press;
        std::vector<ShortcutStroke> release;
        friend bool operator==(const Strokes&, const Strokes&) = default;
    };

    // The keys pressed to replay a combination, in pressing order. Right-hand
    // modifiers are always replayed with these left-hand codes.
    static constexpr std::array<ModifierKey, 5> modifierKeys{{
        {55, modifier::command},
        {56, modifier::shift},
        {58, modifier::option},
        {59, modifier::control},
        {63, modifier::function},
    }};

    // The modifier bit of a modifier key (codes 54–63 except Caps Lock, 57).
    static std::optional<std::uint64_t> mask(std::uint16_t code);
    // The device-dependent (left/right) bit of a modifier key; 0 for Function and any other key.
    static std::uint64_t deviceMask(std::uint16_t code);

    // Both lists are empty for an invalid key.
    static Strokes strokes(const ShortcutKey& key);
};

}  // namespace dorvane
