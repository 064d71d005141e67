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

TEST(ShortcutEventPlanTables, MasksAndDeviceMasks) {
    const std::vector<std::pair<std::uint16_t, std::optional<std::uint64_t>>> masks{
        {54, kCommand}, {55, kCommand}, {56, kShift},   {57, std::nullopt}, {58, kOption},
        {59, kControl}, {60, kShift},   {61, kOption},  {62, kControl},     {63, kFunction},
        {53, std::nullopt}, {64, std::nullopt}};
    for (const auto& [code, mask] : masks) EXPECT_EQ(ShortcutEventPlan::mask(code), mask) << code;

    const std::vector<std::pair<std::uint16_t, std::uint64_t>> deviceMasks{
        {54, 0x10}, {55, 0x8},    {56, 0x2}, {57, 0}, {58, 0x20}, {59, 0x1},
        {60, 0x4},  {61, 0x40}, {62, 0x2000}, {63, 0}, {8, 0},   {65535, 0}};
    for (const auto& [code, mask] : deviceMasks) EXPECT_EQ(ShortcutEventPlan::deviceMask(code), mask) << code;

    const auto& keys = ShortcutEventPlan::modifierKeys;
    ASSERT_EQ(keys.size(), 5u);
    const std::vector<std::pair<std::uint16_t, std::uint64_t>> expected{
        {55, kCommand}, {56, kShift}, {58, kOption}, {59, kControl}, {63, kFunction}};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].code, expected[i].first);
        EXPECT_EQ(keys[i].mask, expected[i].second);
    }
}

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
    EXPECT_EQ(plan.press, (Strokes{{55, f1, true, true},
                                   {56, f2, true, true},
                                   {58, f3, true, true},
                                   {59, f4, true, true},
                                   {63, f5, true, true},
                                   {40, f5, true, false}}));
    EXPECT_EQ(plan.release, (Strokes{{40, f5, false, false},
                                     {63, f4, false, true},
                                     {59, f3, false, true},
                                     {58, f2, false, true},
                                     {56, f1, false, true},
                                     {55, 0, false, true}}));
}

TEST(ShortcutEventPlanStrokes, ModifierKeysAloneAndOrdinaryKeys) {
    // A modifier key ignores its recorded modifiers.
    auto plan = ShortcutEventPlan::strokes(ShortcutKey(54, kShift | kControl, "右⌘"));
    EXPECT_EQ(plan.press, (Strokes{{54, 0x100010, true, true}}));
    EXPECT_EQ(plan.release, (Strokes{{54, 0, false, true}}));
    plan = ShortcutEventPlan::strokes(ShortcutKey(62, 0, "右⌃"));
    EXPECT_EQ(plan.press, (Strokes{{62, kControl | 0x2000, true, true}}));
    plan = ShortcutEventPlan::strokes(ShortcutKey(63, 0, "Fn"));
    EXPECT_EQ(plan.press, (Strokes{{63, kFunction, true, true}}));

    // Caps Lock is an ordinary main key.
    plan = ShortcutEventPlan::strokes(ShortcutKey(57, kCommand, "⇪"));
    EXPECT_EQ(plan.press, (Strokes{{55, kCommand | 0x8, true, true}, {57, kCommand | 0x8, true, false}}));
    EXPECT_EQ(plan.release, (Strokes{{57, kCommand | 0x8, false, false}, {55, 0, false, true}}));

    plan = ShortcutEventPlan::strokes(ShortcutKey(3, kFunction, "F"));
    EXPECT_EQ(plan.press, (Strokes{{63, kFunction, true, true}, {3, kFunction, true, false}}));

    plan = ShortcutEventPlan::strokes(ShortcutKey(53, 0, "Esc"));
    EXPECT_EQ(plan.press, (Strokes{{53, 0, true, false}}));
    EXPECT_EQ(plan.release, (Strokes{{53, 0, false, false}}));
}

TEST(ShortcutEventPlanStrokes, InvalidKeysPlanNothing) {
    for (const auto& key : {ShortcutKey(128, kCommand, "X"), ShortcutKey(8, kCommand, ""),
                            ShortcutKey(8, kCommand | 0x10000, "C"), ShortcutKey(54, 0x10000, "右⌘")}) {
        const auto plan = ShortcutEventPlan::strokes(key);
        EXPECT_TRUE(plan.press.empty());
        EXPECT_TRUE(plan.release.empty());
    }
}

}  // namespace
}  // namespace dorvane
