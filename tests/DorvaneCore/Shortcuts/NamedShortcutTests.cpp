#include <gtest/gtest.h>

#include "DorvaneCore/Shortcuts/NamedShortcut.h"

namespace dorvane {
namespace {

NamedShortcut named(std::string name, ShortcutKey key = ShortcutKey(8, 0x100000, "⌘C")) {
    return NamedShortcut("id-1", std::move(name), std::move(key));
}

std::string repeated(std::string_view piece, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) result += piece;
    return result;
}

TEST(NamedShortcutValidity, NameLengthCountsCharactersOfTheUntrimmedName) {
    EXPECT_TRUE(named(repeated("截", 32)).isValid());
    EXPECT_FALSE(named(repeated("截", 33)).isValid());
    EXPECT_TRUE(named(repeated("a", 32)).isValid());
    EXPECT_FALSE(named(repeated("a", 33)).isValid());
    // An emoji with a skin-tone modifier is one character; so is e + combining acute.
    EXPECT_TRUE(named(repeated("👍🏽", 32)).isValid());
    EXPECT_FALSE(named(repeated("👍🏽", 33)).isValid());
    EXPECT_TRUE(named(repeated("e\u0301", 32)).isValid());
    // Surrounding blanks count: "  abc  " is 7 characters.
    EXPECT_TRUE(named("  " + repeated("a", 28) + "  ").isValid());
    EXPECT_FALSE(named("  " + repeated("a", 29) + "  ").isValid());
}

TEST(NamedShortcutValidity, BlankNamesAndInvalidKeys) {
    EXPECT_FALSE(named("").isValid());
    EXPECT_FALSE(named("  \n\t").isValid());
    EXPECT_FALSE(named("\u3000\u3000").isValid());  // ideographic spaces only
    EXPECT_TRUE(named("\u3000复制\u3000").isValid());
    EXPECT_FALSE(named("复制", ShortcutKey(128, 0, "X")).isValid());
    EXPECT_FALSE(named("复制", ShortcutKey(8, 0, "")).isValid());
    EXPECT_FALSE(named("复制", ShortcutKey(8, 0x10000, "C")).isValid());
}

TEST(NamedShortcutMode, TitlesClicksAndResolution) {
    using Mode = NamedShortcut::Mode;
    const auto cases = allCases<Mode>();
    ASSERT_EQ(cases.size(), 4u);
    EXPECT_EQ(cases[1], Mode::doublePress);
    EXPECT_EQ(rawValue(Mode::tapHold), "tapHold");
    EXPECT_EQ(title(Mode::press), "单击");
    EXPECT_EQ(title(Mode::hold), "单击");
    EXPECT_EQ(title(Mode::doublePress), "双击");
    EXPECT_EQ(title(Mode::tapHold), "双击");
    EXPECT_EQ(clickCount(Mode::hold), 1);
    EXPECT_EQ(clickCount(Mode::tapHold), 2);
    EXPECT_FALSE(holdsLast(Mode::doublePress));
    EXPECT_TRUE(holdsLast(Mode::hold));

    EXPECT_EQ(NamedShortcut::resolvedMode(1, false), Mode::press);
    EXPECT_EQ(NamedShortcut::resolvedMode(1, true), Mode::hold);
    EXPECT_EQ(NamedShortcut::resolvedMode(0, true), Mode::hold);
    EXPECT_EQ(NamedShortcut::resolvedMode(2, false), Mode::doublePress);
    EXPECT_EQ(NamedShortcut::resolvedMode(3, true), Mode::tapHold);
}

TEST(NamedShortcutJson, WritesEveryKeyInOrderAndRoundTrips) {
    const NamedShortcut shortcut("A1", "重做", ShortcutKey(6, 0x120000, "⇧⌘Z"), NamedShortcut::Mode::tapHold,
                                 ShortcutIcon::redo, false);
    EXPECT_EQ(json::serialize(shortcut.toJson()),
              R"({"id":"A1","name":"重做","key":{"code":6,"modifiers":1179648,"label":"⇧⌘Z"},)"
              R"("mode":"tapHold","icon":"arrow.uturn.forward","enabled":false})");
    EXPECT_EQ(NamedShortcut::fromJson(shortcut.toJson()), shortcut);
}

TEST(NamedShortcutJson, DefaultsForOptionalKeys) {
    const auto minimal =
        NamedShortcut::fromJson(json::parse(R"({"id":"x","name":"复制","key":{"code":8,"modifiers":0,"label":"C"}})"));
    EXPECT_EQ(minimal.mode, NamedShortcut::Mode::press);
    EXPECT_EQ(minimal.icon, ShortcutIcon::keyboard);
    EXPECT_TRUE(minimal.enabled);

    const auto unknownIcon = NamedShortcut::fromJson(json::parse(
        R"({"id":"x","name":"n","key":{"code":8,"modifiers":0,"label":"C"},"icon":"Doc.On.Doc","mode":"hold"})"));
    EXPECT_EQ(unknownIcon.icon, ShortcutIcon::keyboard);
    EXPECT_EQ(unknownIcon.mode, NamedShortcut::Mode::hold);

    // Invalid keys are carried; callers filter with isValid().
    const auto invalid =
        NamedShortcut::fromJson(json::parse(R"({"id":"x","name":"","key":{"code":200,"modifiers":0,"label":""}})"));
    EXPECT_FALSE(invalid.isValid());
}

TEST(NamedShortcutJson, RejectsMissingRequiredKeysAndUnknownModes) {
    const std::string key = R"("key":{"code":8,"modifiers":0,"label":"C"})";
    for (const std::string& bad : {R"({"name":"n",)" + key + "}", R"({"id":"x",)" + key + "}",
                                  std::string(R"({"id":"x","name":"n"})"),
                                  R"({"id":"x","name":"n",)" + key + R"(,"mode":"longPress"})",
                                  R"({"id":"x","name":"n",)" + key + R"(,"mode":"Press"})",
                                  R"({"id":"x","name":"n",)" + key + R"(,"enabled":"yes"})",
                                  R"({"id":"x","name":"n",)" + key + R"(,"icon":5})",
                                  std::string(R"({"id":"x","name":"n","key":{"code":70000,"modifiers":0,"label":"C"}})"),
                                  std::string(R"({"id":7,"name":"n","key":{"code":8,"modifiers":0,"label":"C"}})")}) {
        EXPECT_THROW(NamedShortcut::fromJson(json::parse(bad)), json::DecodeError) << bad;
    }
}

TEST(NamedShortcutPresets, RecommendedPresetsComeFromTheBundledCatalog) {
    const auto& presets = NamedShortcut::recommendedPresets();
    ASSERT_FALSE(presets.empty());
    EXPECT_EQ(&presets, &NamedShortcut::recommendedPresets());
    const auto dock = std::find_if(presets.begin(), presets.end(),
                                   [](const NamedShortcut& preset) { return preset.id == "preset:toggle-dock"; });
    EXPECT_NE(dock, presets.end());
}

}  // namespace
}  // namespace dorvane
