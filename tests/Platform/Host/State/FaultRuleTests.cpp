#include "tests/Platform/Host/HostTestSupport.h"

namespace dorvane::host {
namespace {

using displays::DisplayError;
using processes::ProcessRole;

class FaultRuleTest : public MemoryHostTest {
protected:
    FaultRule rule(HostCall call, FaultAction action) {
        FaultRule result;
        result.call = call;
        result.action = action;
        return result;
    }
};

TEST_F(FaultRuleTest, SkipsThenActsTheGivenNumberOfTimes) {
    auto failing = rule(HostCall::onlineDisplayList, FaultAction::fail);
    failing.code = DisplayError::cannotComplete;
    failing.skip = 1;
    failing.times = 2;
    app->admin().addFault(failing);

    auto& displays = worker->displays();
    EXPECT_EQ(displays.onlineDisplayList(32).error, DisplayError::success);
    const auto refused = displays.onlineDisplayList(32);
    EXPECT_EQ(refused.error, DisplayError::cannotComplete);
    EXPECT_TRUE(refused.ids.empty());
    EXPECT_EQ(displays.onlineDisplayList(32).error, DisplayError::cannotComplete);
    EXPECT_EQ(displays.onlineDisplayList(32).error, DisplayError::success);

    const auto rules = app->admin().faults();
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0].matched, 4u);
    EXPECT_EQ(rules[0].applied, 2u);
}

TEST_F(FaultRuleTest, SelectsByRoleAndDisplay) {
    auto nothing = rule(HostCall::currentMode, FaultAction::nothing);
    nothing.role = ProcessRole::workerSnapshot;
    nothing.display = "external";
    app->admin().addFault(nothing);
    SimulatedHost snapshotWorker(store, ProcessRole::workerSnapshot, scheduler);

    const auto builtin = named(state(), "builtin").id;
    const auto external = named(state(), "external").id;
    EXPECT_TRUE(snapshotWorker.displays().currentMode(builtin));
    EXPECT_FALSE(snapshotWorker.displays().currentMode(external));
    EXPECT_TRUE(worker->displays().currentMode(external));  // commit worker: other role
}

TEST_F(FaultRuleTest, RulesThatCannotActAreRefused) {
    EXPECT_THROW(app->admin().addFault(rule(HostCall::currentMode, FaultAction::fail)), HostError);
    auto success = rule(HostCall::onlineDisplayList, FaultAction::fail);
    success.code = DisplayError::success;
    EXPECT_THROW(app->admin().addFault(success), HostError);
    EXPECT_THROW(app->admin().addFault(rule(HostCall::bounds, FaultAction::delay)), HostError);
    EXPECT_TRUE(app->admin().faults().empty());
}

}  // namespace
}  // namespace dorvane::host
