#include <gtest/gtest.h>

#include "DorvaneCore/Shortcuts/ShortcutKey.h"

namespace dorvane {
namespace {

constexpr std::uint64_t kCommand = 0x100000;
constexpr std::uint64_t kShift = 0x20000;
constexpr std::uint64_t kOption = 0x80000;
constexpr std::uint64_t kControl = 0x40000;
constexpr std::uint64_t kFunction = 0x800000;

TEST(ShortcutKeyValidity, CodeLabelAndModifierMask) {
    EXPECT_TRUE(ShortcutKey(127, kCommand | kShift | kOption | kControl | kFunction, "K").isValid());
    EXPECT_EQ(modifier::allowed, 0x9E0000u);
    EXPECT_FALSE(ShortcutKey(128, kCommand, "K").isValid());
    EXPECT_FALSE(ShortcutKey(8, kCommand, "").isValid());
    EXPECT_FALSE(ShortcutKey(8, 0x10000, "C").isValid());  // caps-lock flag
    EXPECT_FALSE(ShortcutKey(8, kCommand | 0x8, "C").isValid());  // a device bit
    EXPECT_TRUE(ShortcutKey(0, 0, " ").isValid());  // a blank label is still a label
}

TEST(ShortcutKeyLabel, PrefixInDisplayOrderWithoutRepeatingSymbols) {
    EXPECT_EQ(ShortcutKey(8, kControl | kCommand, "C").displayLabel(), "⌃⌘C");
    EXPECT_EQ(ShortcutKey(8, kCommand, "⌘C").displayLabel(), "⌘C");
    EXPECT_EQ(ShortcutKey(40, kFunction | kControl | kOption | kShift | kCommand, "K").displayLabel(), "Fn⌃⌥⇧⌘K");
    EXPECT_EQ(ShortcutKey(8, 0, "C").displayLabel(), "C");

    // Modifier keys show their label alone; Caps Lock is an ordinary key.
    EXPECT_EQ(ShortcutKey(56, kCommand, "⇧").displayLabel(), "⇧");
    EXPECT_EQ(ShortcutKey(63, kFunction, "Fn").displayLabel(), "Fn");
    EXPECT_EQ(ShortcutKey(54, kCommand | kShift, "右⌘").displayLabel(), "右⌘");
    EXPECT_EQ(ShortcutKey(57, kCommand, "⇪").displayLabel(), "⌘⇪");

    // A label recorded with Fn after the others ("⌘Fn K") or carrying only some
    // of its symbols gets only the missing ones, never a second copy.
    EXPECT_EQ(ShortcutKey(40, kCommand | kFunction, "⌘Fn K").displayLabel(), "⌘Fn K");
    EXPECT_EQ(ShortcutKey(40, kControl | kCommand | kFunction, "⌘Fn K").displayLabel(), "⌃⌘Fn K");
    EXPECT_EQ(ShortcutKey(8, kControl | kCommand, "⌘C").displayLabel(), "⌃⌘C");
    EXPECT_EQ(ShortcutKey(3, kFunction, "FnF").displayLabel(), "FnF");
    EXPECT_EQ(ShortcutKey(3, kFunction, "F").displayLabel(), "FnF");
}

TEST(ShortcutKeyLabel, SeparatedFormForListsAndPrefixHelper) {
    EXPECT_EQ(ShortcutKey(40, kControl | kShift, "K").displayLabel(" "), "⌃ ⇧ K");
    EXPECT_EQ(ShortcutKey(3, kFunction | kCommand, "F").displayLabel(" "), "Fn ⌘ F");
    EXPECT_EQ(ShortcutKey(3, 0, "F").displayLabel(" "), "F");
    EXPECT_EQ(ShortcutKey(8, kCommand, "⌘C").displayLabel(" "), "⌘C");
    EXPECT_EQ(modifierPrefix(kCommand | kShift), "⇧⌘");
    EXPECT_EQ(modifierPrefix(kOption), "⌥");
    EXPECT_EQ(modifierPrefix(0x10000), "");
}

TEST(ShortcutKeyJson, KeyOrderRoundTripAndStrictNumbers) {
    const ShortcutKey key(17, kCommand | kShift, "⇧⌘T");
    EXPECT_EQ(json::serialize(key.toJson()), R"({"code":17,"modifiers":1179648,"label":"⇧⌘T"})");
    EXPECT_EQ(ShortcutKey::fromJson(key.toJson()), key);

    const ShortcutKey wide(65535, 0xFFFFFFFFFFFFFFFFull, "x");
    EXPECT_EQ(ShortcutKey::fromJson(wide.toJson()), wide);

    for (const char* bad : {R"({"code":65536,"modifiers":0,"label":"x"})", R"({"code":-1,"modifiers":0,"label":"x"})",
                            R"({"code":1.5,"modifiers":0,"label":"x"})", R"({"code":1,"modifiers":-1,"label":"x"})",
                            R"({"code":1,"modifiers":0})", R"({"code":"1","modifiers":0,"label":"x"})",
                            R"({"modifiers":0,"label":"x"})", R"([1,0,"x"])"}) {
        EXPECT_THROW(ShortcutKey::fromJson(json::parse(bad)), json::DecodeError) << bad;
    }
}

}  // namespace
}  // namespace dorvane
