#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"

#include <ranges>

namespace dorvane {

namespace {

struct ModifierKeyBits {
    std::optional<std::uint64_t> mask;
    std::uint64_t deviceMask;
};

// Indexed by key code - 54.
constexpr std::array<ModifierKeyBits, 10> kModifierKeyBits{{
    {modifier::command, 0x10},    // 54 right Command
    {modifier::command, 0x8},     // 55 Command
    {modifier::shift, 0x2},       // 56 Shift
    {std::nullopt, 0},            // 57 Caps Lock
    {modifier::option, 0x20},     // 58 Option
    {modifier::control, 0x1},     // 59 Control
    {modifier::shift, 0x4},       // 60 right Shift
    {modifier::option, 0x40},     // 61 right Option
    {modifier::control, 0x2000},  // 62 right Control
    {modifier::function, 0},      // 63 Function
}};

const ModifierKeyBits* modifierKeyBits(std::uint16_t code) {
    if (code < 54 || code > 63) return nullptr;
    return &kModifierKeyBits[code - 54];
}

}  // namespace

std::optional<std::uint64_t> ShortcutEventPlan::mask(std::uint16_t code) {
    const auto* bits = modifierKeyBits(code);
    return bits ? bits->mask : std::nullopt;
}

std::uint64_t ShortcutEventPlan::deviceMask(std::uint16_t code) {
    const auto* bits = modifierKeyBits(code);
    return bits ? bits->deviceMask : 0;
}

ShortcutEventPlan::Strokes ShortcutEventPlan::strokes(const ShortcutKey& key) {
    Strokes plan;
    if (!key.isValid()) return plan;

    if (const auto own = mask(key.code)) {
        // A modifier key on its own: the key's recorded modifiers do not matter.
        plan.press.push_back({key.code, *own | deviceMask(key.code), true, true});
        plan.release.push_back({key.code, 0, false, true});
        return plan;
    }

    std::vector<ModifierKey> active;
    for (const auto& candidate : modifierKeys) {
        if ((candidate.mask & key.modifiers) != 0) active.push_back(candidate);
    }

    std::uint64_t flags = 0;
    for (const auto& [code, bit] : active) {
        flags |= bit | deviceMask(code);
        plan.press.push_back({code, flags, true, true});
    }
    plan.press.push_back({key.code, flags, true, false});

    plan.release.push_back({key.code, flags, false, false});
    for (const auto& [code, bit] : active | std::views::reverse) {
        flags &= ~(bit | deviceMask(code));
        plan.release.push_back({code, flags, false, true});
    }
    return plan;
}

}  // namespace dorvane
