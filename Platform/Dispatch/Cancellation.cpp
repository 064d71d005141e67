#include "Platform/Dispatch/Cancellation.h"

#include <atomic>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace dorvane::dispatch {

namespace detail {

class CancellationState {
public:
    bool isCancelled() const noexcept { return cancelled_.load(std::memory_order_acquire); }

    // Returns 0 when already cancelled (the callback then ran here).
    std::uint64_t add(std::function<void()> callback) {
        {
            std::lock_guard lock(mutex_);
            if (!cancelled_.load(std::memory_order_relaxed)) {
                const std::uint64_t id = nextId_++;
                callbacks_.emplace(id, std::move(callback));
                return id;
            }
        }
        callback();
        return 0;
    }

    void remove(std::uint64_t id) noexcept {
        std::function<void()> removed;  // destroyed outside the lock: it may own a coroutine frame
        std::lock_guard lock(mutex_);
        if (auto it = callbacks_.find(id); it != callbacks_.end()) {
            removed = std::move(it->second);
            callbacks_.erase(it);
        }
    }

    void cancel() {
        std::map<std::uint64_t, std::function<void()>> callbacks;
        {
            std::lock_guard lock(mutex_);
            if (cancelled_.exchange(true, std::memory_order_acq_rel)) return;
            callbacks.swap(callbacks_);
        }
        for (auto& [id, callback] : callbacks) callback();
    }

private:
    std::mutex mutex_;
    std::atomic<bool> cancelled_{false};
    std::uint64_t nextId_ = 1;
    std::map<std::uint64_t, std::function<void()>> callbacks_;
};

}  // namespace detail

CancellationRegistration& CancellationRegistration::operator=(CancellationRegistration&& other) noexcept {
    if (this != &other) {
        reset();
        state_ = std::move(other.state_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void CancellationRegistration::reset() noexcept {
    if (state_ && id_ != 0) state_->remove(id_);
    state_.reset();
    id_ = 0;
}

bool CancellationToken::isCancelled() const noexcept { return state_ && state_->isCancelled(); }

void CancellationToken::throwIfCancelled() const {
    if (isCancelled()) throw TaskCancelled();
}

CancellationRegistration CancellationToken::onCancel(std::function<void()> callback) const {
    if (!state_) return {};
    const std::uint64_t id = state_->add(std::move(callback));
    return id == 0 ? CancellationRegistration() : CancellationRegistration(state_, id);
}

CancellationSource::CancellationSource() : state_(std::make_shared<detail::CancellationState>()) {}

CancellationSource& CancellationSource::operator=(CancellationSource&& other) noexcept {
    if (this != &other) {
        cancel();
        state_ = std::move(other.state_);
    }
    return *this;
}

void CancellationSource::cancel() {
    if (state_) state_->cancel();
}

bool CancellationSource::isCancelled() const noexcept { return state_ && state_->isCancelled(); }

}  // namespace dorvane::dispatch
