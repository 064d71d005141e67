#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Store/FolderHostStore.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane::host {
namespace {

using processes::ProcessRole;

// The system's files in a host folder, as separate processes would open it.
class SystemFilesTest : public ::testing::Test {
protected:
    // A fresh store each time, so nothing comes from another one's cache.
    std::unique_ptr<SimulatedHost> open(ProcessRole role = ProcessRole::tool) {
        return SimulatedHost::openFolder(folder, role, scheduler);
    }

    testing::TemporaryFolder temporary{"corvelle-system"};
    const std::filesystem::path& folder = temporary.path();
    dispatch::SimulatedScheduler scheduler;
};

TEST_F(SystemFilesTest, EachServiceKeepsItsOwnFile) {
    {
        auto app = open(ProcessRole::application);
        app->userDefaults().setString("zeta", "last");
        app->userDefaults().setBool("CVDebugHooks", true);
        app->announcements().announce("第一条");
        app->announcements().announce("第二条\n换行");
        auto tool = open();
        tool->systemAdmin().setInterfaceStyle(system::InterfaceStyle::dark);
    }
    auto reader = open();
    EXPECT_EQ(reader->userDefaults().boolValue("CVDebugHooks"), true);
    EXPECT_EQ(reader->appearance().current().style, system::InterfaceStyle::dark);

    const auto defaults = json::parse(*readFileIfPresent(folder / "defaults.json"));
    EXPECT_EQ(json::serialize(defaults["values"]), R"({"CVDebugHooks":true,"zeta":"last"})");   // sorted keys
    const auto pid = std::to_string(::getpid());
    EXPECT_EQ(*readFileIfPresent(folder / "announcements.jsonl"),
              R"({"time":"2025-01-01T00:00:00Z","pid":)" + pid + R"(,"text":"第一条"})" + "\n" +
                  R"({"time":"2025-01-01T00:00:00Z","pid":)" + pid + R"(,"text":"第二条\n换行"})" + "\n");
}

TEST_F(SystemFilesTest, AMalformedFileIsReportedAndInitRepairsIt) {
    auto tool = open();
    tool->systemAdmin().post({"n", std::nullopt, std::nullopt});
    tool->systemAdmin().writeUserDefault("k", 1);
    writeFileAtomically(folder / "announcements.jsonl", "{\"time\":\"2025-01-01T00:00:00Z\",\"pid\":1,\"text\":\"a\"}\n{oops\n");
    try {
        open()->systemAdmin().announcements();
        ADD_FAILURE() << "a malformed log was read";
    } catch (const HostError& error) {
        EXPECT_NE(std::string(error.what()).find("announcements.jsonl: line 2"), std::string::npos) << error.what();
    }

    writeFileAtomically(folder / "notifications.json", "[]");
    open()->admin().reset(HostFixture::laptop);
    auto repaired = open();
    EXPECT_TRUE(repaired->systemAdmin().announcements().empty());
    EXPECT_EQ(repaired->systemAdmin().userDefault("k"), std::nullopt);
    EXPECT_EQ(repaired->systemAdmin().post({"n", std::nullopt, std::nullopt}), 1u);

    // A readable journal outlives a reset: notifications on their way stay numbered on.
    repaired->admin().reset(HostFixture::laptop);
    EXPECT_EQ(open()->systemAdmin().post({"n", std::nullopt, std::nullopt}), 2u);
}

}  // namespace
}  // namespace dorvane::host
