#pragma once

#include <chrono>

namespace dorvane::dispatch {

// The only source of time. Decision rules take uptime seconds; wall time is for log lines.
class Clock {
public:
    virtual ~Clock() = default;

    // Seconds since boot on a clock that never jumps (CLOCK_MONOTONIC, system-wide,
    // so two processes agree).
    virtual double uptime() const = 0;

    // Calendar time, for log lines and file names only.
    virtual std::chrono::system_clock::time_point wallTime() const = 0;

    // Blocks the calling thread (on a simulated clock: advances virtual time).
    virtual void sleep(double seconds) = 0;

    // Like sleep(), but a real clock may return early once `fd` becomes readable (a
    // child's pidfd when it exits). True when it returned early. Callers must not rely
    // on the early return: a simulated clock always sleeps the whole time.
    virtual bool sleepUnlessReadable(int fd, double seconds) {
        (void)fd;
        sleep(seconds);
        return false;
    }
};

}  // namespace dorvane::dispatch
