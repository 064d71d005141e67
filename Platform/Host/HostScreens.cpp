#include "Platform/Host/HostScreens.h"

#include <map>
#include <mutex>
#include <stdexcept>

#include "Platform/Host/RefusableChange.h"
#include "Platform/Host/ScreenLayout.h"

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

private:
    void start() {
        std::weak_ptr<Hub> weak = weak_from_this();
        auto subscription = session_->store().subscribe([weak](const HostPulse& pulse) {
            if (auto hub = weak.lock()) hub->pulsed(pulse);
        });
        // A host that cannot be read now has changed by the time it can: the first
        // readable pulse is then told as a change.
        const auto baseline = answerOr(HostPulse{}, [&] { return session_->displayPulse(); });
        {
            std::lock_guard lock(mutex_);
            subscription_ = std::move(subscription);
            delivered_ = baseline.generation;
            latest_ = std::max(latest_, baseline.generation);
            latestDue_ = baseline.nextDue;
        }
        mainQueue_.post([weak] {
            if (auto hub = weak.lock()) hub->deliver();
        });
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
            if (latest_ <= delivered_) return;
            delivered_ = latest_;
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

    void timerFired() {
        {
            std::lock_guard lock(mutex_);
            timerDue_.reset();
            if (observers_.empty()) return;
        }
        HostPulse pulse;
        try {
            pulse = session_->displayPulse();
        } catch (const std::exception&) {
            return;  // the host cannot be read now; the next change brings a pulse anyway
        }
        {
            std::lock_guard lock(mutex_);
            latest_ = std::max(latest_, pulse.generation);
            latestDue_ = pulse.nextDue;
        }
        deliver();
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
    return answerOr(std::vector<displays::Screen>(), [&] {
        return session_->call<std::vector<displays::Screen>>(
            HostCall::screens, 0, [](HostData& data) { return screensOf(data.state()); },
            [](HostData&, const FaultOutcome&) { return std::vector<displays::Screen>(); });
    });
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
