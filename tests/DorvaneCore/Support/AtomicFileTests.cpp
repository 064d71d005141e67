#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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


// The file-size limit makes the text's write fail part way, after the temporary file exists:
// the target keeps its text whatever the durability, and nothing is left beside it.
TEST_F(AtomicFileTest, AWriteCutShortNeverReplacesTheFile) {
    for (const auto durability : {Durability::flushed, Durability::renameOnly}) {
        const fs::path file = folder_ / "windows.json";
        writeFileAtomically(file, "{\"good\": true}\n");
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4096, 4096};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
            try {
                writeFileAtomically(file, std::string(100000, 'x'), durability);
            } catch (const std::system_error& error) {
                ::_exit(error.code().value() == EFBIG ? 0 : 2);
            }
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        EXPECT_EQ(readFileIfPresent(file), "{\"good\": true}\n");
        EXPECT_EQ(entries(), 1u);
    }
}

// Files the program creates are as open as the user's umask says, as the logs are; one it
// replaces keeps what the user set.
TEST_F(AtomicFileTest, NewFilesFollowTheUmask) {
    const mode_t previous = ::umask(077);
    writeFileAtomically(folder_ / "private.json", "{}", Durability::renameOnly);
    ::umask(002);
    writeFileAtomically(folder_ / "group.json", "{}");
    ::umask(previous);
    struct stat info {};
    ASSERT_EQ(::stat((folder_ / "private.json").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat((folder_ / "group.json").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0664u);
    ASSERT_EQ(::chmod((folder_ / "private.json").c_str(), 0604), 0);
    writeFileAtomically(folder_ / "private.json", "[]", Durability::renameOnly);
    ASSERT_EQ(::stat((folder_ / "private.json").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u);
}

TEST_F(AtomicFileTest, ALinkIsReadOnlyWhenLinksAreFollowed) {
    writeFileAtomically(folder_ / "target.json", "[1]");
    fs::create_symlink(folder_ / "target.json", folder_ / "link.json");
    EXPECT_EQ(readFileIfPresent(folder_ / "link.json"), "[1]");
    try {
        readFileIfPresent(folder_ / "link.json", Links::refuse);
        ADD_FAILURE() << "a link was followed";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code().value(), ELOOP);
    }
    EXPECT_EQ(readFileIfPresent(folder_ / "target.json", Links::refuse), "[1]");
    EXPECT_EQ(readFileIfPresent(folder_ / "missing.json", Links::refuse), std::nullopt);
}

}  // namespace
}  // namespace dorvane
