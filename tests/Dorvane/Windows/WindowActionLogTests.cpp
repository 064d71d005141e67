#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "Dorvane/Windows/WindowActionLog.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

namespace dorvane::windows {
namespace {

namespace fs = std::filesystem;

class WindowActionLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("window-actions-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        folder_ = root_ / "Library" / "Application Support" / "Dorvane";
        log_ = folder_ / WindowActionLog::fileName;
        previous_ = folder_ / WindowActionLog::previousFileName;
    }
    void TearDown() override { fs::remove_all(root_); }

    void append(const std::string& message) {
        WindowActionLog::append(message, log_, clock_);
        WindowActionLog::drain();
    }
    static std::string read(const fs::path& path) { return readFileIfPresent(path).value_or("<missing>"); }

    dispatch::SimulatedScheduler clock_;  // 2025-01-01T00:00:00Z
    fs::path root_, folder_, log_, previous_;
};

TEST_F(WindowActionLogTest, CreatesTheFolderAndWritesOneTimestampedLinePerMessage) {
    append("request action=maximizeWindow app=com.example.editor");
    clock_.sleep(61);
    append("failure frame=nil error=a\nb");
    append("");
    EXPECT_EQ(read(log_),
              "2025-01-01T00:00:00Z request action=maximizeWindow app=com.example.editor\n"
              "2025-01-01T00:01:01Z failure frame=nil error=a\\nb\n"
              "2025-01-01T00:01:01Z \n");
}

TEST_F(WindowActionLogTest, RotatesOnceTheFileHoldsMoreThan256000Bytes) {
    fs::create_directories(folder_);
    writeFileAtomically(log_, std::string(256000, 'x'));
    writeFileAtomically(previous_, "older generation\n");
    append("first");
    EXPECT_EQ(fs::file_size(log_), 256000u + 27);
    EXPECT_EQ(read(previous_), "older generation\n");

    append("second");
    EXPECT_EQ(fs::file_size(previous_), 256000u + 27) << "the previous file is replaced";
    EXPECT_EQ(read(log_), "2025-01-01T00:00:00Z second\n");

    writeFileAtomically(log_, std::string(256001, 'y'));
    append("third");
    EXPECT_EQ(fs::file_size(previous_), 256001u);
}

TEST_F(WindowActionLogTest, KeepsTheOrderOfAppendsAndSwallowsErrors) {
    for (int i = 0; i < 50; ++i) WindowActionLog::append(std::to_string(i), log_, clock_);
    // A folder where the log should be: nothing can be written, nothing is thrown.
    fs::create_directories(root_ / "blocked" / WindowActionLog::fileName);
    WindowActionLog::append("dropped", root_ / "blocked" / WindowActionLog::fileName, clock_);
    WindowActionLog::drain();
    std::string expected;
    for (int i = 0; i < 50; ++i) expected += "2025-01-01T00:00:00Z " + std::to_string(i) + "\n";
    EXPECT_EQ(read(log_), expected);
}

}  // namespace
}  // namespace dorvane::windows
