#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "Dorvane/Input/EventTapThread.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

namespace dorvane {
namespace {

TEST(EventTapThread, TheSharedQueueIsOneThreadWhoseSyncAnswersFromItAndNestsInline) {
    auto first = std::async(std::launch::async, [] { return &EventTapThread::shared(); });
    auto second = std::async(std::launch::async, [] { return &EventTapThread::shared(); });
    auto& taps = EventTapThread::shared();
    EXPECT_EQ(first.get(), &taps);
    EXPECT_EQ(second.get(), &taps);
    EXPECT_EQ(taps.executor().label(), "local.Dorvane.event-taps");
    EXPECT_FALSE(taps.isCurrent());

    const auto caller = std::this_thread::get_id();
    const auto answer = taps.sync([&] {
        // A sync issued on the thread itself runs at once instead of waiting for itself.
        const int inner = taps.sync([&] { return taps.isCurrent() ? 20 : -1; });
        return std::this_thread::get_id() != caller && taps.isCurrent() ? inner + 22 : -1;
    });
    EXPECT_EQ(answer, 42);
    EXPECT_THROW(taps.sync([]() -> int { throw std::runtime_error("reaches the caller"); }), std::runtime_error);
}

TEST(EventTapThread, OverADrivenQueueSyncRunsInlineAndTimersFireOnTheQueue) {
    dispatch::SimulatedScheduler scheduler;
    auto& queue = scheduler.makeSerialQueue("event-taps");
    EventTapThread taps(queue);
    bool insideWasCurrent = false;
    taps.sync([&] { insideWasCurrent = taps.isCurrent(); });
    EXPECT_TRUE(insideWasCurrent);
    EXPECT_FALSE(taps.isCurrent());

    int repeated = 0;
    int once = 0;
    bool onQueue = true;
    auto repeating = taps.timer(0.1, true, [&] {
        ++repeated;
        onQueue = onQueue && queue.isCurrent();
    });
    auto single = taps.timer(0.4, false, [&] { ++once; });
    scheduler.advanceBy(0.55);
    EXPECT_EQ(repeated, 5);
    EXPECT_EQ(once, 1);
    EXPECT_TRUE(onQueue);
    repeating.cancel();
    scheduler.advanceBy(1);
    EXPECT_EQ(repeated, 5);
    EXPECT_EQ(once, 1);
}

}  // namespace
}  // namespace dorvane
