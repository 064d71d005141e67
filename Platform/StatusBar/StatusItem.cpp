#include "Platform/StatusBar/StatusItem.h"

#include "DorvaneCore/Support/JsonFields.h"

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

namespace {

constexpr auto statusItemFields = [](auto& f, auto& item) {
    f.required("image", item.image);
    f.required("title", item.title);
    f.required("tooltip", item.tooltip);
    f.required("menu", item.menu);
};

}  // namespace

json::Json StatusItem::toJson() const { return json::writeFields(*this, statusItemFields); }

StatusItem StatusItem::fromJson(const json::Json& value) { return json::readFields<StatusItem>(value, statusItemFields); }

}  // namespace dorvane::statusbar
