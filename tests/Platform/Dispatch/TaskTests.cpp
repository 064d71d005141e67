#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Dispatch/Timer.h"

namespace dorvane::dispatch {
namespace {

// Counts live coroutine frames: a frame that holds one is freed when the count drops.
struct FrameProbe {
    explicit FrameProbe(int& live) : live(live) { ++live; }
    FrameProbe(const FrameProbe&) = delete;
    ~FrameProbe() { --live; }
    int& live;
};

class TaskTest : public ::testing::Test {
protected:
    SimulatedScheduler scheduler;
    MainQueue& main = scheduler.mainQueue();
    Executor& engine = scheduler.makeSerialQueue("engine");
    std::vector<std::exception_ptr> escaped;
    TaskErrorHandler keep = [this](std::exception_ptr error) { escaped.push_back(error); };
};

TEST_F(TaskTest, TwelveSecondSleepResumesExactlyAtTwelveSecondsOnItsExecutor) {
    std::optional<double> wokeAt;
    bool onMain = false;
    auto debounce = [&]() -> Task<> {
        co_await sleepFor(12.0);
        wokeAt = scheduler.now();
        onMain = main.isCurrent();
    };
    spawn(main, debounce());
    scheduler.advanceBy(11.9);
    EXPECT_FALSE(wokeAt);
    scheduler.advanceBy(0.1);
    EXPECT_EQ(wokeAt, 12.0);
    EXPECT_TRUE(onMain);
}

TEST_F(TaskTest, AwaitingWorkOnAnActorResumesOnTheMainQueueWithItsResult) {
    std::vector<std::string> trace;
    auto apply = [&](int width) -> Task<std::string> {
        const int pixels = co_await runOn(engine, [&, width] {
            trace.push_back(engine.isCurrent() && !main.isCurrent() ? "work on engine" : "work elsewhere");
            return width * 2;
        });
        trace.push_back(main.isCurrent() ? "child back on main" : "child elsewhere");
        co_return std::to_string(pixels) + " px";
    };
    std::string answer;
    auto controller = [&]() -> Task<> {
        answer = co_await apply(1280);
        trace.push_back(main.isCurrent() ? "parent on main" : "parent elsewhere");
        co_await resumeOn(engine);
        trace.push_back(engine.isCurrent() ? "hopped to engine" : "hop failed");
        co_await runOn(main, [&] { trace.push_back("void work on main"); });
        trace.push_back(engine.isCurrent() ? "stays on engine" : "left engine");
    };
    spawn(main, controller(), keep);
    scheduler.runUntilIdle();
    EXPECT_EQ(answer, "2560 px");
    EXPECT_EQ(trace, (std::vector<std::string>{"work on engine", "child back on main", "parent on main",
                                               "hopped to engine", "void work on main", "stays on engine"}));
    EXPECT_TRUE(escaped.empty());
}

TEST_F(TaskTest, CancellingASleepingTaskResumesItAsCancelledAtOnce) {
    CancellationSource source;
    std::vector<std::string> outcome;
    auto fallbackLoop = [&](CancellationToken token) -> Task<> {
        try {
            while (true) {
                co_await sleepFor(30.0, token);
                outcome.push_back("sample at " + std::to_string(static_cast<int>(scheduler.now())));
            }
        } catch (const TaskCancelled&) {
            outcome.push_back("cancelled at " + std::to_string(static_cast<int>(scheduler.now())));
            EXPECT_TRUE(main.isCurrent());
        }
    };
    spawn(main, fallbackLoop(source.token()), keep);
    scheduler.advanceBy(35);
    engine.post([&] { source.cancel(); });  // cancelled from another actor
    scheduler.runUntilIdle();
    EXPECT_EQ(outcome, (std::vector<std::string>{"sample at 30", "cancelled at 35"}));

    // An already-cancelled token does not sleep at all.
    bool threw = false;
    auto late = [&]() -> Task<> {
        try {
            co_await sleepFor(1.0, source.token());
        } catch (const TaskCancelled&) {
            threw = true;
        }
    };
    spawn(main, late());
    scheduler.runUntilIdle();
    EXPECT_TRUE(threw);
    EXPECT_EQ(scheduler.pendingJobCount(), 0u);  // the cancelled sleep's timer is gone too
    EXPECT_TRUE(escaped.empty());
}

TEST_F(TaskTest, DestroyingTheSourceCancelsAndAnUncaughtCancellationEndsTheTaskQuietly) {
    int live = 0;
    bool after = false;
    auto source = std::make_unique<CancellationSource>();
    auto poll = [&](CancellationToken token) -> Task<> {
        FrameProbe probe(live);
        co_await sleepFor(30.0, token);
        after = true;
    };
    spawn(main, poll(source->token()), keep);
    scheduler.advanceBy(1);
    EXPECT_EQ(live, 1);
    source.reset();
    scheduler.runUntilIdle();
    EXPECT_FALSE(after);
    EXPECT_EQ(live, 0);
    EXPECT_TRUE(escaped.empty());
}

TEST_F(TaskTest, ExceptionsCrossAwaitsAndActorsAndEscapedOnesReachTheHandler) {
    auto failing = [&]() -> Task<int> {
        co_await sleepFor(1.0);
        throw std::runtime_error("快照失败");
    };
    std::vector<std::string> caught;
    auto caller = [&]() -> Task<> {
        try {
            co_await failing();
        } catch (const std::runtime_error& error) {
            caught.push_back(error.what());
        }
        try {
            co_await runOn(engine, [] { throw std::out_of_range("worker"); });
        } catch (const std::out_of_range& error) {
            caught.push_back(std::string(error.what()) + (main.isCurrent() ? " on main" : " elsewhere"));
        }
        throw std::logic_error("escaped");
    };
    spawn(main, caller(), keep);
    scheduler.advanceBy(2);
    EXPECT_EQ(caught, (std::vector<std::string>{"快照失败", "worker on main"}));
    ASSERT_EQ(escaped.size(), 1u);
    EXPECT_THROW(std::rethrow_exception(escaped[0]), std::logic_error);
}

TEST_F(TaskTest, AFailureNothingHandledFailsTheDriverAndTheScheduleGoesOn) {
    // A spawned task without a handler, and a timer's job: both reach the driving call.
    std::vector<std::string> ran;
    spawn(main, [](Executor& actor, std::vector<std::string>& trace) -> Task<> {
        co_await runOn(actor, [] {});
        trace.push_back("before");
        throw std::runtime_error("host file unreadable");
    }(engine, ran));
    try {
        scheduler.runUntilIdle();
        ADD_FAILURE() << "the unhandled failure was lost";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "host file unreadable");
    }
    main.post([&] { ran.push_back("next job"); });
    EXPECT_EQ(scheduler.runUntilIdle(), 1u);
    EXPECT_EQ(ran, (std::vector<std::string>{"before", "next job"}));

    const Timer timer = Timer::repeating(main, 1.0, [&] {
        ran.push_back("tick");
        throw std::runtime_error("tick failed");
    });
    EXPECT_THROW(scheduler.advanceBy(1.0), std::runtime_error);
    EXPECT_THROW(scheduler.advanceBy(1.0), std::runtime_error);  // the timer keeps firing
    EXPECT_EQ(ran.size(), 4u);
}

// A task's own error handler runs where the task ended, inside the code that finishes a
// task and must not throw: a handler that fails anyway reaches the executor's last resort
// with its own failure, and the program goes on.
TEST_F(TaskTest, AnErrorHandlerThatThrowsReachesTheLastResortInsteadOfEndingTheProgram) {
    std::vector<std::string> handled;
    spawn(main, []() -> Task<> {
        co_await sleepFor(1.0);
        throw std::runtime_error("window list unreadable");
    }(), [&](std::exception_ptr error) {
        handled.push_back(failureText(error));
        throw std::logic_error("handler failed too");
    });
    try {
        scheduler.advanceBy(2);
        ADD_FAILURE() << "the handler's failure was lost";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "handler failed too");
    }
    EXPECT_EQ(handled, std::vector<std::string>{"window list unreadable"});
    // Anything, not only a std::exception.
    spawn(engine, []() -> Task<> { throw 42; co_return; }(), [](std::exception_ptr) { throw 7; });
    EXPECT_THROW(scheduler.runUntilIdle(), int);
    main.post([&] { handled.push_back("next job"); });
    scheduler.runUntilIdle();
    EXPECT_EQ(handled.back(), "next job");
}

TEST_F(TaskTest, FramesAreFreedWhenNeverStartedOrWhenTheirWakeUpIsDropped) {
    int live = 0;
    auto sleeper = [&](double seconds) -> Task<int> {
        FrameProbe probe(live);
        co_await sleepFor(seconds);
        co_return 1;
    };
    auto parent = [&]() -> Task<> {
        FrameProbe probe(live);
        co_await sleeper(60.0);
    };
    {
        Task<int> neverStarted = sleeper(1.0);
        EXPECT_EQ(live, 0);  // lazy: nothing ran yet
    }
    {
        auto local = std::make_unique<SimulatedScheduler>();
        auto hopper = [&](Executor& actor) -> Task<> {
            FrameProbe probe(live);
            co_await resumeOn(actor);
            co_await sleepFor(5.0);
        };
        spawn(local->mainQueue(), parent());
        spawn(local->mainQueue(), hopper(local->makeSerialQueue("probe")));
        local->advanceBy(1);
        EXPECT_EQ(live, 3);
    }
    EXPECT_EQ(live, 0);  // the scheduler dropped both sleeping chains
}

TEST_F(TaskTest, ManySynchronousAwaitsDoNotGrowTheStack) {
    auto immediate = [](int value) -> Task<int> { co_return value; };
    long long sum = 0;
    auto loop = [&]() -> Task<> {
        for (int i = 0; i < 200000; ++i) sum += co_await immediate(1);
    };
    spawn(main, loop());
    scheduler.runUntilIdle();
    EXPECT_EQ(sum, 200000);
}

TEST_F(TaskTest, MoveOnlyResultsAndATaskAwaitedTwice) {
    std::unique_ptr<int> result;
    auto make = []() -> Task<std::unique_ptr<int>> { co_return std::make_unique<int>(7); };
    auto body = [&]() -> Task<> {
        Task<std::unique_ptr<int>> task = make();
        result = co_await std::move(task);
        co_await std::move(task);  // consumed by the first await
    };
    spawn(main, body(), keep);
    scheduler.runUntilIdle();
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, 7);
    ASSERT_EQ(escaped.size(), 1u);
    EXPECT_THROW(std::rethrow_exception(escaped[0]), std::logic_error);
    EXPECT_THROW(spawn(main, Task<>()), std::invalid_argument);
}

}  // namespace
}  // namespace dorvane::dispatch
