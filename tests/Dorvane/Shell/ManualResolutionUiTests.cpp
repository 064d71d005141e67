#include <gtest/gtest.h>

#include "Dorvane/Shell/StatusMenu.h"
#include "tests/Dorvane/Shell/AppControllerHarness.h"

namespace dorvane {
namespace {

constexpr const char* kLandscape = "factory:phoneRecommended";  // 1294×720 at 100 %

class ManualResolutionTest : public AppControllerTest {
protected:
    void SetUp() override {
        Preferences preferences;
        preferences.selectedCustomID = kLandscape;
        savePreferences(preferences);
        launch();
    }
    ControlPanelModel& model() { return controller->panelModel(); }
    CustomPreset selected() { return controller->preferences().selectedCustom().value(); }
};

TEST_F(ManualResolutionTest, ScaleAndStepsChangeOnlyWhatTheyMay) {
    // The scale in effect only closes the tool panels.
    fakes->launcher->visible = true;
    model().onScale(100);
    EXPECT_FALSE(fakes->launcher->visible);
    EXPECT_FALSE(controller->applying());

    // While an apply runs, scale and steps are ignored entirely.
    model().onScale(125);
    ASSERT_TRUE(controller->applying());
    EXPECT_EQ(controller->status().title, "正在应用…");
    const auto during = controller->adjustment();
    model().onScale(150);
    controller->adjust(ResolutionAdjustment::Control::width, 1);
    EXPECT_EQ(controller->adjustment(), during);
    h.scheduler.runUntilIdle();
    EXPECT_EQ(storedPreferences().selectedCustom()->scalePercent, 125);
    EXPECT_EQ(controller->status().title, "已应用 · 1035×576");

    // A width step changes the adjustment only; a scale step also the preset.
    controller->adjust(ResolutionAdjustment::Control::width, 1);
    h.scheduler.runUntilIdle();
    EXPECT_EQ(controller->adjustment().base, (Dimensions{1326, 720}));
    EXPECT_EQ(selected().width, 1294);
    controller->adjust(ResolutionAdjustment::Control::scale, -1);
    h.scheduler.runUntilIdle();
    EXPECT_EQ(selected().scalePercent, 115);
    EXPECT_EQ(controller->adjustment().scalePercent, 115);

    // Out of range: refused, nothing applied.
    const auto workerRuns = h.recorded.commands.size();
    model().onScale(10);
    h.scheduler.runUntilIdle();
    EXPECT_EQ(controller->adjustment().scalePercent, 115);
    EXPECT_EQ(h.recorded.commands.size(), workerRuns);
}

TEST_F(ManualResolutionTest, OnlyTheSizeOnScreenCanBeSavedAsACopy) {
    model().onCustom(kLandscape);
    h.scheduler.runUntilIdle();
    const auto presets = controller->preferences().customPresets.size();
    // A step not applied yet: the adjustment is not what is on screen.
    controller->adjust(ResolutionAdjustment::Control::height, 1);
    controller->saveCopy();
    EXPECT_EQ(controller->preferences().customPresets.size(), presets);
    h.scheduler.runUntilIdle();

    controller->saveCopy();
    const auto stored = storedPreferences();
    ASSERT_EQ(stored.customPresets.size(), presets + 1);
    EXPECT_EQ(stored.customPresets.back().name, "1294×752");
    EXPECT_EQ(stored.selectedCustomID, stored.customPresets.back().id);
    EXPECT_EQ(controller->status().title, "副本已保存");
    EXPECT_TRUE(model().copySaved());
}

TEST_F(ManualResolutionTest, AQuitDuringAnApplyDropsItsResult) {
    model().onCustom(kLandscape);
    controller->quit();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(platform.quits, std::vector<int>{0});
    EXPECT_EQ(controller->status().title, "正在还原屏幕…");
    EXPECT_TRUE(h.virtualDisplays().empty());
}

TEST_F(ManualResolutionTest, RestoringByHandReportsOnlyInTheStatus) {
    // Nothing to restore: whatever the engine reports, and never a notice.
    choose("还原本机分辨率");
    EXPECT_EQ(h.details("manual_restore_start"), std::vector<std::string>{""});
    EXPECT_EQ(controller->status().title, "已还原屏幕");

    // A failed restore keeps the session for the next try.
    model().onCustom(kLandscape);
    h.scheduler.runUntilIdle();
    faultSnapshots();
    model().onRecover();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(controller->status().title, "还原未完成");
    EXPECT_TRUE(controller->status().detail);
    EXPECT_TRUE(h.file("session.json"));
    EXPECT_FALSE(fakes->notice->shown);
}

}  // namespace
}  // namespace dorvane
