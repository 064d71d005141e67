#include "tools/corvelle-screenshots/QuickActionsScene.h"

#include <array>
#include <utility>

namespace dorvane::screenshots {

namespace {

// Name and bundle identifier of the applications in the picture's "/Applications".
constexpr std::array<std::pair<const char*, const char*>, 8> kApplications{{
    {"备忘录", "com.example.notes"},
    {"地图", "com.example.maps"},
    {"日历", "com.example.calendar"},
    {"计算器", "com.example.calculator"},
    {"照片", "com.example.photos"},
    {"音乐", "com.example.music"},
    {"Keynote 讲演", "com.example.keynote"},
    {"Xcode", "com.example.xcode"},
}};

std::string bundlePath(const char* name) { return std::string("/Applications/") + name + ".app"; }

}  // namespace

NamedShortcut editedShortcut() {
    return NamedShortcut("shot-screenshot", "截图", ShortcutKey(21, modifier::shift | modifier::command, "⇧⌘4"),
                         NamedShortcut::Mode::press, ShortcutIcon::screenshot, true);
}

Preferences quickActionsPreferences(Preferences base) {
    base.showWindowControls = true;
    base.namedShortcuts = {
        NamedShortcut("shot-copy", "复制", ShortcutKey(8, modifier::command, "⌘C"), NamedShortcut::Mode::press,
                      ShortcutIcon::copy, true),
        NamedShortcut("shot-paste", "粘贴", ShortcutKey(9, modifier::command, "⌘V"), NamedShortcut::Mode::press,
                      ShortcutIcon::clipboard, true),
        editedShortcut(),
        NamedShortcut("shot-mission", "调度中心", ShortcutKey(126, modifier::control, "↑"), NamedShortcut::Mode::press,
                      ShortcutIcon::missionControl, false),
    };
    base.floatingActionIcons["fillWindow"] = "star";
    base.applicationShortcutsEnabled = true;
    base.applicationShortcuts = {
        {"com.example.notes", "备忘录", bundlePath("备忘录"),
         {NamedShortcut("shot-note", "新建备忘录", ShortcutKey(45, modifier::command, "N"), NamedShortcut::Mode::press,
                        ShortcutIcon::compose, true),
          NamedShortcut("shot-find", "查找", ShortcutKey(3, modifier::command, "F"), NamedShortcut::Mode::press,
                        ShortcutIcon::search, true),
          NamedShortcut("shot-list", "清单", ShortcutKey(37, modifier::shift | modifier::command, "L"),
                        NamedShortcut::Mode::press, ShortcutIcon::todo, false)}},
        {"com.example.maps", "地图", bundlePath("地图"), {}},
    };
    return base;
}

std::vector<std::string> PictureApplications::applicationFolders() { return {"/Applications"}; }

std::vector<std::string> PictureApplications::bundlesIn(const std::string& folder) {
    std::vector<std::string> bundles;
    if (folder != "/Applications") return bundles;
    for (const auto& [name, identifier] : kApplications) bundles.push_back(bundlePath(name));
    return bundles;
}

std::optional<ApplicationBundle> PictureApplications::readBundle(const std::string& path) {
    for (const auto& [name, identifier] : kApplications) {
        if (path == bundlePath(name)) return ApplicationBundle{path, identifier, name, std::nullopt, false};
    }
    return std::nullopt;
}

std::optional<std::string> PictureApplications::applicationPath(const std::string& /*bundleIdentifier*/) {
    return std::nullopt;
}

std::filesystem::path PictureApplications::iconFile(const std::string& /*bundlePath*/) { return {}; }

void PictureApplications::openApplication(const std::string& /*path*/, bool /*activates*/,
                                          std::function<void(const workspace::OpenApplicationResult&)> completion) {
    completion(workspace::OpenApplicationResult{std::nullopt, "这些应用只在截图里"});
}

}  // namespace dorvane::screenshots
