#include "Platform/Host/Session/HostCatchUp.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

HostCatchUp::HostCatchUp(dispatch::Clock& clock, dispatch::Executor* executor) : clock_(clock), executor_(executor) {}

HostCatchUp::~HostCatchUp() {
    std::vector<Work> gone;
    std::lock_guard lock(mutex_);
    ended_ = true;
    gone.swap(waiting_);
    timer_.cancel();
}

void HostCatchUp::setNotice(Notice notice) {
    std::lock_guard lock(mutex_);
    notice_ = std::move(notice);
}

void HostCatchUp::say(Event event, const std::string& line) {
    Notice notice;
    {
        std::lock_guard lock(mutex_);
        notice = notice_;
    }
    if (notice) notice(event, line);
}

HostCatchUp::Outcome HostCatchUp::tryOnce(const Work& work, std::string& why) {
    try {
        work.attempt();
        return Outcome::done;
    } catch (const HostError& refusal) {
        why = refusal.what();
        return Outcome::refused;
    } catch (const std::exception& error) {
        why = error.what();
    } catch (...) {
        why = "unknown error";
    }
    // Trying again would fail the same way, for as long as the program runs.
    say(Event::failed, work.key + ": " + why);
    return Outcome::failed;
}

bool HostCatchUp::attempt(const std::string& key, Kind kind, Attempt attempt) {
    std::uint64_t started = 0;
    {
        std::lock_guard lock(mutex_);
        started = nextTicket_;
    }
    std::string why;
    if (tryOnce(Work{key, kind, attempt}, why) != Outcome::refused) {
        // What another thread kept meanwhile came after this try began: it stays.
        std::lock_guard lock(mutex_);
        forget(key, started);
        return true;
    }
    later(key, kind, std::move(attempt), why);
    return false;
}

void HostCatchUp::later(const std::string& key, Kind kind, Attempt attempt, const std::string& why) {
    bool firstOfRun = false;
    {
        std::lock_guard lock(mutex_);
        if (ended_) return;
        firstOfRun = !refusing_;
        refusing_ = true;
        keep(Work{key, kind, std::move(attempt)});
    }
    if (firstOfRun) say(Event::deferred, key + ": " + why);
}

void HostCatchUp::keep(Work work) {
    work.ticket = nextTicket_++;
    // The run's own attempt of the key, taken before this one, no longer stands.
    if (running_) supersededBelow_.insert_or_assign(work.key, work.ticket);
    const auto found =
        std::find_if(waiting_.begin(), waiting_.end(), [&](const Work& waiting) { return waiting.key == work.key; });
    if (found != waiting_.end()) {
        *found = std::move(work);
    } else {
        waiting_.push_back(std::move(work));
    }
    // A run under way schedules what still waits when it ends.
    if (!running_) schedule(false);
}

void HostCatchUp::drop(const std::string& key) {
    std::lock_guard lock(mutex_);
    forget(key, nextTicket_);
}

void HostCatchUp::forget(const std::string& key, std::uint64_t ticket) {
    std::erase_if(waiting_, [&](const Work& waiting) { return waiting.key == key && waiting.ticket < ticket; });
    if (running_) {
        const auto [entry, added] = supersededBelow_.try_emplace(key, ticket);
        if (!added) entry->second = std::max(entry->second, ticket);
    }
    if (waiting_.empty() && !running_) settle();
}

bool HostCatchUp::superseded(const Work& work) const {
    const auto found = supersededBelow_.find(work.key);
    return found != supersededBelow_.end() && work.ticket < found->second;
}

void HostCatchUp::settle() {
    refusing_ = false;
    delay_ = firstDelaySeconds;
    nextTry_.reset();
    timer_.cancel();
}

void HostCatchUp::schedule(bool refusedAgain) {
    if (executor_ == nullptr) return;  // later accesses bring the tries
    if (refusedAgain) delay_ = std::min(delay_ * 2, longestDelaySeconds);
    const double due = clock_.uptime() + delay_;
    if (nextTry_ && *nextTry_ <= due) return;
    timer_.cancel();
    nextTry_ = due;
    std::weak_ptr<HostCatchUp> weak = weak_from_this();
    timer_ = executor_->postAfter(delay_, [weak] {
        if (auto self = weak.lock()) self->run();
    });
}

void HostCatchUp::hostLetGo() {
    {
        std::lock_guard lock(mutex_);
        if (ended_ || waiting_.empty() || running_ || soonPosted_) return;
        // Work the host refuses for another reason (a file it cannot read) is not tried at
        // every access of a busy program.
        if (lastRun_ && clock_.uptime() < *lastRun_ + firstDelaySeconds) return;
        if (executor_ != nullptr) {
            soonPosted_ = true;
            std::weak_ptr<HostCatchUp> weak = weak_from_this();
            executor_->post([weak] {
                if (auto self = weak.lock()) self->run();
            });
            return;
        }
    }
    run();
}

void HostCatchUp::run() {
    auto taken = take();
    if (!taken) return;
    mergeBack(tryEach(std::move(*taken)));
}

std::optional<std::vector<HostCatchUp::Work>> HostCatchUp::take() {
    std::lock_guard lock(mutex_);
    soonPosted_ = false;
    if (ended_ || running_ || waiting_.empty()) return std::nullopt;
    running_ = true;
    lastRun_ = clock_.uptime();
    nextTry_.reset();
    timer_.cancel();
    supersededBelow_.clear();
    return std::exchange(waiting_, {});
}

std::vector<HostCatchUp::Work> HostCatchUp::tryEach(std::vector<Work> taken) {
    std::vector<Work> refused;
    for (auto& work : taken) {
        {
            std::lock_guard lock(mutex_);
            if (ended_) break;
            if (superseded(work)) continue;  // replaced, dropped or done meanwhile
        }
        std::string why;
        if (tryOnce(work, why) == Outcome::refused) refused.push_back(std::move(work));
    }
    return refused;
}

void HostCatchUp::mergeBack(std::vector<Work> refused) {
    std::lock_guard lock(mutex_);
    running_ = false;
    if (ended_) return;
    // Refused again: each keeps its place, ahead of work that first waited during the run; a
    // key that came again meanwhile waits as its newer attempt, in the older one's place.
    std::vector<Work> next;
    for (auto& work : refused) {
        if (!superseded(work)) {
            next.push_back(std::move(work));
            continue;
        }
        const auto newer =
            std::find_if(waiting_.begin(), waiting_.end(), [&](const Work& other) { return other.key == work.key; });
        if (newer == waiting_.end()) continue;  // dropped or done meanwhile
        next.push_back(std::move(*newer));
        waiting_.erase(newer);
    }
    for (auto& work : waiting_) next.push_back(std::move(work));
    waiting_ = std::move(next);
    supersededBelow_.clear();
    if (waiting_.empty()) {
        settle();
        return;
    }
    schedule(!refused.empty());
}

std::vector<std::string> HostCatchUp::waiting() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> keys;
    for (const auto& waiting : waiting_) keys.push_back(waiting.key);
    return keys;
}

void HostCatchUp::end() {
    std::vector<Work> left;
    {
        std::lock_guard lock(mutex_);
        if (ended_) return;
        ended_ = true;
        left.swap(waiting_);
        supersededBelow_.clear();
        nextTry_.reset();
        timer_.cancel();
    }
    std::string lost;
    std::string why;
    bool held = false;
    for (const auto& work : left) {
        if (work.kind != Kind::write) continue;  // nobody is left to read or claim for
        if (!held) {
            std::string refusal;
            held = tryOnce(work, refusal) == Outcome::refused;
            if (!held) continue;
            why = refusal;
        }
        lost += (lost.empty() ? "" : ", ") + work.key;
    }
    if (!lost.empty()) say(Event::dropped, lost + ": " + why);
}

}  // namespace dorvane::host
