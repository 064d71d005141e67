#include <map>

#include "Platform/Host/Machines/RemoteApplications.h"
#include "tests/Platform/Host/HostTestSupport.h"

namespace dorvane::host {
namespace {

using workspace::RunningApplication;

// Real processes as a test wants them.
class FakeSystemProcesses final : public processes::ProcessServices {
public:
    bool listable = true;
    std::map<pid_t, std::pair<std::string, std::string>> running;  // pid -> name, path

    std::optional<std::vector<pid_t>> allProcessIDs() override {
        if (!listable) return std::nullopt;
        std::vector<pid_t> pids;
        for (const auto& [pid, _] : running) pids.push_back(pid);
        return pids;
    }
    std::optional<std::string> name(pid_t pid) override {
        if (!running.contains(pid)) return std::nullopt;
        return running[pid].first;
    }
    std::optional<std::string> executablePath(pid_t pid) override {
        if (!running.contains(pid)) return std::nullopt;
        return running[pid].second;
    }
};

class RemoteHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        system->running[42] = {"bash", "/usr/bin/bash"};
        app = std::make_unique<SimulatedHost>(store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue(), system);
        tool = std::make_unique<SimulatedHost>(store, processes::ProcessRole::tool, scheduler);
    }

    RemoteAdmin& admin() { return tool->remoteAdmin(); }

    std::int32_t pidOf(const std::string& name) {
        for (const auto& process : admin().state().processes.processes) {
            if (process.name == name) return process.pid;
        }
        return 0;
    }

    json::Json listing() { return app->power().assertionsByProcess().value_or(json::Json("unreadable")); }

    dispatch::SimulatedScheduler scheduler{100.0};
    std::shared_ptr<MemoryHostStore> store = std::make_shared<MemoryHostStore>();
    std::shared_ptr<FakeSystemProcesses> system = std::make_shared<FakeSystemProcesses>();
    std::unique_ptr<SimulatedHost> app;
    std::unique_ptr<SimulatedHost> tool;
};

TEST_F(RemoteHostTest, SessionsShowAsProcessesAndAssertions) {
    EXPECT_EQ(listing(), json::Json::object());
    admin().connect(RemoteSoftware::uu);
    admin().connect(RemoteSoftware::uu);  // already connected: nothing doubles
    const auto server = pidOf("UURemoteServer");
    ASSERT_TRUE(isSimulatedPID(server));
    EXPECT_EQ(json::serialize(listing()),
              R"({")" + std::to_string(server) +
                  R"(":[{"AssertPID":)" + std::to_string(server) +
                  R"(,"AssertType":"PreventUserIdleDisplaySleep","AssertName":"idleDisplaySleepDisabled","AssertLevel":255}]})");
    EXPECT_EQ(app->processes().executablePath(server), "/Applications/UURemote.app/Contents/Helpers/UURemoteServer");
    EXPECT_EQ(app->processes().name(server), "UURemoteServer");
    EXPECT_EQ(app->processes().executablePath(42), "/usr/bin/bash");  // real ones pass through
    const auto all = app->processes().allProcessIDs();
    ASSERT_TRUE(all);
    EXPECT_EQ(all->size(), 3u);  // bash, the UU application and its server

    admin().setUnknown(RemoteSoftware::uu, true);
    EXPECT_EQ(app->processes().executablePath(server), std::nullopt);
    EXPECT_EQ(app->processes().name(server), "UURemoteServer");
    admin().setUnknown(RemoteSoftware::uu, false);
    EXPECT_TRUE(admin().disconnect(RemoteSoftware::uu));
    EXPECT_FALSE(admin().disconnect(RemoteSoftware::uu));
    EXPECT_EQ(listing(), json::Json::object());
    EXPECT_EQ(pidOf("UURemoteServer"), server);  // the server keeps running

    admin().connect(RemoteSoftware::toDesk);
    const auto session = pidOf("ToDesk_Session");
    EXPECT_NE(session, 0);
    EXPECT_TRUE(admin().disconnect(RemoteSoftware::toDesk));
    EXPECT_EQ(pidOf("ToDesk_Session"), 0);
    EXPECT_EQ(app->processes().name(session), std::nullopt);
    EXPECT_EQ(listing().size(), 1u);  // the service keeps its assertion
}

TEST_F(RemoteHostTest, UnreadableAndIncompleteAnswers) {
    admin().connect(RemoteSoftware::uu);
    FaultRule unreadable;
    unreadable.call = HostCall::assertionsByProcess;
    unreadable.action = FaultAction::nothing;
    unreadable.times = 1;
    tool->admin().addFault(unreadable);
    EXPECT_EQ(app->power().assertionsByProcess(), std::nullopt);
    EXPECT_TRUE(app->power().assertionsByProcess());

    FaultRule incomplete;
    incomplete.call = HostCall::allProcessIDs;
    incomplete.action = FaultAction::nothing;
    incomplete.times = 1;
    tool->admin().addFault(incomplete);
    EXPECT_EQ(app->processes().allProcessIDs(), std::nullopt);
    EXPECT_TRUE(app->processes().allProcessIDs());    system->listable = false;
    EXPECT_EQ(app->processes().allProcessIDs(), std::nullopt);
}

TEST_F(RemoteHostTest, ChangesAreAnnouncedOnTheMainQueueIncludingEndedHolders) {
    admin().setNotificationsAvailable(false);
    EXPECT_FALSE(app->assertionNotifications().start([] {}));
    admin().setNotificationsAvailable(true);
    EXPECT_FALSE(tool->assertionNotifications().start([] {}));  // no main queue
    int calls = 0;
    ASSERT_TRUE(app->assertionNotifications().start([&calls] { ++calls; }));
    const auto holder = store->newSessionIdentity();  // a process of its own
    admin().addAssertion(holder, "PreventUserIdleDisplaySleep", "idleDisplaySleepDisabled", 255);
    admin().connect(RemoteSoftware::uu);
    EXPECT_EQ(calls, 0);  // not synchronously
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, 1);  // once for the burst

    store->endProcess(holder);
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(admin().state().power.assertions.size(), 1u);
    EXPECT_EQ(tool->admin().actionLog().back().action, "powerAssertionDropped");

    admin().setUnknown(RemoteSoftware::uu, true);  // no assertion changes
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, 2);
    admin().endProcess(pidOf("UURemoteServer"));  // a simulated holder ends
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(admin().state().power.assertions.empty());

    tool->admin().reset(HostFixture::laptop);  // starting over is a change as well
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, 4);

    app->assertionNotifications().stop();
    admin().connect(RemoteSoftware::uu);
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, 4);
}

TEST_F(RemoteHostTest, WorkspaceReportsApplicationsAndWakesOnTheMainQueue) {
    std::vector<std::pair<std::vector<RunningApplication>, std::vector<RunningApplication>>> changes;
    int wakes = 0;
    auto applications = app->workspace().observeRunningApplications(
        [&changes](const auto& before, const auto& after) { changes.emplace_back(before, after); });
    auto wake = app->workspace().observeWake([&wakes] { ++wakes; });

    admin().connect(RemoteSoftware::uu);
    EXPECT_TRUE(changes.empty());
    scheduler.runUntilIdle();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_TRUE(changes[0].first.empty());
    ASSERT_EQ(changes[0].second.size(), 1u);
    EXPECT_EQ(changes[0].second[0].bundlePath, "/Applications/UURemote.app");
    EXPECT_EQ(changes[0].second[0].pid, pidOf("UURemote"));
    EXPECT_EQ(app->workspace().runningApplications(), changes[0].second);

    admin().disconnect(RemoteSoftware::uu);  // the application keeps running
    admin().announceWake();
    scheduler.runUntilIdle();
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(wakes, 1);

    applications.cancel();
    wake.cancel();
    admin().connect(RemoteSoftware::toDesk);
    admin().announceWake();
    scheduler.runUntilIdle();
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(wakes, 1);
    EXPECT_THROW(tool->workspace().observeWake([] {}), std::logic_error);
}

}  // namespace
}  // namespace dorvane::host
