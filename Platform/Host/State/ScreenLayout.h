#pragma once

#include <vector>

#include "Platform/Displays/ScreenServices.h"
#include "Platform/Host/State/HostState.h"

namespace dorvane::host {

// Menu bar heights of the main screen, in points.
inline constexpr double kMenuBarHeight = 24;
inline constexpr double kNotchedMenuBarHeight = 38;

// The screens the displays make: every online display that shows its own picture (not
// a mirror, not a sleeping panel), main first. The main screen's visible frame leaves
// out the menu bar, which is taller on a panel with a camera housing.
std::vector<displays::Screen> screensOf(const HostState& state);

}  // namespace dorvane::host
