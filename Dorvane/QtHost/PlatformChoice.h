#pragma once

#include <optional>
#include <string>

namespace dorvane::qthost {

// The Qt platform plugin to use, and the line that says so when the choice is the
// runner's own: with none of QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY set,
// "offscreen"; with DISPLAY and no QT_QPA_PLATFORM, "xcb" (panels must be placed).
struct PlatformChoice {
    std::optional<std::string> platform;  // none: leave it to Qt
    std::optional<std::string> notice;
};
PlatformChoice choosePlatform(const std::optional<std::string>& qpaPlatform, const std::optional<std::string>& display,
                              const std::optional<std::string>& waylandDisplay);

}  // namespace dorvane::qthost
