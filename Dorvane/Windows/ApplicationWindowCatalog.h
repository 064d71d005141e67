#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <vector>

#include "DorvaneCore/Windows/CoordinateSpaces.h"
#include "Platform/Accessibility/AccessibilityServices.h"
#include "Platform/Accessibility/WindowList.h"
#include "Platform/Dispatch/Completion.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane::windows {

// Which other applications have usable windows on screen, and where: a briefly cached
// list read from the window server, shared by the workspace controller, the toolbar and
// the moves beside the toolbar. Main queue only; the read itself runs on `readQueue`.
class ApplicationWindowCatalog {
public:
    // One on-screen window of another application, in window-server coordinates.
    struct Window {
        std::int32_t pid = 0;
        std::uint32_t number = 0;
        Rect frame;

        friend bool operator==(const Window&, const Window&) = default;
    };
    // Reads the list at once; may run on any thread and never throws.
    using Query = std::function<std::vector<Window>()>;
    // Seconds on a clock that never jumps.
    using Uptime = std::function<double()>;

    static constexpr double cacheLifetime = 0.2;
    // What `focusedWindowUsable` gives each Accessibility request, so that an application
    // that does not answer holds the main thread no longer.
    static constexpr double probeTimeout = 0.04;

    ApplicationWindowCatalog(dispatch::Executor& readQueue, accessibility::AccessibilityServices& ax, Query query,
                             Uptime uptime);
    ~ApplicationWindowCatalog();
    ApplicationWindowCatalog(const ApplicationWindowCatalog&) = delete;
    ApplicationWindowCatalog& operator=(const ApplicationWindowCatalog&) = delete;

    // The window server's on-screen windows, front to back, that are on layer 0, belong to
    // a regular application other than `ownPID` and are usable (at least 80 × 60).
    static Query windowServerQuery(accessibility::WindowListServices& windowList,
                                   workspace::ApplicationWorkspace& workspace, pid_t ownPID);

    // The list read less than 0.2 s ago, else a fresh read off the main queue; callers that
    // ask while a read runs get that read's list.
    dispatch::Task<std::vector<Window>> snapshot();

    // For an uncached read on the spot.
    const Query& query() const { return query_; }

    // The program has just moved a window: the list read before no longer holds, and the
    // next snapshot reads afresh (a read under way then caches nothing). Otherwise a pass
    // right after, such as the stretch when the toolbar collapses, would go by where the
    // window was before the move.
    void forget();

    // Whether the application's focused window is usable; none when it cannot be measured.
    // Blocks the main thread for at most two requests of 0.04 s.
    std::optional<bool> focusedWindowUsable(pid_t pid);

private:
    struct Pending {
        dispatch::Completion done;
        std::vector<Window> result;
    };

    dispatch::Executor& readQueue_;
    accessibility::AccessibilityServices& ax_;
    Query query_;
    Uptime uptime_;
    std::optional<std::vector<Window>> cached_;
    double checkedAt_ = 0;
    // Counts forget(): a read that began before the count changed caches nothing.
    std::uint64_t forgotten_ = 0;
    std::shared_ptr<Pending> pending_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::windows
