#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane::shell {

// What the controller's owner objects ask of the controller that owns them: the few
// things that stay in one place for the whole application.
class ControllerHost {
public:
    virtual ~ControllerHost() = default;

    // Brings the status item, its menu, the panel model and the panels beside the toolbar
    // up to date with what the keepers hold: the one signal that the state changed.
    virtual void renderMenu() = 0;
    virtual void showNotice(const std::string& title, const std::optional<std::string>& detail,
                            const std::optional<displays::Screen>& screen) = 0;
    virtual void dismissToolPanels() = 0;
    // Writes what a failure says to a developer (the system's or the decoder's English),
    // when that says more than the person's text, to the engine log as an "error_detail"
    // line, and answers the person's text, in Simplified Chinese.
    virtual std::string loggedFailureText(const std::exception& error) = 0;
    // Starts `task` on the main queue; a failure that escapes it goes to the main queue's
    // last resort (the engine log).
    virtual void launchTask(dispatch::Task<void> task) = 0;
    // Runs `followUp` now when Accessibility is granted, else once it is, opening the guide.
    virtual void permissionStep(std::function<void()> followUp) = 0;
    // The area beside the expanded toolbar that window commands fill, in screen coordinates.
    virtual std::optional<geometry::Rect> windowWorkspace() = 0;
    // The main queue, whose last resort takes what a callback lets out.
    virtual dispatch::Executor& mainQueue() = 0;
};

// What `caught` (a std::exception) shows the person, its account for a developer logged;
// see ControllerHost::loggedFailureText. For tasks that catch a failure while their owner
// may be gone, and ask once it is known alive.
inline std::string loggedFailureText(ControllerHost& host, const std::exception_ptr& caught) {
    try {
        std::rethrow_exception(caught);
    } catch (const std::exception& error) {
        return host.loggedFailureText(error);
    }
}

// A callable for the views, the toolbar, the menu and the signals: it does nothing once
// the owner of `lifetime` is gone, and what it throws goes to the main queue's last
// resort rather than into the toolkit's handler that called it.
template <typename F>
auto weakly(ControllerHost& host, const dispatch::Lifetime& lifetime, F body) {
    return [&host, alive = lifetime.watch(), body = std::move(body)](auto&&... arguments) mutable {
        // The host outlives its owners: while the owner lives, so does the host.
        if (!alive) return;
        dispatch::runGuarded(host.mainQueue(), body, std::forward<decltype(arguments)>(arguments)...);
    };
}

}  // namespace dorvane::shell
