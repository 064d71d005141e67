#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// Device-independent modifier bits of the event-flag word.
namespace modifier {
inline constexpr std::uint64_t shift = 0x20000;
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t option = 0x80000;
inline constexpr std::uint64_t command = 0x100000;
inline constexpr std::uint64_t function = 0x800000;
// The only bits a valid key may carry.
inline constexpr std::uint64_t allowed = shift | control | option | command | function;  // 0x9E0000
}  // namespace modifier

// The symbols of the modifier bits set in `modifiers`, in the fixed display
// order Fn ⌃ ⌥ ⇧ ⌘, joined by `separator`. Every view that writes modifier
// symbols goes through this or ShortcutKey::displayLabel.
std::string modifierPrefix(std::uint64_t modifiers, std::string_view separator = {});

// A keyboard combination: one main key and the modifiers held with it.
struct ShortcutKey {
    std::uint16_t code = 0;       // virtual key code; 0–127 are usable
    std::uint64_t modifiers = 0;  // event-flag bits
    std::string label;            // as recorded or typed; may already begin with modifier symbols

    ShortcutKey() = default;
    ShortcutKey(std::uint16_t code, std::uint64_t modifiers, std::string label)
        : code(code), modifiers(modifiers), label(std::move(label)) {}

    friend bool operator==(const ShortcutKey&, const ShortcutKey&) = default;

    // A code below 128, a label, and no modifier bit outside modifier::allowed.
    bool isValid() const;

    // The label shown on chips and lists: the symbols of the held modifiers in
    // display order, then the label. A modifier key (other than Caps Lock)
    // shows its label alone. A symbol the label already begins with is not
    // written again, whatever order the label has it in ("⌘Fn K" stays as it
    // is), so a recorded label never shows a doubled symbol. `separator` goes
    // between the added symbols and before the label (" " gives "⌃ ⇧ K").
    std::string displayLabel(std::string_view separator = {}) const;

    // {"code":…,"modifiers":…,"label":…}; all three required. A code outside
    // 0–65535 or a negative or fractional number fails.
    json::Json toJson() const;
    static ShortcutKey fromJson(const json::Json& value);
};

}  // namespace dorvane
