#include "Platform/Host/Services/HostDistributedNotifications.h"

#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "Platform/Host/Services/ExecutorObservers.h"
#include "Platform/Host/Session/RefusableChange.h"
#include "Platform/Host/Machines/SystemMachine.h"
#include "Platform/Host/Services/WeakSubscription.h"

namespace dorvane::host {

using system::DistributedNotification;
using Handler = system::DistributedNotificationCenter::Handler;

class HostDistributedNotifications::Hub : public std::enable_shared_from_this<Hub> {
public:
    explicit Hub(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    dispatch::Observation add(const std::string& name, dispatch::Executor& executor, Handler handler) {
        auto observation = observers_->add(executor, std::move(handler), name);
        bool join = false;
        {
            std::lock_guard lock(mutex_);
            join = !reader_;
        }
        // Joined before this returns, so whatever is posted from now on reaches the observer.
        if (join) drain();
        return observation;
    }

    void end() {
        HostSubscription subscription;
        std::optional<std::uint64_t> reader;
        {
            std::lock_guard lock(mutex_);
            ended_ = true;
            observers_->clear();
            subscription = std::move(subscription_);
            reader = std::exchange(reader_, std::nullopt);
        }
        subscription.cancel();  // a take running on the watcher finishes first
        if (reader) leave(*reader);
    }

private:
    // Any thread.
    void pulsed(const HostPulse& pulse) {
        {
            std::lock_guard lock(mutex_);
            if (ended_ || pulse.notificationGeneration == seen_) return;
            seen_ = pulse.notificationGeneration;
        }
        drain();
    }

    static constexpr const char* kCatchUpKey = "distributed notifications";

    // Any thread. A take the host turns away is made again once it lets go: what was posted
    // meanwhile may be the last notification for a long time.
    void drain() {
        session_->catchUp().attempt(kCatchUpKey, HostCatchUp::Kind::read, whileAlive(weak_from_this(), [](Hub& hub) { hub.takeAll(); }));
    }

    // Takes until nothing new is left. One thread takes at a time; a call meanwhile (from
    // another thread, or from a store that reports changes on the taking thread) only asks
    // it to take once more (and that thread catches up if it must). No lock is held while
    // the host is accessed. Throws when the host turned a take away.
    void takeAll() {
        {
            std::lock_guard lock(mutex_);
            if (ended_) return;
            if (draining_) {
                again_ = true;
                return;
            }
            draining_ = true;
            again_ = false;
        }
        for (;;) {
            try {
                takeOnce();
            } catch (...) {
                std::lock_guard lock(mutex_);
                draining_ = false;
                throw;
            }
            std::lock_guard lock(mutex_);
            if (ended_ || !again_) {
                draining_ = false;
                return;
            }
            again_ = false;
        }
    }

    // Throws when the host turned the take away.
    void takeOnce() {
        std::optional<std::uint64_t> reader;
        bool subscribed = false;
        {
            std::lock_guard lock(mutex_);
            reader = reader_;
            subscribed = subscribed_;
        }
        // Subscribed before joining, so no notification can fall in between.
        if (!subscribed && !subscribe()) return;
        std::optional<std::vector<NotificationJournalEntry>> taken;
        session_->access([&](HostData& data) {
            if (reader) taken = data.notifications().take(*reader);
            // Not a reader yet, or one the host no longer knows (its journal started afresh).
            if (!taken) {
                reader = data.notifications().addReader(session_->identity());
                taken.emplace();
            }
        });
        std::unique_lock lock(mutex_);
        if (ended_) {
            lock.unlock();
            leave(*reader);
            return;
        }
        reader_ = reader;
        // Handed out under the lock, so every executor gets them in the journal's order.
        for (const auto& entry : *taken) {
            const auto& name = entry.notification.name;
            observers_->post(entry.notification, [&name](const std::string& wanted) { return wanted == name; });
        }
    }

    bool subscribe() {
        HostSubscription subscription;
        try {
            subscription = subscribeWhileAlive(session_->store(), weak_from_this(), &Hub::pulsed);
        } catch (const std::exception&) {
            return false;  // no watcher: nothing can reach this program
        }
        std::lock_guard lock(mutex_);
        if (ended_) return false;
        subscription_ = std::move(subscription);
        subscribed_ = true;
        return true;
    }

    void leave(std::uint64_t reader) {
        try {
            session_->access([reader](HostData& data) { data.notifications().removeReader(reader); });
        } catch (const std::exception&) {
            // The host forgets the reader once this process has ended.
        }
    }

    std::shared_ptr<HostSession> session_;
    std::shared_ptr<ExecutorObservers<DistributedNotification, std::string>> observers_ =
        std::make_shared<ExecutorObservers<DistributedNotification, std::string>>();
    std::mutex mutex_;
    HostSubscription subscription_;
    bool subscribed_ = false;
    std::optional<std::uint64_t> reader_;
    std::uint64_t seen_ = 0;
    bool draining_ = false;
    bool again_ = false;
    bool ended_ = false;
};

HostDistributedNotifications::HostDistributedNotifications(std::shared_ptr<HostSession> session)
    : session_(std::move(session)), hub_(std::make_shared<Hub>(session_)) {}

HostDistributedNotifications::~HostDistributedNotifications() { hub_->end(); }

dispatch::Observation HostDistributedNotifications::addObserver(const std::string& name,
                                                                dispatch::Executor& executor, Handler handler) {
    return hub_->add(name, executor, std::move(handler));
}

bool HostDistributedNotifications::post(const DistributedNotification& notification) {
    if (const auto reason = system::unpostableNotification(notification)) throw std::invalid_argument(*reason);
    const auto isAlive = [this](const processes::ProcessIdentity& process) { return session_->store().isAlive(process); };
    return refusableChange(*session_, HostCall::postDistributedNotification, [&](HostData& data) {
        postDistributedNotification(data, session_->actor(), notification, isAlive);
        return true;
    });
}

}  // namespace dorvane::host
