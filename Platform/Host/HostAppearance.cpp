#include "Platform/Host/HostAppearance.h"

#include <map>
#include <mutex>

namespace dorvane::host {

using system::AppearanceSettings;
using Handler = std::function<void(const AppearanceSettings&)>;

class HostAppearance::Hub : public std::enable_shared_from_this<Hub> {
public:
    explicit Hub(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    std::uint64_t add(dispatch::Executor& executor, Handler handler) {
        bool first = false;
        std::uint64_t id = 0;
        {
            std::lock_guard lock(mutex_);
            first = observers_.empty() && !subscribed_;
            id = nextObserver_++;
            observers_.emplace(id, Observer{&executor, std::move(handler)});
        }
        if (first) begin();
        return id;
    }

    void remove(std::uint64_t id) {
        std::lock_guard lock(mutex_);
        observers_.erase(id);
    }

    void end() {
        HostSubscription subscription;
        std::lock_guard lock(mutex_);
        observers_.clear();
        subscription = std::move(subscription_);
    }

private:
    struct Observer {
        dispatch::Executor* executor = nullptr;
        Handler handler;
    };

    std::optional<AppearanceState> read() {
        try {
            std::optional<AppearanceState> state;
            session_->access([&](HostData& data) { state = data.appearance; });
            return state;
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }

    // Subscribed before the baseline is read, so no change can fall in between.
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
        const auto baseline = read();
        std::lock_guard lock(mutex_);
        subscription_ = std::move(subscription);
        subscribed_ = true;
        if (baseline && baseline->generation > seen_) {
            seen_ = baseline->generation;
            known_ = baseline->settings;
        }
    }

    // Any thread: reads the change and hands it to every observer's executor, in order.
    void pulsed(const HostPulse& pulse) {
        {
            std::lock_guard lock(mutex_);
            if (pulse.appearanceGeneration <= seen_) return;
        }
        const auto state = read();
        if (!state) return;
        std::lock_guard lock(mutex_);
        if (state->generation <= seen_) return;
        seen_ = state->generation;
        if (state->settings == known_) return;
        known_ = state->settings;
        std::weak_ptr<Hub> weak = weak_from_this();
        for (const auto& [id, observer] : observers_) {
            observer.executor->post([weak, id = id, settings = known_] {
                if (auto hub = weak.lock()) hub->deliver(id, settings);
            });
        }
    }

    // On the observer's executor: nothing once the observer has gone.
    void deliver(std::uint64_t id, const AppearanceSettings& settings) {
        Handler handler;
        {
            std::lock_guard lock(mutex_);
            const auto found = observers_.find(id);
            if (found == observers_.end()) return;
            handler = found->second.handler;
        }
        handler(settings);
    }

    std::shared_ptr<HostSession> session_;
    std::mutex mutex_;
    std::uint64_t nextObserver_ = 1;
    std::map<std::uint64_t, Observer> observers_;
    HostSubscription subscription_;
    bool subscribed_ = false;
    std::uint64_t seen_ = 0;
    AppearanceSettings known_;
};

HostAppearance::HostAppearance(std::shared_ptr<HostSession> session)
    : session_(std::move(session)), hub_(std::make_shared<Hub>(session_)) {}

HostAppearance::~HostAppearance() { hub_->end(); }

AppearanceSettings HostAppearance::current() {
    try {
        return session_->call<AppearanceSettings>(
            HostCall::currentAppearance, 0, [](HostData& data) { return data.appearance.settings; },
            [](HostData&, const FaultOutcome&) { return AppearanceSettings{}; });
    } catch (const std::exception&) {
        return AppearanceSettings{};
    }
}

dispatch::Observation HostAppearance::observe(dispatch::Executor& executor, Handler handler) {
    const auto id = hub_->add(executor, std::move(handler));
    std::weak_ptr<Hub> weak = hub_;
    return dispatch::Observation([weak, id] {
        if (auto hub = weak.lock()) hub->remove(id);
    });
}

}  // namespace dorvane::host
