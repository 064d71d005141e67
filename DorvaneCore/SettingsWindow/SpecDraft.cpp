#include "DorvaneCore/SettingsWindow/SpecDraft.h"

namespace dorvane {

SpecDraft SpecDraft::forNewPreset(const Preferences& preferences, const RandomSource& random) {
    const Dimensions size = preferences.dimensions();
    return SpecDraft{makeUUIDString(random), "", std::to_string(size.width), std::to_string(size.height), true, 100};
}

SpecDraft SpecDraft::forNewPreset(const Preferences& preferences) {
    return forNewPreset(preferences, systemRandomSource());
}

SpecDraft SpecDraft::editing(const CustomPreset& preset) {
    return SpecDraft{preset.id,     preset.name, std::to_string(preset.width), std::to_string(preset.height),
                     false,         preset.scalePercent};
}

SettingsWindowStart SettingsWindowStart::make(const Preferences& preferences, bool startNew, SettingsPage page,
                                              const RandomSource& random) {
    if (!startNew) return SettingsWindowStart{page, std::nullopt};
    return SettingsWindowStart{SettingsPage::resolution, SpecDraft::forNewPreset(preferences, random)};
}

SettingsWindowStart SettingsWindowStart::make(const Preferences& preferences, bool startNew, SettingsPage page) {
    return make(preferences, startNew, page, systemRandomSource());
}

}  // namespace dorvane
