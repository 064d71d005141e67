#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Dorvane/Shell/InstanceLock.h"
#include "DorvaneCore/Core/FitError.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

fs::path freshRoot(const char* name) {
    auto root = fs::temp_directory_path() / ("lock-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(root);
    return root / "Library" / "Application Support" / "Dorvane";
}

// Whether another process could take the lock now.
bool otherProcessCanLock(const fs::path& root) {
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            InstanceLock lock(root);
            ::_exit(0);
        } catch (const FitError& error) {
            ::_exit(std::string(error.what()) == InstanceLock::alreadyRunningMessage ? 3 : 4);
        } catch (...) {
            ::_exit(5);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 4);
    EXPECT_NE(WEXITSTATUS(status), 5);
    return WEXITSTATUS(status) == 0;
}

TEST(InstanceLockTest, OneHolderAtATimeAndReleasedOnDestruction) {
    const auto root = freshRoot("holder");
    {
        InstanceLock lock(root);
        EXPECT_TRUE(fs::is_directory(root));
        struct stat info {};
        ASSERT_EQ(::stat((root / InstanceLock::fileName).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_EQ(info.st_size, 0);
        EXPECT_TRUE(::fcntl(lock.descriptor(), F_GETFD) & FD_CLOEXEC);
        EXPECT_FALSE(otherProcessCanLock(root));
        try {
            InstanceLock second(root);  // a second open description in the same process is refused too
            ADD_FAILURE() << "second lock taken";
        } catch (const FitError& error) {
            EXPECT_STREQ(error.what(), InstanceLock::alreadyRunningMessage);
        }
    }
    EXPECT_TRUE(otherProcessCanLock(root));
    EXPECT_TRUE(fs::exists(root / InstanceLock::fileName));  // never deleted
    fs::remove_all(root.parent_path().parent_path().parent_path());
}

// What a second start asks before it loads anything of the application: the answer leaves
// the lock as it found it.
TEST(InstanceLockTest, HeldElsewhereTellsAnotherHolderAndKeepsNothing) {
    const auto root = freshRoot("probe");
    EXPECT_FALSE(InstanceLock::heldElsewhere(root));
    EXPECT_TRUE(otherProcessCanLock(root));
    {
        InstanceLock lock(root);
        EXPECT_TRUE(InstanceLock::heldElsewhere(root));
        EXPECT_FALSE(otherProcessCanLock(root));
    }
    EXPECT_FALSE(InstanceLock::heldElsewhere(root));
    EXPECT_TRUE(otherProcessCanLock(root));
    // A lock that cannot be made is no other instance: the start goes on and says why.
    fs::remove_all(root);
    fs::create_directories(root / InstanceLock::fileName);
    EXPECT_FALSE(InstanceLock::heldElsewhere(root));
    fs::remove_all(root.parent_path().parent_path().parent_path());
}

TEST(InstanceLockTest, ALockFileThatCannotBeOpenedIsNamedWithItsFolderAndTheCause) {
    const auto root = freshRoot("unopenable");
    fs::create_directories(root / InstanceLock::fileName);  // a folder where the file belongs
    try {
        InstanceLock lock(root);
        ADD_FAILURE() << "a folder was taken for the lock file";
    } catch (const InstanceLockHeld&) {
        ADD_FAILURE() << "reported as another instance";
    } catch (const FitError& error) {
        EXPECT_EQ(std::string(error.what()),
                  std::string(InstanceLock::createFailedMessage) + root.string() + "：Is a directory");
    }
    fs::remove_all(root.parent_path().parent_path().parent_path());
}

}  // namespace
}  // namespace dorvane
