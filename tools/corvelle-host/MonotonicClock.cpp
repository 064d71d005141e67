#include "tools/corvelle-host/MonotonicClock.h"

#include <cerrno>
#include <cmath>
#include <ctime>

namespace dorvane::hosttool {

double MonotonicClock::uptime() const {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

std::chrono::system_clock::time_point MonotonicClock::wallTime() const { return std::chrono::system_clock::now(); }

void MonotonicClock::sleep(double seconds) {
    if (!(seconds > 0)) return;
    timespec remaining{};
    remaining.tv_sec = static_cast<time_t>(std::floor(seconds));
    remaining.tv_nsec = static_cast<long>((seconds - std::floor(seconds)) * 1e9);
    while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

}  // namespace dorvane::hosttool
