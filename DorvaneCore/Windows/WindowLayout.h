#pragma once

#include <optional>
#include <span>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Windows/CoordinateSpaces.h"

// Frame arithmetic under every window move: target frames, whether a window reached its
// target, and moves beside the docked toolbar. The waits that poll a window until it
// settles build on SettlingWaits.h. avoidingToolbar and fillingCollapsedToolbar take the
// top-left space ("top" is the smallest y); everything else is symmetric in x and y.
namespace dorvane::windows::WindowLayout {

enum class Placement { maximize, center, moveToScreen };

// A window within this of its target, on every value, has settled.
inline constexpr double settleTolerance = 2;
// How much smaller than asked a window may come out when size rounding is allowed.
inline constexpr double sizeRoundingAllowance = 32;
inline constexpr double pollInterval = 0.05;
inline constexpr double frameDeadline = 0.7;
inline constexpr double nativeZoomDeadline = 2.0;
inline constexpr int nativeZoomStableCount = 3;

// `maximize`: the area. `center`: the window shrunk to fit and centred. `moveToScreen`:
// a window that meets the area is pushed in from the edges it crosses (clamped), one
// that does not is centred.
Rect frame(const Rect& window, const Rect& area, Placement placement);

// `window` shrunk to fit the area and pushed in from the edges it crosses, keeping its
// place as far as it lies inside.
Rect clamped(const Rect& window, const Rect& area);

// The screen sharing the most area with `frame` (the earlier among equals), or
// `fallback` when none shares any.
Rect screen(const Rect& frame, std::span<const Rect> screens, const Rect& fallback);

// `frame` moved onto the screen that holds most of it.
Rect restoredFrame(const Rect& frame, std::span<const Rect> screens, const Rect& fallback);

// |Δ minX|, |Δ minY|, |Δ width| and |Δ height| all within `tolerance`, bounds included.
bool approximatelyEqual(const Rect& a, const Rect& b, double tolerance);

// Within 2 points of the target; with size rounding also a window at the target origin
// that came out up to 32 points smaller (never more than 2 larger) in either dimension.
bool reached(const Rect& actual, const Rect& target, bool allowsSizeRounding);

// Where a window that overlaps the docked toolbar goes: moved just past the toolbar when
// it then fits on the screen, else trimmed at the toolbar; none when it only touches the
// toolbar, or already crosses the screen edge.
std::optional<Rect> avoidingToolbar(const Rect& window, const Rect& toolbar, const Rect& screen, ToolbarSide side);

// A window that lies 0 to `tolerance` points past the inner edge of a left or right
// toolbar that collapsed, sharing its vertical span, stretched to the screen edge.
std::optional<Rect> fillingCollapsedToolbar(const Rect& window, const Rect& toolbar, const Rect& screen,
                                            ToolbarSide side, double tolerance);

}  // namespace dorvane::windows::WindowLayout
