#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/BoundedFile.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

void write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(BoundedFileTest, ReadsARegularFileUpToTheBoundAndFollowsLinks) {
    testing::TemporaryFolder folder("bounded-file");
    const fs::path file = folder.path() / "AppIcon.png";
    write(file, "0123456789");
    EXPECT_EQ(readBoundedRegularFile(file, 10).contents, "0123456789");
    EXPECT_EQ(readBoundedRegularFile(file, 64).refusal, std::nullopt);
    const fs::path empty = folder.path() / "empty";
    write(empty, "");
    EXPECT_EQ(readBoundedRegularFile(empty, 0).contents, "");
    const fs::path link = folder.path() / "link.png";
    fs::create_symlink(file, link);
    EXPECT_EQ(readBoundedRegularFile(link, 10).contents, "0123456789");

    const auto refusal = [](const fs::path& path, std::size_t limit) { return readBoundedRegularFile(path, limit); };
    EXPECT_EQ(refusal(file, 9).refusal, BoundedReadRefusal::tooLarge);
    EXPECT_FALSE(refusal(file, 9).contents);
    EXPECT_EQ(refusal(folder.path() / "none.png", 10).refusal, BoundedReadRefusal::missing);
    EXPECT_EQ(refusal(file / "below", 10).refusal, BoundedReadRefusal::missing);
    EXPECT_EQ(refusal(folder.path(), 1 << 20).refusal, BoundedReadRefusal::notRegular);
    EXPECT_EQ(refusal("/dev/zero", 1 << 20).refusal, BoundedReadRefusal::notRegular);
    const fs::path dangling = folder.path() / "dangling.png";
    fs::create_symlink(folder.path() / "gone", dangling);
    EXPECT_EQ(refusal(dangling, 10).refusal, BoundedReadRefusal::missing);
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(file.c_str(), 0), 0);
        EXPECT_EQ(refusal(file, 10).refusal, BoundedReadRefusal::unreadable);
    }
}

// Files under /proc are regular but report a size of 0 whatever they hold: the size looked
// at first lets them through, and only the count of what was read keeps the bound.
TEST(BoundedFileTest, AFileReportingNoSizeIsStillReadOnlyUpToTheBound) {
    const fs::path status = "/proc/self/status";
    struct stat info {};
    ASSERT_EQ(::stat(status.c_str(), &info), 0);
    ASSERT_TRUE(S_ISREG(info.st_mode));
    ASSERT_EQ(info.st_size, 0);
    const BoundedRead whole = readBoundedRegularFile(status, 1 << 20);
    ASSERT_TRUE(whole.contents);
    ASSERT_GT(whole.contents->size(), 64u);
    EXPECT_EQ(whole.contents->rfind("Name:", 0), 0u);

    for (const std::size_t limit : {std::size_t{0}, std::size_t{64}, whole.contents->size() / 2}) {
        const BoundedRead bounded = readBoundedRegularFile(status, limit);
        EXPECT_FALSE(bounded.contents) << limit;
        EXPECT_EQ(bounded.refusal, BoundedReadRefusal::tooLarge) << limit;
    }

    // The account of this process's memory arrives a page at a time, each read below a bound
    // of a few kilobytes: the bound holds for what was read in all.
    const fs::path maps = "/proc/self/smaps";
    constexpr std::size_t kBound = 6000;
    const BoundedRead map = readBoundedRegularFile(maps, 1 << 24);
    ASSERT_TRUE(map.contents);
    ASSERT_GT(map.contents->size(), 2 * kBound) << "a map too small to arrive in pieces larger than the bound";
    const BoundedRead bounded = readBoundedRegularFile(maps, kBound);
    EXPECT_FALSE(bounded.contents);
    EXPECT_EQ(bounded.refusal, BoundedReadRefusal::tooLarge);
}

// A named pipe in a picture's place: refused at once, where an ordinary open would wait for
// a writer for good.
TEST(BoundedFileTest, ANamedPipeIsRefusedWithoutWaitingForAWriter) {
    testing::TemporaryFolder folder("bounded-file");
    const fs::path pipe = folder.path() / "AppIcon.png";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return readBoundedRegularFile(pipe, 1 << 20); });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the read waits on the pipe";
        // Lets the waiting read go, so the test ends.
        const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) ::close(writer);
    }
    const BoundedRead read = reading.get();
    EXPECT_FALSE(read.contents);
    EXPECT_EQ(read.refusal, BoundedReadRefusal::notRegular);
}

}  // namespace
}  // namespace dorvane
