#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "DorvaneCore/Support/StrictJson.h"
#include "tests/Support/CommandRun.h"

namespace dorvane {
namespace {

// `corvelle-host input|permission|remote pid` with no program running, as a new user would.
class HostInputCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvelle-input-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    testing::CommandRun run(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments, {{"CORVELLE_HOST_DIR", root / "host"}}, root);
    }

    std::filesystem::path root;
};

TEST_F(HostInputCliTest, KeysClicksAndScrollsReachApplicationsAndAreListedAsDelivered) {
    EXPECT_EQ(run({"permission", "show", "all"}).out,
              "accessibility: not granted\ninput-monitoring: not granted\npost-events: granted\n");
    EXPECT_EQ(run({"input", "key", "cmd+shift+k"}).out, "No program owns the input: delivered 6 events without taps.\n");
    EXPECT_EQ(run({"input", "delivered"}).out,
              "flagsChanged code=55 down flags=0x100008 from=0 to=none entry=hid\n"
              "flagsChanged code=56 down flags=0x12000a from=0 to=none entry=hid\n"
              "keyDown code=40 flags=0x12000a from=0 to=none entry=hid\n"
              "keyUp code=40 flags=0x12000a from=0 to=none entry=hid\n"
              "flagsChanged code=56 up flags=0x100008 from=0 to=none entry=hid\n"
              "flagsChanged code=55 up flags=0x0 from=0 to=none entry=hid\n");

    ASSERT_EQ(run({"input", "delivered", "--clear"}).status, 0);
    ASSERT_EQ(run({"windows", "init", "--fixture", "desk"}).status, 0);
    ASSERT_EQ(run({"remote", "connect", "uu"}).status, 0);
    const auto viewer = run({"remote", "pid", "uu"}).out;
    ASSERT_FALSE(viewer.empty());
    const std::string from = viewer.substr(0, viewer.size() - 1);
    EXPECT_EQ(run({"input", "click", "1300,850", "--count", "2", "--interval", "0", "--from-pid", from}).out,
              "No program owns the input: delivered 4 events without taps.\n");
    EXPECT_EQ(run({"input", "scroll", "100,500", "--dy", "-40"}).status, 0);
    EXPECT_EQ(run({"input", "drag", "100,500", "130,520", "--duration", "0", "--steps", "2"}).status, 0);
    const auto delivered = json::parse(run({"input", "delivered", "--json"}).out);
    ASSERT_EQ(delivered.size(), 9u);
    EXPECT_EQ(delivered[2]["event"]["fields"]["1"], 2);                 // the second click's count
    EXPECT_EQ(delivered[2]["event"]["fields"]["41"], std::stoi(from));  // posted by the viewer
    EXPECT_EQ(delivered[4]["event"]["fields"]["11"], -40);
    EXPECT_EQ(delivered[4]["window"], 1);                               // only the browser is under (100, 500)
    EXPECT_EQ(delivered[6]["event"]["type"], "leftMouseDragged");
    const auto listed = json::parse(run({"windows", "list", "--json"}).out);
    EXPECT_EQ(listed["frontmost"], listed["applications"][0]["pid"]);  // the drag's press brought the browser forward

    ASSERT_EQ(run({"input", "delivered", "--clear"}).status, 0);
    EXPECT_EQ(run({"input", "delivered"}).out, "No events delivered.\n");
}

TEST_F(HostInputCliTest, MistakesAreRefusedWithoutDeliveringAnything) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
    };
    const std::vector<Case> cases = {
        {{"input", "key", "cmd+nothing"}, 2},
        {{"input", "scroll", "10,10"}, 2},
        {{"input", "click", "10"}, 2},
        {{"input", "click", "10,10", "--count", "0"}, 2},
        {{"input", "move", "10,10", "--from-pid", "-1"}, 2},
        {{"input", "disable-taps", "--timeout"}, 1},  // no program: no taps
        {{"permission", "grant", "camera"}, 2},
        {{"remote", "pid", "uu"}, 1},                  // not running
    };
    for (const auto& test : cases) {
        const auto result = run(test.arguments);
        EXPECT_EQ(result.status, test.status) << test.arguments[1];
        EXPECT_NE(result.err.find("corvelle-host: "), std::string::npos) << test.arguments[1];
    }
    EXPECT_EQ(run({"input", "delivered"}).out, "No events delivered.\n");
    ASSERT_EQ(run({"permission", "revoke", "all"}).status, 0);
    EXPECT_EQ(run({"permission", "show", "post-events"}).out, "post-events: not granted\n");
}

}  // namespace
}  // namespace dorvane
