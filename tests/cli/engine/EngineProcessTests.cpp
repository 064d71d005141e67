#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/DisplayWorker.h"
#include "Dorvane/Engine/ProcessWorkerClient.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/CommandRun.h"
#include "tests/Support/RunAndWait.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

// The engine as the program runs it: real `corvelle --worker` children over a host folder,
// in real time, with the external monitor left of the panel so a restore has work to do.
class EngineProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "corvelle-engine-process-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        scratch = pattern;
        support = scratch / "Dorvane";
        ::setenv("CORVELLE_HOST_DIR", (scratch / "host").c_str(), 1);
        host = host::SimulatedHost::openFolder(scratch / "host", processes::ProcessRole::application, clock);
        host->admin().reset(host::HostFixture::laptopExternal);
        auto targets = live();
        targets[1].x = -1920;
        DisplayWorker(host->displays()).commit(targets);
        before = layoutText(live());
    }
    void TearDown() override {
        engine.reset();
        host.reset();
        fs::remove_all(scratch);
    }

    std::unique_ptr<DisplayEngine> makeEngine() {
        return std::make_unique<DisplayEngine>(DisplayEngine::Services{support, CORVELLE_EXECUTABLE, queue, clock,
                                                                       host->virtualDisplays(), host->userActivity(),
                                                                       workers, systemRandomSource()});
    }

    std::vector<DisplayState> live() { return DisplayWorker(host->displays()).snapshot(); }
    std::optional<std::string> file(const char* name) { return readFileIfPresent(support / name); }

    dispatch::SystemClock clock;
    dispatch::SerialQueue queue{"engine"};
    ProcessWorkerClient workers{clock};
    fs::path scratch;
    fs::path support;
    std::unique_ptr<host::SimulatedHost> host;
    std::unique_ptr<DisplayEngine> engine;
    std::string before;
};

TEST_F(EngineProcessTest, AppliesAndRestoresThroughWorkerProcesses) {
    engine = makeEngine();
    const auto status = testing::runAndWait(queue, [&] { return engine->applyNow({1280, 800}); });
    ASSERT_EQ(status.title, "已应用 · 1280×800") << status.detail.value_or("");

    const auto fitted = live();
    ASSERT_EQ(fitted.size(), 3u);
    std::uint32_t source = 0;
    for (const auto& display : fitted) {
        if (display.physical) continue;
        source = display.id;
        EXPECT_TRUE(display.main);
        EXPECT_EQ(display.x, 0);
        EXPECT_EQ(display.y, 0);
        EXPECT_EQ(display.mode.pixelWidth, 2560);
        EXPECT_EQ(display.mode.pixelHeight, 1600);
    }
    ASSERT_NE(source, 0u);
    for (const auto& display : fitted) {
        if (display.physical) {
            EXPECT_EQ(display.mirror, source);
        }
    }
    EXPECT_TRUE(file("session.json"));
    const auto log = file("Dorvane.log").value_or("");
    const auto lastLine = log.substr(log.rfind('\n', log.size() - 2) + 1);
    EXPECT_THAT(lastLine, ::testing::MatchesRegex("[-0-9T:]+Z activated 1280×800 seconds=[0-9]+\\.[0-9]{3}\n"));

    EXPECT_TRUE(testing::runAndWait(queue, [&] { return engine->restoreNow(); }));
    EXPECT_EQ(layoutText(live()), before);
    EXPECT_TRUE(file("session.last.json"));
    EXPECT_FALSE(file("session.json"));
}

// The program dies at some point of a fit (just before its Nth worker run, or with the
// fit done); a fresh engine's start-up check then puts the physical layout back.
class EngineCrashTest : public EngineProcessTest, public ::testing::WithParamInterface<int> {};

TEST_P(EngineCrashTest, AFreshEngineRestoresTheLayoutAfterACrashDuringAFit) {
    const auto run = testing::runCommand(ENGINE_CRASH_HELPER, {support.string(), CORVELLE_EXECUTABLE,
                                                               std::to_string(GetParam())},
                                         {}, scratch);
    ASSERT_EQ(run.status, -1) << run.err;  // killed, as planned
    const auto saved = file("session.json");
    if (GetParam() > 1) {
        ASSERT_TRUE(saved);
        EXPECT_EQ(layoutText(parseDisplayStates(*saved)), before);
    }

    engine = makeEngine();
    const auto status = testing::runAndWait(queue, [&] { return engine->initializeNow(); });
    EXPECT_EQ(status.title, "就绪") << status.detail.value_or("");
    EXPECT_EQ(layoutText(live()), before);
    EXPECT_FALSE(file("session.json"));
    EXPECT_EQ(file("session.last.json"), saved);
}

// Before anything happened; with the session saved and the display just created; with
// the fit committed but not yet verified; with the fit done.
INSTANTIATE_TEST_SUITE_P(KillPoints, EngineCrashTest, ::testing::Values(1, 2, 4, 6));

}  // namespace
}  // namespace dorvane
