#include <gtest/gtest.h>

#include <algorithm>

#include "DorvaneCore/Editors/IconPickerModel.h"

namespace dorvane {
namespace {

constexpr auto kCatalog = allCases<ShortcutIcon>();

TEST(IconPickerDisplayed, FirstPageAlwaysHoldsTheSelection) {
    const std::vector<ShortcutIcon> first18(kCatalog.begin(), kCatalog.begin() + 18);
    std::vector<ShortcutIcon> first17With100(kCatalog.begin(), kCatalog.begin() + 17);
    first17With100.push_back(kCatalog[100]);

    struct Case {
        const char* what;
        std::optional<ShortcutIcon> selected;
        std::vector<ShortcutIcon> page;
    };
    const std::vector<Case> cases{
        {"no selection", std::nullopt, first18},
        {"selection on the page", kCatalog[5], first18},
        {"the 18th selected", kCatalog[17], first18},
        {"#100 selected", kCatalog[100], first17With100},
        {"the last selected", kCatalog.back(), [&] {
             auto page = first18;
             page.back() = kCatalog.back();
             return page;
         }()},
    };
    for (const auto& [what, selected, page] : cases) {
        EXPECT_EQ(IconPickerModel::displayed(selected, false, ""), page) << what;
        EXPECT_EQ(IconPickerModel::displayed(selected, false, " \n"), page) << what << ", blank query";
        EXPECT_EQ(IconPickerModel::displayed(selected, true, "").size(), 174u) << what;
    }
    EXPECT_TRUE(IconPickerModel::offersExpansion());
}

TEST(IconPickerDisplayed, SearchingOverridesPageAndExpansion) {
    EXPECT_FALSE(IconPickerModel::isSearching("  "));
    EXPECT_TRUE(IconPickerModel::isSearching(" 复制"));

    // Exactly the icons the catalog's own filter lets through, in catalog order.
    for (const char* query : {"  ARROW ", "窗口", "Doc.On", "\tlock\n"}) {
        std::vector<ShortcutIcon> expected;
        for (auto icon : kCatalog) {
            if (matches(icon, query)) expected.push_back(icon);
        }
        EXPECT_EQ(IconPickerModel::displayed(ShortcutIcon::star, false, query), expected) << query;
    }
    const auto arrows = IconPickerModel::displayed(ShortcutIcon::star, false, "arrow");
    EXPECT_GT(arrows.size(), 18u);  // more than a page: the search shows them all
    EXPECT_EQ(std::ranges::count(arrows, ShortcutIcon::star), 0);  // the selection is not added to results

    EXPECT_EQ(IconPickerModel::displayed(std::nullopt, true, "复制"), std::vector{ShortcutIcon::copy});
    EXPECT_TRUE(IconPickerModel::displayed(std::nullopt, false, "zzzz").empty());
    EXPECT_EQ(IconPickerModel::foundCount(0), "找到 0 个图标");
    EXPECT_EQ(IconPickerModel::cellHelp(ShortcutIcon::copy), "复制 (doc.on.doc)");
}

}  // namespace
}  // namespace dorvane
