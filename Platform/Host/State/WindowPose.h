#pragma once

#include <optional>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Host/State/WindowsState.h"

namespace dorvane::host {

// Where a window is and whether it fills its screen, at one moment.
struct WindowPose {
    geometry::Rect frame;
    bool fullScreen = false;
    std::optional<geometry::Rect> frameBeforeFullScreen;

    friend bool operator==(const WindowPose&, const WindowPose&) = default;
};

// The screen a frame lies on: the one it overlaps most (the earlier one on a tie), else
// the first; null without screens.
const displays::Screen* screenFor(const geometry::Rect& frame, const std::vector<displays::Screen>& screens);

// The nearest size within the window's minimum and maximum; the maximum wins where the
// two disagree. A window takes it whoever sizes it: its application, the user, a write.
geometry::Size limitedSize(const WindowRecord& window, geometry::Size size);

// The window at `time`: its changes that have landed by then applied in order, the
// size and place rules of its behaviours applied to the writes among them. A window on
// no screen is on the main screen's visible top-left corner. Computed afresh on every
// read, so reading never changes the host.
WindowPose poseAt(const WindowRecord& window, double time, const std::vector<displays::Screen>& screens);

// What the window list shows at `now`: the pose `lateBy` seconds ago.
WindowPose listedPose(const WindowRecord& window, double now, const std::vector<displays::Screen>& screens);

// Folds the changes that landed by `now` (and that the window list has caught up with)
// into the stored frame; only writes do this.
void foldLandedChanges(WindowRecord& window, double now, const std::vector<displays::Screen>& screens);

}  // namespace dorvane::host
