#include "DorvaneCore/Shortcuts/ShortcutKey.h"

#include <array>
#include <utility>

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane {

namespace {

// Display order of the modifier symbols.
constexpr std::array<std::pair<std::uint64_t, std::string_view>, 5> kSymbols{{
    {modifier::function, "Fn"},
    {modifier::control, "⌃"},
    {modifier::option, "⌥"},
    {modifier::shift, "⇧"},
    {modifier::command, "⌘"},
}};

// Codes of the modifier keys whose label already is the whole text (Caps Lock, 57, is an ordinary key here).
bool isLabelledModifierKey(std::uint16_t code) { return code >= 54 && code <= 63 && code != 57; }

// The modifier bits whose symbols open `label`, in any order, blanks between them allowed.
std::uint64_t symbolsLeading(std::string_view label) {
    std::uint64_t present = 0;
    for (;;) {
        while (!label.empty() && label.front() == ' ') label.remove_prefix(1);
        bool found = false;
        for (const auto& [bit, symbol] : kSymbols) {
            if (label.starts_with(symbol)) {
                present |= bit;
                label.remove_prefix(symbol.size());
                found = true;
                break;
            }
        }
        if (!found) return present;
    }
}

}  // namespace

std::string modifierPrefix(std::uint64_t modifiers, std::string_view separator) {
    std::string prefix;
    for (const auto& [bit, symbol] : kSymbols) {
        if ((modifiers & bit) == 0) continue;
        if (!prefix.empty()) prefix += separator;
        prefix += symbol;
    }
    return prefix;
}

bool ShortcutKey::isValid() const { return code < 128 && !label.empty() && (modifiers & ~modifier::allowed) == 0; }

std::string ShortcutKey::displayLabel(std::string_view separator) const {
    if (isLabelledModifierKey(code)) return label;
    const std::string prefix = modifierPrefix(modifiers & ~symbolsLeading(label), separator);
    if (prefix.empty()) return label;
    return prefix + std::string(separator) + label;
}

namespace {

constexpr auto shortcutKeyFields = [](auto& f, auto& key) {
    f.required("code", key.code);
    f.required("modifiers", key.modifiers);
    f.required("label", key.label);
};

}  // namespace

json::Json ShortcutKey::toJson() const { return json::writeFields(*this, shortcutKeyFields); }

ShortcutKey ShortcutKey::fromJson(const json::Json& value) { return json::readFields<ShortcutKey>(value, shortcutKeyFields); }

}  // namespace dorvane
