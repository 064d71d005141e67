#pragma once

#include <atomic>

namespace dorvane::windows {

// Whether a frame worker's operation sent a position or size write that the application
// accepted. Marked on the worker's queue and read by the caller once the operation has
// ended, also when it failed: the window may still move after the worker stopped waiting
// for it, so what the caller remembers of the window follows the writes, not the outcome.
class SentWrites {
public:
    void mark() { sent_.store(true, std::memory_order_release); }
    bool any() const { return sent_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> sent_{false};
};

}  // namespace dorvane::windows
