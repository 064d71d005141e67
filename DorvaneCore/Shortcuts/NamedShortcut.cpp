#include "DorvaneCore/Shortcuts/NamedShortcut.h"

#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"
#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

bool NamedShortcut::isValid() const {
    return key.isValid() && !text::isBlank(name) && text::graphemeCount(name) <= maximumNameLength;
}

NamedShortcut::Mode NamedShortcut::resolvedMode(int clicks, bool holdsLast) {
    if (clicks > 1) return holdsLast ? Mode::tapHold : Mode::doublePress;
    return holdsLast ? Mode::hold : Mode::press;
}

const std::vector<NamedShortcut>& NamedShortcut::recommendedPresets() {
    static const std::vector<NamedShortcut> presets = []() -> std::vector<NamedShortcut> {
        try {
            return ShortcutPresetCatalog::bundled().presets;
        } catch (const std::exception&) {
            return {};
        }
    }();
    return presets;
}

json::Json NamedShortcut::toJson() const {
    json::Json object = json::Json::object();
    object["id"] = id;
    object["name"] = name;
    object["key"] = key.toJson();
    object["mode"] = std::string(rawValue(mode));
    object["icon"] = std::string(rawValue(icon));
    object["enabled"] = enabled;
    return object;
}

NamedShortcut NamedShortcut::fromJson(const json::Json& value) {
    json::requireObject(value);
    NamedShortcut shortcut;
    shortcut.id = json::get<std::string>(value, "id");
    shortcut.name = json::get<std::string>(value, "name");
    shortcut.key = json::get<ShortcutKey>(value, "key");
    shortcut.mode = json::getOr<Mode>(value, "mode", Mode::press);
    // An icon this build does not know (a newer or edited file) falls back rather than losing the shortcut.
    const auto icon = json::getOptional<std::string>(value, "icon");
    shortcut.icon = icon ? fromRawValue<ShortcutIcon>(*icon).value_or(ShortcutIcon::keyboard) : ShortcutIcon::keyboard;
    shortcut.enabled = json::getOr<bool>(value, "enabled", true);
    return shortcut;
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
