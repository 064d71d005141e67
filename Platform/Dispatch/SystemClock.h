#pragma once

#include "Platform/Dispatch/Clock.h"

namespace dorvane::dispatch {

// The real clock: CLOCK_MONOTONIC uptime, the system calendar, and a sleep that
// sleeps its full length even when signals interrupt it.
class SystemClock final : public Clock {
public:
    double uptime() const override;
    std::chrono::system_clock::time_point wallTime() const override;
    // Negative, zero and NaN durations return at once.
    void sleep(double seconds) override;
    // Waits with poll(); EINTR restarts the wait for the time left.
    bool sleepUnlessReadable(int fd, double seconds) override;
};

}  // namespace dorvane::dispatch
