#include "DorvaneCore/Core/Dimensions.h"

namespace dorvane {

std::string Dimensions::label() const { return std::to_string(width) + "×" + std::to_string(height); }

std::string Dimensions::cli() const { return std::to_string(width) + "x" + std::to_string(height); }

json::Json Dimensions::toJson() const {
    json::Json object = json::Json::object();
    object["width"] = width;
    object["height"] = height;
    return object;
}

Dimensions Dimensions::fromJson(const json::Json& value) {
    json::requireObject(value);
    return Dimensions(json::get<std::int64_t>(value, "width"), json::get<std::int64_t>(value, "height"));
}

}  // namespace dorvane
