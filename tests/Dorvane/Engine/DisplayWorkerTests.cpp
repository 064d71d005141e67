#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "Dorvane/Engine/DisplayWorker.h"
#include "DorvaneCore/Core/FitError.h"
#include "Platform/Host/State/HostFixtures.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

namespace dorvane {
namespace {

using host::FaultAction;
using host::FaultRule;
using host::HostCall;
using processes::ProcessRole;

class DisplayWorkerTest : public ::testing::Test {
protected:
    dispatch::SimulatedScheduler clock{100.0};  // only its clock is used
    std::shared_ptr<host::MemoryHostStore> store =
        std::make_shared<host::MemoryHostStore>(host::makeFixture(host::HostFixture::laptopExternal));
    host::SimulatedHost commitHost{store, ProcessRole::workerCommit, clock};
    host::SimulatedHost snapshotHost{store, ProcessRole::workerSnapshot, clock};
    DisplayWorker worker{commitHost.displays()};
    DisplayWorker snapshotter{snapshotHost.displays()};

    struct Run {
        int status;
        std::string output;
        std::string errors;
        std::vector<std::string> details;  // for the log
    };
    Run execute(std::vector<std::string> arguments, const std::string& input = "") {
        std::istringstream in(input);
        std::ostringstream out, err;
        std::vector<std::string> details;
        const int status =
            worker.execute(arguments, in, out, err, [&details](const std::string& detail) { details.push_back(detail); });
        return {status, out.str(), err.str(), details};
    }

    std::vector<DisplayState> live() { return snapshotter.snapshot(); }

    std::vector<std::string> configurationCalls() {
        std::vector<std::string> calls;
        for (const auto& entry : commitHost.admin().actionLog()) {
            if (entry.action.starts_with("configure") || entry.action.ends_with("Configuration")) {
                calls.push_back(entry.summary());
            }
        }
        return calls;
    }
};

TEST_F(DisplayWorkerTest, CommitChangesOnlyWhatDiffersAndPlacesTheMainDisplayLast) {
    auto targets = live();
    targets[1].x = -1920;
    const auto request = json::serialize(CommitRequest{targets}.toJson());
    ASSERT_EQ(execute({"commit"}, request).output, R"({"changedDisplays":1})");
    EXPECT_EQ(execute({"commit"}, request).output, R"({"changedDisplays":0})");
    EXPECT_EQ(commitHost.admin().counters().transactionsCompleted, 1u);  // no transaction for nothing

    // Both placed: the main display's origin comes after the other's, whatever the request order.
    targets = live();
    targets[0].x = 100;  // pushes main off the origin…
    targets[1].x = 0;    // …and the external display becomes main
    targets[1].main = true;
    targets[0].main = false;
    std::swap(targets[0], targets[1]);
    ASSERT_EQ(worker.commit(targets), 2);
    const auto calls = configurationCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_NE(calls[calls.size() - 2].find("x=0"), std::string::npos) << calls[calls.size() - 2];
}

TEST_F(DisplayWorkerTest, AConfigurationThatCannotBeginIsReported) {
    auto targets = live();
    targets[1].x = -1920;
    FaultRule rule;
    rule.call = HostCall::beginConfiguration;
    rule.action = FaultAction::nothing;
    commitHost.admin().addFault(rule);
    const auto run = execute({"commit"}, json::serialize(CommitRequest{targets}.toJson()));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "无法初始化 CoreGraphics 显示配置会话。");
}

TEST_F(DisplayWorkerTest, ModesAreChosenBeforeAnythingIsConfigured) {
    auto targets = live();
    targets[1].x = -1920;
    targets[0].mode = DisplayMode{1512, 982, 3024, 1964, 50.0, 0};  // no such refresh rate
    try {
        worker.commit(targets);
        FAIL();
    } catch (const FitError& error) {
        EXPECT_STREQ(error.what(), "当前显示器不支持目标模式 1512×982 HiDPI 超清渲染。");
    }
    EXPECT_TRUE(configurationCalls().empty());

    targets[0].skipMode = true;  // an unavailable mode is fine when the mode is left alone
    EXPECT_EQ(worker.commit(targets), 1);
    targets = live();
    targets[0].mode = DisplayMode{1512, 945, 3024, 1890, 59.5, 0};
    EXPECT_EQ(worker.commit(targets), 1);
    EXPECT_EQ(live()[0].mode.modeID, 2);
}

TEST_F(DisplayWorkerTest, NormalizeRestorePicksTheFullHeightModeOfTheBuiltInPanelOnly) {
    auto targets = live();
    targets[0].mode = DisplayMode{1512, 945, 3024, 1890, 60.0, 2};
    targets[1].mode = DisplayMode{1920, 1080, 3840, 2160, 60.0, 101};
    const auto normalized = worker.normalizeRestoration(targets);
    ASSERT_EQ(normalized.size(), 2u);
    EXPECT_EQ(normalized[0].mode, (DisplayMode{1512, 982, 3024, 1964, 60.0, 1}));
    EXPECT_EQ(normalized[1].mode, targets[1].mode);
    targets[0].mirror = targets[1].id;  // a mirroring panel is left alone
    EXPECT_EQ(worker.normalizeRestoration(targets)[0].mode, targets[0].mode);
}

TEST_F(DisplayWorkerTest, RequestsAreDecodedStrictlyAndExtraArgumentsIgnored) {
    EXPECT_EQ(execute({"normalize-restore"}, R"({"targets":[{"id":-1}]})").status, 1);
    EXPECT_EQ(execute({"snapshot", "ignored"}).status, 0);
    EXPECT_EQ(execute({"commit"}, R"({"targets":[]})").status, 0);
    const std::vector<std::string> refused{
        std::string("{\"targets\":[]}\0garbage", 23),
        "{\"targets\":" + std::string(100000, '[') + std::string(100000, ']') + "}",
        R"({"targets":[],"x":1e400})",
    };
    for (const auto& request : refused) {
        for (const char* command : {"commit", "normalize-restore"}) {
            const auto run = execute({command}, request);
            EXPECT_EQ(run.status, 1) << command;
            // The person's words on standard error (the parent shows them), nothing on
            // standard output, and the decoder's own words beside the person's for the log.
            EXPECT_EQ(run.errors, "数据格式有误。") << command;
            EXPECT_EQ(run.output, "") << command;
            ASSERT_EQ(run.details.size(), 1u) << command;
            EXPECT_THAT(run.details[0], ::testing::StartsWith("数据格式有误。 cause=malformed JSON")) << command;
        }
    }
    EXPECT_TRUE(configurationCalls().empty());
}

}  // namespace
}  // namespace dorvane
