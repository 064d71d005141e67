#include "DorvaneCore/Resolution/CustomPreset.h"

#include <algorithm>

#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Core/ScreenPreset.h"
#include "DorvaneCore/Resolution/SupportedRange.h"
#include "DorvaneCore/Support/JsonFields.h"
#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

namespace {

constexpr std::string_view kSizeOutOfRange = "宽度与高度均须在 512 至 3840 逻辑像素范围内。";
constexpr std::string_view kScaleOutOfRange = "显示大小须在 50% 至 200% 范围内，缩放后的尺寸须在支持范围内。";

}  // namespace

bool CustomPreset::isSupported(const Dimensions& size) { return isSupportedSize(size); }

void CustomPreset::validate() const {
    if (!isSupported(Dimensions(width, height))) throw FitError::message(std::string(kSizeOutOfRange));
    if (!isSupportedScale(scalePercent) || !isSupported(dimensions(DisplaySize::standard))) {
        throw FitError::message(std::string(kScaleOutOfRange));
    }
}

Dimensions CustomPreset::dimensions(DisplaySize size) const {
    const double factor = scaleFactor(size);
    const double scale = static_cast<double>(std::max<std::int64_t>(scalePercent, 1));
    // Multiplied in this order on purpose: the rounding of the documented
    // sizes (1294 × 0.85 → 1100) depends on it.
    return Dimensions(roundedPoints(factor * static_cast<double>(width) * 100.0 / scale),
                      roundedPoints(factor * static_cast<double>(height) * 100.0 / scale));
}

ResolutionAdjustment CustomPreset::adjustment() const {
    const ResolutionAdjustment scaled(Dimensions(width, height), scalePercent);
    if (scaled.isValid()) return scaled;
    return ResolutionAdjustment(Dimensions(width, height));
}

std::optional<CustomPreset> CustomPreset::settingScale(std::int64_t percent) const {
    CustomPreset copy = *this;
    copy.scalePercent = percent;
    try {
        copy.validate();
    } catch (const FitError&) {
        return std::nullopt;
    }
    return copy;
}

std::string CustomPreset::sizeLabel() const {
    std::string label = std::to_string(width) + " × " + std::to_string(height);
    if (scalePercent != 100) label += " · " + std::to_string(scalePercent) + "%";
    return label;
}

std::string CustomPreset::title() const {
    std::string text = dorvane::text::trimmed(name);
    return text.empty() ? std::string("规格") : text;
}

std::vector<CustomPreset> CustomPreset::recommendedSpecs() {
    return {
        CustomPreset{std::string(recommendedLandscapeID), "手机横屏（保留操作栏）", 1294, 720, 100},
        CustomPreset{std::string(recommendedPortraitID), "手机竖屏（保留操作栏）", 604, 1138, 100},
    };
}

std::vector<CustomPreset> CustomPreset::factorySpecs() {
    std::vector<CustomPreset> presets = recommendedSpecs();
    // Phone shapes first, so both orientations sit beside the recommended ones.
    for (ScreenPreset preset : {ScreenPreset::phone, ScreenPreset::portrait, ScreenPreset::widescreen,
                                ScreenPreset::tablet, ScreenPreset::wideTablet}) {
        const Dimensions size = dorvane::dimensions(preset, DisplaySize::standard);
        presets.push_back(CustomPreset{"factory:" + std::string(rawValue(preset)), std::string(dorvane::title(preset)),
                                     size.width, size.height, 100});
    }
    return presets;
}

namespace {

constexpr auto customPresetFields = [](auto& f, auto& preset) {
    f.required("id", preset.id);
    f.required("name", preset.name);
    f.required("width", preset.width);
    f.required("height", preset.height);
    f.defaulted("scalePercent", preset.scalePercent, 100);
};

}  // namespace

json::Json CustomPreset::toJson() const { return json::writeFields(*this, customPresetFields); }

CustomPreset CustomPreset::fromJson(const json::Json& value) {
    return json::readFields<CustomPreset>(value, customPresetFields);
}

}  // namespace dorvane
