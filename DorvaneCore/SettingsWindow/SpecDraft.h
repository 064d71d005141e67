#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/SettingsWindow/SettingsPage.h"
#include "DorvaneCore/Support/UUID.h"

namespace dorvane {

// The editable text form of one custom preset, as the custom preset editor
// opens it. Its identity is `id`: a draft with another id is another sheet.
struct SpecDraft {
    std::string id;
    std::string name;    // as stored, not trimmed
    std::string width;   // decimal text of the logical width
    std::string height;  // decimal text of the logical height
    bool isNew = false;  // the custom preset does not exist yet
    std::int64_t scalePercent = 100;

    friend bool operator==(const SpecDraft&, const SpecDraft&) = default;

    // A custom preset that does not exist yet, sized like what is selected now
    // (Preferences::dimensions(): a selected custom preset at its scaled
    // standard size, else the built-in preset at the chosen display size), at
    // 100 %, unnamed, with a fresh upper-case UUID.
    static SpecDraft forNewPreset(const Preferences& preferences, const RandomSource& random);
    static SpecDraft forNewPreset(const Preferences& preferences);

    // An existing custom preset with its stored name, size and scale.
    static SpecDraft editing(const CustomPreset& preset);
};

// Where the settings window starts and whether it opens the editor at once:
// asked for a new custom preset it shows the resolution page with a new draft,
// whatever page was requested; otherwise the requested page and no draft.
struct SettingsWindowStart {
    SettingsPage page = SettingsPage::general;
    std::optional<SpecDraft> draft;

    static SettingsWindowStart make(const Preferences& preferences, bool startNew, SettingsPage page,
                                    const RandomSource& random);
    static SettingsWindowStart make(const Preferences& preferences, bool startNew, SettingsPage page);
};

}  // namespace dorvane
