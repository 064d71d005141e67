#pragma once

#include <stdexcept>
#include <string_view>

#include "DorvaneCore/Shortcuts/ShortcutKey.h"

namespace dorvane {

// A typed combination that names no key, or names one in a way that cannot be pressed.
class KeyCombinationError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Reads a combination typed as words joined by "+", in any ASCII case: modifiers
// (cmd/command, shift, ctrl/control, alt/opt/option, fn, and rcmd, rshift, ralt/ropt,
// rctrl) and one key, a character of the main keyboard ("k", "1", "/") or a key's
// word ("return", "f5", "left", "keypad-enter"). "cmd+shift+k" gives
// {40, Shift | Command, "⇧⌘K"}. A modifier alone is that modifier key ("opt" gives
// {58, Option, "⌥"}). The label is the one recording the combination would give.
// Throws KeyCombinationError with a message naming the offending part.
ShortcutKey parseKeyCombination(std::string_view text);

}  // namespace dorvane
