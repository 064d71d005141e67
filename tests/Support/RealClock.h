#pragma once

#include <chrono>
#include <ctime>
#include <thread>

#include "Platform/Dispatch/Clock.h"

namespace dorvane::testing {

// CLOCK_MONOTONIC, as every process of a host folder reads it.
class RealClock final : public dispatch::Clock {
public:
    double uptime() const override {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
    }
    std::chrono::system_clock::time_point wallTime() const override { return std::chrono::system_clock::now(); }
    void sleep(double seconds) override { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }
};

}  // namespace dorvane::testing
