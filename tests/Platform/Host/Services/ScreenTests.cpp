#include "tests/Platform/Host/HostTestSupport.h"

namespace dorvane::host {
namespace {

using displays::Rect;

class ScreenTest : public MemoryHostTest {};

TEST_F(ScreenTest, FramesAndVisibleFramesFollowTheLayout) {
    const auto screens = app->screens().screens();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].frame, (Rect{0, 0, 1512, 982}));
    EXPECT_EQ(screens[0].visibleFrame, (Rect{0, 38, 1512, 944}));  // notched panel: tall menu bar
    EXPECT_EQ(screens[0].backingScaleFactor, 2.0);
    EXPECT_EQ(screens[1].frame, (Rect{1512, 0, 1920, 1080}));
    EXPECT_EQ(screens[1].visibleFrame, screens[1].frame);

    // The bottom-left space flips around the first screen's height.
    const double height = displays::primaryScreenHeight(screens);
    EXPECT_EQ(height, 982);
    EXPECT_EQ(displays::flippedVertically(screens[1].frame, height), (Rect{1512, -98, 1920, 1080}));
    EXPECT_EQ(displays::flippedVertically(displays::flippedVertically(screens[0].visibleFrame, height), height),
              screens[0].visibleFrame);

    open(HostFixture::dualExternal);
    EXPECT_EQ(app->screens().screens()[0].visibleFrame, (Rect{0, 24, 1920, 1056}));
}

TEST_F(ScreenTest, ChangesAreDeliveredOnTheMainQueueOncePerBurstTimedOnesToo) {
    int calls = 0;
    auto observation = app->screens().observeScreenParameters([&calls] { ++calls; });
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, 0);

    app->admin().unplug("external");
    app->admin().plug("external");
    EXPECT_EQ(calls, 0);  // not synchronously
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, 1);

    app->admin().setUUIDLookupAvailable(false);  // changes nothing the displays show
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, 1);

    // Timed host changes notify without anyone asking.
    app->admin().schedule(PlugAction::unplug, "external", 4);
    scheduler.runUntilIdle();
    EXPECT_EQ(scheduler.pendingJobCount(), 1u);
    scheduler.advanceBy(3.9);
    EXPECT_EQ(calls, 1);
    scheduler.advanceBy(0.1);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(app->screens().screens().size(), 1u);

    observation.cancel();
    app->admin().schedule(PlugAction::plug, "external", 1);
    EXPECT_THROW(app->admin().schedule(PlugAction::plug, "nonexistent", 1), HostError);
    scheduler.advanceBy(1);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(app->screens().screens().size(), 2u);
}

}  // namespace
}  // namespace dorvane::host
