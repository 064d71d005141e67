#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DorvaneCore/Shortcuts/ShortcutIcon.h"
#include "DorvaneCore/Shortcuts/ShortcutKey.h"
#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// A keyboard combination the user has named; the toolbar shows it as a button
// and the shortcut sender replays it.
struct NamedShortcut {
    // How the combination is pressed.
    enum class Mode { press, doublePress, hold, tapHold };

    // The longest name, in user-perceived characters of the untrimmed name.
    static constexpr std::size_t maximumNameLength = 32;

    std::string id;  // the toolbar operation id is "shortcut:" + id
    std::string name;
    ShortcutKey key;
    ShortcutIcon icon = ShortcutIcon::keyboard;
    Mode mode = Mode::press;
    bool enabled = true;

    NamedShortcut() = default;
    NamedShortcut(std::string id, std::string name, ShortcutKey key, Mode mode = Mode::press,
                  ShortcutIcon icon = ShortcutIcon::keyboard, bool enabled = true)
        : id(std::move(id)), name(std::move(name)), key(std::move(key)), icon(icon), mode(mode), enabled(enabled) {}

    friend bool operator==(const NamedShortcut&, const NamedShortcut&) = default;

    // The key is valid, the name is not blank (Unicode white space, U+3000
    // included) and has at most 32 characters counted with its surrounding blanks.
    bool isValid() const;

    // The mode a demonstrated gesture stands for.
    static Mode resolvedMode(int clicks, bool holdsLast);

    // Keys written in the order id, name, key, mode, icon, enabled. Reading:
    // "id", "name" and "key" are required; a missing "mode" is press and an
    // unknown one fails; a missing or unknown "icon" text is keyboard; a
    // missing "enabled" is true.
    json::Json toJson() const;
    static NamedShortcut fromJson(const json::Json& value);
};

template <>
struct EnumCases<NamedShortcut::Mode> {
    static constexpr std::array<std::pair<NamedShortcut::Mode, std::string_view>, 4> table{{
        {NamedShortcut::Mode::press, "press"},
        {NamedShortcut::Mode::doublePress, "doublePress"},
        {NamedShortcut::Mode::hold, "hold"},
        {NamedShortcut::Mode::tapHold, "tapHold"},
    }};
};

std::string_view title(NamedShortcut::Mode mode);
int clickCount(NamedShortcut::Mode mode);
// Whether the last press is held until the button is let go.
bool holdsLast(NamedShortcut::Mode mode);

}  // namespace dorvane
