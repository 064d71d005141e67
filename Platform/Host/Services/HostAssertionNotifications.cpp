#include "Platform/Host/Services/HostAssertionNotifications.h"

#include <map>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

namespace dorvane::host {

namespace {

using HolderKey = std::pair<std::int32_t, std::uint64_t>;

}  // namespace

class HostAssertionNotifications::Hub : public std::enable_shared_from_this<Hub> {
public:
    Hub(std::shared_ptr<HostSession> session, dispatch::MainQueue& mainQueue, std::function<void()> handler)
        : session_(std::move(session)), mainQueue_(mainQueue), handler_(std::move(handler)) {}

    // False when the host offers no notice now.
    bool begin() {
        std::weak_ptr<Hub> weak = weak_from_this();
        try {
            // Subscribed before the baseline is read, so no change can fall in between.
            auto subscription = session_->store().subscribe([weak](const HostPulse& pulse) {
                if (auto hub = weak.lock()) hub->pulsed(pulse);
            });
            std::optional<std::uint64_t> baseline;
            session_->access([&](HostData& data) {
                if (data.power().notificationsAvailable) baseline = data.power().generation;
            });
            if (!baseline) return false;
            std::lock_guard lock(mutex_);
            subscription_ = std::move(subscription);
            delivered_ = *baseline;
            latest_ = std::max(latest_, *baseline);
        } catch (const std::exception&) {
            return false;
        }
        watchHolders();
        return true;
    }

    // Nothing is delivered after this returns.
    void end() {
        HostSubscription subscription;
        std::map<HolderKey, HostSubscription> exits;
        std::function<void()> handler;
        std::lock_guard lock(mutex_);
        active_ = false;
        subscription = std::move(subscription_);
        exits = std::move(exits_);
        handler = std::move(handler_);
    }

private:
    // Any thread.
    void pulsed(const HostPulse& pulse) {
        {
            std::lock_guard lock(mutex_);
            if (!active_ || pulse.powerGeneration <= latest_) return;
            latest_ = pulse.powerGeneration;
            std::weak_ptr<Hub> weak = weak_from_this();
            mainQueue_.post([weak] {
                if (auto hub = weak.lock()) hub->deliver();
            });
        }
        watchHolders();
    }

    // Main queue: one call for everything since the last one.
    void deliver() {
        std::function<void()> handler;
        {
            std::lock_guard lock(mutex_);
            if (!active_ || latest_ <= delivered_) return;
            delivered_ = latest_;
            handler = handler_;
        }
        handler();
    }

    // Keeps one end-watch per real process that holds an assertion. Called without the
    // lock: watching a process that has already ended reports it at once. A read the host
    // turns away is made again once it lets go: a holder not watched ends unseen.
    void watchHolders() {
        session_->catchUp().attempt("power assertion holders", HostCatchUp::Kind::read,
                                    whileAlive(weak_from_this(), [](Hub& hub) { hub.watchHoldersNow(); }));
    }

    // Throws when the host turns the read away.
    void watchHoldersNow() {
        std::set<HolderKey> holders;
        std::uint64_t generation = 0;
        session_->access([&](HostData& data) {
            generation = data.power().generation;
            for (const auto& assertion : data.power().assertions) {
                if (!isSimulatedPID(assertion.holder.pid)) {
                    holders.insert({assertion.holder.pid, assertion.holder.startTime});
                }
            }
        });
        std::vector<HostSubscription> dropped;
        std::vector<HolderKey> added;
        {
            std::lock_guard lock(mutex_);
            // Two threads may read at once: an older reading must not undo a newer one.
            if (!active_ || generation < watched_) return;
            watched_ = generation;
            for (auto exit = exits_.begin(); exit != exits_.end();) {
                if (holders.contains(exit->first)) {
                    ++exit;
                    continue;
                }
                dropped.push_back(std::move(exit->second));
                exit = exits_.erase(exit);
            }
            for (const auto& holder : holders) {
                if (!exits_.contains(holder)) added.push_back(holder);
            }
        }
        std::weak_ptr<Hub> weak = weak_from_this();
        for (const auto& holder : added) {
            HostSubscription watch;
            try {
                watch = session_->store().onProcessEnd({holder.first, holder.second}, [weak] {
                    if (auto hub = weak.lock()) hub->holderEnded();
                });
            } catch (const std::exception&) {
                // Not watchable now: the end is still seen by the next access (a sample).
            }
            std::lock_guard lock(mutex_);
            if (active_ && !exits_.contains(holder)) {
                exits_.emplace(holder, std::move(watch));
            } else {
                dropped.push_back(std::move(watch));
            }
        }
    }

    // Any thread: an access drops the ended holder's assertions, and the change reaches
    // every watcher of the store, this one included; one the host turns away is made once
    // it lets go, as nothing else may come to look.
    void holderEnded() {
        auto look = [](Hub& hub) { hub.session_->access([](HostData& data) { (void)data.power(); }); };
        session_->catchUp().attempt("ended power assertion holders", HostCatchUp::Kind::read, whileAlive(weak_from_this(), look));
    }

    std::shared_ptr<HostSession> session_;
    dispatch::MainQueue& mainQueue_;
    std::mutex mutex_;
    bool active_ = true;
    std::function<void()> handler_;
    std::uint64_t delivered_ = 0;
    std::uint64_t latest_ = 0;
    std::uint64_t watched_ = 0;  // the power generation the end-watches were last set by
    HostSubscription subscription_;
    std::map<HolderKey, HostSubscription> exits_;
};

HostAssertionNotifications::~HostAssertionNotifications() { stop(); }

bool HostAssertionNotifications::start(std::function<void()> handler) {
    stop();
    if (mainQueue_ == nullptr) return false;
    auto hub = std::make_shared<Hub>(session_, *mainQueue_, std::move(handler));
    if (!hub->begin()) {
        hub->end();
        return false;
    }
    hub_ = std::move(hub);
    return true;
}

void HostAssertionNotifications::stop() {
    if (auto hub = std::exchange(hub_, nullptr)) hub->end();
}

}  // namespace dorvane::host
