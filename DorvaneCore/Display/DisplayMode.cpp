#include "DorvaneCore/Display/DisplayMode.h"

#include <cmath>

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane {

bool DisplayMode::matches(const DisplayMode& other) const {
    return width == other.width && height == other.height && pixelWidth == other.pixelWidth &&
           pixelHeight == other.pixelHeight && std::fabs(refresh - other.refresh) < 1.0;
}

namespace {

constexpr auto displayModeFields = [](auto& f, auto& mode) {
    f.required("width", mode.width);
    f.required("height", mode.height);
    f.required("pixelWidth", mode.pixelWidth);
    f.required("pixelHeight", mode.pixelHeight);
    f.required("refresh", mode.refresh);
    f.required("modeID", mode.modeID);
};

}  // namespace

json::Json DisplayMode::toJson() const { return json::writeFields(*this, displayModeFields); }

DisplayMode DisplayMode::fromJson(const json::Json& value) {
    return json::readFields<DisplayMode>(value, displayModeFields);
}

}  // namespace dorvane
