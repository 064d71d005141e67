#pragma once

#include <cstdint>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// One display mode as the platform reports it.
struct DisplayMode {
    std::int64_t width = 0;        // logical points
    std::int64_t height = 0;
    std::int64_t pixelWidth = 0;   // backing pixels; twice width for a HiDPI mode
    std::int64_t pixelHeight = 0;
    double refresh = 0.0;          // Hz
    std::int64_t modeID = 0;       // the platform's identifier; 0 in targets built for the virtual display

    friend bool operator==(const DisplayMode&, const DisplayMode&) = default;

    // Same size in points and pixels, refresh rates less than 1 Hz apart. The
    // mode identifier is never compared: it differs between equivalent modes.
    bool matches(const DisplayMode& other) const;

    json::Json toJson() const;
    // All six keys are required.
    static DisplayMode fromJson(const json::Json& value);
};

}  // namespace dorvane
