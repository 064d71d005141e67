#include "DorvaneCore/ResolutionModels/ResolutionPageRows.h"

namespace dorvane {

std::optional<std::string> activeSelection(const Preferences& preferences, const std::optional<Dimensions>& applied) {
    if (!applied || *applied != preferences.dimensions()) return std::nullopt;
    if (!preferences.selectedCustom()) return std::nullopt;
    return preferences.selectedCustomID;
}

Dimensions ResolutionPageRow::glyphSize() const { return preset.dimensions(DisplaySize::standard); }

std::string ResolutionPageRow::sizeAccessibleName() const {
    return std::to_string(preset.width) + " × " + std::to_string(preset.height) + "，显示大小" +
           std::to_string(preset.scalePercent) + "%";
}

std::string ResolutionPageRow::editAccessibleName() const { return "编辑" + preset.title(); }

std::string ResolutionPageRow::deleteAccessibleName() const { return "删除" + preset.title(); }

SpecDraft ResolutionPageRow::editDraft() const { return SpecDraft::editing(preset); }

DeletionTarget ResolutionPageRow::deletionTarget() const { return DeletionTarget::forPreset(preset); }

std::vector<ResolutionPageRow> resolutionPageRows(const Preferences& preferences,
                                                  const std::optional<Dimensions>& applied) {
    const auto active = activeSelection(preferences, applied);
    std::vector<ResolutionPageRow> rows;
    rows.reserve(preferences.customPresets.size());
    for (const auto& preset : preferences.customPresets) rows.push_back(ResolutionPageRow{preset, active == preset.id});
    return rows;
}

}  // namespace dorvane
