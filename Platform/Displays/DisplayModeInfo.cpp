#include "Platform/Displays/DisplayModeInfo.h"

namespace dorvane::displays {

json::Json DisplayModeInfo::toJson() const {
    json::Json object = json::Json::object();
    object["modeID"] = modeID;
    object["width"] = width;
    object["height"] = height;
    object["pixelWidth"] = pixelWidth;
    object["pixelHeight"] = pixelHeight;
    object["refresh"] = refresh;
    object["ioFlags"] = ioFlags;
    return object;
}

DisplayModeInfo DisplayModeInfo::fromJson(const json::Json& value) {
    json::requireObject(value);
    DisplayModeInfo mode;
    mode.modeID = json::get<std::int32_t>(value, "modeID");
    mode.width = json::get<std::int64_t>(value, "width");
    mode.height = json::get<std::int64_t>(value, "height");
    mode.pixelWidth = json::get<std::int64_t>(value, "pixelWidth");
    mode.pixelHeight = json::get<std::int64_t>(value, "pixelHeight");
    mode.refresh = json::get<double>(value, "refresh");
    mode.ioFlags = json::get<std::uint32_t>(value, "ioFlags");
    return mode;
}

}  // namespace dorvane::displays
