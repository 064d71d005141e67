#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DorvaneCore/Support/StrictJson.h"
#include "tests/Support/CommandRun.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane {
namespace {

// `corvelle-host app …` against a temporary host folder and home, as a new user would run it.
class AppCliTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(run({"init"}).status, 0); }

    testing::CommandRun run(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments,
                                   {{"CORVELLE_HOST_DIR", (root.path() / "host").string()},
                                    {"HOME", (root.path() / "home").string()}},
                                   root.path());
    }
    std::string printed(const std::vector<std::string>& arguments) {
        const auto result = run(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out;
    }
    json::Json frontmost() { return json::parse(printed({"windows", "list", "--json"}))["frontmost"]; }

    testing::TemporaryFolder root{"corvelle-app-cli"};
};

TEST_F(AppCliTest, InstallListLaunchQuitAndRemove) {
    EXPECT_EQ(printed({"app", "list"}), "/Applications/ToDesk.app  local.host.ToDesk  \"ToDesk\"\n"
                                        "/Applications/UURemote.app  local.host.UURemote  \"UU 远程\"\n");
    EXPECT_EQ(printed({"app", "install", "Foo", "--id", "com.example.foo", "--display-name", "福"}),
              "/Applications/Foo.app\n");
    EXPECT_EQ(printed({"app", "install", "Tool", "--in", "system", "--folder", "Utilities", "--background-only"}),
              "/System/Applications/Utilities/Tool.app\n");
    const auto home = (root.path() / "home/Applications/Helper.app").string();
    EXPECT_EQ(printed({"app", "install", "Helper", "--in", "home", "--agent"}), home + "\n");
    EXPECT_TRUE(std::filesystem::exists(root.path() / "home/Applications/Helper.app/Contents/Info.json"));

    const auto opened = printed({"app", "launch", "com.example.foo"});
    ASSERT_TRUE(opened.starts_with("Opened 福 as process ")) << opened;
    const auto pid = std::stoi(opened.substr(opened.rfind(' ') + 1));
    EXPECT_EQ(frontmost(), pid);
    EXPECT_EQ(printed({"app", "list"}),
              home + "  (no identifier)  \"Helper\"  [agent]\n"
                     "/Applications/Foo.app  com.example.foo  \"福\"  [running as " + std::to_string(pid) + "]\n"
                     "/Applications/ToDesk.app  local.host.ToDesk  \"ToDesk\"\n"
                     "/Applications/UURemote.app  local.host.UURemote  \"UU 远程\"\n"
                     "/System/Applications/Utilities/Tool.app  (no identifier)  \"Tool\"  [background only]\n");
    EXPECT_EQ(printed({"app", "quit", "com.example.foo"}), "Application " + std::to_string(pid) + ": quit.\n");
    EXPECT_EQ(frontmost(), nullptr);

    EXPECT_EQ(printed({"app", "remove", home}), "Removed " + home + ".\n");
    EXPECT_FALSE(std::filesystem::exists(home));
    // Starting over keeps the user's home folder and empties the host's own folders.
    EXPECT_EQ(printed({"init"}), "Host initialised with the laptop fixture.\n");
    EXPECT_FALSE(std::filesystem::exists(root.path() / "host/Applications/Foo.app"));
    EXPECT_TRUE(std::filesystem::exists(root.path() / "home/Applications"));
}

TEST_F(AppCliTest, FailuresAndBehavioursAreClearAndBadArgumentsChangeNothing) {
    printed({"app", "install", "B"});
    const auto missing = run({"app", "launch", "/Applications/Nope.app"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "corvelle-host: 找不到应用程序“Nope”。\n");
    EXPECT_EQ(printed({"app", "behave", "/Applications/B.app", "--launch-delay", "1.5", "--launch-fails", "坏了"}),
              "/Applications/B.app changed.\n");
    EXPECT_EQ(run({"app", "launch", "/Applications/B.app"}).err, "corvelle-host: 坏了\n");
    EXPECT_NE(printed({"app", "list"}).find("\"B\"  [opens after 1.5 s, fails to open]"), std::string::npos);
    printed({"app", "behave", "/Applications/B.app", "--normal"});
    EXPECT_TRUE(printed({"app", "launch", "/Applications/B.app"}).starts_with("Opened B as process "));

    const std::vector<std::vector<std::string>> usage = {
        {"app"},
        {"app", "open", "B"},
        {"app", "install"},
        {"app", "install", "C", "--in", "moon"},
        {"app", "install", "C", "--id", ""},
        {"app", "behave", "/Applications/B.app"},
        {"app", "behave", "/Applications/B.app", "--launch-delay", "-1"},
        {"app", "quit"},
    };
    for (const auto& arguments : usage) EXPECT_EQ(run(arguments).status, 2) << arguments.back();
    const std::vector<std::vector<std::string>> refused = {
        {"app", "install", "B"},
        {"app", "install", "C", "--folder", "../Up"},
        {"app", "remove", "/etc"},
        {"app", "launch", "com.example.none"},
        {"app", "quit", "99999"},
    };
    for (const auto& arguments : refused) EXPECT_EQ(run(arguments).status, 1) << arguments.back();
    EXPECT_FALSE(std::filesystem::exists(root.path() / "host/Applications/C.app"));
    EXPECT_FALSE(std::filesystem::exists(root.path() / "host/Up"));
}

}  // namespace
}  // namespace dorvane
