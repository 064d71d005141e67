#include "Platform/Host/HostWindowEvents.h"

#include <algorithm>
#include <stdexcept>

namespace dorvane::host {

HostWindowEvents::HostWindowEvents(std::shared_ptr<HostSession> session, dispatch::MainQueue* mainQueue)
    : session_(std::move(session)), mainQueue_(mainQueue) {}

HostWindowEvents::~HostWindowEvents() { end(); }

std::uint64_t HostWindowEvents::add(Handler handler) {
    if (mainQueue_ == nullptr) throw std::logic_error("window notifications need the main queue");
    bool first = false;
    std::uint64_t id = 0;
    {
        std::lock_guard lock(mutex_);
        id = nextHandler_++;
        handlers_.emplace(id, std::move(handler));
        first = !watching_;
        watching_ = true;
    }
    if (first) begin();
    return id;
}

void HostWindowEvents::remove(std::uint64_t id) {
    std::lock_guard lock(mutex_);
    handlers_.erase(id);
}

void HostWindowEvents::end() {
    HostSubscription subscription;
    std::lock_guard lock(mutex_);
    handlers_.clear();
    subscription = std::move(subscription_);
    timer_.cancel();
    watching_ = false;
}

dispatch::Observation HostWindowEvents::observe(Handler handler) {
    const auto id = add(std::move(handler));
    std::weak_ptr<HostWindowEvents> weak = weak_from_this();
    return dispatch::Observation([weak, id] {
        if (auto events = weak.lock()) events->remove(id);
    });
}

// Subscribed before the baseline is read, so no change can fall in between.
void HostWindowEvents::begin() {
    std::weak_ptr<HostWindowEvents> weak = weak_from_this();
    HostSubscription subscription;
    try {
        subscription = session_->store().subscribe([weak](const HostPulse&) {
            if (auto events = weak.lock()) events->pull();
        });
    } catch (const std::exception&) {
        return;  // no watcher: only this process's own changes could be told, and not reliably
    }
    const auto reading = readJournal();
    {
        std::lock_guard lock(mutex_);
        if (!watching_) return;
        subscription_ = std::move(subscription);
        if (reading) {
            for (const auto& entry : reading->first) {
                if (entry.at <= reading->second) delivered_.insert(entry.seq);
            }
            oldestKnown_ = reading->first.empty() ? 0 : reading->first.front().seq;
        }
    }
    pull();  // entries already written but due later
}

std::optional<std::pair<std::vector<JournalEntry>, double>> HostWindowEvents::readJournal() {
    std::pair<std::vector<JournalEntry>, double> reading;
    try {
        session_->access([&](HostData& data) { reading = {data.windows().journal, data.now}; });
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return reading;
}

void HostWindowEvents::pull() {
    std::unique_lock pulling(pulling_, std::defer_lock);
    if (mainQueue_->isCurrent()) {
        // Another thread's pull may be waiting its ten seconds for the host's lock: the
        // interface never waits behind it, and looks again shortly instead.
        if (!pulling.try_lock()) {
            retrySoon();
            return;
        }
    } else {
        pulling.lock();
    }
    auto reading = readJournal();
    // The host is held (or unreadable) now; no later change need come to bring another try.
    if (!reading) {
        retrySoon();
        return;
    }
    auto& [journal, now] = *reading;
    std::lock_guard lock(mutex_);
    if (!watching_ || handlers_.empty()) return;
    std::vector<JournalEntry> due;
    std::optional<double> later;
    for (auto& entry : journal) {
        if (entry.seq < oldestKnown_ || delivered_.contains(entry.seq)) continue;
        if (entry.at > now) {
            later = later ? std::min(*later, entry.at) : entry.at;
            continue;
        }
        delivered_.insert(entry.seq);
        due.push_back(std::move(entry));
    }
    if (!journal.empty()) {
        delivered_.erase(delivered_.begin(), delivered_.lower_bound(journal.front().seq));
    }
    if (later) scheduleTimer(*later);
    if (due.empty()) return;
    std::stable_sort(due.begin(), due.end(), [](const JournalEntry& a, const JournalEntry& b) {
        return a.at != b.at ? a.at < b.at : a.seq < b.seq;
    });
    std::weak_ptr<HostWindowEvents> weak = weak_from_this();
    mainQueue_->post([weak, due = std::move(due)] {
        if (auto events = weak.lock()) events->deliver(due);
    });
}

void HostWindowEvents::retrySoon() {
    std::lock_guard lock(mutex_);
    if (!watching_) return;
    scheduleTimer(session_->clock().uptime() + kRetrySeconds);
}

void HostWindowEvents::scheduleTimer(double due) {
    if (timerDue_ && *timerDue_ <= due) return;
    timer_.cancel();
    timerDue_ = due;
    std::weak_ptr<HostWindowEvents> weak = weak_from_this();
    timer_ = mainQueue_->postAfter(std::max(0.0, due - session_->clock().uptime()), [weak] {
        auto events = weak.lock();
        if (!events) return;
        {
            std::lock_guard lock(events->mutex_);
            events->timerDue_.reset();
        }
        events->pull();
    });
}

void HostWindowEvents::deliver(const std::vector<JournalEntry>& entries) {
    for (const auto& entry : entries) {
        std::vector<std::uint64_t> ids;
        {
            std::lock_guard lock(mutex_);
            for (const auto& [id, handler] : handlers_) ids.push_back(id);
        }
        for (const auto id : ids) {
            Handler handler;
            {
                std::lock_guard lock(mutex_);
                const auto found = handlers_.find(id);
                if (found == handlers_.end()) continue;  // removed by an earlier handler
                handler = found->second;
            }
            handler(entry);
        }
    }
}

}  // namespace dorvane::host
