#include "DorvaneCore/Input/RecordedKeyLabel.h"

#include <algorithm>
#include <array>
#include <utility>

#include "DorvaneCore/Input/KeyboardLayout.h"
#include "DorvaneCore/Shortcuts/ShortcutKey.h"
#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

namespace {

constexpr std::array<std::pair<std::uint64_t, std::string_view>, 5> kPrefixSymbols{{
    {modifier::control, "⌃"},
    {modifier::option, "⌥"},
    {modifier::shift, "⇧"},
    {modifier::command, "⌘"},
    {modifier::function, "Fn "},
}};

// Control characters (keypad Enter types U+0003) would make a label nobody can see.
bool isPrintable(std::string_view characters) {
    return std::ranges::any_of(characters, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != 0x7F;
    });
}

}  // namespace

std::string recordedModifierPrefix(std::uint64_t modifiers) {
    std::string prefix;
    for (const auto& [bit, symbol] : kPrefixSymbols) {
        if ((modifiers & bit) != 0) prefix += symbol;
    }
    return prefix;
}

std::string recordedKeyName(std::uint16_t code, std::string_view characters) {
    if (const auto* key = KeyboardLayout::key(code); key != nullptr && !key->name.empty()) return std::string(key->name);
    if (isPrintable(characters)) return text::upperCased(characters);
    return "键" + std::to_string(code);
}

std::string recordedKeyLabel(std::uint16_t code, std::uint64_t modifiers, std::string_view characters) {
    return recordedModifierPrefix(modifiers) + recordedKeyName(code, characters);
}

}  // namespace dorvane
