#include <gtest/gtest.h>

#include <filesystem>

#include "DorvaneCore/Support/StrictJson.h"
#include "tests/Support/BackgroundProcess.h"
#include "tests/Support/CommandRun.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

// Input as a new user meets it: corvelle's relay self-test and, with the program running,
// corvelle-host's input through the program's taps; a fresh home and host, in real time.
class InputCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "corvelle-input-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        fs::create_directories(root / "runtime");
        fs::permissions(root / "runtime", fs::perms::owner_all);
        environment = {{"CORVELLE_HOST_DIR", (root / "host").string()},
                       {"HOME", (root / "home").string()},
                       {"XDG_CONFIG_HOME", (root / "config").string()},
                       {"XDG_RUNTIME_DIR", (root / "runtime").string()},
                       {"DISPLAY", std::nullopt},
                       {"WAYLAND_DISPLAY", std::nullopt},
                       {"QT_QPA_PLATFORM", std::nullopt}};
    }
    void TearDown() override {
        program.reset();
        fs::remove_all(root);
    }

    std::map<std::string, std::string> setVariables() const {
        std::map<std::string, std::string> set;
        for (const auto& [name, value] : environment) {
            if (value) set[name] = *value;
        }
        return set;
    }
    testing::CommandRun host(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments, setVariables(), root);
    }
    testing::CommandRun corvelle(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_EXECUTABLE, arguments, setVariables(), root);
    }

    fs::path root;
    std::map<std::string, std::optional<std::string>> environment;
    std::unique_ptr<testing::BackgroundProcess> program;
};

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
    program = std::make_unique<testing::BackgroundProcess>(CORVELLE_EXECUTABLE, std::vector<std::string>{},
                                                           environment, root, "corvelle");
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
