#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <limits>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/State/ActionEntry.h"
#include "Platform/Host/Store/FolderHostStore.h"
#include "Platform/Host/Store/FolderPulse.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/Services/HostWindowEvents.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/Host/Session/HostCatchUp.h"
#include "tests/Support/HeldLock.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane::host {
namespace {

namespace fs = std::filesystem;
using processes::ProcessRole;
using ::testing::HasSubstr;

// Replaces files as the store's own writer does, and keeps how each was replaced.
class RecordingWriter final : public HostFileWriter {
public:
    void replace(const fs::path& path, std::string_view text, Durability durability) override {
        written[path.filename().string()] = durability;
        atomicHostFileWriter()->replace(path, text, durability);
    }
    std::map<std::string, Durability> written;
};

// Replaces files as the store's own writer does, but refuses one file while told to.
class RefusingWriter final : public HostFileWriter {
public:
    void replace(const fs::path& path, std::string_view text, Durability durability) override {
        if (path.filename() == refused) throw std::system_error(ENOSPC, std::generic_category(), "write");
        atomicHostFileWriter()->replace(path, text, durability);
    }
    std::string refused;
};

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const HostError& error) {
        return error.what();
    }
    return "(no error)";
}

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

// A host folder the tests make themselves, inside a temporary folder of their own.
class HostFolderFilesTest : public ::testing::Test {
protected:
    fs::path hostFolder() const { return root.path() / "host"; }
    fs::path file(const char* name) const { return hostFolder() / name; }

    std::shared_ptr<FolderHostStore> store(FolderHostOptions options = {}) {
        if (!options.notice) options.notice = [this](const std::string& line) { notices.push_back(line); };
        return std::make_shared<FolderHostStore>(hostFolder(), std::move(options));
    }
    std::unique_ptr<SimulatedHost> open(ProcessRole role, FolderHostOptions options = {}) {
        return std::make_unique<SimulatedHost>(store(std::move(options)), role, clock);
    }
    void seed() { open(ProcessRole::tool)->admin().reset(HostFixture::laptopExternal); }

    testing::TemporaryFolder root{"corvelle-host-files"};
    dispatch::SystemClock clock;
    std::vector<std::string> notices;
};

TEST_F(HostFolderFilesTest, TheFolderIsMadeForTheUserAloneAndRefusedWhenOthersCanWriteInIt) {
    seed();
    EXPECT_EQ(modeOf(hostFolder()), 0700u);
    // So are the folders made on the way to it.
    const auto made = root.path() / "made";
    FolderHostStore{made / "on the way" / "host"};
    for (const auto& folder : {made, made / "on the way", made / "on the way" / "host"}) {
        EXPECT_EQ(modeOf(folder), 0700u) << folder;
    }
    const std::string name = "host folder " + hostFolder().string();
    for (const mode_t mode : {0777, 0770, 0722}) {
        ASSERT_EQ(::chmod(hostFolder().c_str(), mode), 0);
        char octal[8];
        std::snprintf(octal, sizeof octal, "%04o", static_cast<unsigned>(mode));
        EXPECT_EQ(errorOf([&] { store(); }),
                  name + " can be written by other users (mode " + octal + "): use a folder only you can write");
    }
    ASSERT_EQ(::chmod(hostFolder().c_str(), 0755), 0);
    EXPECT_NO_THROW(store());
    // A ".." leads to the folder above, which must be as much the user's own.
    const auto sticky = root.path() / "sticky";
    fs::create_directories(sticky / "mine");
    ASSERT_EQ(::chmod(sticky.c_str(), 01777), 0);
    EXPECT_EQ(errorOf([&] { FolderHostStore{sticky / "mine" / ".."}; }),
              "host folder " + (sticky / "mine" / "..").string() +
                  " can be written by other users (mode 1777): use a folder only you can write");
    // A link of the user's own to the folder is the user's choice.
    const auto link = root.path() / "link";
    fs::create_symlink(hostFolder(), link);
    EXPECT_NO_THROW(FolderHostStore{link});

    if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give a folder or a link to another user";
    ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
    EXPECT_EQ(errorOf([&] { FolderHostStore{link}; }),
              "host folder " + link.string() + " is reached through the link " + link.string() +
                  ", which belongs to another user (uid 65534): use a folder of your own");
    ASSERT_EQ(::chown(hostFolder().c_str(), 65534, 65534), 0);
    EXPECT_EQ(errorOf([&] { store(); }), name + " belongs to another user (uid 65534): use a folder of your own");
}

// Another user who could plant links there would have the host write where that user chose.
TEST_F(HostFolderFilesTest, NoFileOfTheFolderIsOpenedThroughALink) {
    seed();
    auto tool = open(ProcessRole::tool);
    const auto victim = root.path() / "victim.txt";
    writeFileAtomically(victim, "precious\n");
    const auto elsewhere = root.path() / "elsewhere";

    fs::remove(file(kActionLogFile));
    fs::create_symlink(victim, file(kActionLogFile));
    EXPECT_EQ(errorOf([&] { tool->admin().reset(HostFixture::laptop); }),
              "cannot open " + file(kActionLogFile).string() + ": not a regular file");
    EXPECT_EQ(errorOf([&] { tool->admin().unplug("external"); }),
              "cannot open " + file(kActionLogFile).string() + ": not a regular file");
    EXPECT_EQ(readFileIfPresent(victim), "precious\n");
    fs::remove(file(kActionLogFile));

    fs::remove(file(kLockFile));
    fs::create_symlink(elsewhere, file(kLockFile));
    EXPECT_EQ(errorOf([&] { tool->admin().state(); }),
              "cannot open " + file(kLockFile).string() + ": not a regular file");
    fs::remove(file(kLockFile));

    fs::create_symlink(elsewhere, hostFolder() / "events.jsonl.lock");
    EXPECT_EQ(errorOf([&] { tool->store().deliveredEvents().clear(); }),
              "cannot open " + (hostFolder() / "events.jsonl.lock").string() + ": not a regular file");
    EXPECT_FALSE(fs::exists(elsewhere));
    fs::remove(hostFolder() / "events.jsonl.lock");

    // Read through a link neither: the windows elsewhere are not this host's.
    fs::copy_file(file(kWindowsFile), elsewhere);
    fs::remove(file(kWindowsFile));
    fs::create_symlink(elsewhere, file(kWindowsFile));
    EXPECT_EQ(errorOf([&] { store()->transact([](HostData& data) { (void)data.windows(); }); }),
              "cannot read " + file(kWindowsFile).string() + ": not a regular file");
}

// A pipe nobody reads would hold whoever opens it for writing, with the host's lock held.
TEST_F(HostFolderFilesTest, APipeInAFilesPlaceIsRefusedAtOnce) {
    seed();
    auto tool = open(ProcessRole::tool);
    fs::remove(file(kActionLogFile));
    ASSERT_EQ(::mkfifo(file(kActionLogFile).c_str(), 0600), 0);
    EXPECT_EQ(errorOf([&] { tool->admin().unplug("external"); }),
              "cannot open " + file(kActionLogFile).string() + ": not a regular file");
    // A reader on the other end changes nothing.
    const int reader = ::open(file(kActionLogFile).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(errorOf([&] { tool->admin().unplug("external"); }),
              "cannot open " + file(kActionLogFile).string() + ": not a regular file");
    ::close(reader);
    EXPECT_EQ(tool->displays().onlineDisplayList(8).ids.size(), 2u);  // reading records nothing
    fs::remove(file(kActionLogFile));
    EXPECT_NO_THROW(tool->admin().unplug("external"));

    fs::remove(file(kLockFile));
    ASSERT_EQ(::mkfifo(file(kLockFile).c_str(), 0600), 0);
    EXPECT_EQ(errorOf([&] { tool->admin().state(); }),
              "cannot open " + file(kLockFile).string() + ": not a regular file");
    fs::remove(file(kLockFile));
    ASSERT_EQ(::mkfifo((hostFolder() / "events.jsonl.lock").c_str(), 0600), 0);
    EXPECT_EQ(errorOf([&] { tool->store().deliveredEvents().clear(); }),
              "cannot open " + (hostFolder() / "events.jsonl.lock").string() + ": not a regular file");
}

// What a power loss leaves of a file replaced without a flush is memory the host lost: it
// starts afresh, said once, and what the user keeps (the grant, the defaults) stays.
TEST_F(HostFolderFilesTest, AnEmptyOrUndecodableMemoryFileStartsAfreshAndTheStoresStay) {
    seed();
    {
        auto tool = open(ProcessRole::tool);
        tool->permissionsAdmin().set(Permission::accessibility, true);
        tool->systemAdmin().writeUserDefault("CVDebugHooks", true);
        tool->store().transact([](HostData& data) {
            WindowApplication application;
            application.pid = 4242;
            data.windows().applications.push_back(application);
        });
    }
    const auto seenWindows = readFolderPulse(hostFolder(), HostPulse{}).windowsGeneration;
    ::truncate(file(kWindowsFile).c_str(), 0);  // : > windows.json
    writeFileAtomically(file(kWorkspaceFile), "[1, 2, 3]\n");

    auto program = open(ProcessRole::application);
    program->store().transact([](HostData& data) {
        EXPECT_TRUE(data.windows().applications.empty());
        EXPECT_TRUE(data.workspace().applications.empty());
    });
    EXPECT_TRUE(program->permissionsAdmin().granted(Permission::accessibility));
    EXPECT_EQ(program->systemAdmin().userDefault("CVDebugHooks"), json::Json(true));
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0], "host memory lost: " + file(kWindowsFile).string() + ": the file is empty; it starts afresh");
    EXPECT_THAT(notices[1], ::testing::StartsWith("host memory lost: " + file(kWorkspaceFile).string() + ": "));
    // Written afresh, with a generation that watchers see as a change.
    const auto windows = WindowsState::fromJson(json::parse(*readFileIfPresent(file(kWindowsFile))));
    EXPECT_GT(windows.generation, seenWindows);
    program->store().transact([](HostData& data) { (void)data.windows(); });
    EXPECT_EQ(notices.size(), 2u) << "said once";
    std::vector<std::string> lost;
    for (const auto& entry : program->admin().actionLog()) {
        if (entry.action == "hostMemoryLost") lost.push_back(entry.summary());
    }
    EXPECT_THAT(lost, ::testing::ElementsAre("hostMemoryLost file=windows.json cause=the file is empty",
                                             ::testing::StartsWith("hostMemoryLost file=workspace.json cause=")));

    // No advice costs what is kept on disk: running out of simulated process ids needs only
    // the processes' own file gone.
    program->store().transact([](HostData& data) { data.processes().nextPID = std::numeric_limits<std::int32_t>::max(); });
    EXPECT_EQ(errorOf([&] { program->remoteAdmin().startProcess("helper", "/opt/helper"); }),
              "no simulated process ids left (remove processes.json from the host folder to start them afresh)");

    // The displays too: the machine starts as a missing folder does.
    ::truncate(file(kDisplaysFile).c_str(), 0);
    EXPECT_EQ(open(ProcessRole::tool)->displays().onlineDisplayList(8).ids.size(), 1u);
    EXPECT_TRUE(open(ProcessRole::tool)->permissionsAdmin().granted(Permission::accessibility));
}

// The action log outlives the displays' file whose counter numbers its lines: once that file
// is found empty, cut short or gone, the numbers go on after the log's last line, and no two
// lines share a number.
TEST_F(HostFolderFilesTest, TheActionLogsNumbersGoOnWhenTheDisplaysStartAfresh) {
    seed();
    const auto numbers = [&] {
        std::vector<std::uint64_t> seen;
        for (const auto& entry : open(ProcessRole::tool)->admin().actionLog()) seen.push_back(entry.seq);
        return seen;
    };
    open(ProcessRole::tool)->admin().unplug("external");
    ASSERT_THAT(numbers(), ::testing::ElementsAre(1, 2));

    ::truncate(file(kDisplaysFile).c_str(), 0);
    open(ProcessRole::tool)->admin().sleepDisplays();
    writeFileAtomically(file(kDisplaysFile), "{\"displays\": [");
    open(ProcessRole::tool)->admin().wakeDisplays();
    fs::remove(file(kDisplaysFile));
    open(ProcessRole::tool)->admin().sleepDisplays();

    // The call, then "hostMemoryLost" for a file found lost (a missing one is a new host).
    EXPECT_THAT(numbers(), ::testing::ElementsAre(1, 2, 3, 4, 5, 6, 7));
}

// The action log's last line damaged, cut short by a power loss or garbage: the numbers go on
// after the last entry that reads rather than from 1, and the next entry is a line of its own.
TEST_F(HostFolderFilesTest, TheActionLogsNumbersGoOnPastADamagedLastLine) {
    seed();
    open(ProcessRole::tool)->admin().unplug("external");
    const auto damage = [&](const std::string& text) {
        const int fd = ::open(file(kActionLogFile).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fd);
        fs::remove(file(kDisplaysFile));
    };
    damage("{\"seq\": 3, \"upt");
    open(ProcessRole::tool)->admin().sleepDisplays();
    damage("garbage\n");
    open(ProcessRole::tool)->admin().wakeDisplays();

    std::vector<std::uint64_t> numbers;
    std::istringstream lines(readFileIfPresent(file(kActionLogFile)).value_or(""));
    for (std::string line; std::getline(lines, line);) {
        if (line != "garbage") numbers.push_back(ActionEntry::fromJson(json::parse(line)).seq);
    }
    EXPECT_THAT(numbers, ::testing::ElementsAre(1, 2, 3, 4));
}

// One damaged file fails only the calls that need it: the display worker reads the displays
// and the fault rules, nothing else.
TEST_F(HostFolderFilesTest, AnAccessReadsOnlyTheFilesOfThePartsItUses) {
    seed();
    for (const char* name : {kPowerFile, kProcessesFile, kWorkspaceFile, kWindowsFile, kPermissionsFile, kInputFile,
                             kStatusBarFile, kDefaultsFile, kAppearanceFile, kNotificationsFile, kAnnouncementsFile,
                             kLaunchingFile}) {
        fs::remove(file(name));
        fs::create_directory(file(name));
    }
    auto writer = std::make_shared<RecordingWriter>();
    FolderHostOptions options;
    options.writer = writer;
    auto worker = open(ProcessRole::workerSnapshot, std::move(options));
    const auto ids = worker->displays().onlineDisplayList(8).ids;
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_TRUE(worker->displays().currentMode(ids[1]));
    EXPECT_EQ(worker->displays().bounds(ids[0]).width, 1512);
    EXPECT_TRUE(writer->written.empty());
    EXPECT_EQ(errorOf([&] { worker->store().transact([](HostData& data) { (void)data.appearance(); }); }),
              "cannot read " + file(kAppearanceFile).string() + ": not a regular file");
    EXPECT_EQ(errorOf([&] { worker->systemAdmin().announcements(); }),
              "cannot read " + file(kAnnouncementsFile).string() + ": not a regular file");
}

// A stopped process that holds a lock makes an access fail after about ten seconds, which
// outlast the holders of a busy machine: the bound is asked of the pauses, not measured.
TEST_F(HostFolderFilesTest, ALockHeldByAnotherProcessIsWaitedForAboutTenSeconds) {
    seed();
    for (const fs::path& lockFile : {file(kLockFile), hostFolder() / "events.jsonl.lock"}) {
        SCOPED_TRACE(lockFile.string());
        std::int64_t paused = 0;
        FolderHostOptions options;
        options.lockWait.pause = [&paused](std::int64_t microseconds) { paused += microseconds; };
        auto program = store(std::move(options));
        const int holder = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(::flock(holder, LOCK_EX), 0);
        const auto said = errorOf([&] {
            if (lockFile.filename() == kLockFile) {
                program->transact([](HostData& data) { (void)data.state(); });
            } else {
                program->deliveredEvents().clear();
            }
        });
        EXPECT_EQ(said, "cannot lock " + lockFile.string() + ": another process has held it for over 10 seconds");
        EXPECT_GE(paused, 10'000'000);
        EXPECT_LE(paused, 10'010'000);  // the last pause is at most 10 ms
        ::close(holder);
        paused = 0;
        EXPECT_NO_THROW(program->deliveredEvents().clear());
        EXPECT_EQ(paused, 0);
    }
}

// The main thread waits a second at most, and another process holding the lock for long
// costs it one wait, not one per access: until the lock is had again, the main thread tries
// once and fails at once, while the other threads still wait theirs.
TEST_F(HostFolderFilesTest, TheMainThreadWaitsOnceForALockHeldLong) {
    seed();
    std::int64_t paused = 0;
    bool onMain = true;
    FolderHostOptions options;
    options.lockWait.pause = [&paused](std::int64_t microseconds) { paused += microseconds; };
    options.mustNotWait = [&onMain] { return onMain; };
    auto program = store(std::move(options));
    const auto access = [&] {
        paused = 0;
        return errorOf([&] { program->transact([](HostData& data) { (void)data.state(); }); });
    };
    const std::string held = "cannot lock " + file(kLockFile).string() + ": another process has held it for over a second";
    const int holder = ::open(file(kLockFile).c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_EQ(access(), held);
    EXPECT_GE(paused, 1'000'000);
    EXPECT_LE(paused, 1'010'000);
    for (int again = 0; again < 3; ++again) {
        EXPECT_EQ(access(), held);
        EXPECT_EQ(paused, 0);
    }
    onMain = false;  // another thread still waits its ten seconds
    EXPECT_EQ(access(), "cannot lock " + file(kLockFile).string() + ": another process has held it for over 10 seconds");
    EXPECT_GE(paused, 10'000'000);
    onMain = true;
    EXPECT_EQ(access(), held);
    EXPECT_EQ(paused, 0);
    ::close(holder);
    onMain = true;
    EXPECT_EQ(access(), "(no error)");
    // Had again: a later hold is waited for once more.
    const int second = ::open(file(kLockFile).c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(second, LOCK_EX), 0);
    EXPECT_EQ(access(), held);
    EXPECT_GE(paused, 1'000'000);
    ::close(second);
}

// Another process holds the lock for seconds while a thread that may wait is waiting for
// it: the main thread's access still ends within its own second, as it fails, rather than
// waiting behind that thread; the waiting thread gets the lock once it is let go.
TEST_F(HostFolderFilesTest, AThreadWaitingForTheLockNeverHoldsUpTheMainThread) {
    seed();
    const auto mainThread = std::this_thread::get_id();
    std::atomic<bool> workerWaits = false;
    FolderHostOptions options;
    options.mustNotWait = [mainThread] { return std::this_thread::get_id() == mainThread; };
    options.lockWait.pause = [&](std::int64_t microseconds) {
        if (std::this_thread::get_id() != mainThread) workerWaits = true;
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
    };
    auto program = store(std::move(options));
    testing::HeldLock holder(file(kLockFile), 8);
    ASSERT_TRUE(holder.held());

    const auto access = [&] { return errorOf([&] { program->transact([](HostData& data) { (void)data.state(); }); }); };
    std::string workerSaid;
    std::thread worker([&] { workerSaid = access(); });
    while (!workerWaits) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto start = std::chrono::steady_clock::now();
    const auto said = access();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(said, "cannot lock " + file(kLockFile).string() + ": another process has held it for over a second");
    EXPECT_LT(took.count(), 3.0) << "the main thread waited behind the other thread's wait";

    holder.release();
    worker.join();
    EXPECT_EQ(workerSaid, "(no error)");
}

// A window event falls due while another process holds the host after a change of its own,
// and this process's watcher thread waits for the lock to read that change: the main queue's
// timer never waits behind that thread, and the event arrives once the host is let go.
TEST_F(HostFolderFilesTest, AWindowEventDueUnderAHeldLockNeverHoldsUpTheMainQueue) {
    seed();
    auto tool = open(ProcessRole::tool);
    dispatch::ManualMainQueue mainQueue;
    std::atomic<bool> watcherWaits = false;
    FolderHostOptions options;
    options.mustNotWait = [&mainQueue] { return mainQueue.isCurrent(); };
    options.lockWait.pause = [&](std::int64_t microseconds) {
        if (!mainQueue.isCurrent()) watcherWaits = true;
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
    };
    const auto events = std::make_shared<HostWindowEvents>(
        std::make_shared<HostSession>(store(std::move(options)), ProcessRole::application, clock), &mainQueue);
    const double due = clock.uptime() + 1;
    tool->store().transact([due](HostData& data) {
        auto& windows = data.windows();
        JournalEntry entry;
        entry.seq = windows.nextSeq++;
        entry.at = due;
        entry.name = "AXMoved";
        windows.journal.push_back(entry);
    });
    // The first handler's read, on this thread, sets the timer for the entry.
    std::vector<std::string> delivered;
    events->add([&](const JournalEntry& entry) { delivered.push_back(entry.name); });

    testing::HeldLock holder(file(kLockFile), 8);
    ASSERT_TRUE(holder.held());
    auto document = json::parse(*readFileIfPresent(file(kWindowsFile)));
    document["generation"] = document["generation"].get<std::uint64_t>() + 1;
    writeFileAtomically(file(kWindowsFile), document.dump());
    for (int waited = 0; !watcherWaits && waited < 5000; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(watcherWaits);
    // The event falls due within this; a main queue that waited behind the watcher thread
    // would come back only once the hold is over.
    mainQueue.runUntil([] { return false; }, 2.5);
    const int probe = ::open(file(kLockFile).c_str(), O_RDWR | O_CLOEXEC);
    EXPECT_NE(::flock(probe, LOCK_EX | LOCK_NB), 0) << "the main queue waited behind the watcher thread";
    ::close(probe);
    EXPECT_TRUE(delivered.empty());

    holder.release();
    EXPECT_TRUE(mainQueue.runUntil([&] { return !delivered.empty(); }, 15));
    mainQueue.runUntil([] { return false; }, HostCatchUp::firstDelaySeconds);
    EXPECT_EQ(delivered, std::vector<std::string>{"AXMoved"});
    events->end();
}

// The files that stand for a server's memory are renamed into place alone; the stores that
// outlive a restart and a test's set-up are flushed first.
TEST_F(HostFolderFilesTest, OnlyTheFilesThatOutliveARestartAreFlushed) {
    auto writer = std::make_shared<RecordingWriter>();
    FolderHostOptions options;
    options.writer = writer;
    auto host = open(ProcessRole::tool, std::move(options));
    host->admin().reset(HostFixture::laptop);
    host->store().transact([](HostData& data) {
        ++data.statusBar().generation;
        ++data.input().generation;
        ++data.notifications().generation;
    });
    const auto memory = Durability::renameOnly;
    const auto flushed = Durability::flushed;
    EXPECT_EQ(writer->written, (std::map<std::string, Durability>{{kDisplaysFile, memory},
                                                                   {kWindowsFile, memory},
                                                                   {kWorkspaceFile, memory},
                                                                   {kStatusBarFile, memory},
                                                                   {kInputFile, memory},
                                                                   {kPowerFile, memory},
                                                                   {kProcessesFile, memory},
                                                                   {kNotificationsFile, memory},
                                                                   {kFaultsFile, flushed},
                                                                   {kPermissionsFile, flushed},
                                                                   {kDefaultsFile, flushed},
                                                                   {kAppearanceFile, flushed},
                                                                   {kAnnouncementsFile, flushed},
                                                                   {kLaunchingFile, flushed}}));
}

// The file-size limit cuts the new text short after the temporary file exists.
TEST_F(HostFolderFilesTest, AWriteCutShortLeavesTheGoodHostFile) {
    seed();
    for (const char* name : {kWindowsFile, kDefaultsFile}) {
        SCOPED_TRACE(name);
        const auto before = readFileIfPresent(file(name));
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            auto host = store();
            const rlimit limit{8192, 8192};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
            const std::string large(100000, 'x');
            try {
                host->transact([&](HostData& data) {
                    if (std::string_view(name) == kWindowsFile) {
                        WindowRecord window;
                        window.number = 9;
                        window.title = large;
                        data.windows().windows.push_back(window);
                    } else {
                        data.defaults().values["large"] = large;
                    }
                });
            } catch (const HostError& error) {
                ::_exit(std::string(error.what()) == "cannot write " + file(name).string() + ": File too large" ? 0 : 2);
            }
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        EXPECT_EQ(readFileIfPresent(file(name)), before);
        for (const auto& entry : fs::directory_iterator(hostFolder())) {
            EXPECT_THAT(entry.path().filename().string(), ::testing::Not(HasSubstr(".tmp-")));
        }
    }
}

// One failed write of the input's file at launch does not leave the input without its owner
// for the whole run: the claim is made again once the host works.
TEST_F(HostFolderFilesTest, AClaimOfTheInputThatFailedIsMadeAgainOnceTheHostLetsIt) {
    seed();
    dispatch::SimulatedScheduler scheduler(100.0);
    auto writer = std::make_shared<RefusingWriter>();
    writer->refused = kInputFile;
    FolderHostOptions options;
    options.writer = writer;
    SimulatedHost program(store(std::move(options)), ProcessRole::application, scheduler, &scheduler.mainQueue());
    auto tool = open(ProcessRole::tool);
    EXPECT_FALSE(program.hostEvents().claimInputOwnership());
    scheduler.advanceBy(5);  // still refused, however often it is tried
    EXPECT_EQ(tool->inputAdmin().owner(), std::nullopt);
    writer->refused.clear();
    scheduler.advanceBy(HostCatchUp::longestDelaySeconds);
    EXPECT_EQ(tool->inputAdmin().owner(), program.process());
    // Taken once: later accesses leave the owner be.
    tool->store().transact([](HostData& data) { data.input().owner.reset(); });
    scheduler.advanceBy(5);
    program.displays().onlineDisplayList(8);
    scheduler.runUntilIdle();
    EXPECT_EQ(tool->inputAdmin().owner(), std::nullopt);
}

TEST_F(HostFolderFilesTest, EveryFileTheHostMakesFollowsTheUmask) {
    const mode_t previous = ::umask(002);
    seed();
    store()->transact([](HostData& data) { ++data.input().generation; });
    ::umask(previous);
    for (const char* name : {kDisplaysFile, kWindowsFile, kInputFile, kDefaultsFile, kActionLogFile, kLockFile}) {
        EXPECT_EQ(modeOf(file(name)), 0664u) << name;
    }
    ASSERT_EQ(::chmod(file(kWindowsFile).c_str(), 0600), 0);
    store()->transact([](HostData& data) { ++data.windows().generation; });
    EXPECT_EQ(modeOf(file(kWindowsFile)), 0600u) << "a mode the user set stays";
}

}  // namespace
}  // namespace dorvane::host
