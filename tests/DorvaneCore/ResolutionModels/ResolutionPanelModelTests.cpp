#include <gtest/gtest.h>

#include <map>

#include <cmath>

#include "DorvaneCore/ResolutionModels/ResolutionPanelModel.h"

namespace dorvane {
namespace {

using Panel = ResolutionPanelModel;

Preferences threePresets(std::optional<std::string> selected, bool withoutB = false) {
    Preferences preferences;
    preferences.customPresets = {{"a", "A", 1294, 720, 100}, {"b", "B", 1920, 1080, 150}, {"c", "C", 1024, 768, 100}};
    if (withoutB) preferences.customPresets.erase(preferences.customPresets.begin() + 1);
    preferences.selectedCustomID = std::move(selected);
    return preferences;
}

TEST(ResolutionPanelCells, FirstPresetFixedAtBuildAndTheMarkFollowsTheModel) {
    const auto panel = Panel::forSelection(threePresets("b"));
    struct Case {
        Preferences preferences;
        std::optional<Dimensions> applied;
        std::string cells;  // ids in order, the applied one starred
    };
    const std::vector<Case> cases{
        {threePresets("b"), Dimensions(1280, 720), "b* a c"},
        {threePresets("b"), std::nullopt, "b a c"},
        {threePresets("b"), Dimensions(1920, 1080), "b a c"},  // applied size differs
        {threePresets("c"), Dimensions(1024, 768), "b a c*"},  // the order stays for the panel's life
        {threePresets("c", true), Dimensions(1024, 768), "a c*"},  // the first one deleted: stored order
    };
    for (const auto& [preferences, applied, expected] : cases) {
        std::string cells;
        for (const auto& cell : panel.cells(preferences, applied)) {
            cells += (cells.empty() ? "" : " ") + cell.preset.id + (cell.applied ? "*" : "");
        }
        EXPECT_EQ(cells, expected);
    }
}

TEST(ResolutionPanelLayout, ColumnsAndLetterSizes) {
    const std::vector<std::pair<double, int>> columns{
        {200, 1}, {280, 2}, {330, 3}, {800, 3}, {313.9, 2}, {314, 3}, {-50, 1}, {NAN, 1}};
    for (const auto& [width, count] : columns) EXPECT_EQ(Panel::columnCount(width), count) << width;
    const std::vector<std::pair<std::int64_t, double>> letters{{80, 11}, {84, 11}, {85, 13}, {95, 15},
                                                               {110, 17}, {114, 17}, {115, 20}};
    for (const auto& [percent, size] : letters) EXPECT_EQ(Panel::letterSize(percent), size) << percent;
}

TEST(ResolutionPanelSegments, ThumbFollowsTheAdjustmentAndOutOfRangeStepsAreDisabled) {
    struct Case {
        ResolutionAdjustment adjustment;
        std::optional<Dimensions> applied;
        std::vector<double> thumbs;  // 120, 110, 100, 90, 80: 1 selected, 0.6 current only
        std::vector<bool> enabled;
    };
    const std::vector<Case> cases{
        {{Dimensions(1280, 720), 100}, Dimensions(1280, 720), {0, 0, 1, 0, 0}, {true, true, true, true, true}},
        {{Dimensions(1280, 720), 110}, std::nullopt, {0, 0.6, 0, 0, 0}, {true, true, true, true, true}},
        {{Dimensions(3840, 2160), 100}, Dimensions(3840, 2160), {0, 0, 1, 0, 0}, {true, true, true, false, false}},
        {{Dimensions(1280, 560), 100}, Dimensions(1280, 560), {0, 0, 1, 0, 0}, {false, false, true, true, true}},
    };
    for (const auto& [adjustment, applied, thumbs, enabled] : cases) {
        const auto segments = Panel::segments(adjustment, applied);
        for (std::size_t i = 0; i < segments.size(); ++i) {
            EXPECT_EQ(segments[i].thumbOpacity, thumbs[i]) << adjustment.base.label() << " " << segments[i].percent;
            EXPECT_EQ(segments[i].enabled, enabled[i]) << adjustment.base.label() << " " << segments[i].percent;
            EXPECT_EQ(segments[i].selected, thumbs[i] == 1.0);
        }
    }
}

// One title size for the whole grid: the body size while the longest title fits on two
// lines, else 85 % of it with at most two lines; never fewer than one line.
TEST(ResolutionPanelModel, TheTitlesOfAGridShareOneSizeAndFitOnTwoLinesFirst) {
    using Style = ResolutionPanelModel::TitleStyle;
    std::vector<double> asked;
    const auto lines = [&asked](std::map<double, int> at) {
        return [&asked, at](double size) {
            asked.push_back(size);
            return at.at(size);
        };
    };
    EXPECT_EQ(ResolutionPanelModel::titleStyle(lines({{13, 1}})), (Style{13, 1}));
    EXPECT_EQ(ResolutionPanelModel::titleStyle(lines({{13, 2}})), (Style{13, 2}));
    EXPECT_EQ(ResolutionPanelModel::titleStyle(lines({{13, 3}, {13 * 0.85, 2}})), (Style{13 * 0.85, 2}));
    EXPECT_EQ(ResolutionPanelModel::titleStyle(lines({{13, 3}, {13 * 0.85, 1}})), (Style{13 * 0.85, 1}));
    EXPECT_EQ(ResolutionPanelModel::titleStyle(lines({{13, 5}, {13 * 0.85, 4}})), (Style{13 * 0.85, 2}));
    EXPECT_EQ(ResolutionPanelModel::titleStyle(lines({{13, 0}})), (Style{13, 1})) << "no titles";
    EXPECT_EQ(ResolutionPanelModel::titleStyle({}), (Style{13, 1}));
    EXPECT_EQ(asked, (std::vector<double>{13, 13, 13, 13 * 0.85, 13, 13 * 0.85, 13, 13 * 0.85, 13}));
}

}  // namespace
}  // namespace dorvane
