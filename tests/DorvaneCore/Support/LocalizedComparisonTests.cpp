#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DorvaneCore/Support/LocalizedComparison.h"

namespace dorvane::text {
namespace {

using Names = std::vector<std::string>;

int sign(std::weak_ordering order) { return order < 0 ? -1 : order > 0 ? 1 : 0; }

TEST(LocalizedComparison, LocaleComesFromTheFirstSetVariableAndCLocalesSortAsChinese) {
    struct Case {
        const char* lcAll;
        const char* lcCollate;
        const char* lang;
        const char* expected;
    };
    const Case cases[] = {
        {"", "", "", "zh"},
        {"C", "", "en_US.UTF-8", "zh"},  // LC_ALL wins even when it is C
        {"POSIX", "", "", "zh"},
        {"C.UTF-8", "", "", "zh"},
        {"", "sv_SE.UTF-8", "en_US.UTF-8", "sv_SE"},
        {"", "", "de_DE@euro", "de_DE"},
        {"zh_CN.GB18030", "en_US", "", "zh_CN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(collationLocaleID(c.lcAll, c.lcCollate, c.lang), c.expected)
            << c.lcAll << "|" << c.lcCollate << "|" << c.lang;
    }
}

TEST(LocalizedComparison, NumbersByValueCaseIgnoredAccentsCounted) {
    const LocalizedComparison zh("zh");
    EXPECT_EQ(sign(zh("Demo 2", "Demo 10")), -1);
    EXPECT_EQ(sign(zh("apple", "Banana")), -1);  // not byte order, where "B" comes first
    EXPECT_EQ(sign(zh("Safari", "safari")), 0);
    EXPECT_NE(sign(zh("Resume", "Résumé")), 0);
}

TEST(LocalizedComparison, TheLocaleDecidesTheOrderOfLettersAndHanCharacters) {
    // Chinese sorts Han characters by reading (bei before shang); the root order does not.
    EXPECT_EQ(sign(LocalizedComparison("zh")("北京", "上海")), -1);
    EXPECT_EQ(sign(LocalizedComparison("und")("北京", "上海")), 1);
    // Swedish puts "ä" after "z".
    EXPECT_EQ(sign(LocalizedComparison("sv")("ärlig", "zebra")), 1);
}

TEST(LocalizedComparison, SortIsStable) {
    Names names{"demo 10", "Demo 2", "Zeta", "demo 2", "alpha", "DEMO 2"};
    sortByLocalizedName(names, [](const std::string& name) -> const std::string& { return name; },
                        LocalizedComparison("zh"));
    EXPECT_EQ(names, (Names{"alpha", "Demo 2", "demo 2", "DEMO 2", "demo 10", "Zeta"}));
}

}  // namespace
}  // namespace dorvane::text
