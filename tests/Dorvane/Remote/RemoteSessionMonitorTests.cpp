#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "Dorvane/Remote/RemoteSessionMonitor.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

namespace dorvane {
namespace {

using dispatch::Task;
using workspace::RunningApplication;

class FakeNotifications final : public power::AssertionChangeNotifications {
public:
    bool available = true;
    std::function<void()> handler;
    bool start(std::function<void()> h) override {
        stop();
        if (!available) return false;
        handler = std::move(h);
        return true;
    }
    void stop() override { handler = nullptr; }
    void fire() {
        if (handler) handler();
    }
};

class FakeWorkspace final : public workspace::WorkspaceEvents {
public:
    std::vector<RunningApplication> applications;
    std::function<void(const std::vector<RunningApplication>&, const std::vector<RunningApplication>&)> appsHandler;
    std::function<void()> wakeHandler;

    std::vector<RunningApplication> runningApplications() override { return applications; }
    dispatch::Observation observeRunningApplications(
        std::function<void(const std::vector<RunningApplication>&, const std::vector<RunningApplication>&)> handler)
        override {
        appsHandler = std::move(handler);
        return dispatch::Observation([this] { appsHandler = nullptr; });
    }
    dispatch::Observation observeWake(std::function<void()> handler) override {
        wakeHandler = std::move(handler);
        return dispatch::Observation([this] { wakeHandler = nullptr; });
    }
    void launch(RunningApplication application) {
        auto before = applications;
        applications.push_back(std::move(application));
        if (appsHandler) appsHandler(before, applications);
    }
};

class RemoteSessionMonitorTest : public ::testing::Test {
protected:
    // The scheduler is declared first so it outlives the monitor's tasks and timers.
    dispatch::SimulatedScheduler scheduler;
    FakeNotifications notifications;
    FakeWorkspace workspace;
    std::optional<RemoteSessionMonitor> monitor;

    std::vector<double> sampleStarts;
    double sampleDuration = 0.5;
    std::optional<double> answer;
    bool failing = false;  // the host cannot be read

    void SetUp() override { monitor.emplace(scheduler.mainQueue(), scheduler, notifications, workspace); }
    void TearDown() override {
        monitor.reset();
        scheduler.runUntilIdle();
    }

    RemoteSessionMonitor::Sample sample() {
        return [this]() -> Task<std::optional<double>> { return takeSample(); };
    }

    Task<std::optional<double>> takeSample() {
        sampleStarts.push_back(scheduler.now());
        if (sampleDuration > 0) co_await dispatch::sleepFor(sampleDuration);
        if (failing) throw std::runtime_error("cannot read power.json");
        co_return answer;
    }

    void at(double time) { scheduler.advanceBy(time - scheduler.now()); }
};

TEST_F(RemoteSessionMonitorTest, RequestsDuringASampleGiveExactlyOneMoreOneSecondLater) {
    monitor->start(sample());
    scheduler.runUntilIdle();
    ASSERT_EQ(sampleStarts, std::vector<double>{0.0});
    at(0.1);
    notifications.fire();
    at(0.2);
    notifications.fire();
    at(0.3);
    notifications.fire();
    at(5.0);
    EXPECT_EQ(sampleStarts, (std::vector<double>{0.0, 1.0}));
}

TEST_F(RemoteSessionMonitorTest, RecheckDelaysAndTheFallbackTimer) {
    answer = 0.0;  // the filter wants another look at once
    sampleDuration = 0;
    monitor->start(sample());
    at(0.04);
    EXPECT_EQ(sampleStarts.size(), 1u);
    answer = std::nullopt;
    at(1.5);  // re-check requested at 0.05, held back to 1.0 by the spacing
    EXPECT_EQ(sampleStarts, (std::vector<double>{0.0, 1.0}));
    at(29.9);
    EXPECT_EQ(sampleStarts.size(), 2u);
    at(30.0);
    EXPECT_EQ(sampleStarts.back(), 30.0);
    EXPECT_TRUE(monitor->notificationsAvailable());
}

TEST_F(RemoteSessionMonitorTest, ASampleThatFailsAsksForNoRecheckAndTheNextOneStillComes) {
    answer = 0.0;
    failing = true;
    monitor->start(sample());
    at(0.6);
    notifications.fire();  // waits for the failed sample, which lets it through
    at(3.0);
    EXPECT_EQ(sampleStarts, (std::vector<double>{0.0, 1.0}));
    failing = false;
    notifications.fire();
    at(4.0);
    // Working again: the sample at 3.0 asks for its recheck, which comes a second later.
    EXPECT_EQ(sampleStarts, (std::vector<double>{0.0, 1.0, 3.0, 4.0}));
}

TEST_F(RemoteSessionMonitorTest, WithoutNotificationsTheFallbackRunsEveryFiveSeconds) {
    notifications.available = false;
    sampleDuration = 0;
    monitor->start(sample());
    at(10.0);
    EXPECT_EQ(sampleStarts, (std::vector<double>{0.0, 5.0, 10.0}));
    EXPECT_FALSE(monitor->notificationsAvailable());
}

TEST_F(RemoteSessionMonitorTest, OnlyWatchedApplicationsAndWakesTrigger) {
    sampleDuration = 0;
    monitor->start(sample());
    at(2.0);
    workspace.launch({100, "com.example.editor", "Editor", "/Applications/Editor.app"});
    workspace.launch({101, "com.example.bare", "bare", std::nullopt});
    at(3.0);
    EXPECT_EQ(sampleStarts.size(), 1u);
    workspace.launch({102, "com.todesk", "ToDesk", "/Applications/ToDesk.app"});
    at(4.0);
    EXPECT_EQ(sampleStarts.back(), 3.0);
    workspace.wakeHandler();
    at(5.0);
    EXPECT_EQ(sampleStarts.back(), 4.0);
}

TEST_F(RemoteSessionMonitorTest, StopAbandonsTheRunningSampleAndARestartSamplesAtOnce) {
    answer = 0.0;
    monitor->start(sample());
    at(0.2);
    monitor->stop();
    EXPECT_FALSE(notifications.handler);
    EXPECT_FALSE(workspace.wakeHandler);
    at(10.0);
    EXPECT_EQ(sampleStarts.size(), 1u);  // the late result scheduled no re-check
    notifications.fire();
    monitor->request();
    at(11.0);
    EXPECT_EQ(sampleStarts.size(), 1u);

    sampleDuration = 0;
    monitor->start(sample());
    scheduler.runUntilIdle();
    EXPECT_EQ(sampleStarts.back(), 11.0);
    monitor->request();  // just sampled: waits for the spacing
    at(11.5);
    EXPECT_EQ(sampleStarts.size(), 2u);
    at(12.0);
    EXPECT_EQ(sampleStarts.size(), 3u);
}

TEST_F(RemoteSessionMonitorTest, AMonitorDestroyedBeforeItsSampleJobRunsIsNotTouchedByIt) {
    // On the heap, so its memory is really freed (and poisoned under AddressSanitizer).
    for (const bool sampledBefore : {false, true}) {
        auto owned = std::make_unique<RemoteSessionMonitor>(scheduler.mainQueue(), scheduler, notifications, workspace);
        sampleDuration = 0;
        owned->start(sample());  // the first sample is spawned; its job has not run
        if (sampledBefore) {
            scheduler.runUntilIdle();
            owned->request();  // waits out the spacing on the main queue
        }
        const auto before = sampleStarts.size();
        owned.reset();
        scheduler.advanceBy(2.0);
        EXPECT_EQ(sampleStarts.size(), before);
    }
}

TEST(RemoteSessionMonitorDeathTest, MainQueueMembersAbortOnAnotherQueue) {
#ifdef NDEBUG
    GTEST_SKIP() << "checked in debug builds only";
#endif
    EXPECT_DEATH(
        {
            dispatch::SimulatedScheduler scheduler;
            FakeNotifications notifications;
            FakeWorkspace workspace;
            RemoteSessionMonitor monitor(scheduler.mainQueue(), scheduler, notifications, workspace);
            scheduler.makeSerialQueue("probe").post([&monitor] { monitor.request(); });
            scheduler.runUntilIdle();
        },
        "RemoteSessionMonitor::request called off main");
}

}  // namespace
}  // namespace dorvane
