#include "Platform/Displays/DisplayModeInfo.h"

namespace dorvane::displays {

// The engine's mode record plus the IO flags.
json::Json DisplayModeInfo::toJson() const {
    json::Json object = asDisplayMode().toJson();
    object["ioFlags"] = ioFlags;
    return object;
}

DisplayModeInfo DisplayModeInfo::fromJson(const json::Json& value) {
    const DisplayMode mode = DisplayMode::fromJson(value);
    DisplayModeInfo info;
    info.modeID = json::get<std::int32_t>(value, "modeID");  // narrower than the record's
    info.width = mode.width;
    info.height = mode.height;
    info.pixelWidth = mode.pixelWidth;
    info.pixelHeight = mode.pixelHeight;
    info.refresh = mode.refresh;
    info.ioFlags = json::get<std::uint32_t>(value, "ioFlags");
    return info;
}

}  // namespace dorvane::displays
