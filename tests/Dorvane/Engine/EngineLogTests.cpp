#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "Dorvane/Engine/EngineLog.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

class EngineLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("engine-log-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name()) /
                "support";
        fs::remove_all(root_.parent_path());
    }
    void TearDown() override { fs::remove_all(root_.parent_path()); }

    std::string contents(const char* name) { return readFileIfPresent(root_ / name).value_or("<missing>"); }

    // Uptime 100 s, and wall time 100 s after the epoch.
    dispatch::SimulatedScheduler clock_{100.0, std::chrono::system_clock::time_point(std::chrono::seconds(100))};
    fs::path root_;
};

TEST_F(EngineLogTest, OneLinePerEventEvenForMultiLineDetails) {
    EngineLog log(root_, clock_);
    log.write("activated", "1280×800 seconds=1.5");
    log.write("restore_deferred", "");
    log.write("apply_failed", "配置排列失败（1001）\nsecond line\r\nthird\u2028fourth");
    EXPECT_EQ(contents(EngineLog::fileName),
              "1970-01-01T00:01:40Z activated 1280×800 seconds=1.5\n"
              "1970-01-01T00:01:40Z restore_deferred \n"
              "1970-01-01T00:01:40Z apply_failed 配置排列失败（1001）\\nsecond line\\nthird\\nfourth\n");
}

TEST_F(EngineLogTest, RotatesOnlyPastTheLimit) {
    fs::create_directories(root_);
    EngineLog log(root_, clock_);
    writeFileAtomically(root_ / EngineLog::fileName, std::string(EngineLog::rotationLimit, 'x'));
    log.write("kept", "");
    EXPECT_FALSE(fs::exists(root_ / EngineLog::previousFileName));
    EXPECT_EQ(fs::file_size(root_ / EngineLog::fileName), EngineLog::rotationLimit + 27);

    writeFileAtomically(root_ / EngineLog::previousFileName, "old generation");
    log.write("rotated", "x");
    EXPECT_EQ(fs::file_size(root_ / EngineLog::previousFileName), EngineLog::rotationLimit + 27);
    EXPECT_EQ(contents(EngineLog::fileName), "1970-01-01T00:01:40Z rotated x\n");
}

TEST_F(EngineLogTest, ANamedPipeInTheLogsPlaceIsSkippedNotWaitedOn) {
    fs::create_directories(root_);
    ASSERT_EQ(::mkfifo((root_ / EngineLog::fileName).c_str(), 0600), 0);
    EngineLog log(root_, clock_);
    log.write("restore_deferred", "no_physical_display virtual_kept=false");  // no reader: would block
    EXPECT_TRUE(fs::is_fifo(root_ / EngineLog::fileName));
}

TEST(LayoutTextTest, DescribesEachDisplay) {
    DisplayState main(1, std::nullopt, "k", true, true, 0, 0, 0, DisplayMode{1470, 956, 2940, 1912, 60.0, 3});
    DisplayState mirror(7, std::nullopt, "k2", true, false, -1920, 5, 1, DisplayMode{1920, 1080, 1920, 1080, 60, 4});
    EXPECT_EQ(layoutText({main, mirror}), "1*:2940x1912/1470x956@0,0m0 7:1920x1080/1920x1080@-1920,5m1");
    EXPECT_EQ(layoutText({}), "");
}

}  // namespace
}  // namespace dorvane
