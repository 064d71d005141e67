#include "DorvaneCore/ResolutionModels/ResolutionPanelModel.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

ResolutionPanelModel ResolutionPanelModel::forSelection(const Preferences& preferences) {
    return ResolutionPanelModel(preferences.selectedCustomID);
}

ResolutionPanelModel::ResolutionPanelModel(std::optional<std::string> firstPresetID)
    : firstPresetID_(std::move(firstPresetID)) {}

std::vector<CustomPreset> ResolutionPanelModel::presets(const Preferences& preferences) const {
    std::vector<CustomPreset> ordered = preferences.customPresets;
    if (!firstPresetID_) return ordered;
    const auto first = std::ranges::find(ordered, *firstPresetID_, &CustomPreset::id);
    if (first != ordered.end()) std::rotate(ordered.begin(), first, first + 1);
    return ordered;
}

std::vector<ResolutionPanelModel::Cell> ResolutionPanelModel::cells(const Preferences& preferences,
                                                                    const std::optional<Dimensions>& applied) const {
    std::vector<Cell> result;
    for (auto& preset : presets(preferences)) {
        const bool isApplied = isAppliedCustom(preset.id, preferences, applied);
        const Dimensions size = preset.dimensions(DisplaySize::standard);
        result.push_back(Cell{std::move(preset), size, isApplied});
    }
    return result;
}

bool ResolutionPanelModel::isAppliedCustom(std::string_view id, const Preferences& preferences,
                                           const std::optional<Dimensions>& applied) {
    if (!applied) return false;
    const auto selected = preferences.selectedCustom();
    return selected && selected->id == id && *applied == selected->dimensions(DisplaySize::standard);
}

int ResolutionPanelModel::columnCount(double contentWidth) {
    if (std::isnan(contentWidth)) return 1;
    const double columns = std::floor((std::min(contentWidth, 500.0) + 16) / 110);
    return static_cast<int>(std::clamp(columns, 1.0, 3.0));
}

ResolutionPanelModel::TitleStyle ResolutionPanelModel::titleStyle(const std::function<int(double pointSize)>& linesNeeded) {
    const auto lines = [&linesNeeded](double size) { return linesNeeded ? std::max(linesNeeded(size), 1) : 1; };
    const int full = lines(titleSize);
    if (full <= titleLineLimit) return TitleStyle{titleSize, full};
    const double shrunk = titleSize * titleShrink;
    return TitleStyle{shrunk, std::min(lines(shrunk), titleLineLimit)};
}

double ResolutionPanelModel::letterSize(std::int64_t percent) {
    if (percent < 85) return 11;
    if (percent < 95) return 13;
    if (percent < 105) return 15;
    if (percent < 115) return 17;
    return 20;
}

std::vector<ResolutionPanelModel::Segment> ResolutionPanelModel::segments(const ResolutionAdjustment& adjustment,
                                                                          const std::optional<Dimensions>& applied) {
    std::vector<Segment> result;
    for (const auto& step : scaleSteps) {
        Segment segment;
        segment.title = step.title;
        segment.percent = step.percent;
        segment.letterSize = letterSize(step.percent);
        segment.current = adjustment.scalePercent == step.percent;
        segment.selected = segment.current && applied.has_value();
        segment.enabled = adjustment.settingScale(step.percent).has_value();
        segment.thumbOpacity = segment.selected ? 1.0 : segment.current ? 0.6 : 0.0;
        result.push_back(segment);
    }
    return result;
}

ResolutionPanelModel::ContentAlignment ResolutionPanelModel::contentAlignment(ToolbarSide side) {
    switch (side) {
        case ToolbarSide::bottom: return ContentAlignment::bottomLeading;
        case ToolbarSide::right: return ContentAlignment::topTrailing;
        case ToolbarSide::left:
        case ToolbarSide::top: break;
    }
    return ContentAlignment::topLeading;
}

}  // namespace dorvane
