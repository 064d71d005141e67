#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/SetAside.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

class SetAsideTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "corvelle-aside-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    // 2025-03-01T08:15:30Z
    const std::chrono::system_clock::time_point now{std::chrono::seconds(1740816930)};
};

TEST_F(SetAsideTest, EachCopyGetsANameOfItsOwnAndWhateverStandsInTheFilesPlaceMoves) {
    const auto file = folder / "session.json";
    writeFileAtomically(file, "first");
    EXPECT_EQ(moveAside(file, "session", now), folder / "session.invalid-20250301T081530Z.json");
    // Within the same second: never over the earlier copy.
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(moveAside(file, "session", now), folder / "session.invalid-20250301T081530Z-2.json");
    fs::create_directory(file);
    EXPECT_EQ(moveAside(file, "session", now), folder / "session.invalid-20250301T081530Z-3.json");

    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(readFileIfPresent(folder / "session.invalid-20250301T081530Z.json"), "first");
    EXPECT_TRUE(fs::is_fifo(folder / "session.invalid-20250301T081530Z-2.json"));
    EXPECT_TRUE(fs::is_directory(folder / "session.invalid-20250301T081530Z-3.json"));
}

TEST_F(SetAsideTest, AMoveThatFailsThrowsAndLeavesTheFile) {
    try {
        moveAside(folder / "missing.json", "missing", now);
        ADD_FAILURE() << "a missing file was moved";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
    }
    EXPECT_TRUE(fs::is_empty(folder));
}

}  // namespace
}  // namespace dorvane
