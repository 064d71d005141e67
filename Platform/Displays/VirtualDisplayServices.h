#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Displays/DisplayServices.h"
#include "Platform/Displays/Geometry.h"

namespace dorvane::dispatch {
class Executor;
}

namespace dorvane::displays {

// What a virtual display is made from. A descriptor the platform cannot use (no name,
// no pixel limits, a non-positive physical size, or a `serialNumber` that disagrees
// with `serialNum`) makes creation answer nothing.
struct VirtualDisplayDescriptor {
    std::string name;
    // Where the display's own callbacks would run; the simulated host issues none.
    dispatch::Executor* queue = nullptr;
    std::uint32_t maxPixelsWide = 0;
    std::uint32_t maxPixelsHigh = 0;
    Size sizeInMillimeters;
    Point whitePoint;
    Point redPrimary;
    Point greenPrimary;
    Point bluePrimary;
    std::uint32_t vendorID = 0;
    std::uint32_t productID = 0;
    std::uint32_t serialNum = 0;
    std::optional<std::uint32_t> serialNumber;   // the newer spelling; must equal serialNum when given
};

// A logical size in points; a HiDPI display renders it at twice the pixels.
struct VirtualDisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    double refreshRate = 0;
};

struct VirtualDisplaySettings {
    std::uint32_t hiDPI = 0;     // 1 for HiDPI
    std::vector<VirtualDisplayMode> modes;
};

// A virtual display owned by the calling process. It is online once its settings were
// applied, and leaves the system when this object is destroyed or the process ends.
class VirtualDisplay {
public:
    virtual ~VirtualDisplay() = default;

    // Never 0 for a display that creation answered.
    virtual DisplayID displayID() const = 0;

    // False when the platform refuses the settings (no modes, a mode larger than the
    // descriptor's pixel limits, or the displays are asleep).
    virtual bool applySettings(const VirtualDisplaySettings& settings) = 0;

    // Lets the display go now. False when the system could not take it back: it is still
    // there, and the call may be made again. Answers true once it has gone.
    virtual bool release() = 0;
};

class VirtualDisplayServices {
public:
    virtual ~VirtualDisplayServices() = default;

    // Whether this system offers virtual displays at all.
    virtual bool isAvailable() = 0;

    // Nothing when unavailable or refused.
    virtual std::unique_ptr<VirtualDisplay> create(const VirtualDisplayDescriptor& descriptor) = 0;
};

}  // namespace dorvane::displays
