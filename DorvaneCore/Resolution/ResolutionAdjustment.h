#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Support/UUID.h"

namespace dorvane {

struct CustomPreset;

// The size being edited in the resolution panel: a base logical size and a
// display scale. Every step either yields another valid adjustment or is
// refused, so the panel can never reach an unsupported size. Not stored.
struct ResolutionAdjustment {
    // Which value a step changes.
    enum class Control { width, height, scale };

    static constexpr std::int64_t pixelStep = 32;  // points per width or height step
    static constexpr std::int64_t scaleStep = 10;  // percent per scale step

    Dimensions base;
    std::int64_t scalePercent = 100;

    ResolutionAdjustment() = default;
    explicit ResolutionAdjustment(Dimensions base) : base(base) {}
    ResolutionAdjustment(Dimensions base, std::int64_t scalePercent) : base(base), scalePercent(scalePercent) {}

    friend bool operator==(const ResolutionAdjustment&, const ResolutionAdjustment&) = default;

    // base × 100 ÷ scale per side, halves rounded away from zero. A larger
    // scale gives a smaller logical size, so everything is drawn larger.
    Dimensions dimensions() const;

    // Scale within 50–200 %, base and scaled size within 512–3840 points per side.
    bool isValid() const;

    // The same base at `percent`, when that is valid.
    std::optional<ResolutionAdjustment> settingScale(std::int64_t percent) const;

    // One step of ±32 points or ±10 %; `direction` must be exactly 1 or -1.
    // A step that would leave the supported range is refused, never clamped.
    std::optional<ResolutionAdjustment> stepping(Control control, std::int64_t direction) const;

    // A new custom preset of the adjusted size at 100 %, with a fresh UUID id
    // and the size's label ("1280×720") as its name.
    CustomPreset copyPreset(const RandomSource& random) const;
    CustomPreset copyPreset() const;
};

template <>
struct EnumCases<ResolutionAdjustment::Control> {
    static constexpr std::array<std::pair<ResolutionAdjustment::Control, std::string_view>, 3> table{{
        {ResolutionAdjustment::Control::width, "width"},
        {ResolutionAdjustment::Control::height, "height"},
        {ResolutionAdjustment::Control::scale, "scale"},
    }};
};

}  // namespace dorvane
