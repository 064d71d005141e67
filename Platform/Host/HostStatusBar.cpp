#include "Platform/Host/HostStatusBar.h"

#include <mutex>
#include <set>
#include <stdexcept>

namespace dorvane::host {

namespace {

bool owns(const HostData& data, const processes::ProcessIdentity& identity) {
    return data.statusBar().item && data.statusBar().owner == identity;
}

}  // namespace

class HostStatusBar::Hub : public std::enable_shared_from_this<Hub> {
public:
    Hub(std::shared_ptr<HostSession> session, dispatch::MainQueue& mainQueue)
        : session_(std::move(session)), mainQueue_(mainQueue) {}

    void begin(ClickHandler handler) {
        HostSubscription subscription;
        std::weak_ptr<Hub> weak = weak_from_this();
        subscription = session_->store().subscribe([weak](const HostPulse& pulse) {
            if (auto hub = weak.lock()) hub->pulsed(pulse);
        });
        {
            std::lock_guard lock(mutex_);
            handler_ = std::move(handler);
            subscription_ = std::move(subscription);
        }
        // Clicks left before we looked.
        mainQueue_.post([weak] {
            if (auto hub = weak.lock()) hub->deliver();
        });
    }

    void end() {
        HostSubscription subscription;
        std::lock_guard lock(mutex_);
        handler_ = nullptr;
        subscription = std::move(subscription_);
    }

private:
    // Any thread.
    void pulsed(const HostPulse& pulse) {
        {
            std::lock_guard lock(mutex_);
            if (!handler_ || pulse.statusBarGeneration == seen_) return;
            seen_ = pulse.statusBarGeneration;
        }
        std::weak_ptr<Hub> weak = weak_from_this();
        mainQueue_.post([weak] {
            if (auto hub = weak.lock()) hub->deliver();
        });
    }

    // Main queue: hands each new click to the handler, then records its answer.
    void deliver() {
        std::vector<StatusBarClick> pending;
        const auto identity = session_->identity();
        try {
            session_->access([&](HostData& data) {
                if (!owns(data, identity)) return;
                for (const auto& click : data.statusBar().clicks) {
                    if (click.state == StatusBarClick::State::pending && !delivered_.contains(click.id)) {
                        pending.push_back(click);
                    }
                }
            });
        } catch (const std::exception&) {
            return;  // the host cannot be read now; the next change tries again
        }
        for (const auto& click : pending) {
            ClickHandler handler;
            {
                std::lock_guard lock(mutex_);
                handler = handler_;
            }
            if (!handler) return;
            delivered_.insert(click.id);
            const bool done = handler(click.title);
            try {
                session_->access([&](HostData& data) {
                    for (auto& waiting : data.statusBar().clicks) {
                        if (waiting.id != click.id) continue;
                        waiting.state = done ? StatusBarClick::State::done : StatusBarClick::State::refused;
                        ++data.statusBar().generation;
                    }
                });
            } catch (const std::exception&) {
                // The chooser then hears nothing and gives up after its time-out.
            }
        }
    }

    std::shared_ptr<HostSession> session_;
    dispatch::MainQueue& mainQueue_;
    std::mutex mutex_;
    ClickHandler handler_;
    HostSubscription subscription_;
    std::uint64_t seen_ = 0;
    std::set<std::uint64_t> delivered_;  // main queue only
};

HostStatusBar::HostStatusBar(std::shared_ptr<HostSession> session, dispatch::MainQueue* mainQueue)
    : session_(std::move(session)), hub_(mainQueue ? std::make_shared<Hub>(session_, *mainQueue) : nullptr) {}

HostStatusBar::~HostStatusBar() {
    if (hub_) hub_->end();
    if (!published_) return;
    try {
        remove();
    } catch (const std::exception&) {
        // The item then goes once the host sees this process has ended.
    }
}

void HostStatusBar::publish(const statusbar::StatusItem& item) {
    const auto identity = session_->identity();
    published_ = true;
    session_->access([&](HostData& data) {
        if (owns(data, identity) && *data.statusBar().item == item) return;
        if (!owns(data, identity)) data.statusBar().dropWaitingClicks();  // clicks meant for an earlier owner
        data.statusBar().item = item;
        data.statusBar().owner = identity;
        ++data.statusBar().generation;
    });
}

void HostStatusBar::remove() {
    const auto identity = session_->identity();
    session_->access([&](HostData& data) {
        if (!owns(data, identity)) return;
        data.statusBar().item.reset();
        data.statusBar().owner = {};
        data.statusBar().dropWaitingClicks();
        ++data.statusBar().generation;
    });
}

dispatch::Observation HostStatusBar::observeClicks(ClickHandler handler) {
    if (!hub_) throw std::logic_error("status bar clicks need a main queue");
    hub_->begin(std::move(handler));
    std::weak_ptr<Hub> weak = hub_;
    return dispatch::Observation([weak] {
        if (auto hub = weak.lock()) hub->end();
    });
}

}  // namespace dorvane::host
