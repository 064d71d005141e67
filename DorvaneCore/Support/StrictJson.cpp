#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::json {

DecodeError::DecodeError(const std::string& reason, std::string path)
    : std::runtime_error(path.empty() ? reason : path + ": " + reason), path_(std::move(path)), reason_(reason) {}

DecodeError DecodeError::within(std::string_view segment) const {
    std::string path(segment);
    if (!path_.empty()) {
        if (!path_.starts_with("[")) path += ".";
        path += path_;
    }
    return DecodeError(reason_, std::move(path));
}

Json parse(std::string_view text) {
    try {
        return Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        throw DecodeError(std::string("malformed JSON: ") + error.what());
    }
}

std::string serialize(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string serializePretty(const Json& value, int indent) {
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

std::string_view typeName(const Json& value) {
    switch (value.type()) {
        case Json::value_t::null: return "null";
        case Json::value_t::object: return "object";
        case Json::value_t::array: return "array";
        case Json::value_t::string: return "string";
        case Json::value_t::boolean: return "boolean";
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned: return "integer";
        case Json::value_t::number_float: return "number";
        case Json::value_t::binary: return "binary";
        case Json::value_t::discarded: return "discarded";
    }
    return "unknown";
}

const Json& requireObject(const Json& value) {
    if (!value.is_object()) detail::throwWrongType(value, "object");
    return value;
}

const Json& requireArray(const Json& value) {
    if (!value.is_array()) detail::throwWrongType(value, "array");
    return value;
}

const Json& requireKey(const Json& object, std::string_view key) {
    requireObject(object);
    auto found = object.find(key);
    if (found == object.end()) throw DecodeError("missing key", std::string(key));
    return *found;
}

bool hasValue(const Json& object, std::string_view key) {
    if (!object.is_object()) return false;
    auto found = object.find(key);
    return found != object.end() && !found->is_null();
}

namespace detail {

namespace {
std::string shortText(const Json& value) {
    std::string text = serialize(value);
    if (text.size() > 40) text = text.substr(0, 40) + "…";
    return text;
}
}  // namespace

void throwOutOfRange(const Json& value, std::string_view target) {
    throw DecodeError("value " + shortText(value) + " is out of range for " + std::string(target));
}

void throwWrongType(const Json& value, std::string_view expected) {
    throw DecodeError("expected " + std::string(expected) + ", found " + std::string(typeName(value)) + " " +
                      shortText(value));
}

}  // namespace detail

}  // namespace dorvane::json
