#include "Dorvane/QtHost/PlatformChoice.h"

namespace dorvane::qthost {

PlatformChoice choosePlatform(const std::optional<std::string>& qpaPlatform, const std::optional<std::string>& display,
                              const std::optional<std::string>& waylandDisplay) {
    if (qpaPlatform) return {};
    if (display) return PlatformChoice{"xcb", std::nullopt};
    if (waylandDisplay) return {};
    return PlatformChoice{"offscreen",
                          "Corvelle：没有图形显示（DISPLAY 与 WAYLAND_DISPLAY 均未设置），以 offscreen 方式运行；"
                          "状态栏菜单请用 corvelle-host statusbar 使用。"};
}

}  // namespace dorvane::qthost
