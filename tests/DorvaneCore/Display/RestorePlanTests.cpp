#include <gtest/gtest.h>

#include "DisplayFixtures.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Display/HeadlessPlaceholder.h"
#include "DorvaneCore/Display/RestorePlan.h"

namespace dorvane {
namespace {

using namespace dorvane::testing;
using Outcome = RestorePlan::Outcome;

DisplayState placeholder(std::uint32_t id) {
    return DisplayState(id, std::nullopt, HeadlessPlaceholder::hardwareKey(), true, true, 0, 0, 0, hidpi(640, 480));
}

TEST(HeadlessPlaceholderTest, RecognisedByItsExactKey) {
    EXPECT_EQ(HeadlessPlaceholder::hardwareKey(), "1970170734:1986622068:0:false");
    EXPECT_FALSE(HeadlessPlaceholder::isPlaceholder("1970170734:1986622068:0:true"));
    EXPECT_TRUE(HeadlessPlaceholder::mirrorable({placeholder(1)}).empty());
    const auto kept = HeadlessPlaceholder::mirrorable({physicalDisplay(3), placeholder(1), physicalDisplay(2)});
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1].id, 2u);
}

TEST(RestorePlanOutcome, DefersReleasesOrRestores) {
    const std::vector<DisplayState> saved{physicalDisplay(1, 0, 0, true)};
    EXPECT_EQ(RestorePlan::outcome(saved, {virtualDisplay(9), placeholder(4)}), Outcome::deferred());
    EXPECT_EQ(RestorePlan::outcome(saved, {}), Outcome::deferred());
    EXPECT_EQ(RestorePlan::outcome({}, {physicalDisplay(1)}), Outcome::release());
    EXPECT_EQ(RestorePlan::outcome({placeholder(4)}, {physicalDisplay(1)}), Outcome::release());
    EXPECT_EQ(RestorePlan::outcome({physicalDisplay(8)}, {physicalDisplay(1)}), Outcome::release());  // nothing matches

    auto a = Outcome::restore({physicalDisplay(1)});
    auto b = Outcome::restore({physicalDisplay(1)});
    b.targets[0].mode = hidpi(800, 600);
    EXPECT_EQ(a, b);  // only the ids count
    EXPECT_FALSE(a == Outcome::restore({physicalDisplay(2)}));
    EXPECT_FALSE(Outcome::release() == Outcome::deferred());
}

TEST(RestorePlanMatching, UUIDFirstThenAUniqueHardwareKey) {
    // Saved display 1 comes back as id 11 with the same UUID; saved 2 lost its UUID but its key is unique.
    auto saved1 = physicalDisplay(1, 0, 0, true, "UUID-A");
    auto saved2 = physicalDisplay(2, 1512, 0, false, "UUID-GONE");
    auto live1 = physicalDisplay(11, 0, 0, true, "UUID-A");
    auto live2 = physicalDisplay(12, 0, 0, false);
    live2.hardwareKey = saved2.hardwareKey;
    const auto outcome = RestorePlan::outcome({saved1, saved2}, {virtualDisplay(30), live2, live1});
    ASSERT_EQ(outcome.kind, Outcome::Kind::restore);
    ASSERT_EQ(outcome.targets.size(), 2u);
    EXPECT_EQ(outcome.targets[0].id, 11u);
    EXPECT_EQ(outcome.targets[1].id, 12u);
    EXPECT_EQ(outcome.targets[1].uuid, std::nullopt);  // the live identity
    EXPECT_EQ(outcome.targets[1].x, 1512);

    auto twin = live2;
    twin.id = 13;
    try {
        RestorePlan::outcome({saved1, saved2}, {live1, live2, twin});
        FAIL() << "two displays with the same key must not be guessed between";
    } catch (const FitError& error) {
        EXPECT_STREQ(error.what(), RestorePlan::ambiguousHardwareMessage);
    }
    // A UUID match wins even when the hardware key is shared.
    saved2.uuid = "UUID-B";
    twin.uuid = "UUID-B";
    EXPECT_EQ(RestorePlan::outcome({saved1, saved2}, {live1, live2, twin}), Outcome::restore({live1, twin}));
}

TEST(RestorePlanMatching, ALiveDisplayIsNeverClaimedTwice) {
    // Saved 1 finds live 5 by UUID; saved 2 has no UUID and the same hardware key as live 5.
    auto saved1 = physicalDisplay(1, 0, 0, true, "UUID-A");
    auto saved2 = physicalDisplay(2, -1920, 0, false);
    auto live = physicalDisplay(5, 0, 0, true, "UUID-A");
    saved2.hardwareKey = live.hardwareKey;
    const auto outcome = RestorePlan::outcome({saved1, saved2}, {live});
    ASSERT_EQ(outcome.kind, Outcome::Kind::restore);
    ASSERT_EQ(outcome.targets.size(), 1u);
    EXPECT_EQ(outcome.targets[0].id, 5u);
    EXPECT_EQ(outcome.targets[0].x, 0);  // saved1's place, not saved2's
}

TEST(RestorePlanTargets, NewMainAndRebasedOrigins) {
    // The saved main (id 1) is gone; the others come back as ids 5 and 3: id 3 becomes main.
    auto savedMain = physicalDisplay(1, 0, 0, true);
    auto savedLeft = physicalDisplay(2, -1920, 100);
    auto savedRight = physicalDisplay(4, 1512, -300);
    savedRight.mirror = 1;  // mirrored the display that is gone
    auto liveLeft = physicalDisplay(5);
    liveLeft.hardwareKey = savedLeft.hardwareKey;
    auto liveRight = physicalDisplay(3);
    liveRight.hardwareKey = savedRight.hardwareKey;

    const auto targets = RestorePlan::targets({savedMain, savedLeft, savedRight}, {liveLeft, liveRight});
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0].id, 5u);
    EXPECT_FALSE(targets[0].main);
    EXPECT_EQ(targets[0].x, -1920 - 1512);
    EXPECT_EQ(targets[0].y, 100 + 300);
    EXPECT_EQ(targets[1].id, 3u);
    EXPECT_TRUE(targets[1].main);
    EXPECT_EQ(targets[1].x, 0);
    EXPECT_EQ(targets[1].y, 0);
    EXPECT_EQ(targets[1].mirror, 0u);  // its master did not come back

    // A mirror of a display that did come back follows that display's new id.
    savedLeft.mirror = 4;
    const auto mirrored = RestorePlan::targets({savedMain, savedLeft, savedRight}, {liveLeft, liveRight});
    EXPECT_EQ(mirrored[0].mirror, 3u);
}

TEST(RestoreDriftTest, ReportsOnlyWhatTheTargetAsksFor) {
    auto target = physicalDisplay(1, 0, 0, true);
    target.skipMode = true;
    auto live = target;
    live.mode = hidpi(1024, 768);
    EXPECT_TRUE(RestoreDrift::drifted({target}, {live}).empty());
    live.x = 10;
    EXPECT_EQ(RestoreDrift::drifted({target}, {live}).size(), 1u);

    target.skipMode = false;
    target.skipOrigin = true;
    live = target;
    live.x = 99;
    live.main = false;
    EXPECT_TRUE(RestoreDrift::drifted({target}, {live}).empty());
    live.mirror = 4;  // mirroring is compared for every target
    EXPECT_EQ(RestoreDrift::drifted({target}, {live}).size(), 1u);
    EXPECT_TRUE(RestoreDrift::drifted({target}, {physicalDisplay(2)}).empty());  // gone is not drift
}

}  // namespace
}  // namespace dorvane
