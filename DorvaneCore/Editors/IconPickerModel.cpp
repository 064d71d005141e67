#include "DorvaneCore/Editors/IconPickerModel.h"

#include <algorithm>

#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

namespace {
constexpr auto kCatalog = allCases<ShortcutIcon>();
}  // namespace

bool IconPickerModel::isSearching(std::string_view query) { return !text::isBlank(query); }

std::vector<ShortcutIcon> IconPickerModel::displayed(std::optional<ShortcutIcon> selected, bool expanded,
                                                     std::string_view query) {
    if (isSearching(query)) return iconsMatching(query);
    if (expanded) return {kCatalog.begin(), kCatalog.end()};

    std::vector<ShortcutIcon> page(kCatalog.begin(), kCatalog.begin() + std::min(firstPageSize, kCatalog.size()));
    if (selected && std::ranges::find(page, *selected) == page.end()) {
        if (page.size() == firstPageSize) {
            page.back() = *selected;
        } else {
            page.push_back(*selected);
        }
    }
    return page;
}

bool IconPickerModel::offersExpansion() { return kCatalog.size() > firstPageSize; }

std::string IconPickerModel::foundCount(std::size_t count) { return "找到 " + std::to_string(count) + " 个图标"; }

std::string IconPickerModel::cellHelp(ShortcutIcon icon) {
    return std::string(title(icon)) + " (" + std::string(rawValue(icon)) + ")";
}

}  // namespace dorvane
