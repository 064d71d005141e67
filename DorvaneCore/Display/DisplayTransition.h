#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Display/DisplayState.h"

namespace dorvane {

// Refusal of every layout rule below: the displays are not in a shape the fit can take over.
inline constexpr const char* kLayoutChangedMessage = "显示器布局已变化，请先还原屏幕";

// Each side of a fitted logical size, in points.
inline constexpr std::int64_t kMinimumFitSide = 512;
inline constexpr std::int64_t kMaximumFitSide = 3840;

// The mode a fit gives the virtual display: twice the pixels, 60 Hz.
DisplayMode fittedMode(const Dimensions& size);

// The fitted layout: the virtual display main at the origin and every physical
// display mirroring it; during a hand-over the retiring virtual display mirrors too.
class DisplayTransition {
public:
    DisplayTransition() = delete;

    // Retiring target (if any), source target, then the physical targets in order. Throws FitError.
    static std::vector<DisplayState> targets(const DisplayState& source, const Dimensions& dimensions,
                                             const std::vector<DisplayState>& physical,
                                             const std::optional<DisplayState>& retiring);

    // Whether a live snapshot shows the target layout. Never throws.
    static bool matches(const std::vector<DisplayState>& live, const std::vector<DisplayState>& targets,
                        std::uint32_t sourceID);
};

// A new mode for the virtual display in place, while the fitted layout still holds.
class DisplayReconfiguration {
public:
    DisplayReconfiguration() = delete;

    // The one target for the new size. Throws FitError when the live layout is not the fitted one.
    static DisplayState target(const std::vector<DisplayState>& live, std::uint32_t sourceID,
                               const Dimensions& dimensions);

    // Same displays with the same identity, place, main flag and mirroring; modes are not compared.
    static bool sameTopology(const std::vector<DisplayState>& live, const std::vector<DisplayState>& baseline);

    static bool matches(const std::vector<DisplayState>& live, const std::vector<DisplayState>& baseline,
                        const DisplayState& target);
};

}  // namespace dorvane
