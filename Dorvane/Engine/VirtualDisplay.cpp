#include "Dorvane/Engine/VirtualDisplay.h"

#include "DorvaneCore/Core/BusyFailure.h"
#include "DorvaneCore/Display/DisplayState.h"
#include "DorvaneCore/Resolution/SupportedRange.h"

namespace dorvane {

bool DVVirtualDisplay::isAvailable(displays::VirtualDisplayServices& services) {
    // A system that could not be asked (held by another program, say) has not said that it
    // offers none: its failure goes on to be said as it is.
    return services.isAvailable();
}

displays::VirtualDisplayDescriptor DVVirtualDisplay::descriptor(std::uint32_t width, std::uint32_t height,
                                                                std::uint32_t serialNumber,
                                                                dispatch::Executor* callbackQueue) {
    displays::VirtualDisplayDescriptor descriptor;
    descriptor.name = displayName;
    descriptor.queue = callbackQueue;
    descriptor.maxPixelsWide = 2 * width;
    descriptor.maxPixelsHigh = 2 * height;
    descriptor.sizeInMillimeters = {width * 25.4 / pointsPerInch, height * 25.4 / pointsPerInch};
    descriptor.whitePoint = {0.3127, 0.329};
    descriptor.redPrimary = {0.64, 0.33};
    descriptor.greenPrimary = {0.3, 0.6};
    descriptor.bluePrimary = {0.15, 0.06};
    descriptor.vendorID = kVirtualDisplayVendor;
    descriptor.productID = productID;
    descriptor.serialNum = serialNumber;
    descriptor.serialNumber = serialNumber;
    return descriptor;
}

displays::VirtualDisplaySettings DVVirtualDisplay::settings(std::uint32_t width, std::uint32_t height) {
    return displays::VirtualDisplaySettings{1, {displays::VirtualDisplayMode{width, height, 60.0}}};
}

std::unique_ptr<DVVirtualDisplay> DVVirtualDisplay::create(displays::VirtualDisplayServices& services,
                                                           std::uint32_t width, std::uint32_t height,
                                                           std::uint32_t serialNumber,
                                                           dispatch::Executor* callbackQueue) {
    if (!isSupportedSide(width) || !isSupportedSide(height) || !isAvailable(services)) return nullptr;
    try {
        auto display = services.create(descriptor(width, height, serialNumber, callbackQueue));
        if (!display) return nullptr;
        if (!display->applySettings(settings(width, height))) return nullptr;
        return std::unique_ptr<DVVirtualDisplay>(new DVVirtualDisplay(std::move(display)));
    } catch (const BusyFailure&) {
        throw;  // not refused: another program held the system, and a later try may work
    } catch (...) {
        return nullptr;
    }
}

std::uint32_t DVVirtualDisplay::displayID() const { return display_ ? display_->displayID() : 0; }

bool DVVirtualDisplay::release() {
    try {
        return !display_ || display_->release();
    } catch (...) {
        return false;
    }
}

std::optional<std::string> DVDisplayUUID(displays::DisplayServices& services, std::uint32_t displayID) {
    try {
        return services.displayUUID(displayID);
    } catch (const BusyFailure&) {
        throw;  // no answer yet: a display recorded without its UUID would be taken for another
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace dorvane
