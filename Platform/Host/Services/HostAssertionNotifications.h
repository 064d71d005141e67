#pragma once

#include <memory>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Power/AssertionChangeNotifications.h"

namespace dorvane::host {

// The simulated "assertions changed" notice, delivered on the main queue once for each
// burst of changes, whichever process made them (through the store's watcher). When a
// real process holding an assertion ends, the host drops its assertions and that is a
// change like any other. Unavailable without a main queue, while the host says the
// system lacks the notice, or when the host cannot be watched.
class HostAssertionNotifications final : public power::AssertionChangeNotifications {
public:
    HostAssertionNotifications(std::shared_ptr<HostSession> session, dispatch::MainQueue* mainQueue)
        : session_(std::move(session)), mainQueue_(mainQueue) {}
    ~HostAssertionNotifications() override;

    bool start(std::function<void()> handler) override;
    void stop() override;

private:
    class Hub;
    std::shared_ptr<HostSession> session_;
    dispatch::MainQueue* mainQueue_;
    std::shared_ptr<Hub> hub_;
};

}  // namespace dorvane::host
