#include "Dorvane/QtHost/PlatformChoice.h"

namespace dorvane::qthost {

PlatformChoice choosePlatform(const std::optional<std::string>& qpaPlatform, const std::optional<std::string>& display,
                              const std::optional<std::string>& waylandDisplay) {
    if (qpaPlatform) return {};
    if (display) return PlatformChoice{"xcb", std::nullopt};
    if (waylandDisplay) return {};
    return PlatformChoice{"offscreen",
                          "Corvelle：未检测到图形显示（DISPLAY 与 WAYLAND_DISPLAY 均未设置），将以 offscreen 方式运行；"
                          "可通过 corvelle-host statusbar 使用状态栏菜单。"};
}

}  // namespace dorvane::qthost
