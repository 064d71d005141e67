#include "Platform/Host/Session/HostCatchUp.h"

#include <algorithm>
#include <exception>

namespace dorvane::host {

HostCatchUp::HostCatchUp(dispatch::Clock& clock, dispatch::Executor* executor) : clock_(clock), executor_(executor) {}

HostCatchUp::~HostCatchUp() { end(); }

void HostCatchUp::setNotice(Notice notice) {
    std::lock_guard lock(mutex_);
    notice_ = std::move(notice);
}

bool HostCatchUp::tryOnce(const Attempt& attempt, std::string& why) {
    try {
        if (attempt()) return true;
        why = "the host is busy";
    } catch (const std::exception& error) {
        why = error.what();
    } catch (...) {
        why = "unknown error";
    }
    return false;
}

bool HostCatchUp::attempt(const std::string& key, Attempt attempt) {
    std::uint64_t started = 0;
    {
        std::lock_guard lock(mutex_);
        started = nextVersion_;
    }
    std::string why;
    if (tryOnce(attempt, why)) {
        // What another thread kept meanwhile came after this try began: it stays.
        std::lock_guard lock(mutex_);
        if (const auto latest = latest_.find(key); latest == latest_.end() || latest->second < started) {
            dropLocked(key);
        }
        return true;
    }
    later(key, std::move(attempt), why);
    return false;
}

void HostCatchUp::later(const std::string& key, Attempt attempt, const std::string& why) {
    std::string said;
    Notice notice;
    {
        std::lock_guard lock(mutex_);
        if (ended_) return;
        if (!refusing_) {
            refusing_ = true;
            said = key + ": " + why;
            notice = notice_;
        }
        keep(key, std::move(attempt));
    }
    if (notice) notice(said);
}

void HostCatchUp::keep(const std::string& key, Attempt attempt) {
    const std::uint64_t version = nextVersion_++;
    latest_[key] = version;
    const auto found =
        std::find_if(waiting_.begin(), waiting_.end(), [&](const Waiting& waiting) { return waiting.key == key; });
    if (found != waiting_.end()) {
        found->attempt = std::move(attempt);
        found->version = version;
    } else {
        waiting_.push_back(Waiting{key, std::move(attempt), version});
    }
    // A run under way schedules what still waits when it ends.
    if (!running_) schedule(false);
}

void HostCatchUp::drop(const std::string& key) {
    std::lock_guard lock(mutex_);
    dropLocked(key);
}

void HostCatchUp::dropLocked(const std::string& key) {
    std::erase_if(waiting_, [&](const Waiting& waiting) { return waiting.key == key; });
    // A try of the key under way now must not come back as the latest.
    if (running_) {
        latest_[key] = nextVersion_++;
    } else {
        latest_.erase(key);
    }
    if (waiting_.empty() && !running_) settle();
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
    std::vector<Waiting> trying;
    {
        std::lock_guard lock(mutex_);
        soonPosted_ = false;
        if (ended_ || running_ || waiting_.empty()) return;
        running_ = true;
        lastRun_ = clock_.uptime();
        nextTry_.reset();
        timer_.cancel();
        trying.swap(waiting_);
    }
    std::vector<Waiting> refused;
    for (auto& waiting : trying) {
        {
            std::lock_guard lock(mutex_);
            if (ended_) break;
            if (latest_[waiting.key] != waiting.version) continue;  // replaced or dropped meanwhile
        }
        std::string why;
        if (tryOnce(waiting.attempt, why)) {
            std::lock_guard lock(mutex_);
            if (latest_[waiting.key] == waiting.version) latest_[waiting.key] = 0;
            continue;
        }
        refused.push_back(std::move(waiting));
    }
    std::lock_guard lock(mutex_);
    running_ = false;
    if (ended_) return;
    // Refused again: each keeps its place, ahead of work that first waited during the run; a
    // key that came again meanwhile waits as its newer attempt, in the older one's place.
    std::vector<Waiting> next;
    for (auto& waiting : refused) {
        if (latest_[waiting.key] == waiting.version) {
            next.push_back(std::move(waiting));
            continue;
        }
        const auto newer = std::find_if(waiting_.begin(), waiting_.end(),
                                        [&](const Waiting& other) { return other.key == waiting.key; });
        if (newer == waiting_.end()) continue;  // dropped
        next.push_back(std::move(*newer));
        waiting_.erase(newer);
    }
    for (auto& waiting : waiting_) next.push_back(std::move(waiting));
    waiting_ = std::move(next);
    std::erase_if(latest_, [this](const auto& entry) {
        return std::none_of(waiting_.begin(), waiting_.end(),
                            [&](const Waiting& waiting) { return waiting.key == entry.first; });
    });
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
    std::vector<Waiting> gone;
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
        gone.swap(waiting_);
        latest_.clear();
        timer_.cancel();
    }
    // The attempts (and what they hold) go outside the lock.
}

}  // namespace dorvane::host
