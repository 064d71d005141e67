#include <gtest/gtest.h>

#include <algorithm>

#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"
#include "tests/Dorvane/Shell/AppControllerHarness.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

class PanelCallbacksTest : public AppControllerTest {
protected:
    ControlPanelModel& model() { return controller->panelModel(); }
    // The settings file can no longer be replaced (a folder stands in its place).
    void blockSettingsFile() {
        fs::remove(h.root / "preferences.json");
        fs::create_directories(h.root / "preferences.json" / "in-the-way");
    }
    NamedShortcut shortcut(std::string id) {
        auto copy = ShortcutPresetCatalog::recommendedPresets().front();
        copy.id = std::move(id);
        return copy;
    }
};

TEST_F(PanelCallbacksTest, WritesThatCommitOnlyOnceWrittenAndSavesThatKeepTheChange) {
    Preferences preferences;
    preferences.namedShortcuts = {shortcut("a")};
    savePreferences(preferences);
    launch();
    blockSettingsFile();

    EXPECT_FALSE(model().onSaveShortcut(shortcut("b")));
    EXPECT_EQ(controller->preferences().namedShortcuts.size(), 1u);
    EXPECT_EQ(controller->status().title, "保存失败");
    EXPECT_TRUE(controller->status().detail);
    EXPECT_FALSE(model().onDeleteShortcut("a"));
    EXPECT_EQ(controller->status().title, "删除失败");
    EXPECT_FALSE(model().onSaveApplicationShortcuts({}, true));
    EXPECT_TRUE(operationLines().at(0).starts_with("application-shortcut-save write-failed error="));
    model().onTheme(AppTheme::light);
    EXPECT_EQ(controller->status().title, "主题保存失败");
    EXPECT_EQ(controller->preferences().theme, AppTheme::dark);

    // An in-memory change stays in effect.
    model().onShortcutToggle("a", false);
    EXPECT_FALSE(controller->preferences().namedShortcuts.front().enabled);
    EXPECT_EQ(controller->status().title, "设置保存失败");

    // The automation changes nothing unless written, and says so in a notice only.
    model().onAutoShowDockToggle(true);
    EXPECT_FALSE(controller->preferences().autoShowDockOnConnect);
    EXPECT_FALSE(controller->connectionDockPolicy().enabled);
    EXPECT_EQ(fakes->notice->shown.value().title, "设置保存失败");

    // Once the file can be written, the next change takes.
    fs::remove_all(h.root / "preferences.json");
    EXPECT_TRUE(model().onSaveShortcut(shortcut("b")));
    EXPECT_EQ(storedPreferences().namedShortcuts.size(), 2u);
}

TEST_F(PanelCallbacksTest, DeletingTheAutomaticPresetStopsTheAutomationButKeepsTheSetting) {
    Preferences preferences;
    preferences.autoResolutionEnabled = true;
    preferences.autoResolutionPresetID = "factory:phoneRecommended";
    preferences.selectedCustomID = "factory:phoneRecommended";
    savePreferences(preferences);
    launch();
    ASSERT_TRUE(controller->automaticPolicy().enabled);
    model().onDeleteCustom("factory:phoneRecommended");
    EXPECT_FALSE(controller->automaticPolicy().enabled);
    EXPECT_TRUE(controller->remoteMonitorRunning());
    const auto stored = storedPreferences();
    EXPECT_TRUE(stored.autoResolutionEnabled);
    EXPECT_FALSE(stored.autoResolutionPresetID || stored.selectedCustomID);
    EXPECT_EQ(controller->adjustment(), ResolutionAdjustment(stored.dimensions(), 100));
    connect(3);
    EXPECT_TRUE(h.details("automatic_apply_start").empty());
}

TEST_F(PanelCallbacksTest, TheAutomationIsAppliedAgainWhenSaved) {
    launch();
    connect(3);
    ASSERT_TRUE(controller->remoteStability().isConnected);
    // Switching the automatic resolution on during a session applies it now.
    model().onAutoResolutionToggle(true);
    h.scheduler.runUntilIdle();
    EXPECT_EQ(storedPreferences().autoResolutionPresetID, "factory:phoneRecommended");
    EXPECT_EQ(h.details("automatic_apply_start"), std::vector<std::string>{"1294×720"});

    // The Dock keys are released only when the Dock setting ends up off.
    const auto releases = log.count("dock.releaseAll");
    model().onAutoShowDockToggle(true);
    EXPECT_EQ(log.count("dock.releaseAll"), releases);
    model().onAutoShowDockToggle(false);
    EXPECT_EQ(log.count("dock.releaseAll"), releases + 1);

    // Nothing left to watch: the monitor stops.
    for (auto* toggle : {&model().onToolbarWhenConnectedToggle, &model().onAutoRestoreToggle,
                         &model().onAutoResolutionToggle}) {
        (*toggle)(false);
    }
    EXPECT_FALSE(controller->remoteMonitorRunning());
    EXPECT_FALSE(controller->automaticRestorePoint());
}

TEST_F(PanelCallbacksTest, TouchScrollingWaitsForThePermission) {
    launch();
    connect(3);
    model().onUUTouchScrollToggle(true);
    EXPECT_TRUE(log.has("permissions.showGuide"));
    EXPECT_FALSE(fakes->touchScroll->running);
    trust.trusted = true;
    fakes->permissions->grant();
    EXPECT_TRUE(fakes->touchScroll->running);
    model().onUUTouchScrollToggle(false);
    EXPECT_FALSE(fakes->touchScroll->running);
    EXPECT_FALSE(storedPreferences().uuTouchScrollEnabled);
}

}  // namespace
}  // namespace dorvane
