#pragma once

#include "Platform/Dispatch/Clock.h"

namespace dorvane::hosttool {

// Real time for the tool: uptime from CLOCK_MONOTONIC, the same clock every process of
// the host reads, so scheduled events agree across processes.
class MonotonicClock final : public dispatch::Clock {
public:
    double uptime() const override;
    std::chrono::system_clock::time_point wallTime() const override;
    void sleep(double seconds) override;
};

}  // namespace dorvane::hosttool
