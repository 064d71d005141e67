#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane::input {

class LauncherModel;

// The panel's title, and the corner radius of its glass surface.
inline constexpr std::string_view launcherPanelTitle = "Corvelle 应用";
inline constexpr double launcherCornerRadius = 22;

// The launcher's floating panel as AppLauncher drives it; the view's side supplies it.
// Frames are toolkit frames (origin at the bottom left), converted by the toolkit adapter.
class LauncherPanel {
public:
    virtual ~LauncherPanel() = default;

    virtual bool isVisible() const = 0;
    virtual geometry::Rect frame() const = 0;
    // Moves and resizes it and redraws.
    virtual void setFrame(const geometry::Rect& frame) = 0;
    // Rounds only the glass surface's corners away from the toolbar's edge.
    virtual void attach(ToolbarSide side) = 0;
    // Makes it ready for this showing (translucent, titled launcherPanelTitle, floating
    // level, no shadow, on every space), then key and in front, with nothing focused.
    virtual void present() = 0;
    // Unfolds the glass surface from the toolbar's edge (nothing with Reduce Motion).
    virtual void reveal(ToolbarSide side) = 0;
    virtual void orderOut() = 0;
};

// Makes the panel on the first showing, the launcher view on `model` as its content;
// it is kept for the launcher's life.
using LauncherPanelFactory =
    std::function<std::unique_ptr<LauncherPanel>(LauncherModel& model, const geometry::Rect& frame)>;

}  // namespace dorvane::input
