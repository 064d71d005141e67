#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Core/FailureText.h"
#include "tests/cli/corvelle/ApplicationHarness.h"
#include "tests/Support/HeldLock.h"
#include "tests/Support/ImmutableFolder.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;
using testing::setImmutable;

// How a host file is damaged while the program runs, as a crash, a full disk or a careless
// hand leaves it.
enum class Damage { truncated, wrongType, folder, pipe };

const char* damageName(Damage damage) {
    switch (damage) {
        case Damage::truncated: return "truncated";
        case Damage::wrongType: return "wrongType";
        case Damage::folder: return "folder";
        case Damage::pipe: return "pipe";
    }
    return "";
}

struct HostFault {
    std::string file;
    Damage damage;
};

// Names the case in test listings, rather than its bytes.
void PrintTo(const HostFault& fault, std::ostream* out) { *out << fault.file << " " << damageName(fault.damage); }

std::string faultName(const ::testing::TestParamInfo<HostFault>& info) {
    std::string name = info.param.file.substr(0, info.param.file.find('.'));
    return name + "_" + damageName(info.param.damage);
}

// A fitted session with the toolbar up, on a fresh host, whose files are then damaged.
class HostFaultCliTest : public ApplicationCliTest {
protected:
    fs::path hostFile(const std::string& name) const { return root / "host" / name; }

    // The displays without the counters that change with every call.
    json::Json layout() {
        json::Json displays = json::Json::array();
        const auto shown = json::parse(host({"show", "--json"}).out);
        for (const auto& display : shown["displays"]) {
            displays.push_back({display["name"], display["main"], display["x"], display["y"], display["mode"],
                                display["mirror"]});
        }
        return displays;
    }

    bool engineLogged(const std::string& prefix) {
        return testing::eventually([&] {
            return readFileIfPresent(support / "Dorvane.log").value_or("").find(" " + prefix) != std::string::npos;
        });
    }
    // The details of every engine-log line of `event`, in order.
    // The engine log's account of the last failure a person was shown ("<shown> cause=<the
    // developer's text>"), "" before any.
    std::string lastErrorDetail() {
        const auto lines = engineLines("error_detail");
        return lines.empty() ? std::string() : lines.back();
    }
    std::vector<std::string> engineLines(const std::string& event) {
        std::vector<std::string> found;
        std::istringstream text(readFileIfPresent(support / "Dorvane.log").value_or(""));
        for (std::string line; std::getline(text, line);) {
            const auto at = line.find(" " + event + " ");
            if (at != std::string::npos) found.push_back(line.substr(at + event.size() + 2));
        }
        return found;
    }
    std::size_t operationLines(const std::string& part) {
        std::size_t found = 0;
        std::istringstream text(readFileIfPresent(support / "Operations.log").value_or(""));
        for (std::string line; std::getline(text, line);) found += line.find(part) != std::string::npos ? 1 : 0;
        return found;
    }

    // Starts the program with automatic fitting and connects a session: fitted, toolbar up.
    // The toolbar offers shortcuts for the editor, so it watches the other applications'
    // windows.
    void fitted() {
        fs::create_directories(support);
        writeFileAtomically(support / "preferences.json",
                            R"({"autoResolutionEnabled":true,"autoResolutionPresetID":"factory:phoneRecommended",)"
                            R"("applicationShortcutsEnabled":true,"applicationShortcuts":[{"bundleID":)"
                            R"("com.example.editor","name":"编辑器","path":"/Applications/Editor.app","shortcuts":)"
                            R"([{"id":"save","name":"保存","key":{"code":1,"modifiers":1048576,"label":"S"}}]}]})");
        // The window commands' debug hook listens, to distributed notifications.
        ASSERT_EQ(host({"defaults", "write", "CVDebugHooks", "true"}).status, 0);
        before = layout();
        start();
        ASSERT_TRUE(ready()) << program->err();
        connected();
    }
    void connected() {
        ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
        ASSERT_TRUE(testing::eventually([&] { return tooltip() == "Corvelle · 已应用 · 1294×720"; })) << program->err();
        ASSERT_TRUE(testing::eventually([&] { return item()["menu"][0]["checked"] == true; }));
    }

    std::string tooltip() {
        const auto shown = item();
        return shown.is_object() ? shown.value("tooltip", "") : "";
    }

    // How a quit that was asked for came out.
    enum class Quit { ended, refused, neither };

    // Asks for a quit (the terminate signal) and waits for what it came to: the program
    // ended, or refused with one more "quit_refused" line in the engine log.
    Quit askToQuit() {
        const auto refusals = engineLines("quit_refused").size();
        program->signal(SIGTERM);
        Quit outcome = Quit::neither;
        testing::eventually(
            [&] {
                if (program->waitForExit(0)) outcome = Quit::ended;
                if (engineLines("quit_refused").size() > refusals) outcome = Quit::refused;
                return outcome != Quit::neither;
            },
            60);
        return outcome;
    }

    // A quit asked for while `file` is damaged: either it ends the program at once (the
    // restore did not need the file), or it is refused and the engine log's account of the
    // failure shown names the file;
    // asked for again, it then ends the program, keeping session.json for the next start.
    // Answers whether it was refused.
    bool quitAskedTwiceEnds(const std::string& file) {
        const Quit first = askToQuit();
        EXPECT_NE(first, Quit::neither) << program->err();
        if (first == Quit::refused) {
            EXPECT_NE(lastErrorDetail().find(file), std::string::npos) << lastErrorDetail();
            EXPECT_FALSE(program->waitForExit(0));
            EXPECT_EQ(askToQuit(), Quit::ended) << program->err();
            EXPECT_EQ(engineLines("quit_without_restore").size(), 1u);
        }
        EXPECT_EQ(program->waitForExit(60), 0) << program->err();
        return first == Quit::refused;
    }

    // What the program does with the host, done again once a damaged file is back: the
    // status item's menu, the toolbar's watch of the other applications' windows, the
    // input through the program's taps, and the remote session's end and start with the
    // restore and the fit they bring.
    void servesItAll() {
        EXPECT_EQ(host({"statusbar", "click", "显示工具条"}).status, 0);
        EXPECT_TRUE(testing::eventually([&] { return item()["menu"][0]["checked"] == false; })) << program->err();
        EXPECT_EQ(host({"statusbar", "click", "显示工具条"}).status, 0);
        EXPECT_TRUE(testing::eventually([&] { return item()["menu"][0]["checked"] == true; })) << program->err();

        const auto targets = operationLines(" application-shortcut-target ");
        const auto added = host({"windows", "add-app", "编辑器", "--bundle-id", "com.example.editor"});
        ASSERT_EQ(added.status, 0) << added.err;
        const std::string pid = added.out.substr(0, added.out.find('\n'));
        ASSERT_EQ(host({"windows", "add", pid, "--title", "文稿"}).status, 0);
        EXPECT_TRUE(testing::eventually([&] {
            return operationLines(" application-shortcut-target ") > targets &&
                   operationLines(" next=" + pid) > 0;
        })) << program->err();

        EXPECT_EQ(host({"input", "move", "10,500"}).out, "The program handled 1 event.\n");

        // A distributed notification reaches the program, which reads the permissions anew.
        ASSERT_EQ(host({"permission", "grant", "accessibility"}).status, 0);
        ASSERT_EQ(host({"notify", "com.corvelle.debug.window", "--object", "control:zoom"}).status, 0);
        EXPECT_TRUE(testing::eventually([&] {
            return operationLines("debug-hook command=control:zoom trusted=true") > 0;
        })) << program->err();

        const auto restored = engineLines("restore_layout").size();
        ASSERT_EQ(host({"remote", "disconnect", "uu"}).status, 0);
        EXPECT_TRUE(testing::eventually([&] { return engineLines("restore_layout").size() > restored; }))
            << program->err();
        EXPECT_EQ(layout(), before);
        connected();
    }

    // Holds the host's lock, as every process that changes the host does, so that no
    // transaction under way writes its own copy over the swap.
    class HostLock {
    public:
        explicit HostLock(const fs::path& folder) : fd_(::open((folder / "host.lock").c_str(), O_RDWR | O_CLOEXEC)) {
            if (fd_ >= 0) ::flock(fd_, LOCK_EX);
        }
        HostLock(const HostLock&) = delete;
        HostLock& operator=(const HostLock&) = delete;
        ~HostLock() {
            if (fd_ >= 0) ::close(fd_);
        }

    private:
        int fd_;
    };

    // Holds the host's lock from now on for `seconds`, as a process on a busy machine may;
    // the caller joins the thread that lets it go.
    std::thread holdHostLockFor(std::chrono::seconds seconds) {
        auto lock = std::make_shared<HostLock>(root / "host");
        return std::thread([lock, seconds]() mutable {
            std::this_thread::sleep_for(seconds);
            lock.reset();
        });
    }

    // Swaps the damaged thing in under the file's name in one step, so that the program
    // never sees the name missing (and never writes a fresh file in between).
    void damage(const std::string& name, Damage how) {
        const HostLock lock(root / "host");
        const fs::path target = hostFile(name);
        saved = readFileIfPresent(target).value_or("");
        const fs::path swap = root / ("damaged-" + name);
        switch (how) {
            case Damage::truncated:
                writeFileAtomically(swap, saved.substr(0, 10));
                break;
            case Damage::wrongType:
                writeFileAtomically(swap, "[1, 2, 3]\n");
                break;
            case Damage::folder:
                fs::create_directory(swap);
                break;
            case Damage::pipe:
                ASSERT_EQ(::mkfifo(swap.c_str(), 0600), 0);
                break;
        }
        // The swap lies beside the host folder, on the same file system.
        ASSERT_EQ(::renameat2(AT_FDCWD, swap.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE), 0)
            << std::strerror(errno);
        fs::remove_all(swap);
    }

    // Puts the file back as it was before the damage.
    void repair(const std::string& name) {
        const HostLock lock(root / "host");
        const fs::path target = hostFile(name);
        const fs::path good = root / ("repaired-" + name);
        writeFileAtomically(good, saved);
        ASSERT_EQ(::renameat2(AT_FDCWD, good.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE), 0)
            << std::strerror(errno);
        fs::remove_all(good);
    }

    json::Json before;
    std::string saved;
};

class HostFileDamageCliTest : public HostFaultCliTest, public ::testing::WithParamInterface<HostFault> {};

// Every timer, observer and task that met the damaged file failed its own operation and
// let the program go on. A quit meanwhile either ends the program or is refused, saying
// why in the engine log; once the file is good again, everything it serves works again;
// damaged again, a quit asked for twice ends the program, and the next start restores.
TEST_P(HostFileDamageCliTest, TheProgramOutlivesADamagedHostFileServesItAgainAndAQuitAskedTwiceEnds) {
    const auto& fault = GetParam();
    fitted();
    if (HasFatalFailure()) return;
    damage(fault.file, fault.damage);
    if (HasFatalFailure()) return;

    // The quit needs the host: it is how the program is made to meet the damage, and it
    // cannot wait for it for good.
    const Quit first = askToQuit();
    ASSERT_NE(first, Quit::neither) << program->err();
    if (first == Quit::ended) {
        // The restore did not need the damaged file: the displays are back.
        EXPECT_EQ(program->waitForExit(0), 0) << program->err();
        repair(fault.file);
        EXPECT_EQ(layout(), before);
        return;
    }
    // The person reads why in Chinese; the engine log keeps the host's own account.
    EXPECT_NE(lastErrorDetail().find(fault.file), std::string::npos) << lastErrorDetail();
    EXPECT_TRUE(lastErrorDetail().starts_with(engineLines("quit_refused").back() + " cause="))
        << engineLines("quit_refused").back();
    repair(fault.file);
    if (HasFatalFailure()) return;
    servesItAll();
    if (HasFatalFailure()) return;

    damage(fault.file, fault.damage);
    if (HasFatalFailure()) return;
    const bool refused = quitAskedTwiceEnds(fault.file);
    EXPECT_THAT(program->err(), ::testing::Not(::testing::HasSubstr("terminate called")));
    repair(fault.file);
    if (HasFatalFailure()) return;
    if (refused) {
        // Ended without restoring: the next start restores from the record kept.
        ASSERT_TRUE(fs::exists(support / "session.json"));
        ASSERT_EQ(host({"remote", "disconnect", "uu"}).status, 0);
        start();
        ASSERT_TRUE(ready()) << program->err();
        EXPECT_FALSE(fs::exists(support / "session.json"));
        EXPECT_EQ(askToQuit(), Quit::ended);
    }
    EXPECT_EQ(layout(), before);
}

// The files the program reads most at full depth; every other host file once, each with
// another kind of damage.
INSTANTIATE_TEST_SUITE_P(
    HostFiles, HostFileDamageCliTest,
    ::testing::Values(HostFault{"windows.json", Damage::truncated}, HostFault{"windows.json", Damage::wrongType},
                      HostFault{"windows.json", Damage::folder}, HostFault{"windows.json", Damage::pipe},
                      HostFault{"displays.json", Damage::truncated}, HostFault{"displays.json", Damage::wrongType},
                      HostFault{"displays.json", Damage::folder}, HostFault{"displays.json", Damage::pipe},
                      HostFault{"faults.json", Damage::truncated}, HostFault{"power.json", Damage::wrongType},
                      HostFault{"processes.json", Damage::folder}, HostFault{"workspace.json", Damage::pipe},
                      HostFault{"permissions.json", Damage::truncated}, HostFault{"input.json", Damage::wrongType},
                      HostFault{"statusbar.json", Damage::folder}, HostFault{"defaults.json", Damage::pipe},
                      HostFault{"appearance.json", Damage::truncated},
                      HostFault{"notifications.json", Damage::wrongType},
                      HostFault{"launching.json", Damage::folder}),
    faultName);

// Quitting while a host file is damaged: the restore cannot run, so the quit is refused and
// the program stays, saying why in the engine log; once the file is back and the displays
// have come back, the next quit restores and ends.
TEST_F(HostFaultCliTest, AQuitWhileAHostFileIsDamagedWaitsForTheNextOne) {
    fitted();
    if (HasFatalFailure()) return;
    damage("faults.json", Damage::truncated);  // every call reads the fault rules
    if (HasFatalFailure()) return;
    ASSERT_EQ(askToQuit(), Quit::refused) << program->err();
    EXPECT_NE(lastErrorDetail().find("faults.json"), std::string::npos);
    EXPECT_FALSE(program->waitForExit(0));
    repair("faults.json");
    if (HasFatalFailure()) return;
    EXPECT_EQ(host({"statusbar", "click", "还原本机分辨率"}).status, 0);
    ASSERT_TRUE(engineLogged("restored seconds=")) << program->err();
    EXPECT_EQ(askToQuit(), Quit::ended);
    EXPECT_EQ(program->waitForExit(0), 0) << program->err();
    EXPECT_TRUE(engineLines("quit_without_restore").empty());
    EXPECT_EQ(layout(), before);
}

// Another process holds the host's lock for seconds when the quit is asked for, as on a
// machine loaded far beyond its cores: the restore waits it out and the quit ends with the
// displays back.
TEST_F(HostFaultCliTest, AQuitThatMeetsTheHostsLockHeldForSecondsRestoresAndEnds) {
    fitted();
    if (HasFatalFailure()) return;
    std::thread holder = holdHostLockFor(std::chrono::seconds(6));
    const Quit quit = askToQuit();
    holder.join();
    EXPECT_EQ(quit, Quit::ended) << program->err();
    EXPECT_EQ(program->waitForExit(0), 0) << program->err();
    EXPECT_TRUE(engineLines("quit_refused").empty());
    EXPECT_TRUE(engineLines("quit_without_restore").empty());
    EXPECT_FALSE(fs::exists(support / "session.json"));
    EXPECT_EQ(layout(), before);
}

// Another process holds the host's lock when the program starts, as on a machine loaded far
// beyond its cores: the start waits for it as the command-line modes do and goes on once it
// is free. A lock still held after that wait is said in one line, and the start ends with
// status 1.
TEST_F(HostFaultCliTest, AStartWaitsForTheHostsLockHeldForSecondsAndSaysSoWhenItStaysHeld) {
    {
        testing::HeldLock holder(hostFile("host.lock"), 3);
        ASSERT_TRUE(holder.held());
        start();
        ASSERT_TRUE(ready()) << program->err();
    }
    EXPECT_FALSE(program->waitForExit(0)) << program->err();
    EXPECT_EQ(askToQuit(), Quit::ended) << program->err();
    EXPECT_EQ(program->waitForExit(10), 0);

    testing::HeldLock holder(hostFile("host.lock"), 40);
    const auto run = corvelle({});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Corvelle 未能启动：另一个程序占用主机（" + hostFile("host.lock").string() +
                           "）已超过 10 秒，请稍后再试。\n");
    // The check says so in the person's words too: a busy host is not one without virtual displays.
    const auto check = corvelle({"--check"});
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.err, std::string(kBusyText) + "\n");
    EXPECT_NE(lastErrorDetail().find("another process has held it for over 10 seconds"), std::string::npos)
        << lastErrorDetail();
}

// A lock held for longer than every try of the restore (a stopped process holds it): the
// quit is refused, saying in the person's words that the system is busy; once it is let
// go, the quit asked for again restores and ends.
TEST_F(HostFaultCliTest, AQuitRefusedForTheHostsLockHeldLongSaysTheSystemIsBusy) {
    fitted();
    if (HasFatalFailure()) return;
    testing::HeldLock holder(hostFile("host.lock"), 90);
    ASSERT_TRUE(holder.held());
    ASSERT_EQ(askToQuit(), Quit::refused) << program->err();
    holder.release();
    EXPECT_EQ(engineLines("quit_refused").back(), kBusyText);
    EXPECT_NE(lastErrorDetail().find("another process has held it for over 10 seconds"), std::string::npos)
        << lastErrorDetail();
    EXPECT_EQ(askToQuit(), Quit::ended) << program->err();
    EXPECT_EQ(program->waitForExit(10), 0) << program->err();
    EXPECT_TRUE(engineLines("quit_without_restore").empty());
    EXPECT_EQ(layout(), before);
}

// A refused quit leaves the program as it was: its menu and its input answer. The quit
// asked for again tries the restore once more, which works now that the file is good (even
// with the lock held for a while), and ends with the displays back.
TEST_F(HostFaultCliTest, ARefusedQuitLeavesTheProgramUsableAndTheQuitAskedAgainRestores) {
    fitted();
    if (HasFatalFailure()) return;
    damage("faults.json", Damage::truncated);
    if (HasFatalFailure()) return;
    ASSERT_EQ(askToQuit(), Quit::refused) << program->err();
    repair("faults.json");
    if (HasFatalFailure()) return;
    EXPECT_EQ(host({"statusbar", "click", "显示工具条"}).status, 0);
    EXPECT_TRUE(testing::eventually([&] { return item()["menu"][0]["checked"] == false; })) << program->err();
    EXPECT_EQ(host({"statusbar", "click", "显示工具条"}).status, 0);
    EXPECT_TRUE(testing::eventually([&] { return item()["menu"][0]["checked"] == true; })) << program->err();
    EXPECT_EQ(host({"input", "move", "10,500"}).out, "The program handled 1 event.\n");
    ASSERT_TRUE(fs::exists(support / "session.json"));

    std::thread holder = holdHostLockFor(std::chrono::seconds(3));
    const Quit again = askToQuit();
    holder.join();
    EXPECT_EQ(again, Quit::ended) << program->err();
    EXPECT_EQ(program->waitForExit(0), 0) << program->err();
    EXPECT_TRUE(engineLines("quit_without_restore").empty());
    EXPECT_EQ(engineLines("quit_refused").size(), 1u);
    EXPECT_FALSE(fs::exists(support / "session.json"));
    EXPECT_EQ(layout(), before);
}

// A session record that exists but cannot be read (an I/O error: root reads a file of mode
// 000, so the record is a link to what no one can read) traps nobody: the start-up check
// and the refused quit say why in the engine log, the quit asked for again ends the
// program and leaves the record, and once it reads again the next start restores from it.
TEST_F(HostFaultCliTest, AnUnreadableSessionRecordIsLoggedAndTheQuitAskedTwiceEnds) {
    fitted();
    if (HasFatalFailure()) return;
    const auto record = readFileIfPresent(support / "session.json").value();
    fs::rename(support / "session.json", root / "session.json");
    // Reading a process's memory at offset 0 fails with EIO.
    fs::create_symlink("/proc/self/mem", support / "session.json");

    ASSERT_EQ(askToQuit(), Quit::refused) << program->err();
    const auto cause = engineLines("quit_refused").back();
    EXPECT_EQ(cause, "无法读取 session.json：读写出错。");
    EXPECT_NE(lastErrorDetail().find("session.json: Input/output error"), std::string::npos) << lastErrorDetail();
    EXPECT_EQ(askToQuit(), Quit::ended) << program->err();
    EXPECT_EQ(program->waitForExit(0), 0);
    EXPECT_EQ(engineLines("quit_without_restore"), std::vector<std::string>{"session_kept=true cause=" + cause});
    EXPECT_TRUE(fs::is_symlink(support / "session.json"));

    // Still unreadable at the next start: the check says why, and the quit still ends.
    start();
    ASSERT_TRUE(testing::eventually([&] { return tooltip() == "Corvelle · 待还原屏幕"; })) << program->err();
    EXPECT_NE(engineLines("check_failed").back().find("Input/output error"), std::string::npos);
    EXPECT_EQ(askToQuit(), Quit::refused);
    EXPECT_EQ(askToQuit(), Quit::ended);

    fs::remove(support / "session.json");
    fs::rename(root / "session.json", support / "session.json");
    EXPECT_EQ(readFileIfPresent(support / "session.json"), record);
    ASSERT_EQ(host({"remote", "disconnect", "uu"}).status, 0);
    start();
    ASSERT_TRUE(ready()) << program->err();
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(askToQuit(), Quit::ended);
    EXPECT_EQ(program->waitForExit(0), 0);
}

// A named pipe where the operations log belongs, read by nobody: lines are skipped with one
// line on standard error, and the quit does not wait for a reader.
TEST_F(HostFaultCliTest, AnOperationsLogThatIsANamedPipeIsSkippedAndTheQuitEnds) {
    fs::create_directories(support);
    ASSERT_EQ(::mkfifo((support / "Operations.log").c_str(), 0600), 0);
    fitted();  // the toolbar's expansion writes an operations line
    if (HasFatalFailure()) return;
    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0) << program->err();
    expectNoStatusItem();
    const std::string said = "Operations.log is not a regular file; its log lines are skipped";
    const auto err = program->err();
    EXPECT_NE(err.find(said), std::string::npos) << err;
    EXPECT_EQ(err.find(said), err.rfind(said)) << "said once";
}

// A host the program cannot use is said at start, in one line that names the file (or the
// folder) and the cause, and the program ends with status 1.
TEST_F(HostFaultCliTest, AnUnusableHostAtStartIsOneLineAndStatusOne) {
    struct Case {
        std::string file;
        std::function<void(const fs::path&)> spoil;
        std::string said;
    };
    const std::vector<Case> cases{
        {"defaults.json", [](const fs::path& file) { writeFileAtomically(file, "{\"format"); }, "malformed JSON"},
        {"displays.json",
         [](const fs::path& file) {
             fs::remove(file);
             fs::create_directory(file);
         },
         "not a regular file"},
        {"input.json",
         [](const fs::path& file) {
             fs::remove(file);
             ::mkfifo(file.c_str(), 0600);
         },
         "not a regular file"},
        {"power.json",
         [](const fs::path& file) {
             fs::remove(file);
             fs::create_symlink("/dev/zero", file);
         },
         "not a regular file"},
        {"permissions.json",
         [](const fs::path& file) { writeFileAtomically(file, std::string(100000, '[') + std::string(100000, ']')); },
         "nested deeper"},
        // A file kept on disk on purpose: the advice costs nothing but that file. (An empty
        // file of the host's memory is memory lost, which starts afresh.)
        {"launching.json", [](const fs::path& file) { writeFileAtomically(file, ""); },
         "the file is empty (remove that file to start it afresh)"},
    };
    for (const auto& fault : cases) {
        SCOPED_TRACE(fault.file + ": " + fault.said);
        ASSERT_EQ(host({"init", "--fixture", "laptop"}).status, 0);
        fault.spoil(hostFile(fault.file));
        const auto run = corvelle({});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_THAT(run.err, ::testing::HasSubstr(hostFile(fault.file).string()));
        EXPECT_THAT(run.err, ::testing::HasSubstr(fault.said));
        fs::remove_all(hostFile(fault.file));  // a folder or a pipe is no file for the next init
    }

    ASSERT_EQ(host({"init", "--fixture", "laptop"}).status, 0);
    if (!setImmutable(root / "host", true)) GTEST_SKIP() << "no immutable folders on this file system";
    const auto readOnly = corvelle({});
    setImmutable(root / "host", false);
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_EQ(readOnly.err, "Corvelle: cannot write in host folder " + (root / "host").string() +
                                ": Operation not permitted\n");
}

}  // namespace
}  // namespace dorvane
