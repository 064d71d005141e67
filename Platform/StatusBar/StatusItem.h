#pragma once

#include <string>
#include <vector>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::statusbar {

// One row of the status item's menu: a titled entry, or a separator line.
struct MenuEntry {
    std::string title;
    bool enabled = true;
    bool checked = false;
    bool separator = false;

    static MenuEntry separatorLine() { return MenuEntry{{}, false, false, true}; }

    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;

    // {title, enabled, checked}, or {separator: true}.
    json::Json toJson() const;
    static MenuEntry fromJson(const json::Json& value);
};

// The program's one item in the status bar: an image name, an optional title beside
// it, a tooltip and a menu.
struct StatusItem {
    std::string image;
    std::string title;
    std::string tooltip;
    std::vector<MenuEntry> menu;

    friend bool operator==(const StatusItem&, const StatusItem&) = default;

    json::Json toJson() const;
    static StatusItem fromJson(const json::Json& value);
};

}  // namespace dorvane::statusbar
