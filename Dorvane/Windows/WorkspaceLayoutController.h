#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <vector>

#include "Dorvane/Windows/ApplicationWindowCatalog.h"
#include "Dorvane/Windows/WindowController.h"
#include "DorvaneCore/Windows/Region.h"
#include "DorvaneCore/Windows/WorkspaceCheckSchedule.h"
#include "Platform/Accessibility/ProcessTrust.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Completion.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Dispatch/Timer.h"
#include "Platform/Events/PointerServices.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane::windows {

// Keeps other applications' windows out from under the docked, expanded toolbar: a
// repeating check on the main queue reads the on-screen windows and moves each one that
// overlaps the toolbar just past it, or trims it, one window at a time; when the toolbar
// collapses, windows that were pushed beside it are stretched back to the screen edge.
// Checks run every 0.25 s while things change and every 1.0 s once eight in a row found
// nothing changed; they pause 1.5 s after an application launches or activates, and give
// way to a held mouse button and to the user's own window commands. Main queue only.
class WorkspaceLayoutController {
public:
    using Window = ApplicationWindowCatalog::Window;
    // A move or a fill of one window for the region; `token` is the pass's cancellation.
    using Adjust = std::function<dispatch::Task<void>(Window window, Region region, dispatch::CancellationToken token)>;

    struct Services {
        WindowController& windows;           // its worker moves the windows
        WindowController& layoutController;  // the command facade's, busy during snaps and layouts
        ApplicationWindowCatalog& catalog;
        accessibility::ProcessTrust& trust;
        events::PointerServices& pointer;
        workspace::ApplicationWorkspace& workspace;
        dispatch::MainQueue& mainQueue;
        dispatch::Clock& clock;
    };

    explicit WorkspaceLayoutController(Services services);
    ~WorkspaceLayoutController();
    WorkspaceLayoutController(const WorkspaceLayoutController&) = delete;
    WorkspaceLayoutController& operator=(const WorkspaceLayoutController&) = delete;

    // The toolbar's region while it is docked and expanded; none by default.
    std::function<std::optional<Region>()> region;
    // Windows never moved; none by default.
    std::function<bool(const Window&)> isExempt;
    // The on-screen windows of other applications; by default the catalog's snapshot.
    std::function<dispatch::Task<std::vector<Window>>()> visibleWindows;
    // By default: trusted, and neither window controller performs an action.
    std::function<bool()> canAdjust;
    // By default: a mouse button is down.
    std::function<bool()> userInteracting;
    // By default the frontmost application's process.
    std::function<std::optional<pid_t>()> foregroundPID;
    // By default the worker's move aside and its stretch after collapsing, unless the
    // window controller performs or the pass was cancelled.
    Adjust move;
    Adjust fill;

    // Starts or stops the checks; called on every refresh of the menu state.
    void setEnabled(bool enabled);
    // The toolbar is about to collapse: stops the checks and stretches the windows that
    // bordered it back over the freed strip.
    void releaseToolbar();
    // Cancels pending work and returns once the running check and stretch have ended;
    // the timer keeps running.
    dispatch::Task<void> suspendCurrentAdjustment();
    // Stops everything (at quit).
    void cancel();

    bool enabled() const { return enabled_; }
    // The timer's interval in seconds; 0 without a timer.
    double interval() const { return interval_; }

private:
    // One running pass: cancelled through `cancellation`, awaited through `done`.
    struct Running {
        std::shared_ptr<dispatch::CancellationSource> cancellation;
        dispatch::Completion done;
    };

    void schedule(double interval);
    void tick();
    void cancelPending();
    void observeApplications();
    bool stillCurrent(const dispatch::Lifetime::Watch& alive, std::int64_t generation,
                      const dispatch::CancellationToken& token) const;
    dispatch::Task<void> check(dispatch::Lifetime::Watch alive, std::int64_t generation, Region region,
                               dispatch::CancellationToken token, dispatch::Completion done);
    dispatch::Task<void> stretchAfterCollapse(dispatch::Lifetime::Watch alive, std::int64_t generation,
                                              Region region, std::optional<Running> previous,
                                              dispatch::CancellationToken token, dispatch::Completion done);
    static dispatch::Task<void> adjust(WindowController& controller, ApplicationWindowCatalog& catalog, bool collapse,
                                       Window window, Region region, dispatch::CancellationToken token);
    static Running makeRunning();

    Services services_;
    std::optional<Running> task_;
    std::optional<Running> collapseTask_;
    dispatch::Timer timer_;
    bool enabled_ = false;
    std::int64_t generation_ = 0;
    std::optional<std::vector<Window>> lastWindows_;
    std::optional<Region> lastRegion_;
    std::optional<pid_t> lastForeground_;
    std::vector<dispatch::Observation> appObservers_;
    WorkspaceCheckSchedule schedule_;
    double interval_ = 0;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::windows
