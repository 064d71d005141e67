#include "Platform/Dispatch/SystemClock.h"

#include <cerrno>
#include <cmath>
#include <ctime>

namespace dorvane::dispatch {

double SystemClock::uptime() const {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::chrono::system_clock::time_point SystemClock::wallTime() const { return std::chrono::system_clock::now(); }

void SystemClock::sleep(double seconds) {
    if (!(seconds > 0)) return;
    if (seconds > 1e9) seconds = 1e9;  // keeps the conversion to time_t defined
    double whole = 0;
    const double fraction = std::modf(seconds, &whole);
    timespec remaining{};
    remaining.tv_sec = static_cast<time_t>(whole);
    remaining.tv_nsec = static_cast<long>(fraction * 1e9);
    while (::nanosleep(&remaining, &remaining) == -1 && errno == EINTR) {
    }
}

}  // namespace dorvane::dispatch
