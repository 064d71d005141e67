#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Dispatch/Timer.h"

namespace dorvane::dispatch {
namespace {

TEST(SimulatedSchedulerTest, RunsJobsInDueOrderThenSubmissionOrderAcrossQueues) {
    SimulatedScheduler scheduler(100.0);
    MainQueue& main = scheduler.mainQueue();
    Executor& engine = scheduler.makeSerialQueue("engine");
    EXPECT_EQ(engine.label(), "local.Dorvane.engine");
    EXPECT_EQ(main.label(), "main");

    std::vector<std::string> order;
    auto record = [&](std::string name, Executor& expected) {
        return [&order, &expected, &main, &engine, name] {
            EXPECT_TRUE(expected.isCurrent()) << name;
            EXPECT_EQ(main.isCurrent() + engine.isCurrent(), 1) << name;
            order.push_back(name);
        };
    };
    main.postAfter(1.0, record("main+1 first", main));
    engine.post(record("engine 1", engine));
    main.post(record("main 1", main));
    engine.postAfter(1.0, record("engine+1 second", engine));
    engine.post(record("engine 2", engine));
    main.post([&] { engine.post(record("engine posted by main", engine)); });

    // Between jobs the test stands in for the main thread; no other thread does.
    EXPECT_TRUE(main.isCurrent());
    EXPECT_FALSE(engine.isCurrent());
    bool currentElsewhere = true;
    std::thread([&] { currentElsewhere = main.isCurrent(); }).join();
    EXPECT_FALSE(currentElsewhere);
    EXPECT_EQ(scheduler.runUntilIdle(), 5u);
    EXPECT_EQ(scheduler.now(), 100.0);
    EXPECT_EQ(scheduler.advanceBy(1.0), 2u);
    EXPECT_EQ(order, (std::vector<std::string>{"engine 1", "main 1", "engine 2", "engine posted by main",
                                               "main+1 first", "engine+1 second"}));
}

TEST(SimulatedSchedulerTest, AdvanceByVisitsEachDueInstantAndEndsExactlyAtTheTarget) {
    SimulatedScheduler scheduler;
    MainQueue& main = scheduler.mainQueue();
    std::vector<double> seen;
    main.postAfter(2.0, [&] { seen.push_back(scheduler.now()); });
    main.postAfter(0.5, [&] {
        seen.push_back(scheduler.now());
        main.postAfter(0.25, [&] { seen.push_back(scheduler.now()); });  // lands inside the same advance
    });
    main.postAfter(4.0, [&] { seen.push_back(scheduler.now()); });

    scheduler.advanceBy(2.5);
    EXPECT_EQ(seen, (std::vector<double>{0.5, 0.75, 2.0}));
    EXPECT_EQ(scheduler.now(), 2.5);
    EXPECT_EQ(scheduler.pendingJobCount(), 1u);
    // 1.4 + 0.1 is exactly 1.5 in virtual time: the job due at 4.0 runs.
    scheduler.advanceBy(1.4);
    EXPECT_EQ(seen.size(), 3u);
    scheduler.advanceBy(0.1);
    EXPECT_EQ(seen.back(), 4.0);
    EXPECT_EQ(scheduler.wallTime() - SimulatedScheduler::defaultStartWallTime(), std::chrono::seconds(4));

    EXPECT_THROW(scheduler.advanceBy(-1), std::invalid_argument);
}

// A sleeping actor holds the one thread: its next job and every other queue wait.
TEST(SimulatedSchedulerTest, SleepBlocksTheActorWithoutRunningOtherJobs) {
    SimulatedScheduler scheduler;
    MainQueue& main = scheduler.mainQueue();
    Executor& engine = scheduler.makeSerialQueue("engine");
    std::vector<std::string> order;
    engine.post([&] {
        main.postAfter(1.0, [&] { order.push_back("timer at " + std::to_string(scheduler.now())); });
        scheduler.sleep(3.0);
        order.push_back("engine woke");
        EXPECT_TRUE(engine.isCurrent());
    });
    engine.post([&] { order.push_back("engine 2 at " + std::to_string(scheduler.now())); });
    main.post([&] { order.push_back("main"); });

    scheduler.runUntilIdle();
    EXPECT_EQ(scheduler.now(), 3.0);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0], "engine woke");
    EXPECT_EQ(order[1].rfind("engine 2 at 3.0", 0), 0u);
    EXPECT_EQ(order[2], "main");
    EXPECT_EQ(order[3].rfind("timer at 3.0", 0), 0u);  // overdue, runs once time is current
}

TEST(SimulatedSchedulerTest, RejectsReentrantDrivingAndSurvivesAThrowingJob) {
    SimulatedScheduler scheduler;
    MainQueue& main = scheduler.mainQueue();
    bool rejected = false;
    main.post([&] {
        try {
            scheduler.runUntilIdle();
        } catch (const std::logic_error&) {
            rejected = true;
        }
    });
    Executor& engine = scheduler.makeSerialQueue("engine");
    engine.post([] { throw std::runtime_error("job failed"); });
    bool later = false;
    main.post([&] { later = true; });

    EXPECT_THROW(scheduler.runUntilIdle(), std::runtime_error);
    EXPECT_TRUE(rejected);
    EXPECT_FALSE(engine.isCurrent());
    EXPECT_EQ(scheduler.runUntilIdle(), 1u);
    EXPECT_TRUE(later);
}

TEST(TimerTest, RepeatingTimerFiresAtEachIntervalUntilCancelledFromItsJob) {
    SimulatedScheduler scheduler;
    Executor& probe = scheduler.makeSerialQueue("probe");
    std::vector<double> firings;
    Timer timer;
    timer = Timer::repeating(probe, 0.02, [&] {
        EXPECT_TRUE(probe.isCurrent());
        firings.push_back(scheduler.now());
        if (firings.size() == 3) timer.cancel();
    });
    EXPECT_TRUE(timer.isActive());
    scheduler.advanceBy(0.039);
    EXPECT_EQ(firings, (std::vector<double>{0.02}));
    scheduler.advanceBy(1.0);
    EXPECT_EQ(firings, (std::vector<double>{0.02, 0.04, 0.06}));
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(scheduler.pendingJobCount(), 0u);
}

TEST(TimerTest, OneShotFiresOnceAndDestroyingOrReplacingATimerCancelsIt) {
    SimulatedScheduler scheduler;
    MainQueue& main = scheduler.mainQueue();
    std::vector<std::string> fired;
    Timer once = Timer::once(main, 30.0, [&] { fired.push_back("fallback"); });
    Timer replaced = Timer::repeating(main, 5.0, [&] { fired.push_back("old"); });
    replaced = Timer::once(main, 2.0, [&] { fired.push_back("debounce"); });
    {
        Timer scoped = Timer::repeating(main, 1.0, [&] { fired.push_back("scoped"); });
    }
    scheduler.advanceBy(29.9);
    EXPECT_EQ(fired, (std::vector<std::string>{"debounce"}));
    EXPECT_FALSE(replaced.isActive());
    EXPECT_TRUE(once.isActive());
    scheduler.advanceBy(100);
    EXPECT_EQ(fired, (std::vector<std::string>{"debounce", "fallback"}));
    EXPECT_FALSE(once.isActive());
}

}  // namespace
}  // namespace dorvane::dispatch
