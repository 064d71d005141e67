#include "DorvaneCore/Display/DisplayMode.h"

#include <cmath>

namespace dorvane {

bool DisplayMode::matches(const DisplayMode& other) const {
    return width == other.width && height == other.height && pixelWidth == other.pixelWidth &&
           pixelHeight == other.pixelHeight && std::fabs(refresh - other.refresh) < 1.0;
}

json::Json DisplayMode::toJson() const {
    json::Json object = json::Json::object();
    object["width"] = width;
    object["height"] = height;
    object["pixelWidth"] = pixelWidth;
    object["pixelHeight"] = pixelHeight;
    object["refresh"] = refresh;
    object["modeID"] = modeID;
    return object;
}

DisplayMode DisplayMode::fromJson(const json::Json& value) {
    json::requireObject(value);
    DisplayMode mode;
    mode.width = json::get<std::int64_t>(value, "width");
    mode.height = json::get<std::int64_t>(value, "height");
    mode.pixelWidth = json::get<std::int64_t>(value, "pixelWidth");
    mode.pixelHeight = json::get<std::int64_t>(value, "pixelHeight");
    mode.refresh = json::get<double>(value, "refresh");
    mode.modeID = json::get<std::int64_t>(value, "modeID");
    return mode;
}

}  // namespace dorvane
