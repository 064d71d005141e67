#pragma once

#include <functional>
#include <optional>

#include "DorvaneCore/Windows/Region.h"
#include "Platform/Dispatch/Task.h"

namespace dorvane::shell {

// Keeps other applications' windows clear of the docked toolbar.
class WorkspaceLayout {
public:
    // The toolbar's region, every frame in top-left screen coordinates.
    using Region = windows::Region;
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
