#include <gtest/gtest.h>

#include "DorvaneCore/ResolutionModels/ResolutionPageRows.h"

namespace dorvane {
namespace {

Preferences twoPresets(std::optional<std::string> selected) {
    Preferences preferences;
    preferences.preset = ScreenPreset::widescreen;  // 1280 × 720, like both custom presets at standard size
    preferences.customPresets = {{"a", "办公", 1920, 1080, 150}, {"b", " ", 1280, 720, 100}};
    preferences.selectedCustomID = std::move(selected);
    return preferences;
}

TEST(ResolutionPageActiveRow, OnlyTheSelectionAppliedAtItsOwnSize) {
    struct Case {
        std::optional<std::string> selected;
        std::optional<Dimensions> applied;
        std::optional<std::string> active;
    };
    const std::vector<Case> cases{
        {"a", Dimensions(1280, 720), "a"},
        {"a", Dimensions(1164, 655), std::nullopt},  // adjusted away from the selection
        {"a", std::nullopt, std::nullopt},
        {std::nullopt, Dimensions(1280, 720), std::nullopt},  // a built-in of the same size
        {"deleted", Dimensions(1280, 720), std::nullopt},
    };
    for (const auto& [selected, applied, active] : cases) {
        const auto rows = resolutionPageRows(twoPresets(selected), applied);
        EXPECT_EQ(activeSelection(twoPresets(selected), applied), active) << selected.value_or("none");
        EXPECT_EQ(rows[0].active, active == "a");
        EXPECT_FALSE(rows[1].active);
    }
}

TEST(ResolutionPageRow, ScaledOutlineReadSizeAndStoredName) {
    const auto rows = resolutionPageRows(twoPresets("a"), std::nullopt);
    EXPECT_EQ(rows[0].glyphSize(), Dimensions(1280, 720));
    EXPECT_EQ(rows[0].sizeAccessibleName(), "1920 × 1080，显示大小150%");
    EXPECT_EQ(rows[1].sizeAccessibleName(), "1280 × 720，显示大小100%");  // the scale is read also at 100
    EXPECT_EQ(rows[1].deletionTarget().alertTitle(), "删除「规格」？");
    EXPECT_EQ(rows[1].editDraft(), (SpecDraft{"b", " ", "1280", "720", false, 100}));  // the name as stored
}

}  // namespace
}  // namespace dorvane
