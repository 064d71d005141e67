#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/SettingsWindow/DeletionTarget.h"
#include "DorvaneCore/SettingsWindow/SpecDraft.h"

namespace dorvane {

// The id of the custom preset in effect: the selected one, while what is
// applied is exactly the selection's size. None while nothing is applied, while
// a built-in preset is selected, or after the size was adjusted away from the
// selection, so at most one row is ever marked.
std::optional<std::string> activeSelection(const Preferences& preferences, const std::optional<Dimensions>& applied);

// One row of the resolution page's list.
struct ResolutionPageRow {
    CustomPreset preset;
    bool active = false;

    friend bool operator==(const ResolutionPageRow&, const ResolutionPageRow&) = default;

    // The size the screen outline is drawn for: the scaled standard size.
    Dimensions glyphSize() const;
    // The size read out: "1294 × 720，显示大小100%", the scale included also at 100.
    std::string sizeAccessibleName() const;
    // "编辑" and "删除" followed by the title.
    std::string editAccessibleName() const;
    std::string deleteAccessibleName() const;

    // The pencil opens the stored name, not the title.
    SpecDraft editDraft() const;
    // The bin asks first, under the title the user sees.
    DeletionTarget deletionTarget() const;
};

// Every custom preset in stored order, the one in effect marked.
std::vector<ResolutionPageRow> resolutionPageRows(const Preferences& preferences,
                                                  const std::optional<Dimensions>& applied);

}  // namespace dorvane
