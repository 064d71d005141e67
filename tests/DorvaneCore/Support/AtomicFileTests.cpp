#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("atomic-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator{}));
    }

    fs::path folder_;
};

TEST_F(AtomicFileTest, CreatesAndReplacesWithoutLeavingTemporaries) {
    const fs::path file = folder_ / "session.json";
    EXPECT_EQ(readFileIfPresent(file), std::nullopt);
    writeFileAtomically(file, "[1]");
    EXPECT_EQ(readFileIfPresent(file), "[1]");
    writeFileAtomically(file, "");
    EXPECT_EQ(readFileIfPresent(file), "");
    EXPECT_EQ(entries(), 1u);

    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(AtomicFileTest, KeepsThePermissionsOfTheFileItReplaces) {
    const fs::path file = folder_ / "preferences.json";
    writeFileAtomically(file, "{}");
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    writeFileAtomically(file, "{\"a\":1}");
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(AtomicFileTest, ReplacesByRenameSoAReaderSeesTheOldFileOrTheNewOneWhole) {
    const fs::path file = folder_ / "stable-layouts.json";
    writeFileAtomically(file, "{\"layouts\":{\"old\":{}}}");
    const int reader = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    struct stat opened {};
    ASSERT_EQ(::fstat(reader, &opened), 0);

    writeFileAtomically(file, "{}");

    // A new file took the name; the one already open is untouched, not truncated or rewritten.
    char buffer[64] = {};
    const ssize_t count = ::pread(reader, buffer, sizeof buffer - 1, 0);
    ::close(reader);
    EXPECT_EQ(std::string(buffer, count > 0 ? static_cast<std::size_t>(count) : 0), "{\"layouts\":{\"old\":{}}}");
    struct stat replaced {};
    ASSERT_EQ(::stat(file.c_str(), &replaced), 0);
    EXPECT_NE(replaced.st_ino, opened.st_ino);
    EXPECT_EQ(readFileIfPresent(file), "{}");
}

TEST_F(AtomicFileTest, AFailedReplacementLeavesTheTargetAndNoTemporary) {
    // A folder in the target's place makes the final rename fail after the text was written.
    const fs::path blocked = folder_ / "blocked";
    fs::create_directories(blocked / "inside");
    EXPECT_THROW(writeFileAtomically(blocked, "data"), std::system_error);
    EXPECT_TRUE(fs::is_directory(blocked / "inside"));
    EXPECT_EQ(entries(), 1u);

    EXPECT_THROW(writeFileAtomically(folder_ / "no-such-folder" / "file.json", "data"), std::system_error);
    EXPECT_THROW(readFileIfPresent(blocked), std::system_error);
}

}  // namespace
}  // namespace dorvane
