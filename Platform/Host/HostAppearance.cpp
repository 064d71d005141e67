#include "Platform/Host/HostAppearance.h"

#include <mutex>

#include "Platform/Host/ExecutorObservers.h"
#include "Platform/Host/WeakSubscription.h"

namespace dorvane::host {

using system::AppearanceSettings;

class HostAppearance::Hub : public std::enable_shared_from_this<Hub> {
public:
    explicit Hub(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    dispatch::Observation add(dispatch::Executor& executor, std::function<void(const AppearanceSettings&)> handler) {
        auto observation = observers_->add(executor, std::move(handler));
        watch();
        return observation;
    }

    void end() {
        HostSubscription subscription;
        std::lock_guard lock(mutex_);
        observers_->clear();
        subscription = std::move(subscription_);
    }

private:
    // From the first observer on. The generation is read after subscribing, so no change
    // can fall in between.
    void watch() {
        {
            std::lock_guard lock(mutex_);
            if (watching_) return;
            watching_ = true;
        }
        HostSubscription subscription;
        std::optional<AppearanceState> baseline;
        try {
            subscription = subscribeWhileAlive(session_->store(), weak_from_this(), &Hub::pulsed);
            session_->access([&](HostData& data) { baseline = data.appearance(); });
        } catch (const std::exception&) {
            // Without a watcher nothing can be told; an unreadable host is read at the next change.
        }
        std::lock_guard lock(mutex_);
        subscription_ = std::move(subscription);
        if (baseline && baseline->generation > seen_) {
            seen_ = baseline->generation;
            known_ = baseline->settings;
        }
    }

    // Any thread.
    void pulsed(const HostPulse& pulse) {
        {
            std::lock_guard lock(mutex_);
            if (pulse.appearanceGeneration <= seen_) return;
        }
        std::optional<AppearanceState> state;
        try {
            session_->access([&](HostData& data) { state = data.appearance(); });
        } catch (const std::exception&) {
            return;  // the next change brings another try
        }
        std::lock_guard lock(mutex_);
        if (state->generation <= seen_) return;  // an older reading than one already told
        seen_ = state->generation;
        if (state->settings == known_) return;  // changed and changed back, or set afresh by a reset
        known_ = state->settings;
        observers_->post(state->settings);
    }

    std::shared_ptr<HostSession> session_;
    std::shared_ptr<ExecutorObservers<AppearanceSettings>> observers_ =
        std::make_shared<ExecutorObservers<AppearanceSettings>>();
    std::mutex mutex_;
    bool watching_ = false;
    HostSubscription subscription_;
    std::uint64_t seen_ = 0;
    AppearanceSettings known_;
};

HostAppearance::HostAppearance(std::shared_ptr<HostSession> session)
    : session_(std::move(session)), hub_(std::make_shared<Hub>(session_)) {}

HostAppearance::~HostAppearance() { hub_->end(); }

AppearanceSettings HostAppearance::current() {
    try {
        return session_->call<AppearanceSettings>(
            HostCall::currentAppearance, 0, [](HostData& data) { return data.appearance().settings; },
            [](HostData&, const FaultOutcome&) { return AppearanceSettings{}; });
    } catch (const std::exception&) {
        return AppearanceSettings{};
    }
}

dispatch::Observation HostAppearance::observe(dispatch::Executor& executor,
                                              std::function<void(const AppearanceSettings&)> handler) {
    return hub_->add(executor, std::move(handler));
}

}  // namespace dorvane::host
