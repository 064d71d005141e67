#include <gtest/gtest.h>

#include "DorvaneCore/Input/PermissionGuidePlacement.h"
#include "tests/DorvaneCore/Geometry/RectPrinting.h"

namespace dorvane {
namespace {

using geometry::Rect;
using Listed = PermissionGuidePlacement::ListedWindow;

// The laptop: one 1512×982 screen whose visible frame leaves out the 38-point menu bar.
const PermissionGuidePlacement::Screen kLaptop{{0, 0, 1512, 982}, {0, 0, 1512, 982}, {0, 0, 1512, 944}};

TEST(PermissionGuidePlacement, SitsInsideTheSettingsWindowAtLeast360WideKeptInsideTheVisibleFrame) {
    struct Case {
        Rect window;  // top-left
        Rect panel;   // bottom-left
    };
    const std::vector<Case> cases = {
        {{366, 210, 780, 600}, {596, 184, 550, 80}},   // centred System Settings
        {{200, 150, 500, 400}, {430, 444, 360, 80}},   // narrower than 590: still 360 wide
        {{1300, 500, 600, 400}, {1130, 94, 370, 80}},  // off the right edge: pulled 12 inside
        {{100, 900, 800, 400}, {330, 12, 570, 80}},    // below the bottom: kept 12 above it
        {{100, -300, 800, 400}, {330, 852, 570, 80}},  // above the top: kept 92 below it
    };
    for (const auto& test : cases) {
        EXPECT_EQ(PermissionGuidePlacement::panelFrame(test.window, {kLaptop}), test.panel)
            << test.window.x << "," << test.window.y;
    }
    EXPECT_FALSE(PermissionGuidePlacement::panelFrame({2000, 100, 500, 400}, {kLaptop}));
}

TEST(PermissionGuidePlacement, GoesOnTheScreenThatSharesMostOfTheWindowInThatScreensSpace) {
    // An external screen to the right, its top 200 points lower in the global space.
    const PermissionGuidePlacement::Screen external{{1512, 200, 1920, 1080}, {1512, -298, 1920, 1080},
                                                    {1512, -298, 1920, 1055}};
    const Rect window{1400, 300, 800, 600};  // 112 points on the laptop, 688 on the external
    const auto panel = PermissionGuidePlacement::panelFrame(window, {kLaptop, external});
    ASSERT_TRUE(panel);
    // y = frame maxY − (window minY − display minY) − height = 782 − 100 − 600 = 82, + 12.
    EXPECT_EQ(*panel, (Rect{1630, 94, 570, 80}));
    // Equal shares: the earlier screen wins (on the external one it would start at 1524).
    EXPECT_EQ(PermissionGuidePlacement::panelFrame({1112, 300, 800, 600}, {kLaptop, external})->minX(), 930);
}

TEST(PermissionGuidePlacement, TheSettingsWindowIsTheLargestVisibleOrdinaryWindowOfTheFrontApplication) {
    const std::vector<Listed> windows = {
        {7, 0, 1.0, Rect{0, 0, 2000, 2000}},     // another application
        {5, 3, 1.0, Rect{0, 0, 1500, 900}},      // a floating panel
        {5, 0, 0.0, Rect{0, 0, 1400, 900}},      // invisible
        {5, 0, 1.0, Rect{0, 0, 320, 900}},       // not wider than 320
        {5, 0, 1.0, Rect{0, 0, 900, 240}},       // not taller than 240
        {5, 0, std::nullopt, Rect{10, 10, 700, 500}},  // no alpha: visible
        {5, 0, 1.0, Rect{20, 20, 500, 700}},     // the same area, later: loses
        {5, 0, 1.0, std::nullopt},               // no bounds
    };
    EXPECT_EQ(PermissionGuidePlacement::settingsWindow(windows, 5), (Rect{10, 10, 700, 500}));
    EXPECT_FALSE(PermissionGuidePlacement::settingsWindow(windows, 9));
}

}  // namespace
}  // namespace dorvane
