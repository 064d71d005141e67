#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Dispatch/SpawnedTask.h"
#include "Platform/Dispatch/WaiterList.h"

namespace dorvane::dispatch {
namespace {

class SpawnedTaskTest : public ::testing::Test {
protected:
    SimulatedScheduler scheduler;
    MainQueue& main = scheduler.mainQueue();
    Executor& worker = scheduler.makeSerialQueue("worker");
    std::vector<std::string> trace;
};

TEST_F(SpawnedTaskTest, SeveralTasksAwaitOneSpawnedTaskEachResumingOnItsOwnExecutor) {
    // Coroutine lambdas take what they use as parameters: their captures die with them.
    auto tapTask = [](std::vector<std::string>& out) -> Task<> {
        co_await sleepFor(1.0);
        out.push_back("tap done");
    };
    auto handle = SpawnedTask::spawn(main, [&](CancellationToken) { return tapTask(trace); });
    auto awaiter = [this, handle](Executor& on, std::string name) -> Task<> {
        co_await handle;
        trace.push_back(name + (on.isCurrent() ? " on its own queue" : " elsewhere"));
    };
    spawn(worker, awaiter(worker, "worker"));
    spawn(main, awaiter(main, "main"));
    scheduler.advanceBy(0.5);
    EXPECT_TRUE(trace.empty());
    EXPECT_FALSE(handle.isFinished());
    scheduler.advanceBy(0.5);
    EXPECT_EQ(trace, (std::vector<std::string>{"tap done", "worker on its own queue", "main on its own queue"}));
    // Awaiting it once it has ended, or an empty handle, goes straight on.
    bool late = false;
    spawn(main, [](SpawnedTask done, SpawnedTask none, bool& flag) -> Task<> {
        co_await done;
        co_await none;
        flag = true;
    }(handle, SpawnedTask(), late));
    scheduler.runUntilIdle();
    EXPECT_TRUE(late);
}

TEST_F(SpawnedTaskTest, CancelledThrowingOrFreedTasksStillLetTheirAwaitersGoOn) {
    auto sleeper = SpawnedTask::spawn(main, [](CancellationToken token) -> Task<> { co_await sleepFor(60, token); });
    std::vector<std::exception_ptr> errors;
    auto thrower = SpawnedTask::spawn(
        main, [](CancellationToken) -> Task<> {
            co_await sleepFor(0.1);
            throw std::runtime_error("boom");
        },
        [&errors](std::exception_ptr error) { errors.push_back(error); });
    // Waits on a list that goes away: its wake-up is lost and its frame freed.
    auto list = std::make_unique<WaiterList>();
    auto waitOn = [](WaiterList& waiters) -> Task<> { co_await waiters.wait(); };
    auto forgotten = SpawnedTask::spawn(main, [&](CancellationToken) { return waitOn(*list); });
    int resumed = 0;
    for (auto* task : {&sleeper, &thrower, &forgotten}) {
        spawn(main, [](SpawnedTask awaited, int& count) -> Task<> {
            co_await awaited;
            ++count;
        }(*task, resumed));
    }
    scheduler.runUntilIdle();
    sleeper.cancel();
    list.reset();
    scheduler.advanceBy(0.1);
    EXPECT_EQ(resumed, 3);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_TRUE(sleeper.isFinished() && thrower.isFinished() && forgotten.isFinished());
}

TEST_F(SpawnedTaskTest, AWaiterListResumesEveryoneWaitingInArrivalOrderAndNobodyLater) {
    WaiterList waiters;
    auto wait = [this, &waiters](std::string name) -> Task<> {
        co_await waiters.wait();
        trace.push_back(name);
    };
    spawn(main, wait("first"));
    spawn(worker, wait("second"));
    spawn(main, wait("third"));
    scheduler.runUntilIdle();
    EXPECT_EQ(waiters.size(), 3u);
    waiters.resumeAll();
    EXPECT_TRUE(trace.empty());  // never inline: each goes on as a job of its own executor
    spawn(main, wait("late"));
    scheduler.runUntilIdle();
    EXPECT_EQ(trace, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(waiters.size(), 1u);
}

}  // namespace
}  // namespace dorvane::dispatch
