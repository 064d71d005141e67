#pragma once

#include <array>
#include <string>
#include <string_view>

namespace dorvane {

// The pages of the settings window, in declaration order. Not stored anywhere:
// the window keeps its page only as long as its view lives.
enum class SettingsPage { general, connection, resolution, floating, touch };

// One row of the settings window's sidebar.
struct SettingsSidebarRow {
    std::string_view title;
    std::string_view symbol;
    SettingsPage page;
};

// The sidebar lists the pages in this order, which is not the declaration order:
// connection automation comes after the quick actions.
inline constexpr std::array<SettingsSidebarRow, 5> settingsSidebarRows{{
    {"常规", "gearshape", SettingsPage::general},
    {"分辨率", "display", SettingsPage::resolution},
    {"快捷操作", "sidebar.right", SettingsPage::floating},
    {"连接自动化", "link", SettingsPage::connection},
    {"触控", "hand.point.up.left", SettingsPage::touch},
}};

// The version line under the sidebar: "v" and the program's version, or the
// version the program first shipped under when the build carries none.
std::string settingsVersionLine(std::string_view version);

}  // namespace dorvane
