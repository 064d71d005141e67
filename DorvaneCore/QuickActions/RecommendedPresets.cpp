#include "DorvaneCore/QuickActions/RecommendedPresets.h"

#include <algorithm>
#include <exception>

#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"
#include "DorvaneCore/Core/ResourceBundle.h"

namespace dorvane {

RecommendedPresets RecommendedPresets::loaded(const std::filesystem::path& supportFolder) {
    return loaded(supportFolder, coreResourceBundle());
}

RecommendedPresets RecommendedPresets::loaded(const std::filesystem::path& supportFolder,
                                              const std::optional<std::filesystem::path>& bundleFolder) {
    RecommendedPresets sheet;
    try {
        sheet.presets_ = ShortcutPresetCatalog::load(supportFolder / ShortcutPresetCatalog::fileName, bundleFolder).presets;
    } catch (const std::exception&) {
        sheet.loadError_ = std::string(loadErrorMessage);
    }
    return sheet;
}

std::string RecommendedPresets::emptyMessage() const { return loadError_.value_or(std::string(noPresetsMessage)); }

bool RecommendedPresets::isAdded(const NamedShortcut& preset, const Preferences& preferences) {
    return std::ranges::find(preferences.namedShortcuts, preset.name, &NamedShortcut::name) !=
           preferences.namedShortcuts.end();
}

std::vector<NamedShortcut> RecommendedPresets::missing(const Preferences& preferences) const {
    std::vector<NamedShortcut> result;
    for (const auto& preset : presets_) {
        if (!isAdded(preset, preferences)) result.push_back(preset);
    }
    return result;
}

std::string RecommendedPresets::addAllTitle(std::size_t missingCount) {
    return "全部添加 (" + std::to_string(missingCount) + ")";
}

std::string RecommendedPresets::keyDescription(const ShortcutKey& key) { return key.displayLabel(" "); }

NamedShortcut RecommendedPresets::adoptedCopy(const NamedShortcut& preset, const RandomSource& random) {
    NamedShortcut copy = preset;
    copy.id = makeUUIDString(random);
    return copy;
}

NamedShortcut RecommendedPresets::adoptedCopy(const NamedShortcut& preset) {
    return adoptedCopy(preset, systemRandomSource());
}

}  // namespace dorvane
