#include "Platform/Dispatch/SystemClock.h"

#include <poll.h>

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

namespace dorvane::dispatch {

bool SystemClock::sleepUnlessReadable(int fd, double seconds) {
    if (!(seconds > 0)) return false;
    const double deadline = uptime() + seconds;
    for (;;) {
        const double left = deadline - uptime();
        if (left <= 0) return false;
        pollfd watched{fd, POLLIN, 0};
        const int timeout = static_cast<int>(std::ceil(left * 1000.0));
        const int result = ::poll(&watched, 1, timeout);
        if (result > 0) return true;
        if (result == 0) return false;
        if (errno != EINTR) {
            sleep(deadline - uptime());  // an unusable descriptor: fall back to a plain sleep
            return false;
        }
    }
}

}  // namespace dorvane::dispatch
