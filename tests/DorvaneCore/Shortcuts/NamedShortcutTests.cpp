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

TEST(NamedShortcutValidity, NameLengthBlanksAndKeys) {
    // Characters of the untrimmed name: an emoji with a skin-tone modifier is one, so is e + combining acute.
    for (std::string_view piece : {"截", "a", "👍🏽", "e\u0301"}) {
        EXPECT_TRUE(named(repeated(piece, 32)).isValid()) << piece;
        EXPECT_FALSE(named(repeated(piece, 33)).isValid()) << piece;
    }
    EXPECT_TRUE(named("  " + repeated("a", 28) + "  ").isValid());
    EXPECT_FALSE(named("  " + repeated("a", 29) + "  ").isValid());

    EXPECT_FALSE(named("  \n\t").isValid());
    EXPECT_FALSE(named("\u3000\u3000").isValid());  // ideographic spaces only
    EXPECT_TRUE(named("\u3000复制\u3000").isValid());
    EXPECT_FALSE(named("复制", ShortcutKey(128, 0, "X")).isValid());
    EXPECT_FALSE(named("复制", ShortcutKey(8, 0x10000, "C")).isValid());
}

TEST(NamedShortcutMode, TitlesClicksAndResolution) {
    using Mode = NamedShortcut::Mode;
    EXPECT_EQ(title(Mode::hold), "单击");
    EXPECT_EQ(title(Mode::tapHold), "双击");
    EXPECT_EQ(clickCount(Mode::hold), 1);
    EXPECT_EQ(clickCount(Mode::tapHold), 2);
    EXPECT_FALSE(holdsLast(Mode::doublePress));
    EXPECT_TRUE(holdsLast(Mode::hold));

    EXPECT_EQ(NamedShortcut::resolvedMode(1, false), Mode::press);
    EXPECT_EQ(NamedShortcut::resolvedMode(0, true), Mode::hold);
    EXPECT_EQ(NamedShortcut::resolvedMode(2, false), Mode::doublePress);
    EXPECT_EQ(NamedShortcut::resolvedMode(3, true), Mode::tapHold);
}

TEST(NamedShortcutJson, KeyOrderDefaultsAndRejections) {
    const NamedShortcut shortcut("A1", "重做", ShortcutKey(6, 0x120000, "⇧⌘Z"), NamedShortcut::Mode::tapHold,
                                 ShortcutIcon::redo, false);
    EXPECT_EQ(json::serialize(shortcut.toJson()),
              R"({"id":"A1","name":"重做","key":{"code":6,"modifiers":1179648,"label":"⇧⌘Z"},)"
              R"("mode":"tapHold","icon":"arrow.uturn.forward","enabled":false})");
    EXPECT_EQ(NamedShortcut::fromJson(shortcut.toJson()), shortcut);

    const std::string key = R"("key":{"code":8,"modifiers":0,"label":"C"})";
    const auto minimal = NamedShortcut::fromJson(json::parse(R"({"id":"x","name":"复制",)" + key + "}"));
    EXPECT_EQ(minimal, NamedShortcut("x", "复制", ShortcutKey(8, 0, "C"), NamedShortcut::Mode::press,
                                     ShortcutIcon::keyboard, true));
    // An unknown icon reads as the keyboard; invalid keys are carried (callers filter with isValid()).
    EXPECT_EQ(NamedShortcut::fromJson(json::parse(R"({"id":"x","name":"n",)" + key + R"(,"icon":"Doc.On.Doc"})")).icon,
              ShortcutIcon::keyboard);
    EXPECT_FALSE(NamedShortcut::fromJson(
                     json::parse(R"({"id":"x","name":"","key":{"code":200,"modifiers":0,"label":""}})"))
                     .isValid());

    for (const std::string& bad : {R"({"name":"n",)" + key + "}", R"({"id":"x",)" + key + "}",
                                  std::string(R"({"id":"x","name":"n"})"),
                                  R"({"id":"x","name":"n",)" + key + R"(,"mode":"Press"})",
                                  R"({"id":"x","name":"n",)" + key + R"(,"enabled":"yes"})",
                                  R"({"id":"x","name":"n",)" + key + R"(,"icon":5})",
                                  std::string(R"({"id":"x","name":"n","key":{"code":70000,"modifiers":0,"label":"C"}})"),
                                  std::string(R"({"id":7,"name":"n","key":{"code":8,"modifiers":0,"label":"C"}})")}) {
        EXPECT_THROW(NamedShortcut::fromJson(json::parse(bad)), json::DecodeError) << bad;
    }
}

}  // namespace
}  // namespace dorvane
