#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "tests/cli/corvelle/ApplicationHarness.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class HostFolderCliTest : public ApplicationCliTest {
protected:
    fs::path hostFile(const std::string& name) const { return root / "host" / name; }
};

// A named pipe nobody reads where the action log belongs: every process that logs fails that
// one call at once, none holds the host's lock waiting for a reader, and the quit ends.
TEST_F(HostFolderCliTest, APipeAsTheActionLogFailsTheCallsThatLogAndHoldsNothing) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    ASSERT_TRUE(testing::eventually([&] { return host({"log"}).out.find("inputOwner") != std::string::npos; }))
        << program->err();
    fs::remove(hostFile("actions.log"));
    ASSERT_EQ(::mkfifo(hostFile("actions.log").c_str(), 0600), 0);

    const auto logged = host({"defaults", "write", "CVDebugHooks", "true"});
    EXPECT_EQ(logged.status, 1);
    EXPECT_EQ(logged.err, "corvelle-host: cannot open " + hostFile("actions.log").string() + ": not a regular file\n");
    // The program logs when it takes input: that call fails, and the host stays free.
    const auto typed = host({"input", "key", "a"});
    EXPECT_EQ(typed.status, 1);
    EXPECT_EQ(typed.err, "corvelle-host: the program did not handle the input in time\n");
    EXPECT_EQ(host({"statusbar", "show"}).status, 0);
    EXPECT_EQ(corvelle({"--worker", "snapshot"}).status, 0);

    fs::remove(hostFile("actions.log"));
    EXPECT_EQ(host({"input", "key", "a"}).out, "The program handled 2 events.\n");
    EXPECT_EQ(host({"defaults", "write", "CVDebugHooks", "true"}).status, 0);
    program->signal(SIGTERM);
    EXPECT_EQ(program->waitForExit(60), 0) << program->err();
}

// The README's shared folder once made by another user: nothing is opened in it.
TEST_F(HostFolderCliTest, AFolderOthersCanWriteIsRefusedInOneLine) {
    ASSERT_EQ(::chmod((root / "host").c_str(), 01777), 0);
    const std::string why = "host folder " + (root / "host").string() +
                            " can be written by other users (mode 1777): use a folder only you can write";
    const auto check = corvelle({"--check"});
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.err, "系统未能完成这项操作。\n");
    EXPECT_THAT(readFileIfPresent(support / "Dorvane.log").value_or(""),
                HasSubstr(" error_detail 系统未能完成这项操作。 cause=" + why + "\n"));
    const auto run = corvelle({});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Corvelle: " + why + "\n");
}

// The program, its display worker and the tool refuse alike a host folder that another user
// could move away and replace while they run.
TEST_F(HostFolderCliTest, AFolderInAFolderOthersCanWriteIsRefusedByEveryProcess) {
    ASSERT_EQ(::chmod(root.c_str(), 0777), 0);
    const std::string why = "host folder " + (root / "host").string() + " is reached through " + root.string() +
                            ", which other users can write (mode 0777, not sticky): use a folder whose parent "
                            "folders only you and the superuser can change";
    const auto run = corvelle({});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Corvelle: " + why + "\n");
    const auto worker = corvelle({"--worker", "snapshot"});
    EXPECT_EQ(worker.status, 1);
    // The worker says the person's text on its error stream, nothing on its output (which is
    // for the answer alone), and the cause in the program's engine log.
    EXPECT_EQ(worker.err, "系统未能完成这项操作。");
    EXPECT_EQ(worker.out, "");
    EXPECT_THAT(readFileIfPresent(support / "Dorvane.log").value_or(""),
                HasSubstr(" error_detail 系统未能完成这项操作。 cause=" + why + "\n"));
    EXPECT_EQ(host({"show"}).err, "corvelle-host: " + why + "\n");
    ASSERT_EQ(::chmod(root.c_str(), 0700), 0);
    EXPECT_EQ(host({"show"}).status, 0);
}

// "当前系统不支持虚拟屏幕" is for virtual displays the host does not give: a host that
// cannot be used says, in the person's words, that the operation failed, and the cause is in
// the engine log.
TEST_F(HostFolderCliTest, CheckSaysWhatFailedOfAnUnusableHost) {
    fs::remove(hostFile("displays.json"));
    fs::create_directory(hostFile("displays.json"));
    const auto check = corvelle({"--check"});
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.out, "");
    EXPECT_EQ(check.err, "系统未能完成这项操作。\n");
    EXPECT_THAT(readFileIfPresent(support / "Dorvane.log").value_or(""),
                HasSubstr(" error_detail 系统未能完成这项操作。 cause=cannot read " +
                          hostFile("displays.json").string() + ": not a regular file\n"));
}

// Each mode and the display worker over files of the host's memory that a power loss left
// empty: the answer on standard output, nothing on standard error (the person's text of a
// failure alone, or the mode's own verdict), and the notice in the engine log.
TEST_F(HostFolderCliTest, TheModesAndTheWorkerTellALostMemoryFileInTheLogNotOnStandardError) {
    ASSERT_EQ(host({"permission", "grant", "accessibility"}).status, 0);
    struct Mode {
        std::vector<std::string> arguments;
        std::string printed;  // the start of what it prints
    };
    const std::vector<Mode> modes = {
        {{"--worker", "snapshot"}, "[{\"id\":1,"},
        {{"--check"}, "Native virtual display API: OK; displays: 1\n"},
        {{"--remote-status"}, "{\"active\":[],\"unknown\":[]}\n"},
        {{"--restore"}, "PASS: physical display restoration"},
        {{"--smoke"}, "PASS: 1400×630"},
        {{"--check-input-relay"}, "input-relay: delivery and cleanup OK\n"},
    };
    for (const auto& mode : modes) {
        const std::string name = mode.arguments.front();
        for (const char* memory : {"displays.json", "power.json", "processes.json", "workspace.json", "windows.json",
                                   "input.json", "statusbar.json", "notifications.json"}) {
            writeFileAtomically(hostFile(memory), "");
        }
        fs::remove(support / "Dorvane.log");
        const auto run = corvelle(mode.arguments);
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_THAT(run.out, ::testing::StartsWith(mode.printed)) << name;
        EXPECT_EQ(run.err, "") << name;
        // Each reads what it needs: at least one of the files was lost to it.
        EXPECT_THAT(readFileIfPresent(support / "Dorvane.log").value_or(""),
                    ::testing::ContainsRegex(" host_memory_lost host memory lost: " + (root / "host").string() +
                                             "/[a-z]+\\.json: the file is empty; it starts afresh\n"))
            << name;
    }
}

// What a power loss leaves of a file of the host's memory: the program starts, says so once,
// and the grant and the defaults kept on disk are still there.
TEST_F(HostFolderCliTest, AnEmptyMemoryFileAtStartIsSaidOnceAndTheProgramRuns) {
    ASSERT_EQ(host({"permission", "grant", "accessibility"}).status, 0);
    ASSERT_EQ(host({"defaults", "write", "CVDebugHooks", "true"}).status, 0);
    writeFileAtomically(hostFile("windows.json"), "");
    start();
    ASSERT_TRUE(ready()) << program->err();
    const std::string said = "host memory lost: " + hostFile("windows.json").string() +
                             ": the file is empty; it starts afresh";
    const auto err = program->err();
    EXPECT_THAT(err, HasSubstr(said));
    EXPECT_EQ(err.find(said), err.rfind(said)) << err;
    EXPECT_EQ(host({"permission", "show", "accessibility"}).out, "accessibility: granted\n");
    EXPECT_EQ(host({"defaults", "read", "CVDebugHooks"}).out, "true\n");
    program->signal(SIGTERM);
    EXPECT_EQ(program->waitForExit(60), 0) << program->err();
}

}  // namespace
}  // namespace dorvane
