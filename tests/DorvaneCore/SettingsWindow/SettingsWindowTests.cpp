#include <gtest/gtest.h>

#include <regex>

#include "DorvaneCore/SettingsWindow/AutomaticResolutionChoice.h"
#include "DorvaneCore/SettingsWindow/DeletionTarget.h"
#include "DorvaneCore/SettingsWindow/LoginItemChange.h"
#include "DorvaneCore/SettingsWindow/SettingsPage.h"
#include "DorvaneCore/SettingsWindow/SpecDraft.h"

namespace dorvane {
namespace {

Preferences withCustom(CustomPreset preset, bool selected) {
    Preferences preferences;
    preferences.customPresets = {std::move(preset)};
    if (selected) preferences.selectedCustomID = preferences.customPresets[0].id;
    return preferences;
}

TEST(SettingsWindowStart, ANewPresetOpensTheResolutionPageSizedLikeTheSelection) {
    Preferences builtIn;
    builtIn.preset = ScreenPreset::tablet;
    builtIn.size = DisplaySize::moreSpace;
    Preferences stale = withCustom({"gone", "x", 1920, 1080, 125}, false);
    stale.selectedCustomID = "deleted";
    const Dimensions tabletMoreSpace = dimensions(ScreenPreset::tablet, DisplaySize::moreSpace);
    const Dimensions phoneStandard = dimensions(ScreenPreset::phone, DisplaySize::standard);

    struct Case {
        const char* what;
        Preferences preferences;
        Dimensions size;
    };
    const std::vector<Case> cases{
        {"custom 1920 × 1080 at 125 %", withCustom({"c", "办公", 1920, 1080, 125}, true), Dimensions(1536, 864)},
        {"custom 2400 × 1600 at 200 %", withCustom({"c", "", 2400, 1600, 200}, true), Dimensions(1200, 800)},
        {"built-in at its display size", builtIn, tabletMoreSpace},
        {"selection naming a deleted preset", stale, phoneStandard},
    };
    const std::regex upperCaseUUID("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    for (const auto& [what, preferences, size] : cases) {
        const auto start = SettingsWindowStart::make(preferences, true, SettingsPage::general);
        EXPECT_EQ(start.page, SettingsPage::resolution) << what;
        ASSERT_TRUE(start.draft) << what;
        EXPECT_EQ(start.draft->width, std::to_string(size.width)) << what;
        EXPECT_EQ(start.draft->height, std::to_string(size.height)) << what;
        EXPECT_EQ(start.draft->name, "") << what;
        EXPECT_EQ(start.draft->scalePercent, 100) << what;
        EXPECT_TRUE(start.draft->isNew) << what;
        EXPECT_TRUE(std::regex_match(start.draft->id, upperCaseUUID)) << start.draft->id;
    }

    const auto plain = SettingsWindowStart::make(cases[0].preferences, false, SettingsPage::touch);
    EXPECT_EQ(plain.page, SettingsPage::touch);
    EXPECT_FALSE(plain.draft);
    // Every new draft is another sheet.
    EXPECT_NE(SpecDraft::forNewPreset(builtIn).id, SpecDraft::forNewPreset(builtIn).id);
}

TEST(SettingsWindowSidebar, RowsInTheSidebarOrderAndTheVersionLine) {
    std::vector<std::pair<std::string_view, SettingsPage>> rows;
    for (const auto& row : settingsSidebarRows) rows.emplace_back(row.title, row.page);
    const std::vector<std::pair<std::string_view, SettingsPage>> expected{
        {"常规", SettingsPage::general},    {"分辨率", SettingsPage::resolution},
        {"快捷操作", SettingsPage::floating}, {"连接自动化", SettingsPage::connection},
        {"触控", SettingsPage::touch}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(settingsVersionLine("1.4.2"), "v1.4.2");
    EXPECT_EQ(settingsVersionLine(""), "v0.8.110");
}

TEST(SettingsWindowDecisions, LoginItemActsOnlyOnADifferentRequest) {
    EXPECT_EQ(loginItemChange(true, false), LoginItemChange::registerItem);
    EXPECT_EQ(loginItemChange(false, true), LoginItemChange::unregisterItem);
    EXPECT_EQ(loginItemChange(true, true), LoginItemChange::none);
    EXPECT_EQ(loginItemChange(false, false), LoginItemChange::none);
}

TEST(SettingsWindowDecisions, DeletionAsksUnderTheTitleTheUserSaw) {
    const auto target = DeletionTarget::forPreset({"id-1", " \u3000\n", 1280, 720, 100});
    EXPECT_EQ(target, (DeletionTarget{"id-1", "规格"}));
    EXPECT_EQ(target.alertTitle(), "删除「规格」？");
}

TEST(AutomaticResolutionChoiceTest, SelectionPlaceholderAndCompareBeforeCall) {
    Preferences preferences;
    preferences.customPresets = {{"a", "  办公 ", 1280, 720, 100}, {"b", "", 1024, 768, 100}};

    struct Case {
        std::optional<std::string> storedID;
        std::optional<std::string> selection;
        std::string shown;
    };
    const std::vector<Case> cases{
        {"a", "a", "办公"},
        {"b", "b", "规格"},
        {"deleted", std::nullopt, "请选择规格"},  // a stale id is shown as no choice, never repaired here
        {std::nullopt, std::nullopt, "请选择规格"},
    };
    for (const auto& [storedID, selection, shown] : cases) {
        preferences.autoResolutionPresetID = storedID;
        const auto choice = AutomaticResolutionChoice::from(preferences);
        EXPECT_EQ(choice.selection, selection) << shown;
        EXPECT_EQ(choice.shownTitle(), shown);
        ASSERT_EQ(choice.entries.size(), 2u);
        EXPECT_EQ(choice.entries[1], (AutomaticResolutionChoice::Entry{"b", "规格"}));
        // Choosing what is shown calls nothing; any other entry is stored.
        for (const std::string id : {"a", "b"}) {
            EXPECT_EQ(choice.presetToStore(id), selection == id ? std::nullopt : std::optional(id)) << id;
        }
    }
    preferences.customPresets.clear();
    preferences.autoResolutionPresetID = "a";
    EXPECT_TRUE(AutomaticResolutionChoice::from(preferences).entries.empty());
}

}  // namespace
}  // namespace dorvane
