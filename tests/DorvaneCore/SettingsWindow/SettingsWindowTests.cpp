#include <gtest/gtest.h>

#include <regex>

#include "DorvaneCore/SettingsWindow/AutomaticResolutionChoice.h"
#include "DorvaneCore/SettingsWindow/SheetPlacement.h"
#include "DorvaneCore/SettingsWindow/SpecDraft.h"

namespace dorvane {
namespace {

Preferences selecting(CustomPreset preset, std::optional<std::string> selected) {
    Preferences preferences;
    preferences.preset = ScreenPreset::tablet;
    preferences.size = DisplaySize::moreSpace;
    preferences.customPresets = {std::move(preset)};
    preferences.selectedCustomID = std::move(selected);
    return preferences;
}

TEST(SettingsWindowStart, ANewPresetOpensTheResolutionPageSizedLikeTheSelection) {
    const Dimensions builtIn = dimensions(ScreenPreset::tablet, DisplaySize::moreSpace);
    const std::vector<std::pair<Preferences, Dimensions>> cases{
        {selecting({"c", "办公", 1920, 1080, 125}, "c"), Dimensions(1536, 864)},
        {selecting({"c", "", 2400, 1600, 200}, "c"), Dimensions(1200, 800)},
        {selecting({"c", "", 2400, 1600, 200}, std::nullopt), builtIn},
        {selecting({"c", "", 2400, 1600, 200}, "deleted"), builtIn},
    };
    const std::regex upperCaseUUID("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    for (const auto& [preferences, size] : cases) {
        const auto start = SettingsWindowStart::make(preferences, true, SettingsPage::general);
        EXPECT_EQ(start.page, SettingsPage::resolution);
        ASSERT_TRUE(start.draft);
        EXPECT_TRUE(std::regex_match(start.draft->id, upperCaseUUID)) << start.draft->id;
        EXPECT_EQ(*start.draft, (SpecDraft{start.draft->id, "", std::to_string(size.width),
                                           std::to_string(size.height), true, 100}));
    }
    const auto plain = SettingsWindowStart::make(cases[0].first, false, SettingsPage::touch);
    EXPECT_EQ(plain.page, SettingsPage::touch);
    EXPECT_FALSE(plain.draft);
}

TEST(AutomaticResolutionChoiceTest, StaleIdsShowThePlaceholderAndOnlyAnotherChoiceIsStored) {
    Preferences preferences;
    preferences.customPresets = {{"a", "  办公 ", 1280, 720, 100}, {"b", "", 1024, 768, 100}};
    struct Case {
        std::optional<std::string> storedID;
        std::optional<std::string> selection;
        std::string shown;
    };
    for (const auto& [storedID, selection, shown] : std::vector<Case>{{"a", "a", "办公"},
                                                                     {"b", "b", "规格"},
                                                                     {"deleted", std::nullopt, "请选择规格"},
                                                                     {std::nullopt, std::nullopt, "请选择规格"}}) {
        preferences.autoResolutionPresetID = storedID;
        const auto choice = AutomaticResolutionChoice::from(preferences);
        EXPECT_EQ(choice.selection, selection) << shown;
        EXPECT_EQ(choice.shownTitle(), shown);
        for (const std::string id : {"a", "b"}) {
            EXPECT_EQ(choice.presetToStore(id), selection == id ? std::nullopt : std::optional(id)) << id;
        }
    }
}

// A sheet hangs from the window's top edge, centred, on whole points, and never reaches
// beyond the window however large its content asks to be.
TEST(SheetPlacement, HangsFromTheTopEdgeCentredAndInsideTheWindow) {
    using geometry::Rect;
    using geometry::Size;
    EXPECT_EQ(SheetPlacement::frame(Size{900, 720}, Size{460, 600}), Rect(220, 0, 460, 600));
    EXPECT_EQ(SheetPlacement::frame(Size{900, 720}, Size{459.5, 300.2}), Rect(220, 0, 460, 301));
    EXPECT_EQ(SheetPlacement::frame(Size{900, 720}, Size{461, 100}), Rect(219, 0, 461, 100));
    EXPECT_EQ(SheetPlacement::frame(Size{900, 720}, Size{1000, 900}), Rect(0, 0, 900, 720));
    EXPECT_EQ(SheetPlacement::frame(Size{900, 720}, Size{-5, 0}), Rect(450, 0, 0, 0));
    const Rect odd = SheetPlacement::frame(Size{901, 720}, Size{440, 480});
    EXPECT_EQ(odd.x, 230);
    EXPECT_LE(odd.x + odd.width, 901);
}

}  // namespace
}  // namespace dorvane
