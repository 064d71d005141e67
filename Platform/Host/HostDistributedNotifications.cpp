#include "Platform/Host/HostDistributedNotifications.h"

#include <map>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "Platform/Host/SystemMachine.h"

namespace dorvane::host {

using system::DistributedNotification;
using Handler = system::DistributedNotificationCenter::Handler;

class HostDistributedNotifications::Hub : public std::enable_shared_from_this<Hub> {
public:
    explicit Hub(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    std::uint64_t add(std::string name, dispatch::Executor& executor, Handler handler) {
        bool join = false;
        std::uint64_t id = 0;
        {
            std::lock_guard lock(mutex_);
            id = nextObserver_++;
            observers_.emplace(id, Observer{std::move(name), &executor, std::move(handler)});
            join = !reader_;
        }
        // Joined before this returns, so whatever is posted from now on reaches the observer.
        if (join) drain();
        return id;
    }

    void remove(std::uint64_t id) {
        std::lock_guard lock(mutex_);
        observers_.erase(id);
    }

    void end() {
        HostSubscription subscription;
        std::optional<std::uint64_t> reader;
        {
            std::lock_guard lock(mutex_);
            ended_ = true;
            observers_.clear();
            subscription = std::move(subscription_);
            reader = std::exchange(reader_, std::nullopt);
        }
        subscription.cancel();  // a take running on the watcher finishes first
        if (reader) leave(*reader);
    }

private:
    struct Observer {
        std::string name;
        dispatch::Executor* executor = nullptr;
        Handler handler;
    };

    // Any thread.
    void pulsed(const HostPulse& pulse) {
        {
            std::lock_guard lock(mutex_);
            if (ended_ || pulse.notificationGeneration == seen_) return;
            seen_ = pulse.notificationGeneration;
        }
        drain();
    }

    // Takes until nothing new is left. One thread takes at a time; a call meanwhile (from
    // another thread, or from a store that reports changes on the taking thread) only asks
    // it to take once more. No lock is held while the host is accessed.
    void drain() {
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
            takeOnce();
            std::lock_guard lock(mutex_);
            if (ended_ || !again_) {
                draining_ = false;
                return;
            }
            again_ = false;
        }
    }

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
        std::optional<std::vector<JournalEntry>> taken;
        try {
            session_->access([&](HostData& data) {
                if (reader) taken = data.notifications.take(*reader);
                // Not a reader yet, or one the host no longer knows (its journal started afresh).
                if (!taken) {
                    reader = data.notifications.addReader(session_->identity());
                    taken.emplace();
                }
            });
        } catch (const std::exception&) {
            return;  // the next notification brings another try
        }
        std::unique_lock lock(mutex_);
        if (ended_) {
            lock.unlock();
            leave(*reader);
            return;
        }
        reader_ = reader;
        std::weak_ptr<Hub> weak = weak_from_this();
        // Handed out under the lock, so every executor gets them in the journal's order.
        for (const auto& entry : *taken) {
            for (const auto& [id, observer] : observers_) {
                if (observer.name != entry.notification.name) continue;
                observer.executor->post([weak, id = id, notification = entry.notification] {
                    if (auto hub = weak.lock()) hub->deliver(id, notification);
                });
            }
        }
    }

    bool subscribe() {
        std::weak_ptr<Hub> weak = weak_from_this();
        HostSubscription subscription;
        try {
            subscription = session_->store().subscribe([weak](const HostPulse& pulse) {
                if (auto hub = weak.lock()) hub->pulsed(pulse);
            });
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
            session_->access([reader](HostData& data) { data.notifications.removeReader(reader); });
        } catch (const std::exception&) {
            // The host forgets the reader once this process has ended.
        }
    }

    // On the observer's executor: nothing once the observer has gone.
    void deliver(std::uint64_t id, const DistributedNotification& notification) {
        Handler handler;
        {
            std::lock_guard lock(mutex_);
            const auto found = observers_.find(id);
            if (found == observers_.end()) return;
            handler = found->second.handler;
        }
        handler(notification);
    }

    std::shared_ptr<HostSession> session_;
    std::mutex mutex_;
    std::uint64_t nextObserver_ = 1;
    std::map<std::uint64_t, Observer> observers_;
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
    const auto id = hub_->add(name, executor, std::move(handler));
    std::weak_ptr<Hub> weak = hub_;
    return dispatch::Observation([weak, id] {
        if (auto hub = weak.lock()) hub->remove(id);
    });
}

bool HostDistributedNotifications::post(const DistributedNotification& notification) {
    if (const auto reason = system::unpostableNotification(notification)) throw std::invalid_argument(*reason);
    const auto isAlive = [this](const processes::ProcessIdentity& process) { return session_->store().isAlive(process); };
    try {
        return session_->call<bool>(
            HostCall::postDistributedNotification, 0,
            [&](HostData& data) {
                postDistributedNotification(data, session_->actor(), notification, isAlive);
                return true;
            },
            [](HostData&, const FaultOutcome&) { return false; });
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace dorvane::host
