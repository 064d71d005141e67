#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "Dorvane/Shell/Controller/ControllerDetail.h"
#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/Shell/Controller/PreferencesKeeper.h"
#include "Dorvane/Shell/Controller/StatusKeeper.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Settings/PreferencesStore.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane::shell {
namespace {

namespace fs = std::filesystem;

// Counts what the keeper asks of the controller; nothing else is expected of it here.
class CountingHost final : public ControllerHost {
public:
    void renderMenu() override { ++renders; }
    void showNotice(const std::string& title, const std::optional<std::string>&,
                    const std::optional<displays::Screen>&) override {
        notices.push_back(title);
    }
    void dismissToolPanels() override {}
    void launchTask(dispatch::Task<void>) override {}
    void permissionStep(std::function<void()>) override {}
    std::optional<geometry::Rect> windowWorkspace() override { return std::nullopt; }
    dispatch::Executor& mainQueue() override { return *queue; }
    std::string loggedFailureText(const std::exception& error) override {
        logged.push_back(technicalText(error));
        return shownText(error);
    }

    dispatch::Executor* queue = nullptr;
    int renders = 0;
    std::vector<std::string> notices;
    std::vector<std::string> logged;
};

class PreferencesKeeperTest : public ::testing::Test {
protected:
    PreferencesKeeperTest() : keeper(status, host, folder.path(), scheduler) { host.queue = &scheduler.mainQueue(); }
    // The settings file can no longer be replaced (a folder stands in its place).
    void blockSettingsFile() { fs::create_directories(folder.path() / "preferences.json" / "in-the-way"); }
    Preferences stored() {
        return PreferencesStore(folder.path(), [this] { return scheduler.wallTime(); }).load();
    }
    Preferences changed() {
        Preferences next = keeper.preferences();
        next.showWindowControls = !next.showWindowControls;
        return next;
    }

    testing::TemporaryFolder folder{"preferences-keeper"};
    dispatch::SimulatedScheduler scheduler;
    StatusKeeper status{titled("已就绪")};
    CountingHost host;
    PreferencesKeeper keeper;
};

TEST_F(PreferencesKeeperTest, BothRulesWriteTheChangeAndMakeItTheSettings) {
    const Preferences validated = changed();
    EXPECT_EQ(keeper.write(validated, WriteRule::validated), std::nullopt);
    EXPECT_EQ(keeper.preferences(), validated);
    EXPECT_EQ(stored(), validated);
    EXPECT_EQ(host.renders, 0);  // the caller shows what else it changed

    const Preferences inEffect = changed();
    EXPECT_EQ(keeper.write(inEffect, WriteRule::inEffect), std::nullopt);
    EXPECT_EQ(keeper.preferences(), inEffect);
    EXPECT_EQ(stored(), inEffect);
    EXPECT_EQ(host.renders, 1);
    EXPECT_EQ(status.status().title, "已就绪");
}

TEST_F(PreferencesKeeperTest, AFailedValidatedWriteChangesNothingAndHandsBackWhy) {
    const Preferences before = keeper.preferences();
    blockSettingsFile();

    const auto failure = keeper.write(changed(), WriteRule::validated);
    ASSERT_TRUE(failure);
    // The person reads which file and why; the log gets the system's own words.
    EXPECT_EQ(*failure, "无法保存 preferences.json：那是一个文件夹。");
    ASSERT_EQ(host.logged.size(), 1u);
    EXPECT_NE(host.logged[0].find("preferences.json: Is a directory"), std::string::npos) << host.logged[0];
    EXPECT_EQ(keeper.preferences(), before);
    EXPECT_EQ(status.status().title, "已就绪");
    EXPECT_EQ(host.renders, 0);
}

TEST_F(PreferencesKeeperTest, AFailedInEffectWriteKeepsTheChangeAndSaysTheFileIsBehind) {
    blockSettingsFile();
    const Preferences next = changed();

    const auto failure = keeper.write(next, WriteRule::inEffect);
    ASSERT_TRUE(failure);
    EXPECT_EQ(keeper.preferences(), next);
    EXPECT_EQ(status.status().title, "设置保存失败");
    EXPECT_EQ(status.status().detail, failure);
    EXPECT_EQ(host.renders, 1);
    EXPECT_TRUE(host.notices.empty());
}

}  // namespace
}  // namespace dorvane::shell
