#include "Platform/Host/Services/HostScreens.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/State/ScreenLayout.h"

namespace dorvane::host {

class HostScreens::Hub : public std::enable_shared_from_this<Hub> {
public:
    Hub(std::shared_ptr<HostSession> session, dispatch::MainQueue& mainQueue)
        : session_(std::move(session)), mainQueue_(mainQueue) {}

    std::uint64_t add(std::function<void()> handler) {
        bool first = false;
        std::uint64_t id = 0;
        {
            std::lock_guard lock(mutex_);
            first = observers_.empty();
            id = nextObserver_++;
            observers_.emplace(id, std::move(handler));
        }
        if (first) start();
        return id;
    }

    void remove(std::uint64_t id) {
        HostSubscription subscription;
        {
            std::lock_guard lock(mutex_);
            observers_.erase(id);
            if (!observers_.empty()) return;
            subscription = std::move(subscription_);
            timer_.cancel();
            timerDue_.reset();
        }
    }

    void stop() {
        HostSubscription subscription;
        std::lock_guard lock(mutex_);
        observers_.clear();
        subscription = std::move(subscription_);
        timer_.cancel();
    }

    // Any thread: a caller of screens() was answered none because the host turned the read
    // away. What it placed by that answer is placed again once the screens can be read: the
    // observers are then told, as of screens that came back.
    void answeredBlind(const std::string& why) {
        {
            std::lock_guard lock(mutex_);
            if (observers_.empty()) return;
            ++blindAnswers_;
        }
        refreshLater(why);
    }

private:
    static constexpr const char* kCatchUpKey = "screens";

    void start() {
        std::weak_ptr<Hub> weak = weak_from_this();
        auto subscription = session_->store().subscribe([weak](const HostPulse& pulse) {
            if (auto hub = weak.lock()) hub->pulsed(pulse);
        });
        // A host that cannot be read now has changed by the time it can: the first
        // readable pulse is then told as a change, and the timer for the host's own next
        // change is set then.
        const BaselineRead baseline = readBaseline();
        {
            std::lock_guard lock(mutex_);
            subscription_ = std::move(subscription);
            if (baseline.pulse) {
                delivered_ = baseline.pulse->generation;
                latest_ = std::max(latest_, baseline.pulse->generation);
                latestDue_ = baseline.pulse->nextDue;
            } else {
                // Unread, what was seen before counts as told; what the read then finds is new.
                delivered_ = latest_;
            }
        }
        if (!baseline.pulse) refreshLater(baseline.refused);
        mainQueue_.post([weak] {
            if (auto hub = weak.lock()) hub->deliver();
        });
    }

    // The pulse at the start, or why the host turned the read away. Each way is returned
    // whole from its own branch: nothing read after the catch was written inside the try.
    struct BaselineRead {
        std::optional<HostPulse> pulse;
        std::string refused;
    };

    BaselineRead readBaseline() {
        try {
            return BaselineRead{session_->displayPulse(), {}};
        } catch (const HostError& error) {
            return BaselineRead{std::nullopt, error.what()};
        }
    }

    HostCatchUp::Attempt refreshing() { return whileAlive(weak_from_this(), [](Hub& hub) { hub.refresh(); }); }

    void refreshLater(const std::string& why) { session_->catchUp().later(kCatchUpKey, HostCatchUp::Kind::read, refreshing(), why); }

    // Main queue: reads the displays, which lets the host make the changes that fell due
    // meanwhile, and tells the observers what changed. Throws when the host turns the read
    // away.
    void refresh() {
        std::uint64_t blind = 0;
        bool blindSince = false;
        {
            std::lock_guard lock(mutex_);
            if (observers_.empty()) return;
            blind = blindAnswers_;
            blindSince = blind > blindTold_;
        }
        const HostPulse pulse = session_->displayPulse();
        bool anyScreen = false;
        if (blindSince) session_->access([&](HostData& data) { anyScreen = !screensOf(data.state()).empty(); });
        {
            std::lock_guard lock(mutex_);
            latest_ = std::max(latest_, pulse.generation);
            latestDue_ = pulse.nextDue;
            // Answers of none given before this read are wrong now only if there are screens.
            if (blind > blindTold_) {
                blindTold_ = blind;
                owed_ = owed_ || anyScreen;
            }
        }
        deliver();
    }

    // Any thread.
    void pulsed(const HostPulse& pulse) {
        {
            std::lock_guard lock(mutex_);
            if (observers_.empty()) return;
            latest_ = std::max(latest_, pulse.generation);
            latestDue_ = pulse.nextDue;
        }
        std::weak_ptr<Hub> weak = weak_from_this();
        mainQueue_.post([weak] {
            if (auto hub = weak.lock()) hub->deliver();
        });
    }

    // Main queue: calls the observers once for everything seen since the last call,
    // and keeps the timer for the host's next change of its own.
    void deliver() {
        std::vector<std::uint64_t> due;
        {
            std::lock_guard lock(mutex_);
            if (observers_.empty()) return;
            schedule(latestDue_);
            if (latest_ <= delivered_ && !owed_) return;
            delivered_ = latest_;
            owed_ = false;
            for (const auto& [id, handler] : observers_) due.push_back(id);
        }
        for (const auto id : due) {
            std::function<void()> handler;
            {
                std::lock_guard lock(mutex_);
                const auto found = observers_.find(id);
                if (found == observers_.end()) continue;  // removed by an earlier handler
                handler = found->second;
            }
            handler();
        }
    }

    // Holds mutex_.
    void schedule(const std::optional<double>& due) {
        if (due == timerDue_) return;
        timer_.cancel();
        timerDue_ = due;
        if (!due) return;
        const double delay = std::max(0.0, *due - session_->clock().uptime());
        std::weak_ptr<Hub> weak = weak_from_this();
        timer_ = mainQueue_.postAfter(delay, [weak] {
            if (auto hub = weak.lock()) hub->timerFired();
        });
    }

    // The host's own change falls due now, and happens with the read: a read the host turns
    // away is made once it lets go, as no other change may come to bring it.
    void timerFired() {
        {
            std::lock_guard lock(mutex_);
            timerDue_.reset();
            if (observers_.empty()) return;
        }
        session_->catchUp().attempt(kCatchUpKey, HostCatchUp::Kind::read, refreshing());
    }

    std::shared_ptr<HostSession> session_;
    dispatch::MainQueue& mainQueue_;
    std::mutex mutex_;
    std::uint64_t nextObserver_ = 1;
    std::map<std::uint64_t, std::function<void()>> observers_;
    HostSubscription subscription_;
    std::uint64_t delivered_ = 0;
    std::uint64_t latest_ = 0;
    std::optional<double> latestDue_;
    // Answers of none given while the host turned the read away, and those a read since
    // has accounted for; owed_: the observers are told at the next delivery, changed or not.
    std::uint64_t blindAnswers_ = 0;
    std::uint64_t blindTold_ = 0;
    bool owed_ = false;
    std::optional<double> timerDue_;
    dispatch::TimerHandle timer_;
};

HostScreens::HostScreens(std::shared_ptr<HostSession> session, dispatch::MainQueue* mainQueue)
    : session_(std::move(session)) {
    if (mainQueue != nullptr) hub_ = std::make_shared<Hub>(session_, *mainQueue);
}

HostScreens::~HostScreens() {
    if (hub_) hub_->stop();
}

std::vector<displays::Screen> HostScreens::screens() {
    try {
        return session_->call<std::vector<displays::Screen>>(
            HostCall::screens, 0, [](HostData& data) { return screensOf(data.state()); },
            [](HostData&, const FaultOutcome&) { return std::vector<displays::Screen>(); });
    } catch (const HostError& error) {
        // As a system call that fails: no screens, for now.
        if (hub_) hub_->answeredBlind(error.what());
        return {};
    }
}

displays::ScreenObservation HostScreens::observeScreenParameters(std::function<void()> handler) {
    if (!hub_) throw std::logic_error("screen-parameter notifications need the main queue");
    const auto id = hub_->add(std::move(handler));
    std::weak_ptr<Hub> weak = hub_;
    return displays::ScreenObservation([weak, id] {
        if (auto hub = weak.lock()) hub->remove(id);
    });
}

}  // namespace dorvane::host
