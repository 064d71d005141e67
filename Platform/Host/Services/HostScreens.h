#pragma once

#include <memory>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// Screens of the simulated host and the screen-parameters-changed notification.
//
// Observers are called on the main queue. Changes reach them from the store (directly
// in memory; through the folder watcher when another process changed the folder), and
// changes the host makes by itself at a given time (a late virtual display, a scheduled
// plug) through a main-queue timer that lets the host catch up at that moment.
class HostScreens final : public displays::ScreenServices {
public:
    // Without a main queue the notification is unavailable and observing throws
    // std::logic_error.
    HostScreens(std::shared_ptr<HostSession> session, dispatch::MainQueue* mainQueue);
    ~HostScreens() override;

    std::vector<displays::Screen> screens() override;
    displays::ScreenObservation observeScreenParameters(std::function<void()> handler) override;

private:
    class Hub;
    std::shared_ptr<HostSession> session_;
    std::shared_ptr<Hub> hub_;
};

}  // namespace dorvane::host
