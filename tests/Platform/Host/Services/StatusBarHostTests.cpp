#include <gtest/gtest.h>

#include <stdexcept>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Session/HostCatchUp.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane::host {
namespace {

using statusbar::MenuEntry;
using statusbar::StatusItem;

StatusItem item(bool quitEnabled = true, const std::string& tooltip = "Corvelle · 就绪") {
    return StatusItem{"MenuBarTemplate", "", tooltip,
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

// The program's status bar on a host whose lock another program holds while changing
// nothing (a quiet hold): no change of the host comes to bring another try.
struct HeldStatusBar {
    dispatch::SimulatedScheduler scheduler;
    std::shared_ptr<MemoryHostStore> inner = std::make_shared<MemoryHostStore>();
    std::shared_ptr<testing::RefusingHostStore> store = std::make_shared<testing::RefusingHostStore>(inner);
    SimulatedHost app{store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue()};
    SimulatedHost tool{inner, processes::ProcessRole::tool, scheduler};
    std::vector<std::string> notices;

    HeldStatusBar() {
        app.catchUp().setNotice([this](HostCatchUp::Event, const std::string& line) { notices.push_back(line); });
    }
    std::string shown() {
        const auto state = tool.statusBarAdmin().state();
        return state.item ? state.item->tooltip : "(none)";
    }
};

// An item the host turned away shows within two seconds of the release, after a short hold
// and a long one: the newest of them, and never over one shown since.
TEST(HeldStatusBar, TheNewestItemTheHostTurnedAwayShowsWithinTwoSecondsOfTheRelease) {
    for (const double hold : {10.0, 61.0}) {
        SCOPED_TRACE(hold);
        HeldStatusBar bar;
        bar.store->held = true;
        EXPECT_THROW(bar.app.statusBar().publish(item(true, "Corvelle · 正在检测运行环境…")), HostError);
        bar.scheduler.advanceBy(1);
        EXPECT_THROW(bar.app.statusBar().publish(item()), HostError);
        bar.scheduler.advanceBy(hold - 1);
        EXPECT_EQ(bar.shown(), "(none)");
        bar.store->held = false;
        bar.scheduler.advanceBy(HostCatchUp::longestDelaySeconds);
        EXPECT_EQ(bar.shown(), "Corvelle · 就绪");
        ASSERT_EQ(bar.notices.size(), 1U);
        EXPECT_EQ(bar.notices[0], "status item: cannot lock host.lock: another process has held it for over 1 seconds");
    }

    HeldStatusBar bar;
    bar.store->held = true;
    EXPECT_THROW(bar.app.statusBar().publish(item(true, "Corvelle · 正在检测运行环境…")), HostError);
    bar.store->held = false;
    bar.app.statusBar().publish(item());
    bar.scheduler.advanceBy(10);
    EXPECT_EQ(bar.shown(), "Corvelle · 就绪");
}

// Clicks that meet a hold are each handed to the handler once, in order, and answered once
// the host lets go: one whose read the hold turned away (the lock taken just after the click
// was left), and two read just before it whose answers it turned away (taken meanwhile, as
// their chooser sees).
TEST(HeldStatusBar, EveryClickMetByAHoldIsHandedOverOnceAndAnsweredInOrder) {
    HeldStatusBar bar;
    bar.app.statusBar().publish(item());
    std::vector<std::string> chosen;
    bool holdOnceTaken = false;
    const auto observation = bar.app.statusBar().observeClicks([&](const std::string& title) {
        chosen.push_back(title);
        if (holdOnceTaken) bar.store->held = true;
        return title == "显示工具条";
    });
    bar.scheduler.runUntilIdle();
    auto& admin = bar.tool.statusBarAdmin();

    const auto first = admin.click("显示工具条");
    bar.store->held = true;
    bar.scheduler.advanceBy(5);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(admin.clickState(first), StatusBarClick::State::pending);
    bar.store->held = false;
    bar.scheduler.advanceBy(HostCatchUp::longestDelaySeconds);
    EXPECT_EQ(chosen, std::vector<std::string>{"显示工具条"});
    EXPECT_EQ(admin.clickState(first), StatusBarClick::State::done);

    holdOnceTaken = true;
    const auto second = admin.click("显示工具条");
    const auto third = admin.click("退出 Corvelle");
    bar.scheduler.runUntilIdle();
    holdOnceTaken = false;
    bar.scheduler.advanceBy(5);
    EXPECT_EQ(chosen, (std::vector<std::string>{"显示工具条", "显示工具条", "退出 Corvelle"}));
    EXPECT_EQ(admin.clickState(second), StatusBarClick::State::taken);
    EXPECT_EQ(admin.clickState(third), StatusBarClick::State::taken);
    // A click left just after the release is read before the answers are written: the two
    // taken clicks whose answers wait are not handed over with it, not even one that an older
    // tool's rewrite of the file left as pending.
    bar.inner->transact([&](HostData& data) {
        for (auto& click : data.statusBar().clicks) {
            if (click.id == second) click.state = StatusBarClick::State::pending;
        }
    });
    bar.store->held = false;
    const auto fourth = admin.click("显示工具条");
    bar.scheduler.runUntilIdle();
    bar.scheduler.advanceBy(HostCatchUp::longestDelaySeconds);
    EXPECT_EQ(admin.clickState(second), StatusBarClick::State::done);
    EXPECT_EQ(admin.clickState(third), StatusBarClick::State::refused);
    EXPECT_EQ(admin.clickState(fourth), StatusBarClick::State::done);
    bar.scheduler.advanceBy(10);
    EXPECT_EQ(chosen.size(), 4U);
    EXPECT_EQ(bar.notices.size(), 2U);  // one a hold
}

// A tool of the previous release rewrites "statusbar.json" without the mark of a taken click,
// which then reads as waiting: once while the click's answer waits for the host (the tool left
// its own click at the release), once after the answer was written. The click is carried out
// once all the same, and answered each time: the toolbar is not shown and hidden again.
TEST(HeldStatusBar, AClickHandedOverIsNeverHandedOverAgainWhateverStateARewriteLeavesItIn) {
    HeldStatusBar bar;
    bar.app.statusBar().publish(item());
    int carriedOut = 0;
    bool holdOnceTaken = true;
    const auto observation = bar.app.statusBar().observeClicks([&](const std::string&) {
        ++carriedOut;
        if (holdOnceTaken) bar.store->held = true;
        return true;
    });
    bar.scheduler.runUntilIdle();
    auto& admin = bar.tool.statusBarAdmin();
    const auto rewriteAsWaiting = [&](std::uint64_t id) {
        bar.inner->transact([&](HostData& data) {
            for (auto& click : data.statusBar().clicks) {
                if (click.id == id) click.state = StatusBarClick::State::pending;
            }
            ++data.statusBar().generation;
        });
    };

    const auto first = admin.click("显示工具条");
    bar.scheduler.runUntilIdle();
    holdOnceTaken = false;
    ASSERT_EQ(carriedOut, 1);
    EXPECT_EQ(admin.clickState(first), StatusBarClick::State::taken);
    rewriteAsWaiting(first);
    const auto second = admin.click("显示工具条");  // the older tool's own click
    bar.scheduler.advanceBy(3);
    bar.store->held = false;
    bar.scheduler.advanceBy(HostCatchUp::longestDelaySeconds);
    EXPECT_EQ(carriedOut, 2);
    EXPECT_EQ(admin.clickState(first), StatusBarClick::State::done);
    EXPECT_EQ(admin.clickState(second), StatusBarClick::State::done);

    rewriteAsWaiting(first);
    bar.scheduler.advanceBy(HostCatchUp::longestDelaySeconds);
    EXPECT_EQ(carriedOut, 2);
    EXPECT_EQ(admin.clickState(first), StatusBarClick::State::done);
    EXPECT_TRUE(bar.app.catchUp().waiting().empty());
}

// A handler that throws fails its own click, which is answered as not carried out; the click
// taken with it is still carried out and answered; the failure is said once, as a failure and
// not as the host turning work away, and nothing is tried again.
TEST(HeldStatusBar, AHandlerThatThrowsFailsItsOwnClickAndNoOther) {
    HeldStatusBar bar;
    std::vector<HostCatchUp::Event> events;
    bar.app.catchUp().setNotice([&](HostCatchUp::Event event, const std::string& line) {
        events.push_back(event);
        bar.notices.push_back(line);
    });
    bar.app.statusBar().publish(item());
    std::vector<std::string> chosen;
    const auto observation = bar.app.statusBar().observeClicks([&](const std::string& title) {
        chosen.push_back(title);
        if (title == "显示工具条") throw std::runtime_error("the toolbar could not be built");
        return true;
    });
    auto& admin = bar.tool.statusBarAdmin();
    const auto broken = admin.click("显示工具条");
    const auto quit = admin.click("退出 Corvelle");
    bar.scheduler.runUntilIdle();
    EXPECT_EQ(admin.clickState(broken), StatusBarClick::State::refused);
    EXPECT_EQ(admin.clickState(quit), StatusBarClick::State::done);
    bar.scheduler.advanceBy(10);
    EXPECT_EQ(chosen.size(), 2U);
    EXPECT_TRUE(bar.app.catchUp().waiting().empty());
    ASSERT_EQ(events, std::vector<HostCatchUp::Event>{HostCatchUp::Event::failed});
    EXPECT_NE(bar.notices.front().find("the toolbar could not be built"), std::string::npos) << bar.notices.front();
}

TEST(StatusBarState, RoundTripsThroughItsFile) {
    StatusBarState state;
    state.item = item(false);
    state.owner = processes::ProcessIdentity{4242, 77};
    state.clicks = {StatusBarClick{3, "显示工具条", StatusBarClick::State::refused},
                    StatusBarClick{4, "退出 Corvelle", StatusBarClick::State::taken}};
    state.nextClick = 5;
    state.generation = 9;
    EXPECT_EQ(StatusBarState::fromJson(json::parse(json::serialize(state.toJson()))), state);
    EXPECT_EQ(state.toJson()["item"]["pid"], 4242);
    auto broken = state.toJson();
    broken["clicks"][0]["state"] = "lost";
    EXPECT_THROW(StatusBarState::fromJson(broken), json::DecodeError);
}

}  // namespace
}  // namespace dorvane::host
