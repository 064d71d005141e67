#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "Dorvane/Engine/EngineLog.h"
#include "Dorvane/Engine/EngineStatus.h"
#include "Dorvane/ShellBase/ApplicationPlatform.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/StatusBar/StatusBar.h"

namespace dorvane::shell {

// The status item as the status bar shows it: its image, tooltip and menu, published
// only when something changed. A publish that failed (a host held by another program) is
// tried again on a timer, sooner at first, until the item shows what the program is doing
// now; each try is one bounded host access on the main queue. The first failure of a run of
// them is said on standard error and in the engine log. Main thread only.
class StatusMenuPresenter {
public:
    // The first retry's delay; each further one waits twice as long, up to the longest.
    static constexpr double firstRetrySeconds = 0.5;
    static constexpr double longestRetrySeconds = 2;

    StatusMenuPresenter(statusbar::StatusBar& statusBar, ApplicationPlatform& platform, std::ostream& errors,
                        EngineLog& log, dispatch::MainQueue& mainQueue);
    ~StatusMenuPresenter();
    StatusMenuPresenter(const StatusMenuPresenter&) = delete;
    StatusMenuPresenter& operator=(const StatusMenuPresenter&) = delete;

    // The item without a menu, as launch first shows it.
    void publishIdle();
    // Adds the menu; a click on an entry goes to `choose`, which answers whether it ran one.
    void addMenu(std::function<bool(const std::string&)> choose);
    void render(const EngineStatus& status, bool toolbarShown, bool restoreEnabled);
    // The toolbar entry's check mark, just before the menu opens.
    void refreshToolbarEntry(bool toolbarShown);
    // Whether the menu has an enabled entry with this title.
    bool offers(const std::string& title) const;

    const std::optional<statusbar::StatusItem>& item() const { return item_; }

private:
    std::string image(bool active);
    void publish(const statusbar::StatusItem& item);
    // Hands item_ to the status bar; after a failure, schedules the next try.
    void attempt();

    statusbar::StatusBar& statusBar_;
    ApplicationPlatform& platform_;
    std::ostream& errors_;
    EngineLog& log_;
    dispatch::MainQueue& mainQueue_;
    std::optional<statusbar::StatusItem> item_;
    bool published_ = false;
    bool failing_ = false;
    double retryDelay_ = firstRetrySeconds;
    dispatch::TimerHandle retry_;
    dispatch::Lifetime lifetime_;
    dispatch::Observation clickObservation_;
};

}  // namespace dorvane::shell
