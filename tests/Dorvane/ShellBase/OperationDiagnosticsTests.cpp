#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "Dorvane/Engine/EngineLog.h"
#include "Dorvane/Shell/AppUpdater.h"
#include "Dorvane/Shell/LastResort.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

fs::path temporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "corvelle-oplog-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

class OperationDiagnosticsTest : public ::testing::Test {
protected:
    ~OperationDiagnosticsTest() override { fs::remove_all(folder); }

    std::string text() { return readFileIfPresent(file).value_or("<missing>"); }

    fs::path folder = temporaryFolder();
    fs::path file = folder / OperationDiagnostics::fileName;
    // 2025-01-01T00:00:00Z plus a quarter second.
    dispatch::SimulatedScheduler clock{0, dispatch::SimulatedScheduler::defaultStartWallTime() +
                                              std::chrono::milliseconds(250)};
    dispatch::SerialQueue queue{OperationDiagnostics::queueRole};
    OperationDiagnostics log{file, clock, queue};
};

TEST_F(OperationDiagnosticsTest, OneLinePerCallWithSecondsSince1970) {
    log.append("layout-placed pid=42");
    log.append("shortcut-relay-failed error=第一行\n第二行\r\n");
    log.flush();
    EXPECT_EQ(text(),
              "1735689600.25 layout-placed pid=42\n"
              "1735689600.25 shortcut-relay-failed error=第一行\\n第二行\\n\n");
    EXPECT_EQ(OperationDiagnostics::line(12, "x"), "12.0 x\n");
}

TEST_F(OperationDiagnosticsTest, EmptiedOnlyOncePastTheLimit) {
    const std::string line = OperationDiagnostics::line(1735689600.25, "next");
    for (const std::uintmax_t size : {OperationDiagnostics::sizeLimit, OperationDiagnostics::sizeLimit + 1}) {
        writeFileAtomically(file, std::string(size, 'x'));
        log.append("next");
        log.flush();
        if (size == OperationDiagnostics::sizeLimit) {
            EXPECT_EQ(fs::file_size(file), size + line.size());
        } else {
            EXPECT_EQ(text(), line);
        }
    }
}

TEST_F(OperationDiagnosticsTest, MissingFolderLosesLinesSilentlyAndOrderHoldsAcrossThreads) {
    OperationDiagnostics nowhere(folder / "missing" / OperationDiagnostics::fileName, clock, queue);
    nowhere.append("lost");
    nowhere.flush();
    EXPECT_FALSE(fs::exists(folder / "missing"));

    std::thread other([&] { log.append("first"); });
    other.join();
    log.append("second");
    log.flush();
    EXPECT_EQ(text(), "1735689600.25 first\n1735689600.25 second\n");
}

TEST_F(OperationDiagnosticsTest, ANamedPipeOrAFolderInTheLogsPlaceIsSkippedNeverWaitedOn) {
    // No reader ever opens the pipe: a blocking open would wait for one for ever.
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(OperationDiagnostics::appendLine(file, "1.0 lost\n"), LogWrite::notRegularFile);
    log.append("lost too");
    log.flush();  // returns: the queue did not block on the pipe
    EXPECT_TRUE(fs::is_fifo(file));

    fs::remove(file);
    fs::create_directory(file);
    EXPECT_EQ(OperationDiagnostics::appendLine(file, "1.0 lost\n"), LogWrite::notRegularFile);
    fs::remove(file);
    EXPECT_EQ(OperationDiagnostics::appendLine(file, "1.0 kept\n"), LogWrite::written);
    EXPECT_EQ(text(), "1.0 kept\n");
}

// The program's last resort keeps a failure nothing handled visible, in the engine log and
// on standard error, and lets the program go on.
TEST(LastResort, AFailureNothingHandledIsOneEngineLogLineAndOneErrorLine) {
    const fs::path root = temporaryFolder();
    dispatch::SimulatedScheduler clock;
    std::ostringstream errors;
    const auto handler = lastResortHandler(root, clock, errors);
    handler("local.Dorvane.engine", std::make_exception_ptr(std::runtime_error("cannot read windows.json")));
    EXPECT_EQ(errors.str(), "Corvelle: local.Dorvane.engine: cannot read windows.json\n");
    const auto logged = readFileIfPresent(root / EngineLog::fileName).value_or("");
    EXPECT_TRUE(logged.ends_with(" unhandled_error local.Dorvane.engine: cannot read windows.json\n")) << logged;
    EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1);
    fs::remove_all(root);
}

TEST(AppUpdater, OnlyAnInstalledProgramWithAFeedHasOne) {
    std::string pattern = (fs::temp_directory_path() / "corvelle-updater-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path prefix = pattern;
    const auto executable = prefix / "bin" / "corvelle";
    const auto info = prefix / "share" / "corvelle" / "Info.json";
    fs::create_directories(info.parent_path());
    struct Case {
        std::optional<std::string> text;
        std::optional<std::string> feed;
    };
    for (const auto& c : std::vector<Case>{{std::nullopt, std::nullopt},
                                           {R"({"CFBundleName":"Corvelle"})", std::nullopt},
                                           {R"({"SUFeedURL":""})", std::nullopt},
                                           {"not json", std::nullopt},
                                           {R"({"SUFeedURL":"https://updates.invalid/a.xml"})", "https://updates.invalid/a.xml"}}) {
        fs::remove(info);
        if (c.text) writeFileAtomically(info, *c.text);
        EXPECT_EQ(AppUpdater::feedURL(executable), c.feed) << c.text.value_or("<no file>");
    }
    fs::remove_all(prefix);
}

}  // namespace
}  // namespace dorvane
