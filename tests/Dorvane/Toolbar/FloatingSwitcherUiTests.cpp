#include <gtest/gtest.h>

#include "tests/Dorvane/Toolbar/ToolbarHarness.h"

namespace dorvane {
namespace {

using geometry::Rect;
using testing::ToolbarTest;
using testing::mouseAt;

using ToolbarPlacementTest = ToolbarTest;

TEST_F(ToolbarPlacementTest, EnablingShowsTheHandleInTheCornerOnceAndWithoutTakingTheFocus) {
    configure();
    toolbar->setEnabled(true);
    toolbar->setEnabled(true);
    EXPECT_EQ(toolbar->panelFrame(), (Rect{1374, 2, 64, 64}));
    EXPECT_EQ(toolbar->panel().geometry(), QRect(1374, 858, 64, 64));
    EXPECT_EQ(count("expansionChanged"), 1u);
    ToolbarPanel& panel = toolbar->panel();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));
    ASSERT_NE(toolbar->handle(), nullptr);
    EXPECT_EQ(toolbar->handle()->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(toolbar->shadowHost()->ellipticalShadow());
}

TEST_F(ToolbarPlacementTest, ExpandingReachesTheExactStripAtTheLastStepOnEverySide) {
    struct Case {
        ToolbarSide side;
        Rect qt;
    };
    for (const Case& test : {Case{ToolbarSide::left, {-6, 18, 84, 912}}, Case{ToolbarSide::right, {1362, 18, 84, 912}},
                             Case{ToolbarSide::top, {-6, 18, 1452, 86}}, Case{ToolbarSide::bottom, {-6, 844, 1452, 86}}}) {
        SCOPED_TRACE(static_cast<int>(test.side));
        preferences.toolbarSide = test.side;
        configure();
        toolbar->setEnabled(true);
        calls.clear();
        const double start = scheduler.uptime();
        toolbar->toggleList();
        EXPECT_TRUE(toolbar->transitioning());
        EXPECT_EQ(calls, (std::vector<std::string>{"dismiss"}));
        calls.clear();
        // The easing overshoots: an unrounded frame tells the last step from an earlier one.
        scheduler.advanceBy(0.336);
        EXPECT_NE(qtFrame(toolbar->panel()), test.qt);
        EXPECT_TRUE(calls.empty());
        scheduler.advanceBy(0.016);
        EXPECT_NEAR(scheduler.uptime() - start, 0.352, 1e-9);
        EXPECT_EQ(qtFrame(toolbar->panel()), test.qt);
        EXPECT_FALSE(toolbar->transitioning());
        EXPECT_EQ(calls, (std::vector<std::string>{"expansionChanged"}));
        scheduler.advanceBy(1);
        EXPECT_EQ(count("expansionChanged"), 1u);
        toolbar->setEnabled(false);
    }
}

TEST_F(ToolbarPlacementTest, UnderReduceMotionTheStripIsThereBeforeToggleListReturns) {
    preferences.toolbarSide = ToolbarSide::left;
    configure();
    toolbar->setEnabled(true);
    calls.clear();
    reduceMotion = true;
    toolbar->toggleList();
    EXPECT_EQ(qtFrame(toolbar->panel()), (Rect{-6, 18, 84, 912}));
    EXPECT_EQ(count("expansionChanged"), 1u);
    EXPECT_FALSE(toolbar->transitioning());
    ASSERT_NE(toolbar->toolbar(), nullptr);
    for (ToolbarButton* button : toolbar->toolbar()->buttons()) EXPECT_FALSE(button->entering());
}

TEST_F(ToolbarPlacementTest, ACollapseMidExpansionStartsFromWhereTheStripIs) {
    preferences.toolbarSide = ToolbarSide::left;
    configure();
    toolbar->setEnabled(true);
    calls.clear();
    toolbar->toggleList();
    scheduler.advanceBy(0.1);
    const Rect midway = toolbar->panelFrame();
    ASSERT_NE(midway, (Rect{1374, 2, 64, 64}));
    // The expansion's buttons enter one after another, the first at once.
    ASSERT_NE(toolbar->toolbar(), nullptr);
    toolbar->toggleList();
    scheduler.runUntilIdle();
    EXPECT_EQ(toolbar->panelFrame(), midway);
    scheduler.advanceBy(0.2);
    EXPECT_EQ(toolbar->panelFrame(), (Rect{1374, 2, 64, 64}));
    // Only the collapse said so; the cancelled expansion never did.
    EXPECT_EQ(calls, (std::vector<std::string>{"dismiss", "dismiss", "willCollapse", "expansionChanged"}));
}

TEST_F(ToolbarPlacementTest, QuickRedocksPlaceAtOnceEachAndLaterOnlyForTheLast) {
    expandOn(ToolbarSide::right);
    const auto before = toolbar->rebuilds();
    toolbar->redock();
    toolbar->redock();
    toolbar->redock();
    EXPECT_EQ(toolbar->rebuilds(), before + 3);
    scheduler.advanceBy(0.35);
    EXPECT_EQ(toolbar->rebuilds(), before + 4);
    scheduler.advanceBy(0.85);
    EXPECT_EQ(toolbar->rebuilds(), before + 5);
    scheduler.advanceBy(5);
    EXPECT_EQ(toolbar->rebuilds(), before + 5);
    // A redock during a transition cancels it, says the state settled and places the strip.
    toolbar->toggleList();
    toolbar->toggleList();
    calls.clear();
    toolbar->redock();
    EXPECT_FALSE(toolbar->transitioning());
    EXPECT_EQ(calls, (std::vector<std::string>{"expansionChanged"}));
    EXPECT_EQ(qtFrame(toolbar->panel()), (Rect{1362, 18, 84, 912}));
}

TEST_F(ToolbarPlacementTest, TheHandleMovesOnlyUpAndDownInsideTheVisibleFrame) {
    configure();
    toolbar->setEnabled(true);
    ToolbarButton& handle = *toolbar->handle();
    // Up 10 points (Qt's y falls): not yet a drag; then the handle follows the finger, but
    // never higher than 8 points under the top.
    const QPointF start = QPointF(handle.mapToGlobal(QPoint(26, 26)));
    mouseAt(handle, QEvent::MouseButtonPress, start);
    mouseAt(handle, QEvent::MouseMove, start - QPointF(0, 10));
    EXPECT_EQ(toolbar->panelFrame(), (Rect{1374, 2, 64, 64}));
    mouseAt(handle, QEvent::MouseMove, start - QPointF(0, 300));
    EXPECT_EQ(toolbar->panelFrame(), (Rect{1374, 302, 64, 64}));
    mouseAt(handle, QEvent::MouseMove, start - QPointF(500, 2000));
    EXPECT_EQ(toolbar->panelFrame(), (Rect{1374, 900 - 64 - 8 + 6, 64, 64}));
    mouseAt(handle, QEvent::MouseButtonRelease, start - QPointF(500, 2000), Qt::NoButton);
    EXPECT_EQ(count("expansionChanged"), 1u) << "a drag is not a tap";
    EXPECT_EQ(logged("button-up id=handle").size(), 1u);
}

}  // namespace
}  // namespace dorvane
