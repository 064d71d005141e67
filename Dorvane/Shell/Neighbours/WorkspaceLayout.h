#pragma once

#include <functional>
#include <optional>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Dispatch/Task.h"

namespace dorvane::shell {

// Keeps other applications' windows clear of the docked toolbar.
class WorkspaceLayout {
public:
    // The toolbar's region, every frame in top-left screen coordinates.
    struct Region {
        geometry::Rect area;     // the work area beside the toolbar
        geometry::Rect screen;   // the screen's visible frame
        geometry::Rect toolbar;  // the toolbar's reserved frame
        std::optional<ToolbarSide> side;

        friend bool operator==(const Region&, const Region&) = default;
    };
    using RegionProvider = std::function<std::optional<Region>()>;

    virtual ~WorkspaceLayout() = default;

    virtual void setRegionProvider(RegionProvider provider) = 0;
    virtual void setEnabled(bool on) = 0;
    // Invalidates its timer, removes its observers and cancels pending tasks.
    virtual void cancel() = 0;
    // Cancels pending automatic moves and waits for running ones.
    virtual dispatch::Task<void> suspendCurrentAdjustment() = 0;
    // Widens the windows that bordered the collapsing toolbar.
    virtual void releaseToolbar() = 0;
};

class NullWorkspaceLayout final : public WorkspaceLayout {
public:
    void setRegionProvider(RegionProvider) override {}
    void setEnabled(bool) override {}
    void cancel() override {}
    dispatch::Task<void> suspendCurrentAdjustment() override { co_return; }
    void releaseToolbar() override {}
};

}  // namespace dorvane::shell
