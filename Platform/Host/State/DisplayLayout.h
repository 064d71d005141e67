#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "Platform/Host/State/HostState.h"

namespace dorvane::host {

// Brings the layout back to what the platform always shows after a change:
// - the headless placeholder is listed exactly when no physical display is connected;
// - a display mirrors only an online display that itself mirrors nothing, and sits at
//   its master's origin; it is never main;
// - displays that show their own picture do not overlap: one that does is moved to the
//   right of the others. `placedFirst` keep their places before anything else (the
//   displays a transaction positioned, the last one first), then the main display;
// - exactly one such display is main: the one at (0, 0), else the previous main (or
//   the first) moved there together with everything else.
void normalizeLayout(HostState& state, const std::vector<DisplayID>& placedFirst = {});

// Where a display that joins the desktop goes: right of every display shown, top edge
// level with the main display.
std::pair<std::int32_t, std::int32_t> nextFreeOrigin(const HostState& state, DisplayID joining);

// The displays that mirror `master` mirror nothing any more; they stay where it was.
void detachMirrors(HostState& state, DisplayID master);

}  // namespace dorvane::host
