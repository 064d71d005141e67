#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <sys/types.h>

#include "Platform/Accessibility/AXNames.h"
#include "Platform/Accessibility/AccessibilityServices.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Events/PointerServices.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane::windows {

// During a remote session, fills every window that comes to the front: it watches which
// application is frontmost and, through an Accessibility observer on it, when its windows
// appear or change focus; once things have been quiet for 0.35 s it asks `perform` to
// fill the frontmost application's front window. A held mouse button or `canFill` being
// false postpones the attempt in 0.35 s steps, nine tries at most. Main queue only.
class AutoFillController {
public:
    using Perform = std::function<dispatch::Task<void>(pid_t pid)>;

    struct Services {
        workspace::ApplicationWorkspace& workspace;
        accessibility::AccessibilityServices& accessibility;
        events::PointerServices& pointer;
        dispatch::MainQueue& mainQueue;
        pid_t ownPID = 0;
        // Forgets every window filled so far (the command facade's tracker).
        std::function<void()> forgetFilled;
    };

    static constexpr double settleDelay = 0.35;
    static constexpr int lastAttempt = 8;
    static constexpr double messagingTimeout = 0.5;
    static constexpr std::array<std::string_view, 3> notifications{
        accessibility::notification::windowCreated,
        accessibility::notification::mainWindowChanged,
        accessibility::notification::focusedWindowChanged,
    };

    explicit AutoFillController(Services services);
    ~AutoFillController();
    AutoFillController(const AutoFillController&) = delete;
    AutoFillController& operator=(const AutoFillController&) = delete;

    // Fills the front window of the given process; by default does nothing.
    Perform perform;
    // Whether filling may happen now; by default true.
    std::function<bool()> canFill;

    // Called on every refresh of the menu state. Off stops observing, drops the pending
    // attempt and forgets every window filled so far.
    void setEnabled(bool enabled);

    bool enabled() const { return enabled_; }
    // The application whose windows are observed, if any.
    std::optional<pid_t> observedPID() const { return observedPID_; }

private:
    void activated(const std::optional<workspace::RunningApplication>& application);
    void observe(pid_t pid);
    void stopObserving();
    void trigger(int attempt);
    dispatch::Task<void> attempt(dispatch::Lifetime::Watch alive, int attempt, dispatch::CancellationToken token);

    Services services_;
    bool enabled_ = false;
    dispatch::Observation activationObserver_;
    std::unique_ptr<accessibility::AXObserver> observer_;
    std::optional<accessibility::AXElement> observedApp_;
    std::optional<pid_t> observedPID_;
    std::optional<dispatch::CancellationSource> pending_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::windows
