#include <gtest/gtest.h>

#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"

namespace dorvane {
namespace {

constexpr std::uint64_t kCommand = 0x100000;
constexpr std::uint64_t kShift = 0x20000;
constexpr std::uint64_t kOption = 0x80000;
constexpr std::uint64_t kControl = 0x40000;
constexpr std::uint64_t kFunction = 0x800000;

using Strokes = std::vector<ShortcutStroke>;

TEST(ShortcutEventPlanStrokes, CommandShiftExample) {
    const auto plan = ShortcutEventPlan::strokes(ShortcutKey(17, kCommand | kShift, "T"));
    const std::uint64_t both = kCommand | 0x8 | kShift | 0x2;
    EXPECT_EQ(plan.press, (Strokes{{55, kCommand | 0x8, true, true}, {56, both, true, true}, {17, both, true, false}}));
    EXPECT_EQ(plan.release, (Strokes{{17, both, false, false}, {56, kCommand | 0x8, false, true}, {55, 0, false, true}}));
}

TEST(ShortcutEventPlanStrokes, AllModifiersPressInFixedOrderAndReleaseInReverse) {
    const auto plan = ShortcutEventPlan::strokes(ShortcutKey(40, kFunction | kControl | kOption | kShift | kCommand, "K"));
    std::uint64_t f1 = kCommand | 0x8, f2 = f1 | kShift | 0x2, f3 = f2 | kOption | 0x20, f4 = f3 | kControl | 0x1,
                  f5 = f4 | kFunction;
    EXPECT_EQ(plan.press, (Strokes{{55, f1, true, true}, {56, f2, true, true}, {58, f3, true, true},
                                   {59, f4, true, true}, {63, f5, true, true}, {40, f5, true, false}}));
    EXPECT_EQ(plan.release, (Strokes{{40, f5, false, false}, {63, f4, false, true}, {59, f3, false, true},
                                     {58, f2, false, true}, {56, f1, false, true}, {55, 0, false, true}}));
}

TEST(ShortcutEventPlanStrokes, ModifierKeysAloneAndOrdinaryKeys) {
    // A modifier key alone ignores its recorded modifiers and carries its own side's device bit.
    const std::vector<std::pair<std::uint16_t, std::uint64_t>> alone{
        {54, kCommand | 0x10}, {60, kShift | 0x4}, {61, kOption | 0x40}, {62, kControl | 0x2000}, {63, kFunction}};
    for (const auto& [code, flags] : alone) {
        const auto plan = ShortcutEventPlan::strokes(ShortcutKey(code, kShift | kControl, "键"));
        EXPECT_EQ(plan.press, (Strokes{{code, flags, true, true}})) << code;
        EXPECT_EQ(plan.release, (Strokes{{code, 0, false, true}})) << code;
    }

    // Caps Lock is an ordinary main key.
    auto plan = ShortcutEventPlan::strokes(ShortcutKey(57, kCommand, "⇪"));
    EXPECT_EQ(plan.press, (Strokes{{55, kCommand | 0x8, true, true}, {57, kCommand | 0x8, true, false}}));
    EXPECT_EQ(plan.release, (Strokes{{57, kCommand | 0x8, false, false}, {55, 0, false, true}}));

    plan = ShortcutEventPlan::strokes(ShortcutKey(53, 0, "Esc"));
    EXPECT_EQ(plan.press, (Strokes{{53, 0, true, false}}));
    EXPECT_EQ(plan.release, (Strokes{{53, 0, false, false}}));
}

TEST(ShortcutEventPlanStrokes, InvalidKeysPlanNothing) {
    for (const auto& key : {ShortcutKey(128, kCommand, "X"), ShortcutKey(8, kCommand, ""),
                            ShortcutKey(8, kCommand | 0x10000, "C"), ShortcutKey(54, 0x10000, "右⌘")}) {
        const auto plan = ShortcutEventPlan::strokes(key);
        EXPECT_TRUE(plan.press.empty() && plan.release.empty());
    }
}

}  // namespace
}  // namespace dorvane
