#pragma once

#include <memory>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/StatusBar/StatusBar.h"

namespace dorvane::host {

// The simulated status bar: the item lives in "statusbar.json" with its owner, where
// `corvelle-host statusbar show` reads it; `corvelle-host statusbar click` leaves a
// click there, which reaches the owner's handler on its main queue and is answered
// with the handler's acknowledgement. The item is taken out when the owner removes it,
// when this service goes away, and when the owner's process has ended.
//
// What the host turns away (its lock held by another program) waits in the session's
// catch-up and reaches the host once it lets go: the newest item (or its removal), the read
// of the clicks, and their answers, so that every click is handed over once and answered.
class HostStatusBar final : public statusbar::StatusBar {
public:
    // Without a main queue, observing clicks throws std::logic_error. The session catches up
    // on the same main queue.
    HostStatusBar(std::shared_ptr<HostSession> session, dispatch::MainQueue* mainQueue);
    ~HostStatusBar() override;

    // Both throw what the host said when it turned the change away; the change then waits
    // to be made once it lets go, unless a newer one comes first.
    void publish(const statusbar::StatusItem& item) override;
    void remove() override;
    dispatch::Observation observeClicks(ClickHandler handler) override;

private:
    class Hub;
    std::shared_ptr<HostSession> session_;
    std::shared_ptr<Hub> hub_;
    bool published_ = false;  // only an owner has an item to take out
};

}  // namespace dorvane::host
