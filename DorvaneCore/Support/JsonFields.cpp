#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::json {

void FieldWriter::format(std::int32_t version) { put("format", Json(version)); }

void FieldWriter::put(std::string_view key, Json value) { object_[std::string(key)] = std::move(value); }

FieldReader::FieldReader(const Json& object) : object_(requireObject(object)) {}

void FieldReader::format(std::int32_t version) {
    const auto format = get<std::int32_t>(object_, "format");
    if (format != version) throw DecodeError("unsupported format " + std::to_string(format), "format");
}

const Json* FieldReader::find(std::string_view key) const {
    const auto found = object_.find(key);
    return found == object_.end() || found->is_null() ? nullptr : &*found;
}

}  // namespace dorvane::json
