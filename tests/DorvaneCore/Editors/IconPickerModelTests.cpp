#include <gtest/gtest.h>

#include "DorvaneCore/Editors/IconPickerModel.h"

namespace dorvane {
namespace {

constexpr auto kCatalog = allCases<ShortcutIcon>();

std::vector<ShortcutIcon> firstIcons(std::size_t count, std::optional<ShortcutIcon> then = std::nullopt) {
    std::vector<ShortcutIcon> icons(kCatalog.begin(), kCatalog.begin() + count);
    if (then) icons.push_back(*then);
    return icons;
}

TEST(IconPickerDisplayed, FirstPageAlwaysHoldsTheSelection) {
    const std::vector<std::pair<std::optional<ShortcutIcon>, std::vector<ShortcutIcon>>> cases{
        {std::nullopt, firstIcons(18)},
        {kCatalog[17], firstIcons(18)},
        {kCatalog[100], firstIcons(17, kCatalog[100])},
        {kCatalog.back(), firstIcons(17, kCatalog.back())},
    };
    for (const auto& [selected, page] : cases) {
        EXPECT_EQ(IconPickerModel::displayed(selected, false, ""), page);
        EXPECT_EQ(IconPickerModel::displayed(selected, false, " \n"), page);  // a blank query is no search
        EXPECT_EQ(IconPickerModel::displayed(selected, true, "").size(), 174u);
    }
}

TEST(IconPickerDisplayed, SearchingShowsExactlyTheCatalogsMatchesWhateverThePage) {
    for (const char* query : {"  ARROW ", "窗口", "Doc.On", "zzzz"}) {
        std::vector<ShortcutIcon> expected;
        for (auto icon : kCatalog) {
            if (matches(icon, query)) expected.push_back(icon);
        }
        EXPECT_EQ(IconPickerModel::displayed(ShortcutIcon::star, false, query), expected) << query;
        EXPECT_EQ(IconPickerModel::displayed(std::nullopt, true, query), expected) << query;
    }
    EXPECT_GT(IconPickerModel::displayed(std::nullopt, false, "arrow").size(), 18u);
}

}  // namespace
}  // namespace dorvane
