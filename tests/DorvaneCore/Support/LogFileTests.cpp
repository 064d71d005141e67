#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/FileDescriptor.h"
#include "DorvaneCore/Support/LogFile.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

// Writers in several threads (the engine, the last resort) and processes share one log.
// Whoever finds it full first moves it aside; the others must neither move the fresh log
// over the one just rotated nor delete it: once there, the previous log always holds a
// full generation.
TEST(LogFile, WritersCrossingTheLimitTogetherKeepTheRotatedLog) {
    const testing::TemporaryFolder folder("corvelle-log");
    const fs::path file = folder.path() / "Dorvane.log";
    const fs::path previous = folder.path() / "Dorvane.previous.log";
    constexpr std::uintmax_t limit = 400;
    const std::string line(39, 'x');

    std::atomic<int> shortPrevious{0};
    std::atomic<int> previousVanished{0};
    std::atomic<int> lost{0};
    std::vector<std::thread> writers;
    for (int writer = 0; writer < 6; ++writer) {
        writers.emplace_back([&] {
            bool seen = false;
            for (int count = 0; count < 3000; ++count) {
                if (appendLogLine(file, previous, limit, line + "\n") != LogWrite::written) ++lost;
                std::error_code error;
                const auto size = fs::file_size(previous, error);
                if (error) {
                    if (seen) ++previousVanished;
                    continue;
                }
                seen = true;
                if (size <= limit) ++shortPrevious;
            }
        });
    }
    for (auto& writer : writers) writer.join();

    EXPECT_EQ(lost, 0);
    EXPECT_EQ(previousVanished, 0);
    EXPECT_EQ(shortPrevious, 0);
    // Every line stays whole.
    for (const auto& path : {file, previous}) {
        const auto text = readFileIfPresent(path).value();
        EXPECT_EQ(text.size() % (line.size() + 1), 0u);
        EXPECT_EQ(text.find("x\nx\n"), std::string::npos);
    }
}

// The interleaving the test above meets only now and then, played step by step: a writer
// finds the log full, another moves it aside and begins the next, and only then does the
// first come to move it. The fresh log stays where it is, and the full one where it went.
TEST(LogFile, AWriterThatFoundTheLogFullLeavesTheOneAnotherJustBegan) {
    const testing::TemporaryFolder folder("corvelle-log");
    const fs::path file = folder.path() / "Dorvane.log";
    const fs::path previous = folder.path() / "Dorvane.previous.log";
    constexpr std::uintmax_t limit = 10;
    ASSERT_EQ(appendLogLine(file, previous, limit, "a full generation\n"), LogWrite::written);
    ASSERT_GT(fs::file_size(file), limit);  // what the late writer finds
    ASSERT_EQ(appendLogLine(file, previous, limit, "next\n"), LogWrite::written);
    ASSERT_EQ(readFileIfPresent(previous), "a full generation\n");

    rotateLogIfFull(file, previous, limit);
    EXPECT_EQ(readFileIfPresent(previous), "a full generation\n");
    EXPECT_EQ(readFileIfPresent(file), "next\n");

    // Full once more, it moves; a writer after it finds no log to move.
    ASSERT_EQ(appendLogLine(file, previous, limit, "and more\n"), LogWrite::written);
    rotateLogIfFull(file, previous, limit);
    EXPECT_EQ(readFileIfPresent(previous), "next\nand more\n");
    EXPECT_FALSE(fs::exists(file));
    rotateLogIfFull(file, previous, limit);
    EXPECT_EQ(readFileIfPresent(previous), "next\nand more\n");
}

TEST(LogFile, AFullLogMovesAsideBeforeTheLineAndASmallOneGrows) {
    const testing::TemporaryFolder folder("corvelle-log");
    const fs::path file = folder.path() / "sub" / "Dorvane.log";
    const fs::path previous = folder.path() / "sub" / "Dorvane.previous.log";
    ASSERT_EQ(appendLogLine(file, previous, 10, "first line\n"), LogWrite::written);
    EXPECT_FALSE(fs::exists(previous));
    ASSERT_EQ(appendLogLine(file, previous, 10, "second\n"), LogWrite::written);
    EXPECT_EQ(readFileIfPresent(previous), "first line\n");
    EXPECT_EQ(readFileIfPresent(file), "second\n");
    ASSERT_EQ(appendLogLine(file, previous, 10, "third\n"), LogWrite::written);
    EXPECT_EQ(readFileIfPresent(file), "second\nthird\n");
    ASSERT_EQ(appendLogLine(file, previous, 10, "fourth\n"), LogWrite::written);
    EXPECT_EQ(readFileIfPresent(previous), "second\nthird\n");
    EXPECT_EQ(readFileIfPresent(file), "fourth\n");
}

// With a reader at its far end, a named pipe in the log's place opens for writing at once,
// without waiting: only the look at what was opened keeps the lines out of the pipe and
// whoever reads it.
TEST(LogFile, ANamedPipeWithAReaderInTheLogsPlaceGetsNoLine) {
    const testing::TemporaryFolder folder("corvelle-log");
    const fs::path file = folder.path() / "Dorvane.log";
    const fs::path previous = folder.path() / "Dorvane.previous.log";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    const FileDescriptor reader(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    ASSERT_GE(reader.get(), 0);

    EXPECT_EQ(appendToLogFile(file, "1.0 lost\n"), LogWrite::notRegularFile);
    EXPECT_EQ(appendLogLine(file, previous, 4, "1.0 lost too\n"), LogWrite::notRegularFile);
    char buffer[64];
    EXPECT_EQ(::read(reader.get(), buffer, sizeof buffer), 0) << "the reader got a line";
    EXPECT_TRUE(fs::is_fifo(file));
    EXPECT_FALSE(fs::exists(previous));
}

}  // namespace
}  // namespace dorvane
