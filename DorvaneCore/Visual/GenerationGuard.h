#pragma once

#include <cstdint>

namespace dorvane {

// Lets only the latest of overlapping delayed actions take effect: a notice's
// expiry after a newer notice, or a reveal's completion after a newer reveal,
// must do nothing. Each begin hands out a ticket and makes earlier ones stale.
class GenerationGuard {
public:
    using Ticket = std::uint64_t;

    // Cancels what is pending and starts anew.
    Ticket begin() {
        cancel();
        pending_ = true;
        return generation_;
    }

    // Makes every ticket handed out so far stale.
    void cancel() {
        ++generation_;
        pending_ = false;
    }

    // True once, for the ticket of the latest begin that was not cancelled:
    // the caller then acts. Any other ticket is stale.
    bool finish(Ticket ticket) {
        if (!pending_ || ticket != generation_) return false;
        pending_ = false;
        return true;
    }

    bool isPending() const { return pending_; }
    std::uint64_t generation() const { return generation_; }

private:
    std::uint64_t generation_ = 0;
    bool pending_ = false;
};

}  // namespace dorvane
