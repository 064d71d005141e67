#include "DorvaneCore/Shortcuts/NamedShortcut.h"

#include "DorvaneCore/Support/JsonFields.h"
#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

bool NamedShortcut::isValid() const {
    return key.isValid() && !text::isBlank(name) && text::graphemeCount(name) <= maximumNameLength;
}

NamedShortcut::Mode NamedShortcut::resolvedMode(int clicks, bool holdsLast) {
    if (clicks > 1) return holdsLast ? Mode::tapHold : Mode::doublePress;
    return holdsLast ? Mode::hold : Mode::press;
}

namespace {

// An icon this build does not know (a newer or edited file) falls back rather than losing the shortcut.
ShortcutIcon knownIconOrKeyboard(const json::Json& value) {
    return fromRawValue<ShortcutIcon>(json::decode<std::string>(value)).value_or(ShortcutIcon::keyboard);
}

constexpr auto namedShortcutFields = [](auto& f, auto& shortcut) {
    f.required("id", shortcut.id);
    f.required("name", shortcut.name);
    f.required("key", shortcut.key);
    f.defaulted("mode", shortcut.mode, NamedShortcut::Mode::press);
    f.defaulted("icon", shortcut.icon, ShortcutIcon::keyboard, {.decode = knownIconOrKeyboard});
    f.defaulted("enabled", shortcut.enabled, true);
};

}  // namespace

json::Json NamedShortcut::toJson() const { return json::writeFields(*this, namedShortcutFields); }

NamedShortcut NamedShortcut::fromJson(const json::Json& value) {
    return json::readFields<NamedShortcut>(value, namedShortcutFields);
}

std::string_view title(NamedShortcut::Mode mode) { return clickCount(mode) > 1 ? "双击" : "单击"; }

int clickCount(NamedShortcut::Mode mode) {
    switch (mode) {
        case NamedShortcut::Mode::press:
        case NamedShortcut::Mode::hold: return 1;
        case NamedShortcut::Mode::doublePress:
        case NamedShortcut::Mode::tapHold: return 2;
    }
    return 1;
}

bool holdsLast(NamedShortcut::Mode mode) {
    return mode == NamedShortcut::Mode::hold || mode == NamedShortcut::Mode::tapHold;
}

}  // namespace dorvane
