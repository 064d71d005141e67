#include <gtest/gtest.h>

#include <csignal>

#include "Dorvane/Engine/DisplayWorker.h"
#include "tests/Support/InProcessWorkerClient.h"
#include "DorvaneCore/Core/FitError.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane {
namespace {

using host::FaultAction;
using host::FaultRule;
using host::HostCall;
using processes::ProcessRole;

class InProcessWorkerClientTest : public ::testing::Test {
protected:
    std::string failure(const std::string& command, const std::optional<std::string>& input = std::nullopt) {
        try {
            client.run("/usr/local/bin/corvelle", command, input, 12.0);
        } catch (const FitError& error) {
            return error.what();
        }
        return "no failure";
    }

    std::string commitRequest() {
        auto targets = DisplayWorker(tool.displays()).snapshot();
        targets[1].x = -1920;
        return json::serialize(CommitRequest{targets}.toJson());
    }

    dispatch::SimulatedScheduler clock{50.0};
    std::shared_ptr<host::MemoryHostStore> store =
        std::make_shared<host::MemoryHostStore>(host::makeFixture(host::HostFixture::laptopExternal));
    host::SimulatedHost tool{store, ProcessRole::tool, clock};
    InProcessWorkerClient client{store, clock};
};

// Snapshot, commit and normalize-restore runs are exercised by every engine scenario.
TEST_F(InProcessWorkerClientTest, RunsUnderTheWorkersRoleAndPassesItsFailuresOn) {
    FaultRule refuse;
    refuse.call = HostCall::onlineDisplayList;
    refuse.role = ProcessRole::workerSnapshot;
    refuse.code = displays::DisplayError::illegalArgument;
    tool.admin().addFault(refuse);
    EXPECT_EQ(failure("snapshot"), "读取显示器失败（1001）");
    EXPECT_EQ(failure("frobnicate"), "未知命令");
}

TEST_F(InProcessWorkerClientTest, ALateAnswerWithinTheTimeoutCostsOnlyVirtualTime) {
    FaultRule late;
    late.call = HostCall::onlineDisplayList;
    late.action = FaultAction::delay;
    late.seconds = 5;
    tool.admin().addFault(late);
    EXPECT_EQ(parseDisplayStates(client.run("/x/corvelle", "snapshot", std::nullopt, 12.0)).size(), 2u);
    EXPECT_DOUBLE_EQ(clock.uptime(), 55.0);
}

TEST_F(InProcessWorkerClientTest, AWorkerStillBusyAtTheDeadlineIsStoppedAndTouchesTheHostNoMore) {
    FaultRule hang;
    hang.call = HostCall::configureOrigin;
    hang.role = ProcessRole::workerCommit;
    hang.action = FaultAction::hang;
    hang.ignoreTerminate = true;
    tool.admin().addFault(hang);
    const auto request = commitRequest();
    const auto logged = tool.admin().actionLog().size();

    EXPECT_EQ(failure("commit", request), "操作超时：corvelle");
    EXPECT_NEAR(clock.uptime(), 50.0 + 12.0 + 0.2, 1e-9);
    bool cancelled = false;
    for (std::size_t index = logged; index < tool.admin().actionLog().size(); ++index) {
        if (tool.admin().actionLog()[index].action == "cancelConfiguration") cancelled = true;
    }
    EXPECT_FALSE(cancelled);  // a killed process cancels nothing
    EXPECT_EQ(DisplayWorker(tool.displays()).snapshot()[1].x, 1512);
    // The worker ran in this process: ignoring the terminate signal ended with it.
    struct sigaction current {};
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

}  // namespace
}  // namespace dorvane
