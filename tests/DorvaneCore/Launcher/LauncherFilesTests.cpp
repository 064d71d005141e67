#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>

#include <unistd.h>

#include "DorvaneCore/Launcher/LauncherFiles.h"
#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;
using Ids = std::vector<std::string>;
constexpr auto maxCount = std::numeric_limits<std::int64_t>::max();

class LauncherFilesTest : public ::testing::Test {
protected:
    void SetUp() override { fs::remove_all(root_); }
    void TearDown() override { fs::remove_all(root_); }

    void write(std::string_view name, std::string_view text) {
        fs::create_directories(root_);
        writeFileAtomically(root_ / name, text);
    }

    const fs::path root_ = fs::temp_directory_path() /
                           ("launcher-" + std::to_string(::getpid()) + "-" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name()) /
                           "Dorvane";
    const LauncherFiles files_{root_};
};

TEST(LaunchCounts, MissingIsZeroNegativeIsZeroAndTheMaximumSaturates) {
    LaunchCounts counts(LaunchCounts::Counts{{"neg", -5}, {"max", maxCount}, {"two", 2}});
    EXPECT_EQ(counts.count("absent"), 0);
    EXPECT_EQ(counts.count("neg"), 0);
    for (const char* id : {"neg", "max", "two", "new"}) counts.increment(id);
    EXPECT_EQ(counts.counts(), (LaunchCounts::Counts{{"max", maxCount}, {"neg", 1}, {"new", 1}, {"two", 3}}));
}

TEST_F(LauncherFilesTest, WritesCompactSortedAndSlashEscapedAndReadsItBack) {
    LaunchCounts counts;
    for (const char* id : {"com.zeta", "/Applications/B.app", "com.alpha", "com.zeta"}) counts.increment(id);
    EXPECT_EQ(LauncherFiles::encode(counts), R"({"\/Applications\/B.app":1,"com.alpha":1,"com.zeta":2})");

    RecentApplications recent;
    for (const char* id : {"/Applications/B.app", "应用/中文", "com.example.foo"}) recent.record(id);
    EXPECT_EQ(LauncherFiles::encode(recent), R"(["com.example.foo","应用\/中文","\/Applications\/B.app"])");

    // The recent list creates the folder; the counts rely on it being there.
    EXPECT_THROW(files_.saveUsage(counts), std::system_error);
    EXPECT_FALSE(fs::exists(root_));
    files_.saveRecent(recent);
    files_.saveUsage(counts);
    EXPECT_EQ(readFileIfPresent(files_.recentFile()), LauncherFiles::encode(recent));
    EXPECT_EQ(files_.loadRecent(), recent);
    EXPECT_EQ(files_.loadUsage(), counts);
}

TEST_F(LauncherFilesTest, ReadingAcceptsBothSlashFormsAndFallsBackOnAnyFault) {
    struct Case {
        const char* usage;
        LaunchCounts::Counts expectedCounts;
        const char* recent;
        std::optional<Ids> expectedRecent;
    };
    const Case cases[] = {
        {R"({"\/A.app":3,"/B.app":-2,"c":9223372036854775807})",
         {{"/A.app", 3}, {"/B.app", 0}, {"c", maxCount}},
         R"(["\/A.app","/B.app","","\/A.app"])",
         Ids{"/A.app", "/B.app"}},
        {R"({"a":9223372036854775808})", {}, R"(["a",1])", std::nullopt},  // out of range; not a string
        {R"({"a":1.5})", {}, R"({"a":1})", std::nullopt},
        {R"({"a":"1"})", {}, "[\"a\"", std::nullopt},
    };
    for (const auto& c : cases) {
        write("app-usage.json", c.usage);
        write("app-recent.json", c.recent);
        EXPECT_EQ(files_.loadUsage().counts(), c.expectedCounts) << c.usage;
        const auto recent = files_.loadRecent();
        EXPECT_EQ(recent ? std::optional<Ids>(recent->identifiers()) : std::nullopt, c.expectedRecent) << c.recent;
    }
    // A folder where the file should be is unreadable, not fatal.
    fs::remove(root_ / "app-recent.json");
    fs::create_directories(root_ / "app-recent.json");
    EXPECT_EQ(files_.loadRecent(), std::nullopt);
}

}  // namespace
}  // namespace dorvane
