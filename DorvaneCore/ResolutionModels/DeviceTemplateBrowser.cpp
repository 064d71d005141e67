#include "DorvaneCore/ResolutionModels/DeviceTemplateBrowser.h"

#include <exception>
#include <unordered_set>

namespace dorvane {

DeviceTemplateBrowser DeviceTemplateBrowser::loaded(const std::filesystem::path& supportFolder,
                                                    const std::optional<std::filesystem::path>& bundle) {
    try {
        return DeviceTemplateBrowser(
            DeviceTemplateCatalog::load(DeviceTemplateCatalog::overrideFile(supportFolder), bundle));
    } catch (const std::exception&) {
        DeviceTemplateBrowser browser(std::nullopt);
        browser.loadError_ = std::string(loadErrorMessage);
        return browser;
    }
}

DeviceTemplateBrowser::DeviceTemplateBrowser(std::optional<DeviceTemplateCatalog> catalog)
    : catalog_(std::move(catalog)) {
    if (!catalog_) return;
    entries_ = catalog_->entries();
    searchTexts_.reserve(entries_.size());
    for (const auto& entry : entries_) searchTexts_.push_back(entry.searchText());
}

void DeviceTemplateBrowser::chooseCategory(std::string id) {
    if (id == categoryID_) return;
    categoryID_ = std::move(id);
    brandID_.clear();
}

void DeviceTemplateBrowser::chooseBrand(std::string id) { brandID_ = std::move(id); }

void DeviceTemplateBrowser::setQuery(std::string query) { query_ = std::move(query); }

std::vector<DeviceTemplateBrowser::Choice> DeviceTemplateBrowser::categoryChoices() const {
    std::vector<Choice> choices{Choice{"", std::string(allCategoriesTitle)}};
    if (catalog_) {
        for (const auto& category : catalog_->categories) choices.push_back(Choice{category.id, category.name});
    }
    return choices;
}

std::vector<DeviceTemplateBrowser::Choice> DeviceTemplateBrowser::brandChoices() const {
    std::vector<Choice> choices{Choice{"", std::string(allBrandsTitle)}};
    for (const auto& brand : brands()) choices.push_back(Choice{brand.id, brand.name});
    return choices;
}

std::vector<DeviceTemplateCatalog::Brand> DeviceTemplateBrowser::brands() const {
    std::vector<DeviceTemplateCatalog::Brand> result;
    if (!catalog_) return result;
    std::unordered_set<std::string> seen;
    for (const auto& category : catalog_->categories) {
        if (!categoryID_.empty() && category.id != categoryID_) continue;
        for (const auto& brand : category.brands) {
            if (seen.insert(brand.id).second) result.push_back(brand);
        }
    }
    return result;
}

std::vector<const DeviceTemplateCatalog::Entry*> DeviceTemplateBrowser::entries() const {
    const std::string needle = DeviceTemplateCatalog::Entry::searchForm(query_);
    std::vector<const DeviceTemplateCatalog::Entry*> shown;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const auto& entry = entries_[i];
        if (!categoryID_.empty() && entry.categoryID != categoryID_) continue;
        if (!brandID_.empty() && entry.brandID != brandID_) continue;
        if (!needle.empty() && searchTexts_[i].find(needle) == std::string::npos) continue;
        shown.push_back(&entry);
    }
    return shown;
}

std::string DeviceTemplateBrowser::emptyMessage() const {
    if (loadError_) return *loadError_;
    if (!query_.empty()) return "未找到与\u201C" + query_ + "\u201D匹配的设备";
    return "暂无匹配的设备";
}

std::optional<CustomPreset> DeviceTemplateBrowser::existingPreset(const DeviceTemplateCatalog::Entry& entry,
                                                                  const Preferences& preferences) {
    const std::string templateID = entry.preset().id;
    const std::int64_t width = entry.logicalWidth();
    const std::int64_t height = entry.logicalHeight();
    for (const auto& preset : preferences.customPresets) {
        if (preset.id == templateID || (preset.width == width && preset.height == height)) return preset;
    }
    return std::nullopt;
}

TemplateRowStatus DeviceTemplateBrowser::rowStatus(const DeviceTemplateCatalog::Entry& entry,
                                                   const Preferences& preferences,
                                                   const std::optional<Dimensions>& applied) {
    const auto existing = existingPreset(entry, preferences);
    if (!existing) return TemplateRowStatus::addable;
    const bool inUse = preferences.selectedCustomID == existing->id && applied &&
                       *applied == existing->dimensions(DisplaySize::standard);
    return inUse ? TemplateRowStatus::inUse : TemplateRowStatus::added;
}

}  // namespace dorvane
