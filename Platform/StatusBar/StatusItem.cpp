#include "Platform/StatusBar/StatusItem.h"

namespace dorvane::statusbar {

json::Json MenuEntry::toJson() const {
    json::Json object = json::Json::object();
    if (separator) {
        object["separator"] = true;
        return object;
    }
    object["title"] = title;
    object["enabled"] = enabled;
    object["checked"] = checked;
    return object;
}

MenuEntry MenuEntry::fromJson(const json::Json& value) {
    json::requireObject(value);
    if (json::getOr<bool>(value, "separator", false)) return separatorLine();
    return MenuEntry{json::get<std::string>(value, "title"), json::get<bool>(value, "enabled"),
                     json::get<bool>(value, "checked"), false};
}

json::Json StatusItem::toJson() const {
    json::Json entries = json::Json::array();
    for (const auto& entry : menu) entries.push_back(entry.toJson());
    json::Json object = json::Json::object();
    object["image"] = image;
    object["title"] = title;
    object["tooltip"] = tooltip;
    object["menu"] = entries;
    return object;
}

StatusItem StatusItem::fromJson(const json::Json& value) {
    json::requireObject(value);
    StatusItem item{json::get<std::string>(value, "image"), json::get<std::string>(value, "title"),
                     json::get<std::string>(value, "tooltip"), {}};
    const auto& entries = json::requireArray(json::requireKey(value, "menu"));
    for (std::size_t index = 0; index < entries.size(); ++index) {
        try {
            item.menu.push_back(MenuEntry::fromJson(entries[index]));
        } catch (const json::DecodeError& error) {
            throw error.within("[" + std::to_string(index) + "]").within("menu");
        }
    }
    return item;
}

}  // namespace dorvane::statusbar
