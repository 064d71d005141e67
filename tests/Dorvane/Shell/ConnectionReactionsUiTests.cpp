#include <gtest/gtest.h>

#include <algorithm>

#include "Dorvane/Shell/StatusMenu.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Host/Session/HostCatchUp.h"
#include "tests/Dorvane/Shell/AppControllerHarness.h"

namespace dorvane {
namespace {

constexpr const char* kAutomaticPreset = "factory:phoneRecommended";

Preferences automaticResolution() {
    Preferences preferences;
    preferences.autoResolutionEnabled = true;
    preferences.autoResolutionPresetID = kAutomaticPreset;
    return preferences;
}

bool startsWith(const std::vector<std::string>& lines, std::size_t index, const std::string& prefix) {
    return index < lines.size() && lines[index].starts_with(prefix);
}

class ConnectionTest : public AppControllerTest {
protected:
    // Whether the tooltip showed `later` after it showed `first`.
    bool tooltipAfter(const std::string& first, const std::string& later) {
        const auto& shown = statusBar->tooltips;
        const auto at = std::find(shown.begin(), shown.end(), first);
        return at != shown.end() && std::find(at, shown.end(), later) != shown.end();
    }
};

TEST_F(ConnectionTest, AConnectionFitsTheDisplayAfterTheDockTapAndItsEndRestoresTheLayout) {
    auto preferences = automaticResolution();
    preferences.autoShowDockOnConnect = true;
    savePreferences(preferences);
    const auto before = h.liveLayout();
    launch();
    fakes->dock->holdSeconds = 3;

    connect(3.5);  // confirmed 2 s after the first sample; the Dock tap is still held
    EXPECT_EQ(log.count("dock.enqueueTap preset:toggle-dock"), 1u);
    EXPECT_TRUE(h.details("automatic_apply_start").empty());
    h.scheduler.advanceBy(5);
    EXPECT_TRUE(startsWith(h.details("remote_signal"), 0, "connected providers=uu uptime="));
    EXPECT_EQ(h.details("automatic_apply_start"), std::vector<std::string>{"1294×720"});
    EXPECT_EQ(h.details("automatic_apply_result"), std::vector<std::string>{"success"});
    EXPECT_EQ(shown().value().tooltip, "Corvelle · 已应用 · 1294×720");
    // The toolbar comes only once the display is ready; the selection is not written.
    EXPECT_LT(log.at("dock.tapEnded"), log.at("toolbar.setEnabled on"));
    EXPECT_TRUE(entry(StatusMenu::toolbarEntry).checked);
    EXPECT_EQ(operationLines(), std::vector<std::string>{"toolbar-auto-expand resolutionReady=true"});
    EXPECT_EQ(controller->preferences().selectedCustomID, kAutomaticPreset);
    EXPECT_FALSE(storedPreferences().selectedCustomID);

    disconnect(6);
    EXPECT_TRUE(startsWith(h.details("remote_signal"), 1, "disconnected providers= uptime="));
    EXPECT_TRUE(log.has("dock.releaseAll"));
    EXPECT_EQ(h.details("automatic_restore_complete"), std::vector<std::string>{"physical_displays"});
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_EQ(shown().value().tooltip, "Corvelle · 已还原屏幕");
    EXPECT_FALSE(controller->preferences().selectedCustomID);
    EXPECT_FALSE(controller->automaticRestorePoint());
    EXPECT_TRUE(fakes->toolbar->enabled());  // until its grace is over
    h.scheduler.advanceBy(4);
    EXPECT_FALSE(entry(StatusMenu::toolbarEntry).checked);
}

// A damaged shortcut-presets.json in the support folder: the Dock action fails with a notice
// that names the file and its line in Chinese; the engine log keeps the decoder's words.
TEST_F(ConnectionTest, ADamagedPresetsFileFailsTheDockActionSayingWhichFileAndLine) {
    auto preferences = automaticResolution();
    preferences.autoShowDockOnConnect = true;
    savePreferences(preferences);
    writeFileAtomically(h.root / "shortcut-presets.json", "{\n  \"schemaVersion\": 1,\n  \"presets\": [}\n");
    launch();
    connect(3.5);
    EXPECT_EQ(log.count("dock.enqueueTap preset:toggle-dock"), 0u);
    ASSERT_TRUE(fakes->notice->shown);
    EXPECT_EQ(fakes->notice->shown->title, "程序坞操作失败");
    EXPECT_EQ(fakes->notice->shown->detail, "shortcut-presets.json 第 3 行格式有误。");
    ASSERT_EQ(h.details("error_detail").size(), 1u);
    EXPECT_TRUE(h.details("error_detail")[0].starts_with("shortcut-presets.json 第 3 行格式有误。 cause="))
        << h.details("error_detail")[0];
    EXPECT_NE(h.details("error_detail")[0].find("<- malformed JSON: "), std::string::npos)
        << h.details("error_detail")[0];
}

TEST_F(ConnectionTest, ASessionEndingDuringTheDockTapStillRestoresWithoutAnApply) {
    auto preferences = automaticResolution();
    preferences.autoShowDockOnConnect = true;
    savePreferences(preferences);
    launch();
    fakes->dock->holdSeconds = 60;
    connect(3);
    ASSERT_TRUE(log.has("dock.enqueueTap preset:toggle-dock"));
    disconnect(6);
    EXPECT_FALSE(log.has("dock.tapEnded"));  // released, not finished
    EXPECT_TRUE(h.details("automatic_apply_start").empty());
    EXPECT_EQ(h.details("automatic_restore_complete").size(), 1u);
    EXPECT_EQ(controller->status().title, "已还原屏幕");
}

TEST_F(ConnectionTest, APresetAlreadyOnScreenIsNotAppliedAgain) {
    auto preferences = automaticResolution();
    savePreferences(preferences);
    launch();
    controller->panelModel().onCustom(kAutomaticPreset);
    h.scheduler.runUntilIdle();
    ASSERT_EQ(controller->status().title, "已应用 · 1294×720");
    connect(3);
    EXPECT_EQ(h.details("automatic_apply_skipped"), std::vector<std::string>{"1294×720"});
    EXPECT_TRUE(h.details("automatic_apply_start").empty());
    EXPECT_TRUE(controller->automaticPolicy().ownsResolution);
    EXPECT_TRUE(fakes->toolbar->expanded());
}

// A monitor restarted while the policies act on a session used to start from a
// disconnected filter, so the end of the session never arrived.
TEST_F(ConnectionTest, ASessionEndingAfterAMonitorRestartIsStillRestored) {
    enum class Restart { deleteAutomaticPreset, failedQuit };
    for (const auto restart : {Restart::deleteAutomaticPreset, Restart::failedQuit}) {
        SCOPED_TRACE(static_cast<int>(restart));
        startOver();
        savePreferences(automaticResolution());
        const auto before = h.liveLayout();
        launch();
        connect(3);
        ASSERT_EQ(controller->status().title, "已应用 · 1294×720");
        if (restart == Restart::deleteAutomaticPreset) {
            controller->panelModel().onDeleteCustom(kAutomaticPreset);
        } else {
            faultSnapshots();
            controller->quit();
            h.scheduler.runUntilIdle();
            ASSERT_EQ(controller->status().title, "桌面还原未完成");
            h.admin().clearFaults();
        }
        ASSERT_TRUE(controller->remoteMonitorRunning());
        disconnect(6);
        EXPECT_EQ(h.details("automatic_restore_complete").size(), 1u);
        EXPECT_EQ(h.liveLayout(), before);
        EXPECT_FALSE(controller->remoteStability().isConnected);

        // The next session connects and is fitted again.
        connect(3);
        EXPECT_EQ(h.details("automatic_apply_start").size(), restart == Restart::failedQuit ? 2u : 1u);
        disconnect(6);
    }
}

// Switching off the last connection feature during a session stopped the monitor but
// kept the session: nothing could end it any more, so a feature switched on later acted
// on a session long over, and the display work that waits for no session never came.
TEST_F(ConnectionTest, ASessionNoMonitorWatchesAnyMoreIsNotKept) {
    Preferences preferences;
    preferences.toolbarWhenConnected = false;
    savePreferences(preferences);
    launch();
    connect(5);
    ASSERT_TRUE(controller->remoteStability().isConnected);
    ASSERT_TRUE(controller->automaticPolicy().connected);

    controller->panelModel().onAutoRestoreToggle(false);  // nothing needs the monitor now
    h.scheduler.runUntilIdle();
    EXPECT_FALSE(controller->remoteMonitorRunning());
    EXPECT_FALSE(controller->remoteStability().isConnected);
    EXPECT_FALSE(controller->automaticPolicy().connected || controller->connectionDockPolicy().connected);
    disconnect(8);

    // The screens change with no session: the stable modes are recorded.
    h.admin().unplug("external");
    h.admin().plug("external");
    h.scheduler.advanceBy(15);
    EXPECT_TRUE(h.file("stable-layouts.json"));

    controller->panelModel().onAutoResolutionToggle(true);
    h.scheduler.advanceBy(10);
    EXPECT_TRUE(controller->remoteMonitorRunning());
    EXPECT_TRUE(h.details("automatic_apply_start").empty());
    EXPECT_TRUE(h.virtualDisplays().empty());
    EXPECT_FALSE(controller->remoteStability().isConnected);
    EXPECT_EQ(h.details("remote_signal").size(), 1u);  // the connection only

    // The monitor watches again: the next session is fitted, and its end restored.
    connect(3);
    EXPECT_EQ(h.details("automatic_apply_start"), std::vector<std::string>{"1294×720"});
    controller->panelModel().onAutoRestoreToggle(true);
    disconnect(6);
    EXPECT_EQ(h.details("automatic_restore_complete").size(), 1u);
}

TEST_F(ConnectionTest, AMonitorRestartDuringAGoingSessionSendsNoSecondDockTapAndKeepsTheToolbar) {
    Preferences preferences;
    preferences.autoShowDockOnConnect = true;
    preferences.uuTouchScrollEnabled = true;
    savePreferences(preferences);
    trust.trusted = true;
    launch();
    connect(3);
    ASSERT_TRUE(fakes->toolbar->enabled() && fakes->touchScroll->running);
    controller->startRemoteMonitor();
    EXPECT_TRUE(controller->toolbarPresence().disconnectDeadline);  // the grace begins...
    h.scheduler.advanceBy(10);
    EXPECT_FALSE(controller->toolbarPresence().disconnectDeadline);  // ...and ends with the next sample
    EXPECT_EQ(log.count("dock.enqueueTap preset:toggle-dock"), 1u);
    EXPECT_TRUE(fakes->toolbar->enabled() && fakes->touchScroll->running);
    EXPECT_EQ(h.details("remote_signal").size(), 1u);
}

TEST_F(ConnectionTest, WithoutADisplayTheRestoreWaitsForOneToReturn) {
    savePreferences(automaticResolution());
    launch();
    connect(3);
    h.admin().unplug("builtin");
    h.admin().unplug("external");
    disconnect(6);
    EXPECT_EQ(controller->status(), (EngineStatus{"显示器接回后自动还原", std::nullopt, true, Dimensions{1294, 720}}));
    ASSERT_TRUE(fakes->notice->shown);
    EXPECT_EQ(fakes->notice->shown->title, "自动还原未完成");
    EXPECT_TRUE(controller->automaticRestorePoint());

    h.admin().plug("builtin");
    h.admin().plug("external");
    h.scheduler.advanceBy(1);
    EXPECT_TRUE(h.details("deferred_restore_complete").empty());  // 1.5 s after the change
    h.scheduler.advanceBy(1);
    EXPECT_EQ(h.details("deferred_restore_complete"), std::vector<std::string>{""});
    EXPECT_EQ(controller->status().title, "已还原屏幕");
    EXPECT_FALSE(controller->automaticRestorePoint() || controller->preferences().selectedCustomID);
    EXPECT_TRUE(h.virtualDisplays().empty());
}

class HeldHostConnectionTest : public HeldHostControllerTest {};

// A resume of the deferred restore that another program held out for longer than the
// worker waits used to wait for the next screen change, which need never come: it runs
// again once the host lets go. A resume deferred again for want of a display still waits
// for the next screen change, and nothing tries it meanwhile.
TEST_F(HeldHostConnectionTest, AResumeHeldOutByAnotherProgramRunsAgainOnceTheHostLetsGo) {
    launch();
    controller->panelModel().onCustom(kAutomaticPreset);
    h.scheduler.runUntilIdle();
    ASSERT_EQ(controller->status().title, "已应用 · 1294×720");
    h.admin().unplug("builtin");
    h.admin().unplug("external");
    controller->recover();
    h.scheduler.runUntilIdle();
    ASSERT_EQ(controller->status().title, "显示器接回后自动还原");

    controller->resumePendingRestoreIfPossible();  // as after a screen change, still without a display
    h.scheduler.advanceBy(30);
    EXPECT_EQ(h.details("restore_deferred").size(), 2u);
    EXPECT_TRUE(h.app->catchUp().waiting().empty());

    // The displays return; the lock is taken before the resume (1.5 s later) and held past
    // every try of it, changing nothing.
    h.admin().plug("builtin");
    h.admin().plug("external");
    h.scheduler.advanceBy(1);
    held->held = true;
    h.scheduler.advanceBy(60);
    EXPECT_EQ(h.details("restore_resume_failed"), std::vector<std::string>{kBusyText});
    EXPECT_FALSE(controller->applying());
    EXPECT_EQ(controller->status().title, "显示器接回后自动还原");

    held->held = false;
    h.scheduler.advanceBy(host::HostCatchUp::longestDelaySeconds + 0.1);
    EXPECT_EQ(h.details("deferred_restore_complete"), std::vector<std::string>{""});
    EXPECT_EQ(controller->status().title, "已还原屏幕");
    EXPECT_TRUE(h.virtualDisplays().empty());
    EXPECT_TRUE(h.app->catchUp().waiting().empty());
}

// Results that came back after a quit began used to overwrite its status, clear the
// busy flag and redock the toolbar.
TEST_F(ConnectionTest, RestoresFinishingAfterAQuitBeganTouchNothing) {
    enum class Late { manualRestore, resumedRestore };
    for (const auto late : {Late::manualRestore, Late::resumedRestore}) {
        SCOPED_TRACE(static_cast<int>(late));
        startOver();
        launch();
        controller->panelModel().onCustom(kAutomaticPreset);
        h.scheduler.runUntilIdle();
        ASSERT_EQ(controller->status().title, "已应用 · 1294×720");
        if (late == Late::resumedRestore) {
            h.admin().unplug("builtin");
            h.admin().unplug("external");
            controller->recover();
            h.scheduler.runUntilIdle();
            ASSERT_EQ(controller->status().title, "显示器接回后自动还原");
        }
        faultSnapshots(3.0);
        // The quit comes while the restore is on the engine.
        const double quitAt = late == Late::manualRestore ? 1.0 : 2.0;
        auto quitting = dispatch::Timer::once(h.scheduler.mainQueue(), quitAt, [this] { controller->quit(); });
        if (late == Late::manualRestore) {
            controller->recover();
        } else {
            h.admin().plug("builtin");
            h.admin().plug("external");
        }
        const auto redocks = log.count("toolbar.redock");
        h.scheduler.advanceBy(120);

        EXPECT_EQ(platform.quits, std::vector<int>{0});
        EXPECT_FALSE(tooltipAfter("Corvelle · 正在还原屏幕…", "Corvelle · 已还原屏幕"));
        EXPECT_EQ(log.count("toolbar.redock"), redocks);
        EXPECT_TRUE(controller->applying());
        EXPECT_TRUE(h.details("deferred_restore_complete").empty());
    }
}

}  // namespace
}  // namespace dorvane
