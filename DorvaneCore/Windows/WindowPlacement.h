#pragma once

#include <optional>

#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows {

// The result of every frame placement: the window reached the requested frame, or it kept
// a larger size and was re-aligned with WindowPlacement::constrainedFrame.
enum class WindowPlacementResult { placed, sizeLimited };

namespace WindowPlacement {

// The frame for a window that, after a write, stayed larger than `target`
// (its minimum size): its actual size, aligned with the area edge the target touched,
// else centred on the target, and kept inside the area. None when the window reached
// the target, is far larger or smaller than asked, spans an area the target did not, or
// sits somewhere else entirely.
std::optional<Rect> constrainedFrame(const Rect& actual, const Rect& target, const Rect& area);

}  // namespace WindowPlacement

}  // namespace dorvane::windows
