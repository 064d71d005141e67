#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Accessibility/AXNames.h"
#include "Platform/Host/Store/FolderHostStore.h"
#include "Platform/Host/Store/FolderPulse.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SystemClock.h"

namespace dorvane::host {
namespace {

using processes::ProcessRole;

// Tests across real processes that share one host folder.
class FolderHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvelle-host-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        // Child processes of a test may still be leaving; a second pass takes what they left.
        std::error_code error;
        for (int attempt = 0; attempt < 50; ++attempt) {
            std::filesystem::remove_all(folder, error);
            if (!error) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        FAIL() << "cannot remove " << folder << ": " << error.message();
    }

    std::unique_ptr<SimulatedHost> open(ProcessRole role, dispatch::MainQueue* mainQueue = nullptr) {
        return SimulatedHost::openFolder(folder, role, clock, mainQueue);
    }

    // Runs `body` in a child process that waits for go() first; answers the child's pid.
    pid_t spawn(const std::function<void()>& body) {
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[1]);
            char byte = 0;
            if (::read(fds[0], &byte, 1) != 1) ::_exit(3);
            try {
                body();
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        ::close(fds[0]);
        goPipe = fds[1];
        return child;
    }
    void go() {
        const char byte = 1;
        ASSERT_EQ(::write(goPipe, &byte, 1), 1);
        ::close(goPipe);
    }
    int reap(pid_t child) {
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, 0), child);
        return status;
    }

    std::vector<DisplayID> online(SimulatedHost& host) { return host.displays().onlineDisplayList(32).ids; }

    std::filesystem::path folder;
    dispatch::SystemClock clock;
    int goPipe = -1;
};

TEST_F(FolderHostTest, TrustFollowsThePermissionFileAndAnUnreadableOneGrantsNothing) {
    auto program = open(ProcessRole::application);
    auto tool = open(ProcessRole::tool);
    EXPECT_FALSE(program->accessibility().isProcessTrusted());
    tool->permissionsAdmin().set(Permission::accessibility, true);  // corvelle-host permission grant
    EXPECT_TRUE(program->accessibility().isProcessTrusted());
    std::ofstream(folder / kPermissionsFile) << "{\"accessibility\": ";
    EXPECT_FALSE(program->accessibility().isProcessTrusted());
}

TEST_F(FolderHostTest, AHostileFileIsAnErrorThatNamesIt) {
    open(ProcessRole::tool).reset();  // seeds the folder
    // The fault rules stand for a test's set-up, kept on disk: every call reads them.
    const std::vector<std::string> hostile{std::string(100000, '[') + std::string(100000, ']'),
                                           R"({"generation": 1e400})"};
    for (const auto& text : hostile) {
        writeFileAtomically(folder / kFaultsFile, text);
        try {
            online(*open(ProcessRole::tool));
            ADD_FAILURE() << "a hostile host file was read";
        } catch (const HostError& error) {
            EXPECT_NE(std::string(error.what()).find(kFaultsFile), std::string::npos) << error.what();
        }
    }
    std::filesystem::remove(folder / kFaultsFile);
    std::filesystem::remove(folder / kDisplaysFile);
    ASSERT_EQ(::mkfifo((folder / kDisplaysFile).c_str(), 0600), 0);
    EXPECT_THROW(online(*open(ProcessRole::tool)), HostError);
}

TEST_F(FolderHostTest, AVirtualDisplayEndsWithTheProcessThatMadeIt) {
    open(ProcessRole::tool)->admin().reset(HostFixture::laptop);
    int report[2];  // child to parent: the display id
    int release[2];  // parent to child: time to end
    ASSERT_EQ(::pipe(report), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = spawn([&] {
        auto app = open(ProcessRole::application);
        displays::VirtualDisplayDescriptor descriptor;
        descriptor.name = "Corvelle Virtual Display";
        descriptor.maxPixelsWide = 2560;
        descriptor.maxPixelsHigh = 1600;
        descriptor.sizeInMillimeters = {295.6, 184.7};
        descriptor.vendorID = 17494;
        auto display = app->virtualDisplays().create(descriptor);
        if (!display || !display->applySettings({1, {{1280, 800, 60.0}}})) ::_exit(4);
        const DisplayID id = display->displayID();
        if (::write(report[1], &id, sizeof id) != sizeof id) ::_exit(5);
        char byte = 0;
        [[maybe_unused]] auto ignored = ::read(release[0], &byte, 1);  // until the parent has looked
        ::_exit(0);  // no release: the process just ends
    });
    go();
    DisplayID id = 0;
    ASSERT_EQ(::read(report[0], &id, sizeof id), static_cast<ssize_t>(sizeof id));
    auto tool = open(ProcessRole::tool);
    EXPECT_EQ(online(*tool).size(), 2u);
    EXPECT_EQ(tool->displays().vendorNumber(id), 17494u);

    const char byte = 1;
    ASSERT_EQ(::write(release[1], &byte, 1), 1);
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, child, &info, WEXITED | WNOWAIT), 0);
    EXPECT_EQ(online(*tool).size(), 1u);  // a zombie owns nothing
    EXPECT_EQ(reap(child), 0);
    for (const int fd : {report[0], report[1], release[0], release[1]}) ::close(fd);
    const auto log = tool->admin().actionLog();
    EXPECT_EQ(log.back().summary(), "virtualDisplayGone display=" + std::to_string(id) + " reason=ownerEnded");
}

// Changes made by other processes reach the monitor (see the remote-session tests over the
// host); a real holder that ends changes no file, yet its end is announced.
TEST_F(FolderHostTest, AnEndedHolderIsAnnouncedWithoutAnyOtherChange) {
    // Forked before any thread of ours runs, so it inherits no lock held meanwhile.
    const pid_t holder = ::fork();
    if (holder == 0) {
        for (;;) ::pause();
    }
    dispatch::ManualMainQueue mainQueue;
    auto app = open(ProcessRole::application, &mainQueue);
    int calls = 0;
    ASSERT_TRUE(app->assertionNotifications().start([&calls] { ++calls; }));
    mainQueue.runPending();
    // The notifications come from the host's watcher threads, in real time.
    auto awaitCalls = [&](int expected) {
        mainQueue.runUntil([&] { return calls >= expected; }, 10.0);
        return calls;
    };

    const processes::ProcessIdentity identity{holder, processes::readProcessStatus(holder)->startTime};
    open(ProcessRole::tool)->remoteAdmin().addAssertion(identity, "PreventUserIdleDisplaySleep", "idleDisplaySleepDisabled",
                                                        255);
    EXPECT_EQ(awaitCalls(1), 1);
    ::kill(holder, SIGKILL);
    EXPECT_EQ(awaitCalls(2), 2);
    EXPECT_TRUE(open(ProcessRole::tool)->remoteAdmin().state().power.assertions.empty());
    EXPECT_EQ(reap(holder), SIGKILL);
}

TEST_F(FolderHostTest, ConcurrentProcessesLoseNoUpdate) {
    open(ProcessRole::tool)->admin().reset(HostFixture::laptop);
    std::vector<pid_t> children;
    for (int index = 0; index < 4; ++index) {
        children.push_back(spawn([this] {
            auto app = open(ProcessRole::application);
            for (int round = 0; round < 10; ++round) app->userActivity().declareUserActivity("load");
        }));
        go();
    }
    for (const pid_t child : children) EXPECT_EQ(reap(child), 0);
    EXPECT_EQ(open(ProcessRole::tool)->admin().counters().userActivitiesDeclared, 40u);
}

TEST_F(FolderHostTest, AHangCanIgnoreTheTerminateSignal) {
    FaultRule hang;
    hang.call = HostCall::onlineDisplayList;
    hang.action = FaultAction::hang;
    hang.ignoreTerminate = true;
    hang.role = ProcessRole::workerSnapshot;
    open(ProcessRole::tool)->admin().addFault(hang);

    const pid_t child = spawn([this] { open(ProcessRole::workerSnapshot)->displays().onlineDisplayList(32); });
    go();
    bool ignoring = false;
    for (int round = 0; round < 500 && !ignoring; ++round) {
        std::ifstream status("/proc/" + std::to_string(child) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("SigIgn:", 0) == 0) ignoring = (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
        }
        if (!ignoring) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(ignoring);
    ::kill(child, SIGTERM);
    ::kill(child, SIGKILL);
    const int status = reap(child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_EQ(open(ProcessRole::tool)->admin().actionLog().back().summary(),
              "fault rule=1 call=onlineDisplayList action=hang");
}

// On the program's main thread, which must not wait.
TEST_F(FolderHostTest, AnotherProcessHoldingTheLockForLongFailsTheAccessInsteadOfStallingIt) {
    open(ProcessRole::tool)->admin().reset(HostFixture::laptop);
    dispatch::ManualMainQueue mainQueue;
    auto program = open(ProcessRole::application, &mainQueue);
    // Held through a descriptor of its own: to flock, another process.
    const int holder = ::open((folder / kLockFile).c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    try {
        program->store().transact([](HostData&) {});
        ADD_FAILURE() << "the access waited for the lock for as long as it was held";
    } catch (const HostError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot lock " + (folder / kLockFile).string() + ": another process has held it for over a second");
    }
    // Calls whose platform counterpart answers fail as such a call does.
    EXPECT_FALSE(program->accessibility().isProcessTrusted());
    EXPECT_EQ(program->pointer().pressedButtons(), 0u);
    EXPECT_TRUE(program->screens().screens().empty());
    accessibility::AXValue title;
    EXPECT_EQ(program->accessibility().copyAttributeValue(program->accessibility().applicationElement(4321),
                                                          accessibility::attribute::title, title),
              accessibility::AXError::cannotComplete);
    ::close(holder);
    EXPECT_FALSE(program->screens().screens().empty());
}

TEST_F(FolderHostTest, AFileThatCannotBeUsedIsNamedWithItsCauseAndCheckSaysSoBeforeAnyUse) {
    open(ProcessRole::tool)->admin().reset(HostFixture::laptop);
    auto expectRefused = [&](const std::string& said) {
        try {
            open(ProcessRole::tool)->store().check();
            ADD_FAILURE() << "an unusable host passed its check";
        } catch (const HostError& error) {
            EXPECT_EQ(std::string(error.what()), said);
        }
    };
    const auto windows = folder / kWindowsFile;
    std::filesystem::rename(windows, folder / "kept.json");
    std::filesystem::create_directory(windows);
    expectRefused("cannot read " + windows.string() + ": not a regular file");
    std::filesystem::remove(windows);
    std::filesystem::create_symlink("/dev/zero", windows);
    expectRefused("cannot read " + windows.string() + ": not a regular file");
    std::filesystem::remove(windows);
    std::filesystem::rename(folder / "kept.json", windows);
    // A file kept on disk on purpose is never cut short by a power loss: whoever damaged it
    // is told to remove that one file, and nothing else is lost.
    const auto defaults = folder / kDefaultsFile;
    writeFileAtomically(defaults, "");
    expectRefused("malformed host folder: " + defaults.string() +
                  ": the file is empty (remove that file to start it afresh)");
    writeFileAtomically(defaults, "{\"values\": 3}");
    try {
        open(ProcessRole::tool)->store().check();
        ADD_FAILURE() << "an undecodable user defaults file passed the check";
    } catch (const HostError& error) {
        EXPECT_THAT(error.what(), ::testing::StartsWith("malformed host folder: " + defaults.string() + ": "));
        EXPECT_THAT(error.what(), ::testing::EndsWith(" (remove that file to start it afresh)"));
        EXPECT_THAT(error.what(), ::testing::Not(::testing::HasSubstr("init")));
    }
    std::filesystem::remove(defaults);
    EXPECT_NO_THROW(open(ProcessRole::tool)->store().check());
}

TEST_F(FolderHostTest, WatchersReadAServiceFilesGenerationWithoutTakingTheWholeFile) {
    open(ProcessRole::tool)->admin().reset(HostFixture::laptop);
    const auto seen = readFolderPulse(folder, HostPulse{});
    // What comes after the generation is not looked at; a file that is not an object, or
    // nests without end, keeps what was known.
    writeFileAtomically(folder / kWindowsFile, "{\"format\": 1, \"generation\": 41, \"windows\": [[[");
    EXPECT_EQ(readFolderPulse(folder, seen).windowsGeneration, 41u);
    writeFileAtomically(folder / kWindowsFile, std::string(100000, '[') + std::string(100000, ']'));
    EXPECT_EQ(readFolderPulse(folder, seen).windowsGeneration, seen.windowsGeneration);
    writeFileAtomically(folder / kWindowsFile, "{\"windows\": {\"generation\": 7}, \"generation\": 9}");
    EXPECT_EQ(readFolderPulse(folder, seen).windowsGeneration, 9u);
    // The read ends at the generation: a second one further on is never reached.
    writeFileAtomically(folder / kWindowsFile, "{\"generation\": 12, \"windows\": [], \"generation\": 13}");
    EXPECT_EQ(readFolderPulse(folder, seen).windowsGeneration, 12u);
}

TEST(HostFolderTest, FolderFromTheEnvironment) {
    EXPECT_EQ(hostFolderFrom("/h", "/x", "/home/u"), std::filesystem::path("/h"));
    EXPECT_EQ(hostFolderFrom("", "/x", "/home/u"), std::filesystem::path("/x/corvelle-host"));
    EXPECT_EQ(hostFolderFrom(std::nullopt, std::nullopt, "/home/u"),
              std::filesystem::path("/home/u/.local/state/corvelle-host"));
    EXPECT_THROW(hostFolderFrom(std::nullopt, std::nullopt, std::nullopt), HostError);
}

}  // namespace
}  // namespace dorvane::host
