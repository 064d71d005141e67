#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "tests/Support/BackgroundProcess.h"
#include "tests/Support/CommandRun.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane {
namespace {

// The host tool's defaults, notify, appearance and announcements commands, with programs
// of the simulated host running beside it.
class SystemCliTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(run({"init"}).status, 0); }

    testing::CommandRun run(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments, {{"CORVELLE_HOST_DIR", folder()}}, root);
    }

    std::unique_ptr<testing::BackgroundProcess> helper(const std::vector<std::string>& arguments,
                                                       const std::string& name) {
        return std::make_unique<testing::BackgroundProcess>(
            SYSTEM_HELPER, arguments, std::map<std::string, std::optional<std::string>>{{"CORVELLE_HOST_DIR", folder()}},
            root, name);
    }

    std::string folder() const { return (root / "host").string(); }

    testing::TemporaryFolder temporary{"corvelle-system-cli"};
    const std::filesystem::path& root = temporary.path();
};

TEST_F(SystemCliTest, DefaultsAreWrittenReadAndDeleted) {
    struct Case {
        std::string written;
        std::string read;
    };
    const std::vector<Case> cases = {
        {"true", "true"},      {"3", "3"},       {"2.5", "2.5"},  {R"("x")", R"("x")"},
        {"hello world", R"("hello world")"},     {R"({"frame":[1,2]})", R"({"frame":[1,2]})"},
        {"", R"("")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        const auto written = run({"defaults", "write", "CVDebugHooks", c.written});
        ASSERT_EQ(written.status, 0) << written.err;
        EXPECT_EQ(written.out, "CVDebugHooks = " + c.read + "\n");
        const auto read = run({"defaults", "read", "CVDebugHooks"});
        EXPECT_EQ(read.status, 0);
        EXPECT_EQ(read.out, c.read + "\n");
    }
    EXPECT_EQ(run({"defaults", "delete", "CVDebugHooks"}).out, "Deleted CVDebugHooks.\n");
    const auto missing = run({"defaults", "read", "CVDebugHooks"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("no default \"CVDebugHooks\""), std::string::npos) << missing.err;
    EXPECT_EQ(run({"defaults", "delete", "CVDebugHooks"}).status, 1);

    const auto log = run({"log"}).out;
    EXPECT_NE(log.find("userDefaultWrite key=CVDebugHooks value={\"frame\":[1,2]}"), std::string::npos) << log;
    EXPECT_NE(log.find("userDefaultDelete key=CVDebugHooks removed=true"), std::string::npos) << log;
}

TEST_F(SystemCliTest, BadArgumentsFailClearlyAndChangeNothing) {
    ASSERT_EQ(run({"defaults", "write", "kept", "1"}).status, 0);
    const auto defaults = readFileIfPresent(std::filesystem::path(folder()) / "defaults.json");
    const auto appearance = readFileIfPresent(std::filesystem::path(folder()) / "appearance.json");
    const auto log = run({"log"}).out;

    const std::vector<std::vector<std::string>> refused = {
        {"defaults"},
        {"defaults", "write", "kept"},
        {"defaults", "write", "kept", "null"},
        {"defaults", "write", "", "1"},
        {"defaults", "read", "kept", "extra"},
        {"defaults", "rename", "kept"},
        {"notify"},
        {"notify", ""},
        {"notify", "n", "--info", "[1]"},
        {"notify", "n", "--info", "{broken"},
        {"notify", "n", "--object"},
        {"appearance", "purple"},
        {"appearance", "reduce-motion", "maybe"},
        {"appearance", "dark", "now"},
        {"announcements", "all"},
    };
    for (const auto& arguments : refused) {
        const auto result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments.back();
        EXPECT_TRUE(result.err.ends_with("\nRun \"corvelle-host help\" for the usage.\n")) << result.err;
    }
    EXPECT_EQ(readFileIfPresent(std::filesystem::path(folder()) / "defaults.json"), defaults);
    EXPECT_EQ(readFileIfPresent(std::filesystem::path(folder()) / "appearance.json"), appearance);
    EXPECT_EQ(run({"log"}).out, log);
}

TEST_F(SystemCliTest, AppearanceReadsBackAndAnnouncementsAreListed) {
    EXPECT_EQ(run({"appearance", "show"}).out, "Appearance: light\nReduce Motion: off\n");
    EXPECT_EQ(run({"appearance", "dark"}).out, "Appearance: dark\nReduce Motion: off\n");
    ASSERT_EQ(run({"appearance", "reduce-motion", "on"}).status, 0);
    EXPECT_EQ(run({"appearance", "show"}).out, "Appearance: dark\nReduce Motion: on\n");
    ASSERT_EQ(run({"appearance", "light"}).status, 0);
    EXPECT_EQ(run({"appearance", "show"}).out, "Appearance: light\nReduce Motion: on\n");

    EXPECT_EQ(run({"announcements"}).out, "No announcements.\n");
    for (const auto* text : {"自动切换未完成，引擎忙", "第二行\n在这里"}) {
        auto announcer = helper({"announce", text}, "announcer");
        ASSERT_EQ(announcer->waitForExit(30), 0) << announcer->err();
    }
    const auto listed = run({"announcements"});
    ASSERT_EQ(listed.status, 0);
    std::istringstream lines(listed.out);
    std::vector<std::string> texts;
    for (std::string line; std::getline(lines, line);) {
        ASSERT_GT(line.size(), 21u);
        EXPECT_TRUE(line.starts_with("20") && line[10] == 'T' && line[19] == 'Z' && line[20] == ' ') << line;
        texts.push_back(line.substr(21));
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"自动切换未完成，引擎忙", "第二行\\n在这里"}));
    EXPECT_NE(run({"log"}).out.find("announce text=自动切换未完成，引擎忙"), std::string::npos);
}

TEST_F(SystemCliTest, NotifyReachesEveryRunningProgramOnceInOrder) {
    ASSERT_EQ(run({"notify", "com.example.a", "--object", "too early"}).status, 0);
    auto first = helper({"observe", "com.example.stop", "com.example.a", "com.example.b"}, "first");
    auto second = helper({"observe", "com.example.stop", "com.example.a"}, "second");
    ASSERT_TRUE(testing::eventually([&] { return first->out().starts_with("ready\n") && second->out().starts_with("ready\n"); }))
        << first->err() << second->err();

    const auto posted = run({"notify", "com.example.a", "--object", "snap:left"});
    ASSERT_EQ(posted.status, 0) << posted.err;
    EXPECT_EQ(posted.out, "Posted com.example.a (#2).\n");
    ASSERT_EQ(run({"notify", "com.example.b", "--info", R"({"k":[1,"二"]})"}).status, 0);
    ASSERT_EQ(run({"notify", "com.example.unobserved"}).status, 0);
    ASSERT_EQ(run({"notify", "com.example.a"}).status, 0);
    ASSERT_EQ(run({"notify", "com.example.stop"}).status, 0);
    EXPECT_EQ(first->waitForExit(60), 0) << first->err();
    EXPECT_EQ(second->waitForExit(60), 0) << second->err();

    const std::string a1 = R"({"name":"com.example.a","object":"snap:left","info":null,"mainQueue":true})";
    const std::string b = R"({"name":"com.example.b","object":null,"info":{"k":[1,"二"]},"mainQueue":true})";
    const std::string a2 = R"({"name":"com.example.a","object":null,"info":null,"mainQueue":true})";
    EXPECT_EQ(first->out(), "ready\n" + a1 + "\n" + b + "\n" + a2 + "\n");
    EXPECT_EQ(second->out(), "ready\n" + a1 + "\n" + a2 + "\n");

    const auto log = run({"log"}).out;
    EXPECT_NE(log.find("distributedNotification name=com.example.a object=snap:left seq=2"), std::string::npos) << log;
    EXPECT_NE(log.find(R"(distributedNotification name=com.example.b info={"k":[1,"二"]} seq=3)"), std::string::npos);
    // Both programs have gone: the journal keeps nothing for them.
    const auto journal = json::parse(*readFileIfPresent(std::filesystem::path(folder()) / "notifications.json"));
    EXPECT_TRUE(journal["entries"].empty()) << journal.dump();
}

}  // namespace
}  // namespace dorvane
