#include "DorvaneCore/Core/Dimensions.h"

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane {

std::string Dimensions::label() const { return std::to_string(width) + "×" + std::to_string(height); }

std::string Dimensions::cli() const { return std::to_string(width) + "x" + std::to_string(height); }

namespace {

constexpr auto dimensionsFields = [](auto& f, auto& size) {
    f.required("width", size.width);
    f.required("height", size.height);
};

}  // namespace

json::Json Dimensions::toJson() const { return json::writeFields(*this, dimensionsFields); }

Dimensions Dimensions::fromJson(const json::Json& value) {
    return json::readFields<Dimensions>(value, dimensionsFields);
}

}  // namespace dorvane
