#pragma once

namespace dorvane::qthost {

// The dynamic property (an int) by which a top-level widget names its level in the
// host's window list instead of the one its flags give, e.g. 25 for notices and 101
// for dropdown popups: widget->setProperty(kWindowLevelProperty, 25).
inline constexpr char kWindowLevelProperty[] = "corvelleWindowLevel";

// The dynamic property (a bool) of a window that only decorates another, such as a
// panel's shadow: it takes no input and is not one of the program's windows, so it is
// never listed.
inline constexpr char kDecorationProperty[] = "corvelleDecoration";

// The dynamic property (a bool) of a window that a panel hands Qt's activation back to,
// after a platform plugin activated a panel that takes no focus. That activation only
// mends the toolkit's idea of the active window: the host's frontmost application stays.
// The reporter clears it when the activation arrives.
inline constexpr char kActivationHandBackProperty[] = "corvelleActivationHandBack";

}  // namespace dorvane::qthost
