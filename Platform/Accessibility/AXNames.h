#pragma once

#include <string_view>

namespace dorvane::accessibility {

// The attribute, action, role and notification names the program and the host share.
namespace attribute {
inline constexpr std::string_view role = "AXRole";
inline constexpr std::string_view subrole = "AXSubrole";
inline constexpr std::string_view title = "AXTitle";
inline constexpr std::string_view position = "AXPosition";
inline constexpr std::string_view size = "AXSize";
inline constexpr std::string_view minimized = "AXMinimized";
inline constexpr std::string_view fullScreen = "AXFullScreen";
inline constexpr std::string_view modal = "AXModal";
inline constexpr std::string_view main = "AXMain";
inline constexpr std::string_view focused = "AXFocused";
inline constexpr std::string_view enabled = "AXEnabled";
inline constexpr std::string_view children = "AXChildren";
inline constexpr std::string_view windows = "AXWindows";
inline constexpr std::string_view focusedWindow = "AXFocusedWindow";
inline constexpr std::string_view mainWindow = "AXMainWindow";
inline constexpr std::string_view menuBar = "AXMenuBar";
inline constexpr std::string_view enhancedUserInterface = "AXEnhancedUserInterface";
inline constexpr std::string_view frontmost = "AXFrontmost";
inline constexpr std::string_view closeButton = "AXCloseButton";
inline constexpr std::string_view minimizeButton = "AXMinimizeButton";
inline constexpr std::string_view zoomButton = "AXZoomButton";
}  // namespace attribute

namespace action {
inline constexpr std::string_view press = "AXPress";
inline constexpr std::string_view raise = "AXRaise";
}  // namespace action

namespace role {
inline constexpr std::string_view application = "AXApplication";
inline constexpr std::string_view window = "AXWindow";
inline constexpr std::string_view button = "AXButton";
inline constexpr std::string_view menuBar = "AXMenuBar";
inline constexpr std::string_view menuBarItem = "AXMenuBarItem";
inline constexpr std::string_view menu = "AXMenu";
inline constexpr std::string_view menuItem = "AXMenuItem";
inline constexpr std::string_view systemWide = "AXSystemWide";
}  // namespace role

namespace subrole {
inline constexpr std::string_view standardWindow = "AXStandardWindow";
inline constexpr std::string_view dialog = "AXDialog";
inline constexpr std::string_view floatingWindow = "AXFloatingWindow";
inline constexpr std::string_view closeButton = "AXCloseButton";
inline constexpr std::string_view minimizeButton = "AXMinimizeButton";
inline constexpr std::string_view zoomButton = "AXZoomButton";
inline constexpr std::string_view fullScreenButton = "AXFullScreenButton";
}  // namespace subrole

namespace notification {
inline constexpr std::string_view focusedWindowChanged = "AXFocusedWindowChanged";
inline constexpr std::string_view mainWindowChanged = "AXMainWindowChanged";
inline constexpr std::string_view windowCreated = "AXWindowCreated";
inline constexpr std::string_view windowMoved = "AXWindowMoved";
inline constexpr std::string_view windowResized = "AXWindowResized";
inline constexpr std::string_view windowMiniaturized = "AXWindowMiniaturized";
inline constexpr std::string_view windowDeminiaturized = "AXWindowDeminiaturized";
inline constexpr std::string_view elementDestroyed = "AXUIElementDestroyed";
}  // namespace notification

}  // namespace dorvane::accessibility
