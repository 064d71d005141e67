#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Platform/Displays/DisplayServices.h"
#include "Platform/Displays/VirtualDisplayServices.h"

namespace dorvane {

// The program's own virtual display. It exists exactly as long as this object:
// releasing it removes the display from the system.
class DVVirtualDisplay {
public:
    static constexpr const char* displayName = "Corvelle Virtual Display";
    static constexpr std::uint32_t productID = 1;
    static constexpr double pointsPerInch = 110.0;

    // Whether the system offers virtual displays. Throws when the system could not be
    // asked (a BusyFailure when another program held it past the wait).
    static bool isAvailable(displays::VirtualDisplayServices& services);

    // Nothing when the size is outside 512…3840 points, virtual displays are
    // unavailable, or the platform refuses (or throws on) any step. A step that another
    // program held out throws its BusyFailure instead: that is no refusal.
    static std::unique_ptr<DVVirtualDisplay> create(displays::VirtualDisplayServices& services, std::uint32_t width,
                                                    std::uint32_t height, std::uint32_t serialNumber,
                                                    dispatch::Executor* callbackQueue = nullptr);

    // The descriptor for a logical size: twice the pixels, 110 points per inch, sRGB-like primaries.
    static displays::VirtualDisplayDescriptor descriptor(std::uint32_t width, std::uint32_t height,
                                                         std::uint32_t serialNumber,
                                                         dispatch::Executor* callbackQueue = nullptr);

    // One HiDPI mode of the logical size at 60 Hz.
    static displays::VirtualDisplaySettings settings(std::uint32_t width, std::uint32_t height);

    // 0 when the platform gave none.
    std::uint32_t displayID() const;

    // Lets the display go now; false when the system could not take it back yet (it is
    // still online, and release() may be tried again). Destruction lets it go too, but
    // cannot tell whether that worked.
    bool release();

private:
    explicit DVVirtualDisplay(std::unique_ptr<displays::VirtualDisplay> display) : display_(std::move(display)) {}

    std::unique_ptr<displays::VirtualDisplay> display_;
};

// The UUID text of any display, physical or virtual; nothing when the lookup is
// unavailable or the display is not online. Throws the BusyFailure of a lookup another
// program held out.
std::optional<std::string> DVDisplayUUID(displays::DisplayServices& services, std::uint32_t displayID);

}  // namespace dorvane
