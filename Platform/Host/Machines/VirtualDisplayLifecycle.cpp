#include "Platform/Host/Machines/VirtualDisplayLifecycle.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "Platform/Host/State/DisplayLayout.h"

namespace dorvane::host {

namespace {

using displays::kDisplayModeDefaultFlag;
using displays::kDisplayModeSafeFlag;
using displays::kDisplayModeValidFlag;

DisplayRecord* findVirtual(HostState& state, DisplayID id) {
    for (auto& display : state.displays) {
        if (display.kind == DisplayKind::virtualDisplay && display.id == id) return &display;
    }
    return nullptr;
}

std::string randomUUID() {
    std::random_device device;
    std::mt19937_64 generator((std::uint64_t(device()) << 32) ^ device());
    const std::uint64_t high = (generator() & 0xFFFFFFFFFFFF0FFFull) | 0x0000000000004000ull;
    const std::uint64_t low = (generator() & 0x3FFFFFFFFFFFFFFFull) | 0x8000000000000000ull;
    char text[37];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%04X-%012llX", unsigned(high >> 32),
                  unsigned((high >> 16) & 0xFFFF), unsigned(high & 0xFFFF), unsigned(low >> 48),
                  static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
    return text;
}

bool usable(const displays::VirtualDisplayDescriptor& descriptor) {
    const auto positive = [](double value) { return std::isfinite(value) && value > 0; };
    return !descriptor.name.empty() && descriptor.maxPixelsWide > 0 && descriptor.maxPixelsHigh > 0 &&
           positive(descriptor.sizeInMillimeters.width) && positive(descriptor.sizeInMillimeters.height) &&
           (!descriptor.serialNumber || *descriptor.serialNumber == descriptor.serialNum);
}

}  // namespace

std::optional<DisplayID> createVirtualDisplay(HostData& data, const Actor& actor, const processes::ProcessIdentity& owner,
                                              const displays::VirtualDisplayDescriptor& descriptor) {
    json::Json details = json::Json::object();
    details["name"] = descriptor.name;
    details["vendor"] = descriptor.vendorID;
    details["product"] = descriptor.productID;
    details["serial"] = descriptor.serialNum;
    details["maxPixelsWide"] = descriptor.maxPixelsWide;
    details["maxPixelsHigh"] = descriptor.maxPixelsHigh;
    if (!data.state().virtualDisplaysAvailable || !usable(descriptor)) {
        details["display"] = 0;
        data.record(actor, "createVirtualDisplay", details);
        return std::nullopt;
    }

    const auto& behaviour = data.state().behaviours.virtualDisplay;
    DisplayRecord display;
    display.kind = DisplayKind::virtualDisplay;
    display.name = descriptor.name;
    display.id = data.state().allocateDisplayID();
    display.vendor = descriptor.vendorID;
    display.model = descriptor.productID;
    display.serial = descriptor.serialNum;
    display.uuid = randomUUID();
    VirtualDisplayRecord info;
    info.owner = owner;
    info.maxPixelsWide = descriptor.maxPixelsWide;
    info.maxPixelsHigh = descriptor.maxPixelsHigh;
    info.createdAt = data.now;
    info.vanishDelay = behaviour.vanishDelay;
    info.lingers = behaviour.lingers;
    info.startsLowResolution = behaviour.startsLowResolution;
    display.virtualDisplay = info;
    data.state().displays.push_back(std::move(display));

    details["display"] = data.state().displays.back().id;
    data.record(actor, "createVirtualDisplay", details);
    return data.state().displays.back().id;
}

bool applyVirtualDisplaySettings(HostData& data, const Actor& actor, DisplayID id,
                                 const displays::VirtualDisplaySettings& settings) {
    json::Json details = json::Json::object();
    details["display"] = id;
    details["hiDPI"] = settings.hiDPI;
    json::Json sizes = json::Json::array();
    for (const auto& mode : settings.modes) {
        sizes.push_back(std::to_string(mode.width) + "x" + std::to_string(mode.height) + "@" +
                        std::to_string(mode.refreshRate));
    }
    details["modes"] = sizes;

    DisplayRecord* display = findVirtual(data.state(), id);
    const std::uint32_t scale = settings.hiDPI == 1 ? 2 : 1;
    bool accepted = display != nullptr && !display->virtualDisplay->releasedAt && !data.state().asleep &&
                    settings.hiDPI <= 1 && !settings.modes.empty();
    if (accepted) {
        for (const auto& mode : settings.modes) {
            accepted = accepted && mode.width > 0 && mode.height > 0 && std::isfinite(mode.refreshRate) &&
                       mode.refreshRate > 0 &&
                       std::uint64_t(mode.width) * scale <= display->virtualDisplay->maxPixelsWide &&
                       std::uint64_t(mode.height) * scale <= display->virtualDisplay->maxPixelsHigh;
        }
    }
    details["accepted"] = accepted;
    data.record(actor, "applyVirtualDisplaySettings", details);
    if (!accepted) return false;

    std::vector<HostMode> modes;
    std::int32_t nextID = 1;
    for (std::size_t index = 0; index < settings.modes.size(); ++index) {
        const auto& mode = settings.modes[index];
        const std::uint32_t flags =
            kDisplayModeValidFlag | kDisplayModeSafeFlag | (index == 0 ? kDisplayModeDefaultFlag : 0u);
        const std::int64_t width = mode.width;
        const std::int64_t height = mode.height;
        modes.push_back(HostMode{{nextID++, width, height, width * scale, height * scale, mode.refreshRate, flags}, false});
        if (scale == 2) {
            modes.push_back(HostMode{
                {nextID++, width, height, width, height, mode.refreshRate, kDisplayModeValidFlag | kDisplayModeSafeFlag},
                true});
        }
    }
    auto& info = *display->virtualDisplay;
    const bool firstSettings = !info.settingsApplied;
    display->modes = std::move(modes);
    if (firstSettings || display->findMode(display->currentModeID) == nullptr) {
        const bool lowResolution = info.startsLowResolution && scale == 2;
        display->currentModeID = display->modes[lowResolution ? 1 : 0].info.modeID;
    }
    info.settingsApplied = true;
    if (firstSettings) {
        const double delay = data.state().behaviours.virtualDisplay.onlineDelay;
        info.onlineAt = data.now + std::max(0.0, delay);
        if (delay <= 0) {
            info.online = true;
            const auto [x, y] = nextFreeOrigin(data.state(), id);
            display->x = x;
            display->y = y;
        }
    }
    normalizeLayout(data.state(), {id});
    return true;
}

void releaseVirtualDisplay(HostData& data, const Actor& actor, DisplayID id) {
    DisplayRecord* display = findVirtual(data.state(), id);
    json::Json details = json::Json::object();
    details["display"] = id;
    data.record(actor, "releaseVirtualDisplay", details);
    if (display == nullptr || display->virtualDisplay->releasedAt) return;
    auto& info = *display->virtualDisplay;
    if (!info.lingers && info.vanishDelay <= 0) {
        data.state().displays.erase(data.state().displays.begin() + (display - data.state().displays.data()));
        detachMirrors(data.state(), id);
        normalizeLayout(data.state());
        return;
    }
    info.releasedAt = data.now;
}

}  // namespace dorvane::host
