#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/Support/CommandRun.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/RealClock.h"

namespace dorvane {
namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

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

    ToolRun run(const std::vector<std::string>& arguments) {
        const auto result = testing::runCommand(CORVELLE_HOST_TOOL, arguments, {{"CORVELLE_HOST_DIR", folder}}, root);
        return ToolRun{result.status, result.out, result.err};
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
    const auto& main = before["displays"][0];
    EXPECT_EQ(main["name"], "builtin");
    EXPECT_EQ(main["main"], true);
    EXPECT_EQ(main["x"], 0);
    EXPECT_EQ(main["y"], 0);
    EXPECT_EQ(main["hardwareKey"], "1552:41012:4251086178:true");

    ASSERT_EQ(run({"display", "unplug", "external"}).status, 0);
    EXPECT_EQ(show()["displays"].size(), 1u);
    const auto plugged = run({"display", "plug", "external"});
    ASSERT_EQ(plugged.status, 0);
    const auto after = show();
    EXPECT_NE(idOf(after, "external"), idOf(before, "external"));
    EXPECT_NE(plugged.out.find("as display " + std::to_string(idOf(after, "external"))), std::string::npos);
}

TEST_F(CorvelleHostCliTest, AVirtualDisplayOfAnEndedProcessIsNotShown) {
    ASSERT_EQ(run({"init"}).status, 0);
    int toParent[2];
    int toChild[2];
    ASSERT_EQ(::pipe(toParent), 0);
    ASSERT_EQ(::pipe(toChild), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        testing::RealClock clock;
        auto host = host::SimulatedHost::openFolder(folder, processes::ProcessRole::application, clock);
        displays::VirtualDisplayDescriptor descriptor;
        descriptor.name = "Corvelle Virtual Display";
        descriptor.maxPixelsWide = 2048;
        descriptor.maxPixelsHigh = 1536;
        descriptor.sizeInMillimeters = {236.5, 177.4};
        descriptor.vendorID = 17494;
        auto display = host->virtualDisplays().create(descriptor);
        const char ok = display && display->applySettings({1, {{1024, 768, 60.0}}}) ? 1 : 0;
        char byte = 0;
        if (::write(toParent[1], &ok, 1) != 1 || ::read(toChild[0], &byte, 1) != 1) ::_exit(2);
        ::_exit(0);
    }
    char ok = 0;
    ASSERT_EQ(::read(toParent[0], &ok, 1), 1);
    ASSERT_EQ(ok, 1);
    const auto during = show();
    ASSERT_EQ(during["displays"].size(), 2u);
    EXPECT_EQ(during["displays"][1]["kind"], "virtual");
    EXPECT_EQ(during["displays"][1]["hardwareKey"], "17494:0:0:false");

    const char byte = 1;
    ASSERT_EQ(::write(toChild[1], &byte, 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
    for (const int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) ::close(fd);

    const auto after = show();
    ASSERT_EQ(after["displays"].size(), 1u);
    EXPECT_EQ(after["displays"][0]["kind"], "physical");
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
    EXPECT_EQ(run({"display", "plug"}).status, 2);
    EXPECT_EQ(run({"show", "--yaml"}).status, 2);
    EXPECT_EQ(run({"fault", "add", "currentMode", "--fail", "1001"}).status, 1);
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
    for (const auto* action : {"init fixture=laptop", "faultAdd", "faultRemove rule=1", "sleep", "wake"}) {
        EXPECT_NE(log.out.find(std::string("tool[")), std::string::npos);
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
    EXPECT_EQ(run({"remote", "connect"}).status, 2);
    EXPECT_EQ(run({"remote", "unknown", "uu", "maybe"}).status, 2);
    const auto notRunning = run({"remote", "unknown", "uu", "on"});
    EXPECT_EQ(notRunning.status, 1);
    EXPECT_NE(notRunning.err.find("UURemoteServer is not running"), std::string::npos) << notRunning.err;
    EXPECT_EQ(run({"remote", "assert", "add"}).status, 2);
    EXPECT_EQ(run({"remote", "assert", "add", "--pid", "-3"}).status, 2);
    EXPECT_EQ(run({"remote", "assert", "add", "--pid", "12x"}).status, 2);
    EXPECT_EQ(run({"remote", "assert", "add", "--pid", "1", "--level", "high"}).status, 2);
    const auto gone = run({"remote", "assert", "add", "--pid", "4194399"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.err.find("not running"), std::string::npos) << gone.err;
    EXPECT_EQ(run({"remote", "assert", "remove"}).status, 2);
    EXPECT_EQ(run({"remote", "status", "--json"}).status, 2);

    EXPECT_EQ(readFileIfPresent(folder / "power.json"), power);
    EXPECT_EQ(readFileIfPresent(folder / "processes.json"), processes);
}

}  // namespace
}  // namespace dorvane
