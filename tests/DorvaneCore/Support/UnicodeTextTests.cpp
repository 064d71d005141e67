#include <gtest/gtest.h>

#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane::text {
namespace {

TEST(UnicodeTrim, RemovesEveryKindOfWhiteSpaceAtBothEndsOnly) {
    EXPECT_EQ(trimmed("  复制 \n"), "复制");
    EXPECT_EQ(trimmed("\u3000全角空格\u3000"), "全角空格");
    EXPECT_EQ(trimmed("\u00A0\t\r\n\u2003a b\u0085"), "a b");
    EXPECT_EQ(trimmed("中 间"), "中 间");
    EXPECT_TRUE(isBlank("\u3000 \n\t"));
    EXPECT_FALSE(isBlank(" x "));
    // Zero-width space is not white space in Unicode's sense and stays.
    EXPECT_EQ(trimmed("\u200Bx"), "\u200Bx");
}

TEST(UnicodeGraphemes, CountUserPerceivedCharacters) {
    EXPECT_EQ(graphemeCount("截图工具"), 4u);
    EXPECT_EQ(graphemeCount("👍🏽"), 1u);          // emoji with a skin-tone modifier
    EXPECT_EQ(graphemeCount("e\u0301"), 1u);       // e + combining acute
    EXPECT_EQ(graphemeCount("🇨🇳🇯🇵"), 2u);         // two flags
    EXPECT_EQ(graphemeCount("👨‍👩‍👧"), 1u);          // joined family
    EXPECT_EQ(graphemeCount("\r\n"), 1u);
}

TEST(UnicodeFolding, IgnoresCaseAndDiacriticsForSearch) {
    EXPECT_EQ(caseFolded("Straße"), "strasse");
    EXPECT_EQ(searchKey("Élan"), "elan");
    EXPECT_TRUE(containsInsensitive("Galaxy Tab S9 Ultra", "tab s9"));
    EXPECT_TRUE(containsInsensitive("Pokémon", "POKEMON"));
    EXPECT_TRUE(containsInsensitive("anything", ""));
    EXPECT_TRUE(containsInsensitive("截图工具", "截图"));
    EXPECT_FALSE(containsInsensitive("截图", "工具"));
    EXPECT_TRUE(equalsInsensitive("Cafe\u0301", "CAFÉ"));
    EXPECT_FALSE(equalsInsensitive("cafe", "cafes"));
}

TEST(UnicodePrefix, CutsAtCharacterBoundariesAndRepairsBytes) {
    EXPECT_EQ(prefixGraphemes("配置排列失败", 2), "配置");
    EXPECT_EQ(prefixGraphemes("a👍🏽b", 2), "a👍🏽");
    EXPECT_EQ(prefixGraphemes("ab", 5), "ab");
    EXPECT_EQ(sanitizedUTF8("ok\xff!"), "ok\xEF\xBF\xBD!");
}

}  // namespace
}  // namespace dorvane::text
