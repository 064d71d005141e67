#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Core/DisplaySize.h"
#include "DorvaneCore/Resolution/ResolutionAdjustment.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// A custom resolution preset ("规格"): a named base logical size with a display
// scale. User ids are UUID strings, factory ids begin "factory:", ids of
// custom presets taken from the device templates begin "template:catalog:".
// Ids are compared as exact strings.
struct CustomPreset {
    std::string id;
    std::string name;            // as entered; see title()
    std::int64_t width = 0;      // base logical width in points
    std::int64_t height = 0;     // base logical height in points
    std::int64_t scalePercent = 100;

    static constexpr std::string_view recommendedLandscapeID = "factory:phoneRecommended";
    static constexpr std::string_view recommendedPortraitID = "factory:portraitRecommended";

    friend bool operator==(const CustomPreset&, const CustomPreset&) = default;

    // Both sides within 512–3840 points.
    static bool isSupported(const Dimensions& size);

    // Throws FitError with the user-facing message of the first rule broken:
    // the base size, then the scale together with the scaled standard size.
    void validate() const;

    // The logical size applied for `size`: factor × side × 100 ÷ scale, halves
    // rounded away from zero; a scale below 1 counts as 1. Meaningful only for
    // custom presets that validate.
    Dimensions dimensions(DisplaySize size) const;

    // The custom preset as an editable base and scale; an unusable scale becomes 100.
    ResolutionAdjustment adjustment() const;

    // A copy at `percent` when that copy validates.
    std::optional<CustomPreset> settingScale(std::int64_t percent) const;

    // "1600 × 900", followed by " · 125%" when the scale is not 100.
    std::string sizeLabel() const;

    // The name without surrounding white space, or "规格" when nothing is left.
    std::string title() const;

    // The two sizes that leave room for the remote application's own bar.
    static std::vector<CustomPreset> recommendedSpecs();

    // The seven presets a new installation starts with: the recommended
    // two, then one per built-in preset at its standard size.
    static std::vector<CustomPreset> factorySpecs();

    // All five keys are written; "scalePercent" may be missing or null when read (100).
    json::Json toJson() const;
    static CustomPreset fromJson(const json::Json& value);
};

}  // namespace dorvane
