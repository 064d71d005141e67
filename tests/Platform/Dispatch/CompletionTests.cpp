#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Platform/Dispatch/Completion.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

namespace dorvane::dispatch {
namespace {

Task<void> waitFor(Completion done, std::vector<int>* order, int id) {
    co_await done.wait();
    order->push_back(id);
}

Task<void> completeLater(Completion done, std::vector<int>* order) {
    const CompleteOnExit finished(done);
    co_await sleepFor(1.0);
    order->push_back(0);
}

TEST(Completion, WaitersResumeOnTheirOwnExecutorsOnceCompleteRunsAndLaterOnesGoStraightOn) {
    SimulatedScheduler scheduler;
    Executor& worker = scheduler.makeSerialQueue("worker");
    Completion done;
    std::vector<int> order;
    spawn(scheduler.mainQueue(), waitFor(done, &order, 1));
    spawn(worker, waitFor(done, &order, 2));
    spawn(scheduler.mainQueue(), completeLater(done, &order));
    scheduler.advanceBy(0.5);
    EXPECT_TRUE(order.empty());
    scheduler.advanceBy(0.5);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    done.complete();  // again: nothing more
    spawn(worker, waitFor(done, &order, 3));
    scheduler.runUntilIdle();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
}

TEST(Completion, TaskFreedBeforeItEndsStillCompletes) {
    std::vector<int> order;
    Completion done;
    auto scheduler = std::make_unique<SimulatedScheduler>();
    spawn(scheduler->mainQueue(), completeLater(done, &order));
    scheduler->runUntilIdle();
    scheduler.reset();  // drops the sleeping task
    EXPECT_TRUE(done.isComplete());
    EXPECT_TRUE(order.empty());
}

}  // namespace
}  // namespace dorvane::dispatch
