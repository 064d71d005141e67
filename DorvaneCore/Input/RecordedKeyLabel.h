#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dorvane {

// How a recorded or typed combination is labelled: the modifier symbols in the
// order ⌃ ⌥ ⇧ ⌘ and then "Fn " (not the display order of modifierPrefix, which
// labels written before recording existed keep), then the key's name.
std::string recordedModifierPrefix(std::uint64_t modifiers);

// The key's name in the keyboard table ("↩", "空格", "←"); else `characters`
// upper-cased, when they hold something printable; else "键" and the code.
std::string recordedKeyName(std::uint16_t code, std::string_view characters);

// recordedModifierPrefix(modifiers) + recordedKeyName(code, characters).
std::string recordedKeyLabel(std::uint16_t code, std::uint64_t modifiers, std::string_view characters);

}  // namespace dorvane
