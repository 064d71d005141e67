#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Platform/StatusBar/StatusItem.h"

namespace dorvane::StatusMenu {

inline constexpr std::string_view toolbarTitle = "显示工具条";
inline constexpr std::string_view restoreTitle = "还原本机分辨率";
inline constexpr std::string_view settingsTitle = "设置…";
inline constexpr std::string_view updatesTitle = "检查更新…";
inline constexpr std::string_view quitTitle = "退出 Corvelle";

// Positions of the entries found by tag.
inline constexpr std::size_t toolbarEntry = 0;  // tag 1
inline constexpr std::size_t restoreEntry = 1;  // tag 2

inline constexpr std::string_view idleImage = "MenuBarTemplate";
inline constexpr std::string_view activeImage = "MenuBarTemplateActive";
inline constexpr std::string_view idleSymbol = "display";
inline constexpr std::string_view activeSymbol = "display.2";

// The seven entries in their order, as built at launch.
std::vector<statusbar::MenuEntry> entries();

// The item's image: our own artwork when the resource exists, else the symbol.
std::string imageName(bool active, bool artworkAvailable);

// "Corvelle · " and the status title.
std::string tooltip(std::string_view statusTitle);

}  // namespace dorvane::StatusMenu
