#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Settings/Preferences.h"

namespace dorvane {

// The dropdown "切换分辨率" of the connection page: which custom preset a
// connection switches to. Built anew from the settings on every render.
struct AutomaticResolutionChoice {
    static constexpr std::string_view placeholder = "请选择规格";

    struct Entry {
        std::string id;
        std::string title;  // the custom preset's title
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    std::vector<Entry> entries;            // one per custom preset, in stored order
    std::optional<std::string> selection;  // none for a missing or stale id

    // The page never repairs a stale id: it only shows the placeholder until
    // enabling the switch, or a choice, stores a valid one.
    static AutomaticResolutionChoice from(const Preferences& preferences);

    // The title of the selected entry, else the placeholder.
    std::string shownTitle() const;

    // The id to hand to onAutoResolutionPreset for a choice in the list, or
    // none when the choice is the entry already shown as selected.
    std::optional<std::string> presetToStore(std::string_view chosenID) const;
};

}  // namespace dorvane
