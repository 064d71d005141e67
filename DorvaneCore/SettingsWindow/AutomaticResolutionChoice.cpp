#include "DorvaneCore/SettingsWindow/AutomaticResolutionChoice.h"

namespace dorvane {

AutomaticResolutionChoice AutomaticResolutionChoice::from(const Preferences& preferences) {
    AutomaticResolutionChoice choice;
    choice.entries.reserve(preferences.customPresets.size());
    for (const auto& preset : preferences.customPresets) choice.entries.push_back(Entry{preset.id, preset.title()});
    if (preferences.hasAutomaticDefault()) choice.selection = preferences.autoResolutionPresetID;
    return choice;
}

std::string AutomaticResolutionChoice::shownTitle() const {
    if (selection) {
        for (const auto& entry : entries) {
            if (entry.id == *selection) return entry.title;
        }
    }
    return std::string(placeholder);
}

std::optional<std::string> AutomaticResolutionChoice::presetToStore(std::string_view chosenID) const {
    if (selection && *selection == chosenID) return std::nullopt;
    return std::string(chosenID);
}

}  // namespace dorvane
