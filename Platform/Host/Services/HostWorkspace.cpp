#include "Platform/Host/Services/HostWorkspace.h"

#include <map>
#include <mutex>
#include <stdexcept>
#include <string>

namespace dorvane::host {

using workspace::RunningApplication;
using Applications = std::vector<RunningApplication>;
using ApplicationsHandler = std::function<void(const Applications&, const Applications&)>;

class HostWorkspace::Hub : public std::enable_shared_from_this<Hub> {
public:
    Hub(std::shared_ptr<HostSession> session, dispatch::MainQueue& mainQueue)
        : session_(std::move(session)), mainQueue_(mainQueue) {}

    std::uint64_t add(ApplicationsHandler applications, std::function<void()> wake) {
        bool first = false;
        std::uint64_t id = 0;
        {
            std::lock_guard lock(mutex_);
            first = observers_.empty();
            id = nextObserver_++;
            observers_.emplace(id, Observer{std::move(applications), std::move(wake)});
        }
        if (first) begin();
        return id;
    }

    void remove(std::uint64_t id) {
        HostSubscription subscription;
        std::lock_guard lock(mutex_);
        observers_.erase(id);
        if (observers_.empty()) subscription = std::move(subscription_);
    }

    void end() {
        HostSubscription subscription;
        std::lock_guard lock(mutex_);
        observers_.clear();
        subscription = std::move(subscription_);
    }

private:
    struct Observer {
        ApplicationsHandler applications;  // one of the two is set
        std::function<void()> wake;
    };

    struct Reading {
        std::uint64_t generation = 0;
        std::uint64_t wakes = 0;
        Applications applications;
    };

    static constexpr const char* kCatchUpKey = "workspace";

    // Throws when the host turns the read away.
    Reading read() {
        Reading reading;
        session_->access([&](HostData& data) {
            reading = Reading{data.workspace().generation, data.workspace().wakes, data.workspace().applications};
        });
        return reading;
    }

    // Subscribed before the baseline is read, so no change can fall in between. Without a
    // baseline (the host turned the read away), what the next change brings is told against
    // none: more than changed, nothing less.
    void begin() {
        std::weak_ptr<Hub> weak = weak_from_this();
        HostSubscription subscription;
        try {
            subscription = session_->store().subscribe([weak](const HostPulse& pulse) {
                if (auto hub = weak.lock()) hub->pulsed(pulse);
            });
        } catch (const std::exception&) {
            return;  // no watcher: nothing can be told
        }
        std::optional<Reading> baseline;
        try {
            baseline = read();
        } catch (const std::exception&) {
        }
        std::lock_guard lock(mutex_);
        if (observers_.empty()) return;
        subscription_ = std::move(subscription);
        if (baseline && baseline->generation > seen_) {
            seen_ = baseline->generation;
            wakes_ = baseline->wakes;
            known_ = baseline->applications;
        }
    }

    // Any thread: reads what changed and hands it to the main queue, in order. A read the
    // host turns away is made again once it lets go, as no later change may come to bring it.
    void pulsed(const HostPulse& pulse) {
        {
            std::lock_guard lock(mutex_);
            if (observers_.empty() || pulse.workspaceGeneration <= seen_) return;
        }
        session_->catchUp().attempt(kCatchUpKey, HostCatchUp::Kind::read, whileAlive(weak_from_this(), [](Hub& hub) { hub.take(hub.read()); }));
    }

    void take(const Reading& reading) {
        std::lock_guard lock(mutex_);
        if (observers_.empty() || reading.generation <= seen_) return;  // older than one already told
        seen_ = reading.generation;
        Applications before = std::exchange(known_, reading.applications);
        const bool woke = reading.wakes > wakes_;
        wakes_ = reading.wakes;
        std::weak_ptr<Hub> weak = weak_from_this();
        mainQueue_.post([weak, before = std::move(before), after = reading.applications, woke] {
            if (auto hub = weak.lock()) hub->deliver(before, after, woke);
        });
    }

    // Main queue.
    void deliver(const Applications& before, const Applications& after, bool woke) {
        std::vector<std::uint64_t> ids;
        {
            std::lock_guard lock(mutex_);
            for (const auto& [id, observer] : observers_) ids.push_back(id);
        }
        for (const auto id : ids) {
            Observer observer;
            {
                std::lock_guard lock(mutex_);
                const auto found = observers_.find(id);
                if (found == observers_.end()) continue;  // removed by an earlier observer
                observer = found->second;
            }
            if (observer.applications && before != after) observer.applications(before, after);
            if (observer.wake && woke) observer.wake();
        }
    }

    std::shared_ptr<HostSession> session_;
    dispatch::MainQueue& mainQueue_;
    std::mutex mutex_;
    std::uint64_t nextObserver_ = 1;
    std::map<std::uint64_t, Observer> observers_;
    HostSubscription subscription_;
    std::uint64_t seen_ = 0;
    std::uint64_t wakes_ = 0;
    Applications known_;
};

HostWorkspace::HostWorkspace(std::shared_ptr<HostSession> session, dispatch::MainQueue* mainQueue)
    : session_(std::move(session)) {
    if (mainQueue != nullptr) hub_ = std::make_shared<Hub>(session_, *mainQueue);
}

HostWorkspace::~HostWorkspace() {
    if (hub_) hub_->end();
}

std::vector<RunningApplication> HostWorkspace::runningApplications() {
    std::vector<RunningApplication> applications;
    try {
        session_->access([&](HostData& data) { applications = data.workspace().applications; });
    } catch (const std::exception&) {
        return {};
    }
    return applications;
}

dispatch::Observation HostWorkspace::observeRunningApplications(ApplicationsHandler handler) {
    if (!hub_) throw std::logic_error("workspace notifications need the main queue");
    const auto id = hub_->add(std::move(handler), nullptr);
    std::weak_ptr<Hub> weak = hub_;
    return dispatch::Observation([weak, id] {
        if (auto hub = weak.lock()) hub->remove(id);
    });
}

dispatch::Observation HostWorkspace::observeWake(std::function<void()> handler) {
    if (!hub_) throw std::logic_error("workspace notifications need the main queue");
    const auto id = hub_->add(nullptr, std::move(handler));
    std::weak_ptr<Hub> weak = hub_;
    return dispatch::Observation([weak, id] {
        if (auto hub = weak.lock()) hub->remove(id);
    });
}

}  // namespace dorvane::host
