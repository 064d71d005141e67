#include "Platform/Host/Services/HostWindowEvents.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

namespace dorvane::host {

namespace {

// Where a read of the journal the host turned away waits in the session's catch-up.
constexpr const char* kJournalKey = "window events";

}  // namespace

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
    {
        std::lock_guard lock(mutex_);
        handlers_.clear();
        subscription = std::move(subscription_);
        timer_.cancel();
        watching_ = false;
    }
    session_->catchUp().drop(kJournalKey);
}

dispatch::Observation HostWindowEvents::observe(Handler handler) {
    const auto id = add(std::move(handler));
    std::weak_ptr<HostWindowEvents> weak = weak_from_this();
    return dispatch::Observation([weak, id] {
        if (auto events = weak.lock()) events->remove(id);
    });
}

// Subscribed before the first read, so no change can fall in between.
void HostWindowEvents::begin() {
    {
        std::lock_guard lock(mutex_);
        began_ = session_->clock().uptime();
        baselineTaken_ = false;
    }
    std::weak_ptr<HostWindowEvents> weak = weak_from_this();
    HostSubscription subscription;
    try {
        subscription = session_->store().subscribe([weak](const HostPulse&) {
            if (auto events = weak.lock()) events->pull();
        });
    } catch (const std::exception&) {
        return;  // no watcher: only this process's own changes could be told, and not reliably
    }
    {
        std::lock_guard lock(mutex_);
        if (!watching_) return;
        subscription_ = std::move(subscription);
    }
    pull();  // what is past, and entries already written but due later
}

void HostWindowEvents::pull() {
    // The host is held (or unreadable) now, and its holder may change nothing: no later change
    // need come to bring another try.
    session_->catchUp().attempt(kJournalKey, HostCatchUp::Kind::read,
                                whileAlive(weak_from_this(), [](HostWindowEvents& events) { events.pullOnce(); }));
}

void HostWindowEvents::pullOnce() {
    {
        std::lock_guard lock(mutex_);
        if (!watching_) return;
    }
    std::unique_lock pulling(pulling_, std::defer_lock);
    if (mainQueue_->isCurrent()) {
        // Another thread's pull may be waiting its ten seconds for the host's lock: the
        // interface never waits behind it, and that pull pulls once more when it ends.
        if (!pulling.try_lock()) {
            {
                std::lock_guard lock(mutex_);
                pullAgain_ = true;
            }
            // It may have ended in between without seeing the flag: then this one pulls.
            if (!pulling.try_lock()) return;
            std::lock_guard lock(mutex_);
            pullAgain_ = false;
        }
    } else {
        pulling.lock();
    }
    std::vector<JournalEntry> journal;
    double now = 0;
    std::exception_ptr refused;
    try {
        session_->access([&](HostData& data) {
            journal = data.windows().journal;
            now = data.now;
        });
    } catch (...) {
        refused = std::current_exception();
    }
    if (!refused) queueDue(journal, now);
    pulling.unlock();
    bool again = false;
    {
        std::lock_guard lock(mutex_);
        again = std::exchange(pullAgain_, false) && watching_;
    }
    if (again) {
        std::weak_ptr<HostWindowEvents> weak = weak_from_this();
        mainQueue_->post([weak] {
            if (auto events = weak.lock()) events->pull();
        });
    }
    if (refused) std::rethrow_exception(refused);
}

void HostWindowEvents::queueDue(std::vector<JournalEntry>& journal, double now) {
    std::lock_guard lock(mutex_);
    if (!watching_) return;
    if (!baselineTaken_) {
        baselineTaken_ = true;
        for (const auto& entry : journal) {
            if (entry.at <= began_) delivered_.insert(entry.seq);
        }
        oldestKnown_ = journal.empty() ? 0 : journal.front().seq;
    }
    if (handlers_.empty()) return;
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
