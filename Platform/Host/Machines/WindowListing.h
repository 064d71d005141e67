#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Host/State/HostData.h"

namespace dorvane::host {

// Layers of the window server's own windows.
inline constexpr std::int32_t kMenuBarLayer = 24;
inline constexpr std::int32_t kDesktopLayer = -2147483624;
// Numbers of the window server's own windows, far above any application window's.
inline constexpr std::uint32_t kMenuBarWindowNumber = 0x7fff0000;
inline constexpr std::uint32_t kFirstDesktopWindowNumber = 0x7fff0001;
inline constexpr const char* kWindowServerName = "Window Server";

// One row of the window list, before it becomes a dictionary.
struct ListedWindow {
    std::uint32_t number = 0;
    pid_t pid = 0;                  // 0 for the window server
    std::string ownerName;
    std::int32_t layer = 0;
    geometry::Rect bounds;          // as the list shows it (it may lag)
    double alpha = 1;
    std::string title;
    bool onScreen = true;
    bool minimised = false;
    bool desktop = false;
    const WindowRecord* record = nullptr;  // none for the window server's windows
};

// Whether the window shows: not minimised, ordered in, its application running and
// not hidden.
bool isOnScreen(const HostData& data, const WindowRecord& window);

// Every window front to back: higher layers first (the menu bar, modal panels, floating
// windows, normal windows, each level in stacking order), a desktop picture per screen
// last. Off-screen windows are included and marked.
std::vector<ListedWindow> listWindows(const HostData& data, const std::vector<displays::Screen>& screens);

// The window-list answer for `options` (see accessibility::windowlist), each entry a
// dictionary without the keys the window's behaviours leave out.
json::Json windowListAnswer(const std::vector<ListedWindow>& windows, std::uint32_t options, std::uint32_t relativeTo);

// The on-screen window under a point, front to back (the menu bar included), desktop
// pictures left out; with `ordinaryOnly`, the first one of layer 0.
std::optional<ListedWindow> windowAt(const HostData& data, const std::vector<displays::Screen>& screens,
                                     geometry::Point point, bool ordinaryOnly = false);

}  // namespace dorvane::host
