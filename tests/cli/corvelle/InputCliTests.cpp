#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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
    // The settings window shown at launch brings the program forward: only after that does the
    // click's choice of a front window stay in front.
    ASSERT_TRUE(testing::eventually([&] {
        return json::parse(host({"windows", "list", "--json"}).out)["frontmost"] == program->pid();
    }));
    EXPECT_EQ(host({"windows", "click", "1300", "850"}).out, "Clicked window 2.\n");
    const auto listed = json::parse(host({"windows", "list", "--json"}).out);
    EXPECT_EQ(listed["frontmost"], listed["applications"][1]["pid"]);  // the terminal came forward
    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0);
    // Once it has gone, input is delivered without taps again.
    EXPECT_EQ(host({"input", "move", "10,500"}).out, "No program owns the input: delivered 1 event without taps.\n");
}

// A click from outside on the toolbar: the tap's lines in Operations.log carry the click's
// own values, not the fixed ones of an event without a system record.
TEST_F(InputCliTest, TheToolbarsTapLinesCarryTheClicksOwnValues) {
    start();
    ASSERT_TRUE(testing::eventually([&] { return host({"log"}).out.find("inputOwner") != std::string::npos; }))
        << program->err();
    ASSERT_EQ(host({"appearance", "reduce-motion", "on"}).status, 0);
    ASSERT_EQ(host({"statusbar", "click", "显示工具条"}).status, 0);
    json::Json bounds;
    ASSERT_TRUE(testing::eventually([&] {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["title"] == "Corvelle 快捷操作" && window["bounds"]["height"].get<double>() > 300) {
                bounds = window["bounds"];
                return true;
            }
        }
        return false;
    })) << program->err();
    // The footer's last button, 40 points above the panel's bottom edge.
    const int x = static_cast<int>(bounds["x"].get<double>() + bounds["width"].get<double>() / 2);
    const int y = static_cast<int>(bounds["y"].get<double>() + bounds["height"].get<double>() - 40);
    const auto clicked = host({"input", "click", std::to_string(x) + "," + std::to_string(y), "--from-pid", "4321"});
    ASSERT_EQ(clicked.status, 0) << clicked.err;

    const std::string point = "(" + std::to_string(x) + ".0, " + std::to_string(y) + ".0)";
    const std::string values = " pointerXY=" + point + " cgXY=" + point +
                               " sourcePID=4321 targetPID=" + std::to_string(program->pid()) + " clicks=1 eventTime=";
    auto logged = [&](const std::string& tag) {
        std::ifstream file(support / "Operations.log");
        for (std::string line; std::getline(file, line);) {
            if (line.find(" " + tag + " id=") != std::string::npos) return line;
        }
        return std::string();
    };
    ASSERT_TRUE(testing::eventually([&] { return !logged("button-up").empty(); })) << program->err();
    for (const auto& line : {logged("button-down"), logged("button-up")}) {
        EXPECT_NE(line.find(values), std::string::npos) << line;
        EXPECT_EQ(line.find("eventTime=0.0 "), std::string::npos) << line;
    }
    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0);
}

}  // namespace
}  // namespace dorvane
