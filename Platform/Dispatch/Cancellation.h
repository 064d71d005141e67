#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

namespace dorvane::dispatch {

// The outcome of a cancelled wait: sleepFor() throws it when its token is cancelled,
// and CancellationToken::throwIfCancelled() throws it so a task can stop after any await.
class TaskCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "task cancelled"; }
};

namespace detail {
class CancellationState;
}

// Undoes CancellationToken::onCancel when destroyed. Move-only.
class CancellationRegistration {
public:
    CancellationRegistration() = default;
    CancellationRegistration(std::shared_ptr<detail::CancellationState> state, std::uint64_t id)
        : state_(std::move(state)), id_(id) {}
    CancellationRegistration(CancellationRegistration&& other) noexcept { *this = std::move(other); }
    CancellationRegistration& operator=(CancellationRegistration&& other) noexcept;
    CancellationRegistration(const CancellationRegistration&) = delete;
    CancellationRegistration& operator=(const CancellationRegistration&) = delete;
    ~CancellationRegistration() { reset(); }

    // Removes the callback. One that cancel() already started on another thread may still run.
    void reset() noexcept;

private:
    std::shared_ptr<detail::CancellationState> state_;
    std::uint64_t id_ = 0;
};

// The reading side of a cancellation: cheap to copy, safe to use from any thread.
// A default token is never cancelled.
class CancellationToken {
public:
    CancellationToken() = default;

    bool isCancelled() const noexcept;
    void throwIfCancelled() const;

    // Calls `callback` once, on the thread that cancels (or right now when already
    // cancelled). The callback must be quick and must not throw; typically it posts a job.
    CancellationRegistration onCancel(std::function<void()> callback) const;

private:
    friend class CancellationSource;
    explicit CancellationToken(std::shared_ptr<detail::CancellationState> state) : state_(std::move(state)) {}
    std::shared_ptr<detail::CancellationState> state_;
};

// The owning side. Move-only; destroying it cancels, so an owner that holds one as a
// member stops its sleeping tasks when it goes away. cancel() is idempotent and safe
// from any thread.
class CancellationSource {
public:
    CancellationSource();
    CancellationSource(CancellationSource&&) noexcept = default;
    CancellationSource& operator=(CancellationSource&& other) noexcept;
    CancellationSource(const CancellationSource&) = delete;
    CancellationSource& operator=(const CancellationSource&) = delete;
    ~CancellationSource() { cancel(); }

    CancellationToken token() const { return CancellationToken(state_); }
    void cancel();
    bool isCancelled() const noexcept;

private:
    std::shared_ptr<detail::CancellationState> state_;
};

}  // namespace dorvane::dispatch
