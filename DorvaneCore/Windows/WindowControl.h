#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane::windows {

// The window commands of the toolbar's window controls.
enum class WindowControl { close, minimize, fullScreen };

// The controls the panel shows, in this order.
inline constexpr std::array<WindowControl, 3> panelControls{WindowControl::close, WindowControl::minimize,
                                                            WindowControl::fullScreen};

struct ControlColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    friend bool operator==(const ControlColor&, const ControlColor&) = default;
};

std::string_view title(WindowControl control);
// Platform symbol name of the control's button.
std::string_view glyph(WindowControl control);
ControlColor rgb(WindowControl control);
// What the user is told when the target window offers no way to run the command.
std::string_view unavailableMessage(WindowControl control);

}  // namespace dorvane::windows

namespace dorvane {

template <>
struct EnumCases<windows::WindowControl> {
    static constexpr std::array<std::pair<windows::WindowControl, std::string_view>, 3> table{{
        {windows::WindowControl::close, "close"},
        {windows::WindowControl::minimize, "minimize"},
        {windows::WindowControl::fullScreen, "fullScreen"},
    }};
};

}  // namespace dorvane
