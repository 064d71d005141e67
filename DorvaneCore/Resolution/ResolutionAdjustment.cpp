#include "DorvaneCore/Resolution/ResolutionAdjustment.h"

#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Resolution/SupportedRange.h"

namespace dorvane {

namespace {

// value + step × direction, or nothing when that overflows (the result could
// not be a supported size anyway).
std::optional<std::int64_t> stepped(std::int64_t value, std::int64_t step, std::int64_t direction) {
    std::int64_t result = 0;
    if (__builtin_add_overflow(value, step * direction, &result)) return std::nullopt;
    return result;
}

}  // namespace

Dimensions ResolutionAdjustment::dimensions() const {
    return Dimensions(scaledPoints(base.width, scalePercent), scaledPoints(base.height, scalePercent));
}

bool ResolutionAdjustment::isValid() const {
    // The scale is checked first so dimensions() is only computed for a positive scale.
    return isSupportedScale(scalePercent) && isSupportedSize(base) && isSupportedSize(dimensions());
}

std::optional<ResolutionAdjustment> ResolutionAdjustment::settingScale(std::int64_t percent) const {
    ResolutionAdjustment result(base, percent);
    if (!result.isValid()) return std::nullopt;
    return result;
}

std::optional<ResolutionAdjustment> ResolutionAdjustment::stepping(Control control, std::int64_t direction) const {
    if (direction != 1 && direction != -1) return std::nullopt;
    ResolutionAdjustment result = *this;
    std::optional<std::int64_t> value;
    switch (control) {
        case Control::width:
            value = stepped(base.width, pixelStep, direction);
            if (value) result.base.width = *value;
            break;
        case Control::height:
            value = stepped(base.height, pixelStep, direction);
            if (value) result.base.height = *value;
            break;
        case Control::scale:
            value = stepped(scalePercent, scaleStep, direction);
            if (value) result.scalePercent = *value;
            break;
    }
    if (!value || !result.isValid()) return std::nullopt;
    return result;
}

CustomPreset ResolutionAdjustment::copyPreset(const RandomSource& random) const {
    const Dimensions size = dimensions();
    return CustomPreset{makeUUIDString(random), size.label(), size.width, size.height, 100};
}

CustomPreset ResolutionAdjustment::copyPreset() const { return copyPreset(systemRandomSource()); }

}  // namespace dorvane
