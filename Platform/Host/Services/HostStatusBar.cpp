#include "Platform/Host/Services/HostStatusBar.h"

#include <algorithm>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

namespace {

// What of the status bar waits in the session's catch-up while the host turns it away.
constexpr const char* kItemKey = "status item";
constexpr const char* kClicksKey = "status-bar clicks";
constexpr const char* kAnswersKey = "status-bar answers";

bool owns(const HostData& data, const processes::ProcessIdentity& identity) {
    return data.statusBar().item && data.statusBar().owner == identity;
}

// Done now, or kept under `key` in the session's catch-up and the refusal thrown on.
void doOrCatchUp(HostSession& session, const std::string& key, const HostCatchUp::Attempt& attempt) {
    try {
        attempt();
    } catch (const HostError& refusal) {
        session.catchUp().later(key, HostCatchUp::Kind::write, attempt, refusal.what());
        throw;
    }
    session.catchUp().drop(key);
}

}  // namespace

// Clicks are taken (marked so in the host in the same access that reads them), handed to the
// handler, and answered, all on the main queue, where the session's catch-up tries again
// what the host turned away: a read of the clicks, and the answers not yet written, which
// go in one access. A click is handed over once by its id, whatever state a rewrite of the
// host by an older tool leaves it in.
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
        {
            std::lock_guard lock(mutex_);
            handler_ = nullptr;
            subscription = std::move(subscription_);
        }
        session_->catchUp().drop(kClicksKey);
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

    ClickHandler handler() {
        std::lock_guard lock(mutex_);
        return handler_;
    }

    // Main queue: a read the host turned away is tried again until it gets through; the
    // click's chooser waits meanwhile, and no later change need come.
    void deliver() {
        session_->catchUp().attempt(kClicksKey, HostCatchUp::Kind::read, whileAlive(weak_from_this(), [](Hub& hub) { hub.takeClicks(); }));
    }

    // Main queue: takes every click waiting for this owner, hands each to the handler once, in
    // order, and answers them. Throws a HostError when the host cannot be read: nothing was
    // taken then. A handler that throws fails its own click, which is answered as not carried
    // out; the clicks taken with it are still handed over, and the failure is thrown on once
    // all are answered, for the catch-up to say (it is not tried again).
    void takeClicks() {
        if (!handler()) return;
        bool answerAgain = false;
        const auto taken = takeWaiting(answerAgain);
        std::optional<std::string> failure;
        for (const auto& click : taken) {
            // A handler gone meanwhile (the program quits) carries nothing out.
            const auto current = handler();
            bool done = false;
            try {
                done = current && current(click.title);
            } catch (const std::exception& error) {
                if (!failure) failure = "\"" + click.title + "\": " + error.what();
            } catch (...) {
                if (!failure) failure = "\"" + click.title + "\": unknown error";
            }
            handedOver_[click.id] = Handed{done, true};
        }
        if (!taken.empty() || answerAgain) answer();
        if (failure) throw std::runtime_error("the click " + *failure);
    }

    // Main queue: marks every click waiting for this owner as taken, in the access that reads
    // them, and returns the ones to hand over. One handed over already that reads as waiting
    // (a tool of the previous release rewrote the file without the mark, before or after its
    // answer was written) was carried out: it is not handed over again, and `answerAgain`
    // tells that its answer is to be written again.
    std::vector<StatusBarClick> takeWaiting(bool& answerAgain) {
        std::vector<StatusBarClick> waiting;
        std::set<std::uint64_t> listed;
        const auto identity = session_->identity();
        session_->access([&](HostData& data) {
            for (const auto& click : data.statusBar().clicks) listed.insert(click.id);
            if (!owns(data, identity)) return;
            for (auto& click : data.statusBar().clicks) {
                if (click.state != StatusBarClick::State::pending) continue;
                click.state = StatusBarClick::State::taken;
                waiting.push_back(click);
            }
        });
        // A click the host no longer lists (its chooser read the answer, its owner went) is
        // never read again: what is remembered stays as short as the host's own list.
        std::erase_if(handedOver_, [&](const auto& handed) { return !listed.contains(handed.first); });
        std::vector<StatusBarClick> taken;
        for (const auto& click : waiting) {
            const auto handed = handedOver_.find(click.id);
            if (handed == handedOver_.end()) {
                taken.push_back(click);
            } else if (!handed->second.answerWaits) {
                handed->second.answerWaits = true;
                answerAgain = true;
            }
        }
        return taken;
    }

    // Main queue: the answers reach the host now, or once it lets go.
    void answer() {
        session_->catchUp().attempt(kAnswersKey, HostCatchUp::Kind::write, whileAlive(weak_from_this(), [](Hub& hub) { hub.writeAnswers(); }));
    }

    // Main queue. Throws when the host turned the write away; the answers then stay. A click
    // is answered while it reads taken, or pending after a rewrite without the mark.
    void writeAnswers() {
        const bool waiting = std::any_of(handedOver_.begin(), handedOver_.end(),
                                         [](const auto& handed) { return handed.second.answerWaits; });
        if (!waiting) return;
        session_->access([&](HostData& data) {
            bool changed = false;
            for (auto& click : data.statusBar().clicks) {
                const auto handed = handedOver_.find(click.id);
                if (handed == handedOver_.end() || !handed->second.answerWaits) continue;
                if (click.state != StatusBarClick::State::taken && click.state != StatusBarClick::State::pending) continue;
                click.state = handed->second.done ? StatusBarClick::State::done : StatusBarClick::State::refused;
                changed = true;
            }
            if (changed) ++data.statusBar().generation;
        });
        for (auto& [id, handed] : handedOver_) handed.answerWaits = false;
    }

    // A click handed to the handler: whether it was carried out, and whether that answer is
    // still to be written.
    struct Handed {
        bool done = false;
        bool answerWaits = true;
    };

    std::shared_ptr<HostSession> session_;
    dispatch::MainQueue& mainQueue_;
    std::mutex mutex_;
    ClickHandler handler_;
    HostSubscription subscription_;
    std::uint64_t seen_ = 0;
    // By click id, every click handed over that the host still listed when last read, so that
    // none is handed over twice; main queue only.
    std::map<std::uint64_t, Handed> handedOver_;
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
    published_ = true;
    auto show = [item](HostSession& session) {
        const auto identity = session.identity();
        session.access([&](HostData& data) {
            if (owns(data, identity) && *data.statusBar().item == item) return;
            if (!owns(data, identity)) data.statusBar().dropWaitingClicks();  // clicks meant for an earlier owner
            data.statusBar().item = item;
            data.statusBar().owner = identity;
            ++data.statusBar().generation;
        });
    };
    doOrCatchUp(*session_, kItemKey, whileAlive(std::weak_ptr<HostSession>(session_), std::move(show)));
}

void HostStatusBar::remove() {
    // The newest state of the item, as a publish is: an item still waiting is never shown after it.
    auto takeOut = [](HostSession& session) {
        const auto identity = session.identity();
        session.access([&](HostData& data) {
            if (!owns(data, identity)) return;
            data.statusBar().item.reset();
            data.statusBar().owner = {};
            data.statusBar().dropWaitingClicks();
            ++data.statusBar().generation;
        });
    };
    doOrCatchUp(*session_, kItemKey, whileAlive(std::weak_ptr<HostSession>(session_), std::move(takeOut)));
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
