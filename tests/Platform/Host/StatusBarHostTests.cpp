#include <gtest/gtest.h>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/HostError.h"
#include "Platform/Host/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane::host {
namespace {

using statusbar::MenuEntry;
using statusbar::StatusItem;

StatusItem item(bool quitEnabled = true) {
    return StatusItem{"MenuBarTemplate", "", "Corvelle · 就绪",
                      {MenuEntry{"显示工具条", true, false, false}, MenuEntry::separatorLine(),
                       MenuEntry{"退出 Corvelle", quitEnabled, false, false}}};
}

class StatusBarHostTest : public ::testing::Test {
protected:
    dispatch::SimulatedScheduler scheduler;
    std::shared_ptr<MemoryHostStore> store = std::make_shared<MemoryHostStore>();
    std::unique_ptr<SimulatedHost> app =
        std::make_unique<SimulatedHost>(store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue());
    SimulatedHost tool{store, processes::ProcessRole::tool, scheduler};
};

TEST_F(StatusBarHostTest, ClicksReachTheOwnerOnItsMainQueueAndAreAnswered) {
    std::vector<std::string> chosen;
    app->statusBar().publish(item());
    const auto observation = app->statusBar().observeClicks([&](const std::string& title) {
        chosen.push_back(title);
        return title == "显示工具条";
    });
    auto& admin = tool.statusBarAdmin();
    const auto toggle = admin.click("显示工具条");
    const auto quit = admin.click("退出 Corvelle");
    EXPECT_TRUE(chosen.empty());  // nothing runs until the main queue does
    scheduler.runUntilIdle();
    EXPECT_EQ(chosen, (std::vector<std::string>{"显示工具条", "退出 Corvelle"}));
    EXPECT_EQ(admin.clickState(toggle), StatusBarClick::State::done);
    EXPECT_EQ(admin.clickState(quit), StatusBarClick::State::refused);
    admin.forget(toggle);
    EXPECT_FALSE(admin.clickState(toggle));
    scheduler.runUntilIdle();
    EXPECT_EQ(chosen.size(), 2u);  // answered clicks are never handed over again

    EXPECT_THROW(admin.click("设置…"), HostError);
    EXPECT_THROW(admin.click(""), HostError);  // separators are not entries
    app->statusBar().publish(item(false));
    EXPECT_THROW(admin.click("退出 Corvelle"), HostError);
}

TEST_F(StatusBarHostTest, TheItemLeavesWithItsOwner) {
    app->statusBar().publish(item());
    EXPECT_EQ(tool.statusBarAdmin().state().item, item());
    EXPECT_EQ(tool.statusBarAdmin().state().owner, app->process());

    // The owner dies without taking it out: the host drops it, and its clicks.
    store->endProcess(app->process());
    const auto state = tool.statusBarAdmin().state();
    EXPECT_FALSE(state.item);
    EXPECT_THROW(tool.statusBarAdmin().click("显示工具条"), HostError);

    // An orderly end takes it out at once.
    auto next = std::make_unique<SimulatedHost>(store, processes::ProcessRole::application, scheduler,
                                                &scheduler.mainQueue());
    next->statusBar().publish(item());
    ASSERT_TRUE(tool.statusBarAdmin().state().item);
    next.reset();
    EXPECT_FALSE(tool.statusBarAdmin().state().item);
}

// A quit answered and followed at once by the item's removal still reads as answered;
// a click nobody answered goes with its owner, whether it quit or died.
TEST_F(StatusBarHostTest, AnAnswerOutlivesTheItemUntilItsChooserReadsIt) {
    auto& admin = tool.statusBarAdmin();
    app->statusBar().publish(item());
    auto observation = app->statusBar().observeClicks([](const std::string&) { return true; });
    const auto quit = admin.click("退出 Corvelle");
    scheduler.runUntilIdle();
    const auto waiting = admin.click("显示工具条");
    observation = {};
    app.reset();
    EXPECT_FALSE(admin.state().item);
    EXPECT_EQ(admin.clickState(quit), StatusBarClick::State::done);
    EXPECT_FALSE(admin.clickState(waiting));
    admin.forget(quit);
    EXPECT_FALSE(admin.clickState(quit));

    auto next = std::make_unique<SimulatedHost>(store, processes::ProcessRole::application, scheduler,
                                                &scheduler.mainQueue());
    next->statusBar().publish(item());
    auto answered = next->statusBar().observeClicks([](const std::string&) { return false; });
    const auto refused = admin.click("显示工具条");
    scheduler.runUntilIdle();
    const auto unanswered = admin.click("显示工具条");
    store->endProcess(next->process());
    EXPECT_FALSE(admin.state().item);
    EXPECT_EQ(admin.clickState(refused), StatusBarClick::State::refused);
    EXPECT_FALSE(admin.clickState(unanswered));
}

TEST(StatusBarState, RoundTripsThroughItsFile) {
    StatusBarState state;
    state.item = item(false);
    state.owner = processes::ProcessIdentity{4242, 77};
    state.clicks = {StatusBarClick{3, "显示工具条", StatusBarClick::State::refused}};
    state.nextClick = 4;
    state.generation = 9;
    EXPECT_EQ(StatusBarState::fromJson(json::parse(json::serialize(state.toJson()))), state);
    EXPECT_EQ(state.toJson()["item"]["pid"], 4242);
    auto broken = state.toJson();
    broken["clicks"][0]["state"] = "lost";
    EXPECT_THROW(StatusBarState::fromJson(broken), json::DecodeError);
}

}  // namespace
}  // namespace dorvane::host
