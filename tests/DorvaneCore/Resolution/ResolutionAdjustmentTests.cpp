#include <gtest/gtest.h>

#include <limits>

#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Resolution/ResolutionAdjustment.h"
#include "tests/DorvaneCore/Resolution/PresetPrinting.h"

namespace dorvane {
namespace {

using Control = ResolutionAdjustment::Control;
using Adjustment = ResolutionAdjustment;

TEST(ResolutionAdjustmentStepping, StepsOfThirtyTwoPointsAndTenPercentRoundingHalvesUp) {
    const Adjustment start(Dimensions(1280, 720));
    EXPECT_EQ(start.stepping(Control::width, 1), Adjustment(Dimensions(1312, 720), 100));
    EXPECT_EQ(start.stepping(Control::height, -1), Adjustment(Dimensions(1280, 688), 100));
    EXPECT_EQ(start.stepping(Control::scale, -1), Adjustment(Dimensions(1280, 720), 90));
    EXPECT_EQ(start.stepping(Control::scale, -1)->dimensions(), Dimensions(1422, 800));
    // 1163.6 and 654.5 at 110 %: the half goes up.
    EXPECT_EQ(start.stepping(Control::scale, 1)->dimensions(), Dimensions(1164, 655));
    EXPECT_EQ(Adjustment(Dimensions(1281, 1001), 200).dimensions(), Dimensions(641, 501));
    for (auto control : allCases<Control>()) {
        EXPECT_EQ(start.stepping(control, 2), std::nullopt);
        EXPECT_EQ(start.stepping(control, 0), std::nullopt);
    }
}

TEST(ResolutionAdjustmentStepping, StepsLeavingTheRangeAreRefusedNotClamped) {
    EXPECT_EQ(Adjustment(Dimensions(512, 720)).stepping(Control::width, -1), std::nullopt);
    EXPECT_EQ(Adjustment(Dimensions(544, 720)).stepping(Control::width, -1)->base.width, 512);
    EXPECT_EQ(Adjustment(Dimensions(1280, 3840)).stepping(Control::height, 1), std::nullopt);
    EXPECT_EQ(Adjustment(Dimensions(1600, 1200), 200).stepping(Control::scale, 1), std::nullopt);
    EXPECT_EQ(Adjustment(Dimensions(1600, 1200), 50).stepping(Control::scale, -1), std::nullopt);
    // The base is fine but the scaled size would leave the range.
    EXPECT_EQ(Adjustment(Dimensions(1024, 768), 150).stepping(Control::scale, 1), std::nullopt);
    EXPECT_EQ(Adjustment(Dimensions(3000, 2000), 80).stepping(Control::scale, -1), std::nullopt);
    EXPECT_EQ(Adjustment(Dimensions(1280, 768), 150).stepping(Control::height, -1), std::nullopt);
    // No overflow at the ends of the integer range.
    const auto huge = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(Adjustment(Dimensions(huge, 720)).stepping(Control::width, 1), std::nullopt);
    EXPECT_EQ(Adjustment(Dimensions(1280, 720), -huge - 1).stepping(Control::scale, -1), std::nullopt);

    EXPECT_EQ(Adjustment(Dimensions(1024, 768)).settingScale(200), std::nullopt);
    EXPECT_EQ(Adjustment(Dimensions(1280, 1024)).settingScale(45), std::nullopt);
    EXPECT_EQ(Adjustment(Dimensions(1280, 1024)).settingScale(200), Adjustment(Dimensions(1280, 1024), 200));
}

TEST(ResolutionAdjustmentCopy, NamedByItsLabelWithAFreshUUID) {
    const Adjustment adjustment(Dimensions(1600, 900), 125);
    const CustomPreset first = adjustment.copyPreset();
    EXPECT_EQ(first, (CustomPreset{first.id, "1280\u00D7720", 1280, 720, 100}));
    EXPECT_NE(first.id, adjustment.copyPreset().id);
    const RandomSource zeros = [] { return std::uint64_t{0}; };
    EXPECT_EQ(adjustment.copyPreset(zeros).id, "00000000-0000-4000-8000-000000000000");
}

}  // namespace
}  // namespace dorvane
