#include <gtest/gtest.h>

#include "DorvaneCore/ResolutionModels/ResolutionPageRows.h"
#include "tests/DorvaneCore/Resolution/PresetPrinting.h"

namespace dorvane {
namespace {

Preferences twoPresets(std::optional<std::string> selected) {
    Preferences preferences;
    preferences.customPresets = {{"a", "办公", 1920, 1080, 150}, {"b", " ", 1280, 720, 100}};
    preferences.selectedCustomID = std::move(selected);
    return preferences;
}

TEST(ResolutionPageActiveRow, OnlyTheSelectionAppliedAtItsOwnSize) {
    Preferences builtIn = twoPresets(std::nullopt);
    builtIn.preset = ScreenPreset::widescreen;  // 1280 × 720, like custom preset b
    Preferences stale = twoPresets("deleted");
    stale.preset = ScreenPreset::widescreen;

    struct Case {
        const char* what;
        Preferences preferences;
        std::optional<Dimensions> applied;
        std::optional<std::string> active;
    };
    const std::vector<Case> cases{
        {"selection applied at its scaled size", twoPresets("a"), Dimensions(1280, 720), "a"},
        {"adjusted away from the selection", twoPresets("a"), Dimensions(1164, 655), std::nullopt},
        {"nothing applied", twoPresets("a"), std::nullopt, std::nullopt},
        {"built-in of the same size", builtIn, Dimensions(1280, 720), std::nullopt},
        {"selection naming a deleted preset", stale, Dimensions(1280, 720), std::nullopt},
    };
    for (const auto& [what, preferences, applied, active] : cases) {
        EXPECT_EQ(activeSelection(preferences, applied), active) << what;
        const auto rows = resolutionPageRows(preferences, applied);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].active, active == "a") << what;
        EXPECT_FALSE(rows[1].active) << what;
    }
}

TEST(ResolutionPageRow, TextsOutlineDraftAndDeletion) {
    const auto rows = resolutionPageRows(twoPresets("a"), std::nullopt);
    const auto& scaled = rows[0];
    EXPECT_EQ(scaled.preset.sizeLabel(), "1920 × 1080 · 150%");
    EXPECT_EQ(scaled.glyphSize(), Dimensions(1280, 720));
    EXPECT_EQ(scaled.sizeAccessibleName(), "1920 × 1080，显示大小150%");
    EXPECT_EQ(scaled.editAccessibleName(), "编辑办公");
    EXPECT_EQ(scaled.editDraft(), (SpecDraft{"a", "办公", "1920", "1080", false, 150}));

    const auto& blank = rows[1];
    EXPECT_EQ(blank.sizeAccessibleName(), "1280 × 720，显示大小100%");  // the scale is read also at 100
    EXPECT_EQ(blank.deleteAccessibleName(), "删除规格");
    EXPECT_EQ(blank.deletionTarget().alertTitle(), "删除「规格」？");
    EXPECT_EQ(blank.editDraft().name, " ");  // the editor opens the name as stored
}

}  // namespace
}  // namespace dorvane
