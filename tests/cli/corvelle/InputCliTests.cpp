#include <gtest/gtest.h>

#include <filesystem>

#include "DorvaneCore/Support/StrictJson.h"
#include "tests/cli/corvelle/ApplicationHarness.h"

namespace dorvane {
namespace {

// Input as a new user meets it: corvelle's relay self-test and, with the program running,
// corvelle-host's input through the program's taps.
class InputCliTest : public ApplicationCliTest {};

TEST_F(InputCliTest, TheRelaySelfTestNeedsAccessibility) {
    struct Step {
        std::vector<std::string> permission;  // empty: the fresh host
        std::string printed;
        int status;
    };
    const std::vector<Step> steps = {
        {{}, "input-relay: unavailable\n", 1},
        {{"permission", "grant", "accessibility"}, "input-relay: delivery and cleanup OK\n", 0},
        {{"permission", "revoke", "accessibility"}, "input-relay: unavailable\n", 1},
    };
    for (const auto& step : steps) {
        if (!step.permission.empty()) {
            ASSERT_EQ(host(step.permission).status, 0);
        }
        const auto checked = corvelle({"--check-input-relay"});
        EXPECT_EQ(checked.out, step.printed);
        EXPECT_EQ(checked.status, step.status);
    }
    // The one successful run delivered its null event through its own session tap.
    const auto delivered = json::parse(host({"input", "delivered", "--json"}).out);
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0]["event"]["type"], "null");
    EXPECT_EQ(delivered[0]["entry"], "session-tap");
    const auto log = host({"log"}).out;
    EXPECT_NE(log.find("input-check"), std::string::npos);
}

TEST_F(InputCliTest, WithTheProgramRunningOutsideInputGoesThroughItsStream) {
    ASSERT_EQ(host({"windows", "init", "--fixture", "desk"}).status, 0);
    ASSERT_EQ(host({"permission", "grant", "accessibility"}).status, 0);
    start();
    // The program takes the input from outside once it runs for good.
    ASSERT_TRUE(testing::eventually([&] { return host({"log"}).out.find("inputOwner") != std::string::npos; }))
        << program->err();
    const auto typed = host({"input", "key", "cmd+shift+k"});
    EXPECT_EQ(typed.out, "The program handled 6 events.\n") << typed.err;
    const auto lines = host({"input", "delivered"}).out;
    EXPECT_NE(lines.find("keyDown code=40 flags=0x12000a from=0"), std::string::npos) << lines;
    EXPECT_EQ(host({"windows", "click", "1300", "850"}).out, "Clicked window 2.\n");
    const auto listed = json::parse(host({"windows", "list", "--json"}).out);
    EXPECT_EQ(listed["frontmost"], listed["applications"][1]["pid"]);  // the terminal came forward
    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0);
    // Once it has gone, input is delivered without taps again.
    EXPECT_EQ(host({"input", "move", "10,500"}).out, "No program owns the input: delivered 1 event without taps.\n");
}

}  // namespace
}  // namespace dorvane
