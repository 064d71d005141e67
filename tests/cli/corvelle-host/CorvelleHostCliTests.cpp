#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/CommandRun.h"
#include "tests/Support/HeldLock.h"

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
    const auto notANumber = run({"display", "set-mode", "external", "1920x1080@nan"});
    EXPECT_EQ(notANumber.status, 2);
    EXPECT_NE(notANumber.err.find("not a valid refresh rate: \"nan\""), std::string::npos) << notANumber.err;
    EXPECT_EQ(run({"display", "unplug", "builtin"}).status, 1);

    EXPECT_EQ(readFileIfPresent(folder / "displays.json"), stored);
}

// A typo is one line that says what is wrong and one that says where the usage is.
TEST_F(CorvelleHostCliTest, AMistypedCommandIsTwoLinesAndHelpIsTheUsage) {
    const auto typo = run({"shwo"});
    EXPECT_EQ(typo.status, 2);
    EXPECT_EQ(typo.err, "corvelle-host: unknown command \"shwo\"\nRun \"corvelle-host help\" for the usage.\n");
    EXPECT_EQ(typo.out, "");
    const auto missing = run({"display", "plug"});
    EXPECT_EQ(missing.err, "corvelle-host: missing display name\nRun \"corvelle-host help\" for the usage.\n");
    const auto help = run({"help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: corvelle-host COMMAND\n")) << help.out;
    EXPECT_GT(std::count(help.out.begin(), help.out.end(), '\n'), 50);
}

// Text the host keeps comes from anyone: a terminal never gets its control characters.
TEST_F(CorvelleHostCliTest, TheLogShowsControlCharactersEscaped) {
    ASSERT_EQ(run({"init"}).status, 0);
    const std::string hostile = "\x1b]0;owned\x07\x1b[2J\r\xc2\x9b" "31m\x7f";
    const std::string object = "note " + hostile + " 中文";
    ASSERT_EQ(run({"notify", "com.example.note", "--object", object}).status, 0);
    const auto log = run({"log"});
    ASSERT_EQ(log.status, 0) << log.err;
    EXPECT_NE(log.out.find("note \\u001b]0;owned\\u0007\\u001b[2J\\u000d\\u009b31m\\u007f 中文"), std::string::npos)
        << log.out;
    for (const char control : {'\x1b', '\x07', '\r', '\x7f'}) EXPECT_EQ(log.out.find(control), std::string::npos);
    EXPECT_EQ(log.out.find("\xc2\x9b"), std::string::npos);
    // As JSON the text reads back whole.
    const auto lines = run({"log", "--json"}).out;
    EXPECT_EQ(lines.find('\x1b'), std::string::npos);
    EXPECT_EQ(lines.find("\xc2\x9b"), std::string::npos);
    std::function<bool(const json::Json&)> holds = [&](const json::Json& value) {
        if (value.is_string()) return value.get<std::string>() == object;
        if (!value.is_structured()) return false;
        for (const auto& item : value) {
            if (holds(item)) return true;
        }
        return false;
    };
    bool found = false;
    for (std::size_t start = 0; start < lines.size();) {
        const auto end = lines.find('\n', start);
        found = found || holds(json::parse(lines.substr(start, end - start)));
        start = end + 1;
    }
    EXPECT_TRUE(found) << lines;
    // A command's error names what it was given, escaped too.
    const auto typo = run({"\x1b[31mred"});
    EXPECT_EQ(typo.err.find('\x1b'), std::string::npos) << typo.err;
}

// Another user who made the shared folder first and planted a link in it would have init
// truncate and overwrite a file of the victim's: the folder is refused, and a link in a
// folder of the user's own is never opened.
TEST_F(CorvelleHostCliTest, ALinkPlantedInTheHostFolderNeverReachesItsTarget) {
    const auto victim = root / "target.txt";
    writeFileAtomically(victim, "the victim's own text\n");
    std::filesystem::create_directory(folder);
    std::filesystem::create_symlink(victim, folder / "actions.log");

    ASSERT_EQ(::chmod(folder.c_str(), 01777), 0);  // as /tmp is: anyone may add a file
    const auto shared = run({"init"});
    EXPECT_EQ(shared.status, 1);
    EXPECT_EQ(shared.err, "corvelle-host: host folder " + folder.string() +
                              " can be written by other users (mode 1777): use a folder only you can write\n");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
        ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
        const auto foreign = run({"init"});
        EXPECT_EQ(foreign.status, 1);
        EXPECT_EQ(foreign.err, "corvelle-host: host folder " + folder.string() +
                                   " belongs to another user (uid 65534): use a folder of your own\n");
        ASSERT_EQ(::chown(folder.c_str(), ::getuid(), ::getgid()), 0);
    }
    ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
    const auto own = run({"init"});
    EXPECT_EQ(own.status, 1);
    EXPECT_EQ(own.err, "corvelle-host: cannot open " + (folder / "actions.log").string() + ": not a regular file\n");
    EXPECT_EQ(readFileIfPresent(victim), "the victim's own text\n");

    // A lock file planted as a link creates nothing where it points.
    std::filesystem::remove(folder / "actions.log");
    std::filesystem::remove(folder / "host.lock");
    std::filesystem::create_symlink(root / "planted.lock", folder / "host.lock");
    EXPECT_EQ(run({"show"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(root / "planted.lock"));
    std::filesystem::remove(folder / "host.lock");
    EXPECT_EQ(run({"init"}).status, 0);
    EXPECT_EQ(readFileIfPresent(victim), "the victim's own text\n");
}

// Another user who can rename entries in a folder on the way could move the host folder
// away while a program uses it and put one of their choice in its place: such a way is
// refused before anything is made or written, whether it is named or reached by a link.
TEST_F(CorvelleHostCliTest, AHostFolderAnotherUserCouldMoveAwayIsRefusedAndNothingIsWritten) {
    const auto shared = root / "shared";
    std::filesystem::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    folder = shared / "host";
    const std::string why = ", which other users can write (mode 0777, not sticky): use a folder whose parent "
                            "folders only you and the superuser can change\n";
    const auto missing = run({"init"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "corvelle-host: host folder " + folder.string() + " would be made in " + shared.string() + why);
    EXPECT_FALSE(std::filesystem::exists(folder));

    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const auto named = run({"init"});
    EXPECT_EQ(named.status, 1);
    EXPECT_EQ(named.err, "corvelle-host: host folder " + folder.string() + " is reached through " + shared.string() + why);
    folder = root / "mine";
    std::filesystem::create_symlink(shared / "host", folder);
    const auto linked = run({"show"});
    EXPECT_EQ(linked.status, 1);
    EXPECT_EQ(linked.err, "corvelle-host: host folder " + folder.string() + " is reached through " + shared.string() + why);
    EXPECT_TRUE(std::filesystem::is_empty(shared / "host"));

    // Sticky, as /tmp is: each entry stays its owner's.
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    EXPECT_EQ(run({"init"}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(shared / "host" / "displays.json"));
}

// Another process holding the host's lock for a few seconds, as on a machine loaded far
// beyond its cores, makes a command wait, not fail.
TEST_F(CorvelleHostCliTest, ACommandWaitsOutAHolderOfTheLockForAFewSeconds) {
    ASSERT_EQ(run({"init", "--fixture", "laptop+external"}).status, 0);
    const int holder = ::open((folder / "host.lock").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    std::thread release([holder] {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        ::close(holder);
    });
    const auto unplugged = run({"display", "unplug", "external"});
    release.join();
    EXPECT_EQ(unplugged.status, 0) << unplugged.err;
    EXPECT_EQ(show()["displays"].size(), 1u);
}

// A click the program took but could not answer in time (a busy host held its answer up)
// is not reported as one it never answered: it may well have been carried out.
TEST_F(CorvelleHostCliTest, AClickTakenButNotAnsweredInTimeIsSaidSo) {
    ASSERT_EQ(run({"init"}).status, 0);
    dispatch::SystemClock clock;
    const auto program = host::SimulatedHost::openFolder(folder, processes::ProcessRole::application, clock);
    program->statusBar().publish(statusbar::StatusItem{"MenuBarTemplate", "", "Corvelle · 就绪",
                                                       {statusbar::MenuEntry{"显示工具条", true, false, false}}});
    std::atomic<bool> chosen = false;
    std::thread taker([&] {
        while (!chosen) {
            program->store().transact([](host::HostData& data) {
                for (auto& click : data.statusBar().clicks) click.state = host::StatusBarClick::State::taken;
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const auto result = run({"statusbar", "click", "显示工具条", "--timeout", "0.5"});
    chosen = true;
    taker.join();
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "corvelle-host: the program took \"显示工具条\" but did not say within 0.5 s whether it carried it out\n");
}

// The host held for longer than the tool waits for it, once the click is written: the tool
// cannot read the answer, and says that the click stays with the program, which may still
// carry it out once the host is let go.
TEST_F(CorvelleHostCliTest, AClickWhoseAnswerAHeldHostKeptFromTheToolIsSaidLeftWithTheProgram) {
    ASSERT_EQ(run({"init"}).status, 0);
    dispatch::SystemClock clock;
    const auto program = host::SimulatedHost::openFolder(folder, processes::ProcessRole::application, clock);
    program->statusBar().publish(statusbar::StatusItem{"MenuBarTemplate", "", "Corvelle · 就绪",
                                                       {statusbar::MenuEntry{"显示工具条", true, false, false}}});
    const auto clicks = [&] {
        std::size_t count = 0;
        program->store().transact([&](host::HostData& data) { count = data.statusBar().clicks.size(); });
        return count;
    };
    std::atomic<bool> finished = false;
    std::unique_ptr<testing::HeldLock> holder;
    std::thread holdOnceWritten([&] {
        while (!finished && clicks() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!finished) holder = std::make_unique<testing::HeldLock>(folder / "host.lock", 60);
    });
    const auto result = run({"statusbar", "click", "显示工具条", "--timeout", "60"});
    finished = true;
    holdOnceWritten.join();
    ASSERT_TRUE(holder && holder->held());
    holder->release();
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "corvelle-host: cannot lock " + (folder / "host.lock").string() +
                              ": another process has held it for over 10 seconds; \"显示工具条\" was left with the "
                              "program and may still be carried out\n");
    EXPECT_EQ(clicks(), 1u);
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
