#include "Platform/Host/Services/HostAppearance.h"

#include <exception>
#include <mutex>
#include <optional>
#include <string>

#include "Platform/Host/Services/ExecutorObservers.h"
#include "Platform/Host/Services/WeakSubscription.h"
#include "Platform/Host/State/HostError.h"

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
    static constexpr const char* kCatchUpKey = "appearance";

    // From the first observer on. The generation is read after subscribing, so no change
    // can fall in between. Without a baseline (the host turned the read away), it is read
    // once the host lets go, as no change may come to bring it, and told when it is not
    // the default (a system dark before the hold).
    void watch() {
        {
            std::lock_guard lock(mutex_);
            if (watching_) return;
            watching_ = true;
        }
        HostSubscription subscription;
        try {
            subscription = subscribeWhileAlive(session_->store(), weak_from_this(), &Hub::pulsed);
        } catch (const std::exception&) {
            return;  // without a watcher nothing can be told
        }
        std::optional<AppearanceState> baseline;
        std::optional<std::string> refused;
        try {
            baseline = read();
        } catch (const HostError& error) {
            refused = error.what();
        } catch (const std::exception&) {
        }
        {
            std::lock_guard lock(mutex_);
            subscription_ = std::move(subscription);
            if (baseline && baseline->generation > seen_) {
                seen_ = baseline->generation;
                known_ = baseline->settings;
            }
        }
        if (refused) session_->catchUp().later(kCatchUpKey, HostCatchUp::Kind::read, taking(), *refused);
    }

    // Reads the appearance and tells what changed; the read throws while the host turns it away.
    HostCatchUp::Attempt taking() { return whileAlive(weak_from_this(), [](Hub& hub) { hub.take(hub.read()); }); }

    // Any thread. A read the host turns away is made again once it lets go, as no later
    // change may come to bring it.
    void pulsed(const HostPulse& pulse) {
        {
            std::lock_guard lock(mutex_);
            if (pulse.appearanceGeneration <= seen_) return;
        }
        session_->catchUp().attempt(kCatchUpKey, HostCatchUp::Kind::read, taking());
    }

    // Throws when the host turns the read away.
    AppearanceState read() {
        AppearanceState state;
        session_->access([&](HostData& data) { state = data.appearance(); });
        return state;
    }

    void take(const AppearanceState& state) {
        std::lock_guard lock(mutex_);
        if (state.generation <= seen_) return;  // an older reading than one already told
        seen_ = state.generation;
        if (state.settings == known_) return;  // changed and changed back, or set afresh by a reset
        known_ = state.settings;
        observers_->post(state.settings);
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
