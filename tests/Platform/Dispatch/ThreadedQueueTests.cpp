#include <gtest/gtest.h>

#include <pthread.h>

#include <atomic>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Dispatch/Timer.h"

namespace dorvane::dispatch {
namespace {

constexpr double kPatience = 10.0;  // seconds before a hung test gives up; never reached when green

TEST(SerialQueueTest, RunsJobsOneAtATimeInPostingOrderOnItsNamedThread) {
    std::vector<int> order;
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::string threadName;
    bool current = false;
    auto queue = std::make_unique<SerialQueue>("engine");
    SerialQueue& engine = *queue;
    EXPECT_EQ(engine.label(), "local.Dorvane.engine");
    EXPECT_FALSE(engine.isCurrent());
    engine.post([&] {
        char name[16] = {};
        ::pthread_getname_np(::pthread_self(), name, sizeof name);
        threadName = name;
        current = engine.isCurrent();
    });
    for (int i = 0; i < 500; ++i) {
        engine.post([&, i] {
            if (inside.fetch_add(1) != 0) overlaps.fetch_add(1);
            order.push_back(i);
            if (i % 50 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
            inside.fetch_sub(1);
        });
    }
    queue.reset();  // drains what was posted, then joins

    EXPECT_EQ(threadName, "Dorvane.engine");
    EXPECT_TRUE(current);
    EXPECT_EQ(overlaps.load(), 0);
    ASSERT_EQ(order.size(), 500u);
    for (int i = 0; i < 500; ++i) ASSERT_EQ(order[static_cast<std::size_t>(i)], i);
}

TEST(SerialQueueTest, DelayedJobsRunByDueTimeAndDestructionDropsThoseNotDue) {
    std::vector<std::string> order;
    std::promise<void> gate;
    std::promise<void> finished;
    bool neverRan = true;
    {
        SerialQueue queue("window-actions");
        // Held shut while everything is scheduled, so the order cannot depend on how fast we are.
        queue.post([opened = gate.get_future().share()] { opened.wait(); });
        queue.postAfter(0.05, [&] {
            order.push_back("50 ms");
            finished.set_value();
        });
        queue.postAfter(0.001, [&] { order.push_back("1 ms"); });
        TimerHandle cancelled = queue.postAfter(0.001, [&] { order.push_back("cancelled"); });
        queue.postAfter(0.002, [&] { order.push_back("2 ms, first"); });
        queue.postAfter(0.002, [&] { order.push_back("2 ms, second"); });
        queue.post([&] { order.push_back("now"); });
        cancelled.cancel();
        queue.postAfter(3600, [&] { neverRan = false; });
        gate.set_value();
        ASSERT_EQ(finished.get_future().wait_for(std::chrono::duration<double>(kPatience)),
                  std::future_status::ready);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"now", "1 ms", "2 ms, first", "2 ms, second", "50 ms"}));
    EXPECT_TRUE(neverRan);
}

TEST(SerialQueueTest, ADestroyedQueueFromItsOwnJobFinishesWithoutJoiningItself) {
    auto* queue = new SerialQueue("logs");
    std::promise<void> gate;
    std::promise<void> lastJob;
    std::atomic<bool> destroyed{false};
    queue->post([opened = gate.get_future().share()] { opened.wait(); });
    queue->post([queue, &destroyed] {
        delete queue;
        destroyed = true;
    });
    queue->post([&] { lastJob.set_value(); });  // posted before destruction: still runs
    gate.set_value();
    ASSERT_EQ(lastJob.get_future().wait_for(std::chrono::duration<double>(kPatience)), std::future_status::ready);
    EXPECT_TRUE(destroyed.load());
}

// Counts live coroutine frames: a frame that holds one is freed when the count drops.
struct FrameProbe {
    explicit FrameProbe(std::atomic<int>& live) : live(live) { ++live; }
    FrameProbe(const FrameProbe&) = delete;
    ~FrameProbe() { --live; }
    std::atomic<int>& live;
};

// Whether `queue` still takes jobs: a refused job is destroyed inside post().
bool accepts(Executor& queue) {
    auto probe = std::make_shared<int>(0);
    queue.post([probe] {});
    return probe.use_count() > 1;
}

TEST(SerialQueueTest, AChainWhoseHopIsRefusedIsFreedWithoutBeingTouchedAgain) {
    std::atomic<int> live{0};
    std::atomic<int> resumed{0};
    auto child = [&](Executor& target) -> Task<> {
        FrameProbe probe(live);
        co_await resumeOn(target);
        ++resumed;
    };
    auto parent = [&](Executor& target) -> Task<> {
        FrameProbe probe(live);
        co_await child(target);
        ++resumed;
    };

    // The queue is being destroyed while the parent starts on it: the child's hop onto the
    // closing queue is refused while the parent is still starting the child.
    auto queue = std::make_unique<SerialQueue>("engine");
    SerialQueue& engine = *queue;
    engine.post([&engine] {
        while (accepts(engine)) std::this_thread::yield();  // held until the destructor closed it
    });
    spawn(engine, parent(engine));
    queue.reset();
    EXPECT_EQ(live.load(), 0);
    EXPECT_EQ(resumed.load(), 0);

    // At quit: the actor's queue is stopped first, then a main-queue task awaits it.
    ManualMainQueue main;
    SerialQueue actor("probe");
    actor.stop();
    EXPECT_FALSE(accepts(actor));
    auto awaitsActor = [&]() -> Task<> {
        FrameProbe probe(live);
        co_await parent(actor);
        ++resumed;
    };
    spawn(main, awaitsActor());
    main.runPending();
    EXPECT_EQ(live.load(), 0);
    EXPECT_EQ(resumed.load(), 0);
}

TEST(ManualMainQueueTest, RunsJobsOnlyWhenDrivenFromItsOwningThread) {
    ManualMainQueue main;
    EXPECT_EQ(main.label(), "main");
    std::vector<std::string> order;
    main.post([&] {
        order.push_back("first");
        main.post([&] { order.push_back("posted by first"); });
    });
    std::thread([&] {
        main.post([&] { order.push_back("from another thread"); });
        EXPECT_FALSE(main.isCurrent());
        EXPECT_THROW(main.runPending(), std::logic_error);
    }).join();
    bool nestedRefused = false;
    main.post([&] {
        try {
            main.runPending();
        } catch (const std::logic_error&) {
            nestedRefused = true;
        }
    });
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(main.runPending(), 4u);
    EXPECT_TRUE(nestedRefused);
    main.postAfter(0.003, [&] { order.push_back("timer"); });
    EXPECT_TRUE(main.runUntil([&] { return order.size() == 4; }, kPatience));
    EXPECT_EQ(order, (std::vector<std::string>{"first", "from another thread", "posted by first", "timer"}));
    EXPECT_FALSE(main.runUntil([] { return false; }, 0.002));
}

TEST(SerialQueueTest, AJobThatThrowsIsReportedWithTheQueuesLabelAndTheNextJobRuns) {
    std::mutex mutex;
    std::vector<std::string> reported;
    std::promise<void> nextRan;
    {
        SerialQueue queue("probe", [&](const std::string& where, std::exception_ptr failure) {
            std::lock_guard lock(mutex);
            reported.push_back(where + ": " + failureText(failure));
        });
        queue.post([] { throw std::runtime_error("power.json unreadable"); });
        queue.post([&] { nextRan.set_value(); });
        EXPECT_EQ(nextRan.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    }
    EXPECT_EQ(reported, (std::vector<std::string>{"local.Dorvane.probe: power.json unreadable"}));
}

TEST(ManualMainQueueTest, ATaskThatFailsWithoutAHandlerFailsTheDriverOnceAndTheQueueGoesOn) {
    ManualMainQueue main;
    bool later = false;
    spawn(main, []() -> Task<> {
        throw std::runtime_error("windows.json unreadable");
        co_return;
    }());
    main.post([&] { later = true; });
    EXPECT_THROW(main.runPending(), std::runtime_error);
    EXPECT_FALSE(later);
    EXPECT_EQ(main.runPending(), 1u);
    EXPECT_TRUE(later);
}

TEST(ThreadedTaskTest, MainTaskAwaitsActorsTimersAndCancellationOnTheMainThread) {
    ManualMainQueue main;
    SerialQueue engine("engine");
    std::vector<std::string> trace;  // main thread only
    int engineRuns = 0;              // engine thread only
    auto operation = [&](int step) -> Task<int> {
        const int value = co_await runOn(engine, [&engine, &engineRuns, step] {
            if (!engine.isCurrent()) throw std::logic_error("work off the engine");
            ++engineRuns;
            return step * 10;
        });
        co_await sleepFor(0.001);
        co_return value + (main.isCurrent() && !engine.isCurrent() ? 1 : 0);
    };
    auto controller = [&]() -> Task<> {
        for (int step = 1; step <= 20; ++step) trace.push_back(std::to_string(co_await operation(step)));
        try {
            co_await runOn(engine, [] { throw std::runtime_error("worker timed out"); });
        } catch (const std::runtime_error& error) {
            trace.push_back(error.what());
        }
    };
    std::exception_ptr escaped;
    spawn(main, controller(), [&](std::exception_ptr error) { escaped = error; });
    ASSERT_TRUE(main.runUntil([&] { return trace.size() == 21 || escaped; }, kPatience));
    EXPECT_FALSE(escaped);
    EXPECT_EQ(trace.front(), "11");
    EXPECT_EQ(trace[19], "201");
    EXPECT_EQ(trace.back(), "worker timed out");

    // Cancellation from an actor wakes a sleeping main task, on the main thread.
    CancellationSource source;
    std::string outcome;
    auto fallback = [&](CancellationToken token) -> Task<> {
        try {
            co_await sleepFor(3600, token);
            outcome = "slept";
        } catch (const TaskCancelled&) {
            outcome = main.isCurrent() ? "cancelled on main" : "cancelled elsewhere";
        }
    };
    spawn(main, fallback(source.token()));
    Timer stop = Timer::once(engine, 0.002, [&] { source.cancel(); });
    EXPECT_TRUE(main.runUntil([&] { return !outcome.empty(); }, kPatience));
    EXPECT_EQ(outcome, "cancelled on main");
}

}  // namespace
}  // namespace dorvane::dispatch
