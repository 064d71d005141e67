#include <gtest/gtest.h>

#include <cmath>

#include "DorvaneCore/ResolutionModels/ResolutionPanelModel.h"
#include "tests/DorvaneCore/Resolution/PresetPrinting.h"

namespace dorvane {
namespace {

using Panel = ResolutionPanelModel;

Preferences threePresets(std::optional<std::string> selected) {
    Preferences preferences;
    preferences.customPresets = {{"a", "A", 1294, 720, 100}, {"b", "B", 1920, 1080, 150}, {"c", "C", 1024, 768, 100}};
    preferences.selectedCustomID = std::move(selected);
    return preferences;
}

std::vector<std::string> ids(const std::vector<Panel::Cell>& cells) {
    std::vector<std::string> result;
    for (const auto& cell : cells) result.push_back(cell.preset.id + (cell.applied ? "*" : ""));
    return result;
}

TEST(ResolutionPanelCells, FirstPresetFixedAtBuildAndTheMarkFollowsTheModel) {
    const auto panel = Panel::forSelection(threePresets("b"));
    EXPECT_EQ(panel.firstPresetID(), "b");

    struct Case {
        const char* what;
        Preferences preferences;
        std::optional<Dimensions> applied;
        std::vector<std::string> cells;
    };
    Preferences deleted = threePresets("c");
    deleted.customPresets.erase(deleted.customPresets.begin() + 1);  // b is gone: stored order
    const std::vector<Case> cases{
        {"selection applied at its size", threePresets("b"), Dimensions(1280, 720), {"b*", "a", "c"}},
        {"nothing applied", threePresets("b"), std::nullopt, {"b", "a", "c"}},
        {"applied size differs", threePresets("b"), Dimensions(1920, 1080), {"b", "a", "c"}},
        {"another selected later", threePresets("c"), Dimensions(1024, 768), {"b", "a", "c*"}},
        {"first preset deleted", deleted, Dimensions(1024, 768), {"a", "c*"}},
    };
    for (const auto& [what, preferences, applied, cells] : cases) {
        EXPECT_EQ(ids(panel.cells(preferences, applied)), cells) << what;
    }
    EXPECT_EQ(panel.cells(threePresets("b"), std::nullopt)[0].logicalSize, Dimensions(1280, 720));
    EXPECT_EQ(Panel(std::nullopt).presets(threePresets("b")), threePresets("b").customPresets);
}

TEST(ResolutionPanelLayout, ColumnsLettersAndAlignment) {
    const std::vector<std::pair<double, int>> columns{
        {200, 1}, {280, 2}, {330, 3}, {800, 3}, {313.9, 2}, {314, 3}, {0, 1}, {-50, 1}, {NAN, 1}, {INFINITY, 3}};
    for (const auto& [width, count] : columns) EXPECT_EQ(Panel::columnCount(width), count) << width;

    const std::vector<std::pair<std::int64_t, double>> letters{
        {80, 11}, {84, 11}, {85, 13}, {90, 13}, {95, 15}, {100, 15}, {110, 17}, {114, 17}, {115, 20}, {120, 20}};
    for (const auto& [percent, size] : letters) EXPECT_EQ(Panel::letterSize(percent), size) << percent;

    EXPECT_EQ(Panel::contentAlignment(ToolbarSide::bottom), Panel::ContentAlignment::bottomLeading);
    EXPECT_EQ(Panel::contentAlignment(ToolbarSide::right), Panel::ContentAlignment::topTrailing);
    EXPECT_EQ(Panel::contentAlignment(ToolbarSide::left), Panel::ContentAlignment::topLeading);
    EXPECT_EQ(Panel::contentAlignment(ToolbarSide::top), Panel::ContentAlignment::topLeading);
    EXPECT_TRUE(Panel::scrollsFromBottom(ToolbarSide::bottom));
    EXPECT_FALSE(Panel::scrollsFromBottom(ToolbarSide::left));
}

TEST(ResolutionPanelSegments, CurrentSelectedEnabledAndThumb) {
    struct Case {
        const char* what;
        ResolutionAdjustment adjustment;
        std::optional<Dimensions> applied;
        // per segment 120, 110, 100, 90, 80: thumb opacity, and whether enabled
        std::vector<double> thumbs;
        std::vector<bool> enabled;
    };
    const std::vector<Case> cases{
        {"applied at 100 %", ResolutionAdjustment(Dimensions(1280, 720), 100), Dimensions(1280, 720),
         {0, 0, 1.0, 0, 0}, {true, true, true, true, true}},
        {"nothing applied", ResolutionAdjustment(Dimensions(1280, 720), 110), std::nullopt,
         {0, 0.6, 0, 0, 0}, {true, true, true, true, true}},
        // 3840 wide: 90 % and 80 % would leave the range; 560 high: 120 % and 110 % would.
        {"large base", ResolutionAdjustment(Dimensions(3840, 2160), 100), Dimensions(3840, 2160),
         {0, 0, 1.0, 0, 0}, {true, true, true, false, false}},
        {"small base", ResolutionAdjustment(Dimensions(1280, 560), 100), Dimensions(1280, 560),
         {0, 0, 1.0, 0, 0}, {false, false, true, true, true}},
    };
    for (const auto& [what, adjustment, applied, thumbs, enabled] : cases) {
        const auto segments = Panel::segments(adjustment, applied);
        ASSERT_EQ(segments.size(), 5u);
        for (std::size_t i = 0; i < segments.size(); ++i) {
            const auto& segment = segments[i];
            EXPECT_EQ(segment.thumbOpacity, thumbs[i]) << what << " " << segment.percent;
            EXPECT_EQ(segment.enabled, enabled[i]) << what << " " << segment.percent;
            EXPECT_EQ(segment.current, thumbs[i] > 0) << what;
            EXPECT_EQ(segment.selected, thumbs[i] == 1.0) << what;
        }
    }
    const auto first = Panel::segments(ResolutionAdjustment(Dimensions(1280, 720)), std::nullopt).front();
    EXPECT_EQ(first.title, "更大文字");
    EXPECT_EQ(first.percent, 120);
    EXPECT_EQ(first.letterSize, 20);
}

}  // namespace
}  // namespace dorvane
