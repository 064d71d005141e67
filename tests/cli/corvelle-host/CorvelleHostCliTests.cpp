#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/Support/CommandRun.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {
namespace {

// Runs the built corvelle-host against a temporary host folder, as a new user would.
class CorvelleHostCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvelle-host-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        folder = root / "host";
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    testing::CommandRun run(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments, {{"CORVELLE_HOST_DIR", folder}}, root);
    }

    json::Json show() {
        const auto result = run({"show", "--json"});
        EXPECT_EQ(result.status, 0) << result.err;
        return json::parse(result.out);
    }

    std::uint32_t idOf(const json::Json& shown, const std::string& name) {
        for (const auto& display : shown["displays"]) {
            if (display["name"] == name) return json::get<std::uint32_t>(display, "id");
        }
        return 0;
    }

    std::filesystem::path root;
    std::filesystem::path folder;
};

TEST_F(CorvelleHostCliTest, InitShowsTwoDisplaysAndReplugGivesANewID) {
    const auto init = run({"init", "--fixture", "laptop+external"});
    ASSERT_EQ(init.status, 0) << init.err;
    const auto table = run({"show"});
    ASSERT_EQ(table.status, 0);
    EXPECT_NE(table.out.find("builtin   built-in  yes   0,0"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("external  external  -     1512,0"), std::string::npos) << table.out;

    const auto before = show();
    ASSERT_EQ(before["displays"].size(), 2u);
    EXPECT_EQ(before["displays"][0]["hardwareKey"], "1552:41012:4251086178:true");

    ASSERT_EQ(run({"display", "unplug", "external"}).status, 0);
    EXPECT_EQ(show()["displays"].size(), 1u);
    const auto plugged = run({"display", "plug", "external"});
    ASSERT_EQ(plugged.status, 0);
    const auto after = show();
    EXPECT_NE(idOf(after, "external"), idOf(before, "external"));
    EXPECT_NE(plugged.out.find("as display " + std::to_string(idOf(after, "external"))), std::string::npos);
}

TEST_F(CorvelleHostCliTest, BadArgumentsFailClearlyAndChangeNothing) {
    ASSERT_EQ(run({"init", "--fixture", "dual-external"}).status, 0);
    const auto stored = readFileIfPresent(folder / "displays.json");

    const auto none = run({});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("missing command"), std::string::npos);
    const auto fixture = run({"init", "--fixture", "moon"});
    EXPECT_EQ(fixture.status, 2);
    EXPECT_NE(fixture.err.find("laptop, laptop+external, dual-external"), std::string::npos) << fixture.err;
    EXPECT_EQ(run({"fault", "add", "currentMode", "--nothing", "--hang"}).status, 2);
    const auto unknown = run({"display", "set-mode", "external", "1512x982"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("no mode 1512x982"), std::string::npos) << unknown.err;
    EXPECT_EQ(run({"display", "unplug", "builtin"}).status, 1);

    EXPECT_EQ(readFileIfPresent(folder / "displays.json"), stored);
}

TEST_F(CorvelleHostCliTest, AMalformedFolderIsReportedAndInitRepairsIt) {
    ASSERT_EQ(run({"init"}).status, 0);
    writeFileAtomically(folder / "faults.json", "{\"format\":1,\"nextID\":1,\"rules\":[{\"id\":1}]}");
    const auto broken = run({"show"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("malformed host folder"), std::string::npos) << broken.err;
    EXPECT_NE(broken.err.find("faults.json: rules[0]"), std::string::npos) << broken.err;
    EXPECT_EQ(readFileIfPresent(folder / "faults.json"), "{\"format\":1,\"nextID\":1,\"rules\":[{\"id\":1}]}");

    EXPECT_EQ(run({"init"}).status, 0);
    EXPECT_EQ(run({"show"}).status, 0);
}

TEST_F(CorvelleHostCliTest, FaultsSleepAndTheLog) {
    ASSERT_EQ(run({"init"}).status, 0);
    const auto added = run({"fault", "add", "onlineDisplayList", "--fail", "cannotComplete", "--role",
                            "worker-snapshot", "--times", "1"});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "Added fault rule #1.\n");
    EXPECT_EQ(run({"fault", "list"}).out,
              "#1 onlineDisplayList role=worker-snapshot fail 1004 times=1 (matched 0, applied 0)\n");
    EXPECT_EQ(run({"fault", "clear", "2"}).status, 1);
    EXPECT_EQ(run({"fault", "clear", "1"}).status, 0);
    EXPECT_EQ(run({"fault", "list"}).out, "No fault rules.\n");

    ASSERT_EQ(run({"sleep"}).status, 0);
    EXPECT_EQ(show()["asleep"], true);
    EXPECT_TRUE(show()["screens"].empty());
    ASSERT_EQ(run({"wake"}).status, 0);
    EXPECT_EQ(show()["asleep"], false);

    const auto log = run({"log"});
    ASSERT_EQ(log.status, 0);
    EXPECT_NE(log.out.find("tool["), std::string::npos);
    for (const auto* action : {"init fixture=laptop", "faultAdd", "faultRemove rule=1", "sleep", "wake"}) {
        EXPECT_NE(log.out.find(action), std::string::npos) << action << " missing in\n" << log.out;
    }
}

TEST_F(CorvelleHostCliTest, RemoteSessionsAndAssertions) {
    ASSERT_EQ(run({"init"}).status, 0);
    EXPECT_EQ(run({"remote", "connect", "todesk"}).out, "ToDesk: session connected.\n");
    const auto status = run({"remote", "status"});
    ASSERT_EQ(status.status, 0) << status.err;
    EXPECT_NE(status.out.find("/Applications/ToDesk.app/Contents/MacOS/ToDesk_Service\n"), std::string::npos);
    EXPECT_NE(status.out.find("NoDisplaySleepAssertion \"Preventing display sleep for app\" level 255"),
              std::string::npos)
        << status.out;
    EXPECT_EQ(run({"remote", "disconnect", "todesk"}).out, "ToDesk: session ended.\n");
    EXPECT_EQ(run({"remote", "disconnect", "todesk"}).out, "ToDesk: no session to end.\n");
    EXPECT_EQ(run({"remote", "disconnect", "uu"}).out, "UU Remote: no session to end.\n");

    const auto self = std::to_string(::getpid());
    const auto added = run({"remote", "assert", "add", "--pid", self, "--name", "Custom", "--level", "0"});
    EXPECT_EQ(added.out, "Added power assertion #2 for process " + self + ".\n") << added.err;
    EXPECT_NE(run({"remote", "assert", "list"}).out.find("#2 pid " + self + " PreventUserIdleDisplaySleep \"Custom\" level 0"),
              std::string::npos);
    EXPECT_EQ(run({"remote", "assert", "clear"}).out, "Released 1 power assertion held by real processes.\n");
    EXPECT_EQ(run({"remote", "assert", "list"}).out.find(self), std::string::npos);
    EXPECT_NE(run({"log"}).out.find("powerAssertionRelease assertion=2"), std::string::npos);
}

TEST_F(CorvelleHostCliTest, BadRemoteArgumentsFailClearlyAndChangeNothing) {
    ASSERT_EQ(run({"init"}).status, 0);
    const auto power = readFileIfPresent(folder / "power.json");
    const auto processes = readFileIfPresent(folder / "processes.json");

    const auto software = run({"remote", "connect", "teamviewer"});
    EXPECT_EQ(software.status, 2);
    EXPECT_NE(software.err.find("(uu or todesk)"), std::string::npos) << software.err;
    const auto notRunning = run({"remote", "unknown", "uu", "on"});
    EXPECT_EQ(notRunning.status, 1);
    EXPECT_NE(notRunning.err.find("UURemoteServer is not running"), std::string::npos) << notRunning.err;
    EXPECT_EQ(run({"remote", "assert", "add", "--pid", "12x"}).status, 2);
    const auto gone = run({"remote", "assert", "add", "--pid", "4194399"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.err.find("not running"), std::string::npos) << gone.err;

    EXPECT_EQ(readFileIfPresent(folder / "power.json"), power);
    EXPECT_EQ(readFileIfPresent(folder / "processes.json"), processes);
}

}  // namespace
}  // namespace dorvane
