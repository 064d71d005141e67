#pragma once

#include <memory>

#include "Platform/Host/Session/HostSession.h"
#include "Platform/System/DistributedNotifications.h"

namespace dorvane::host {

// Distributed notifications through the host's journal ("notifications.json"). Posting
// numbers a notification and logs it. From its first observer until it is destroyed, the
// session is a reader of the journal: whenever the store's watcher reports a new number
// it takes what it has not taken yet, under the host lock, and hands each notification
// to the observers of its name. A fault rule on postDistributedNotification makes a post
// fail.
class HostDistributedNotifications final : public system::DistributedNotificationCenter {
public:
    explicit HostDistributedNotifications(std::shared_ptr<HostSession> session);
    ~HostDistributedNotifications() override;

    dispatch::Observation addObserver(const std::string& name, dispatch::Executor& executor,
                                      Handler handler) override;
    bool post(const system::DistributedNotification& notification) override;

private:
    class Hub;
    std::shared_ptr<HostSession> session_;
    std::shared_ptr<Hub> hub_;
};

}  // namespace dorvane::host
