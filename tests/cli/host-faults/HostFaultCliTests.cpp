#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/cli/corvelle/ApplicationHarness.h"
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

    // Starts the program with automatic fitting and connects a session: fitted, toolbar up.
    void fitted() {
        fs::create_directories(support);
        writeFileAtomically(support / "preferences.json",
                            R"({"autoResolutionEnabled":true,"autoResolutionPresetID":"factory:phoneRecommended"})");
        before = layout();
        start();
        ASSERT_TRUE(ready()) << program->err();
        ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
        ASSERT_TRUE(testing::eventually([&] { return item().value("tooltip", "") == "Corvelle · 已应用 · 1294×720"; }))
            << program->err();
        ASSERT_TRUE(testing::eventually([&] { return item()["menu"][0]["checked"] == true; }));
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
// let the program go on; once the file is good again, the session's end restores.
TEST_P(HostFileDamageCliTest, TheProgramOutlivesADamagedHostFileAndRecovers) {
    const auto& fault = GetParam();
    fitted();
    if (HasFatalFailure()) return;
    damage(fault.file, fault.damage);
    if (HasFatalFailure()) return;

    EXPECT_FALSE(program->waitForExit(10)) << program->err();
    repair(fault.file);
    if (HasFatalFailure()) return;
    ASSERT_EQ(host({"remote", "disconnect", "uu"}).status, 0);
    // The layout is back once the restore has checked it (its mode reassertion goes on for a
    // while; an orderly quit is another test's).
    EXPECT_TRUE(engineLogged("restore_layout saved=")) << program->err();
    EXPECT_EQ(layout(), before);
    EXPECT_FALSE(program->waitForExit(0)) << program->err();
    EXPECT_THAT(program->err(), ::testing::Not(::testing::HasSubstr("terminate called")));
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

// Quitting while a host file is damaged: the restore cannot run, so the quit is refused
// and the program stays; once the file is back, the next quit restores and ends.
TEST_F(HostFaultCliTest, AQuitWhileAHostFileIsDamagedWaitsForTheNextOne) {
    fitted();
    if (HasFatalFailure()) return;
    damage("faults.json", Damage::truncated);  // every call reads the fault rules
    if (HasFatalFailure()) return;
    program->signal(SIGTERM);
    // The refused quit is over well within this; the program is still there.
    EXPECT_FALSE(program->waitForExit(5)) << program->err();
    repair("faults.json");
    if (HasFatalFailure()) return;
    program->signal(SIGTERM);
    EXPECT_EQ(program->waitForExit(60), 0) << program->err();
    EXPECT_EQ(layout(), before);
}

// The record of the layout before the fit, damaged while fitted: the restore still puts the
// displays back (from the record this run wrote), the user is told where the damaged file
// went, and a quit is never refused for it.
TEST_F(HostFaultCliTest, ADamagedSessionRecordNeitherTrapsTheUserNorKeepsTheVirtualDisplay) {
    fitted();
    if (HasFatalFailure()) return;
    writeFileAtomically(support / "session.json", "[{\"id\":");
    EXPECT_EQ(host({"statusbar", "click", "还原本机分辨率"}).status, 0);
    EXPECT_TRUE(engineLogged("restored seconds=")) << program->err();
    EXPECT_EQ(layout(), before);
    EXPECT_TRUE(engineLogged("session_file_invalid moved=session.invalid-"));
    EXPECT_TRUE(testing::eventually([&] {
        const auto spoken = host({"announcements"}).out;
        return spoken.find("屏幕记录已损坏") != std::string::npos && spoken.find("并按当前屏幕还原。") != std::string::npos;
    })) << host({"announcements"}).out;

    // Fitted again, then a pipe where the record belongs, then the quit.
    ASSERT_EQ(host({"remote", "disconnect", "uu"}).status, 0);
    ASSERT_TRUE(engineLogged("remote_signal disconnected"));
    ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
    ASSERT_TRUE(testing::eventually([&] {
        const auto log = readFileIfPresent(support / "Dorvane.log").value_or("");
        const auto fitted = log.find("automatic_apply_result success");
        return fitted != std::string::npos && log.find("automatic_apply_result success", fitted + 1) != std::string::npos;
    })) << program->err();
    fs::remove(support / "session.json");
    ASSERT_EQ(::mkfifo((support / "session.json").c_str(), 0600), 0);
    program->signal(SIGTERM);
    EXPECT_EQ(program->waitForExit(60), 0) << program->err();
    EXPECT_EQ(layout(), before);
    int setAside = 0;
    for (const auto& entry : fs::directory_iterator(support)) {
        if (entry.path().filename().string().starts_with("session.invalid-")) ++setAside;
    }
    EXPECT_EQ(setAside, 2);
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
    EXPECT_EQ(host({"statusbar", "show"}).out, "No status item.\n");
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
