#include <gtest/gtest.h>

#include <unistd.h>

#include <pthread.h>
#include <signal.h>
#include <time.h>

#include <atomic>
#include <thread>

#include "Platform/Dispatch/SystemClock.h"

namespace dorvane::dispatch {
namespace {

TEST(SystemClockTest, UptimeIsTheSystemMonotonicClockInSeconds) {
    auto monotonic = [] {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    };
    SystemClock clock;
    const double before = monotonic();
    const double uptime = clock.uptime();
    EXPECT_LE(before, uptime);
    EXPECT_LE(uptime, monotonic());
}

TEST(SystemClockTest, SleepLastsItsFullLengthWhenSignalsInterruptIt) {
    struct sigaction action {};
    action.sa_handler = [](int) {};
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: nanosleep fails with EINTR
    struct sigaction previous {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);

    SystemClock clock;
    std::atomic<bool> done{false};
    double slept = 0;
    std::thread sleeper([&] {
        const double start = clock.uptime();
        clock.sleep(0.03);
        slept = clock.uptime() - start;
        done = true;
    });
    const pthread_t target = sleeper.native_handle();
    while (!done) {
        ::pthread_kill(target, SIGUSR1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    sleeper.join();
    ::sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_GE(slept, 0.03);  // a lower bound only: the sleep must not end early
}

TEST(SystemClockTest, SleepUnlessReadableEndsWhenTheDescriptorIsReady) {
    SystemClock clock;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    EXPECT_FALSE(clock.sleepUnlessReadable(fds[0], 0.01));  // nothing to read: the whole pause
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    EXPECT_TRUE(clock.sleepUnlessReadable(fds[0], 60.0));   // returns at once, not after a minute
    EXPECT_FALSE(clock.sleepUnlessReadable(fds[0], 0.0));
    ::close(fds[0]);
    ::close(fds[1]);
}

}  // namespace
}  // namespace dorvane::dispatch
