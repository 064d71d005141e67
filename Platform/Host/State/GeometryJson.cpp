#include "Platform/Host/State/GeometryJson.h"

#include <cmath>

namespace dorvane::host {

namespace {

double finite(const json::Json& object, const char* key) {
    const double value = json::get<double>(object, key);
    if (!std::isfinite(value)) throw json::DecodeError("not a finite number", key);
    return value;
}

}  // namespace

json::Json rectJson(const geometry::Rect& rect) {
    json::Json object = json::Json::object();
    object["x"] = rect.x;
    object["y"] = rect.y;
    object["width"] = rect.width;
    object["height"] = rect.height;
    return object;
}

json::Json pointJson(const geometry::Point& point) {
    json::Json object = json::Json::object();
    object["x"] = point.x;
    object["y"] = point.y;
    return object;
}

json::Json sizeJson(const geometry::Size& size) {
    json::Json object = json::Json::object();
    object["width"] = size.width;
    object["height"] = size.height;
    return object;
}

geometry::Rect rectFromJson(const json::Json& value) {
    json::requireObject(value);
    return geometry::Rect{finite(value, "x"), finite(value, "y"), finite(value, "width"), finite(value, "height")};
}

geometry::Point pointFromJson(const json::Json& value) {
    json::requireObject(value);
    return geometry::Point{finite(value, "x"), finite(value, "y")};
}

geometry::Size sizeFromJson(const json::Json& value) {
    json::requireObject(value);
    return geometry::Size{finite(value, "width"), finite(value, "height")};
}

}  // namespace dorvane::host
