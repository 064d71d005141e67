#pragma once

#include <atomic>
#include <chrono>
#include <vector>

#include "Platform/Dispatch/Clock.h"

namespace dorvane::testing {

// Virtual time that moves only when a test advances it or code sleeps on it.
class ManualClock final : public dispatch::Clock {
public:
    explicit ManualClock(double start = 100.0) : now_(start) {}

    double uptime() const override { return now_.load(); }
    std::chrono::system_clock::time_point wallTime() const override {
        return std::chrono::system_clock::time_point(std::chrono::milliseconds(static_cast<long long>(now_ * 1000)));
    }
    void sleep(double seconds) override {
        sleeps.push_back(seconds);
        advance(seconds);
    }

    void advance(double seconds) { now_.store(now_.load() + seconds); }

    std::vector<double> sleeps;

private:
    std::atomic<double> now_;
};

}  // namespace dorvane::testing
