#include <gtest/gtest.h>

#include "DorvaneCore/Remote/ConnectionPolicies.h"
#include "DorvaneCore/Settings/Preferences.h"
#include "tests/DorvaneCore/Settings/PreferencesPrinting.h"

namespace dorvane {
namespace {

TEST(PreferencesDerivedTest, SelectedPresetDecidesSizeAndAdjustment) {
    Preferences preferences;
    preferences.preset = ScreenPreset::tablet;
    preferences.size = DisplaySize::moreSpace;
    preferences.customPresets.push_back(CustomPreset{"U1", "宽屏", 1600, 900, 125});
    preferences.selectedCustomID = "deleted";
    EXPECT_EQ(preferences.dimensions(), Dimensions(1280, 960));
    EXPECT_EQ(preferences.resolutionAdjustment(), ResolutionAdjustment(Dimensions(1280, 960), 100));

    preferences.selectedCustomID = "U1";
    EXPECT_EQ(preferences.dimensions(), Dimensions(1280, 720));  // size does not apply to a custom preset
    EXPECT_EQ(preferences.resolutionAdjustment(), ResolutionAdjustment(Dimensions(1600, 900), 125));
}

TEST(PreferencesDerivedTest, EnablingAutomaticResolutionPicksAPresetOnlyWhenNeeded) {
    Preferences preferences;
    preferences.autoResolutionPresetID = "factory:tablet";
    preferences.setAutomaticResolutionEnabled(true);
    EXPECT_EQ(preferences.autoResolutionPresetID, "factory:tablet");

    preferences.autoResolutionPresetID = "gone";
    preferences.setAutomaticResolutionEnabled(false);
    EXPECT_EQ(preferences.autoResolutionPresetID, "gone");
    preferences.setAutomaticResolutionEnabled(true);
    EXPECT_EQ(preferences.autoResolutionPresetID, "factory:phoneRecommended");

    preferences.customPresets.clear();
    preferences.setAutomaticResolutionEnabled(true);
    EXPECT_TRUE(preferences.autoResolutionEnabled);
    EXPECT_EQ(preferences.autoResolutionPresetID, std::nullopt);
}

TEST(PreferencesDerivedTest, MonitoringIsNeededWhileAnyConnectionFeatureIsOn) {
    Preferences quiet;
    quiet.toolbarWhenConnected = false;
    quiet.autoRestoreOnDisconnect = false;
    EXPECT_FALSE(quiet.needsRemoteConnectionMonitoring());
    for (bool Preferences::*feature : {&Preferences::uuTouchScrollEnabled, &Preferences::autoShowDockOnConnect,
                                       &Preferences::toolbarWhenConnected, &Preferences::toolbarWhenDisconnected,
                                       &Preferences::autoFillWindowsOnRemote, &Preferences::autoRestoreOnDisconnect}) {
        Preferences one = quiet;
        one.*feature = true;
        EXPECT_TRUE(one.needsRemoteConnectionMonitoring());
    }
    quiet.autoResolutionEnabled = true;
    EXPECT_TRUE(quiet.needsRemoteConnectionMonitoring());
    quiet.autoResolutionPresetID = "gone";
    EXPECT_FALSE(quiet.needsRemoteConnectionMonitoring());
}

TEST(PreferencesDerivedTest, ToolbarPresenceReadsTheSettingOfItsContext) {
    Preferences preferences;
    preferences.toolbarWhenConnected = false;
    preferences.toolbarWhenDisconnected = true;
    EXPECT_FALSE(ToolbarPresence::shows(ToolbarPresence::Context::connected, preferences));
    EXPECT_TRUE(ToolbarPresence::shows(ToolbarPresence::Context::disconnected, preferences));
}

}  // namespace
}  // namespace dorvane
