#include "Platform/Host/PowerState.h"

namespace dorvane::host {

namespace {

void requireFormat(const json::Json& value, std::int32_t expected) {
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != expected) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
}

}  // namespace

json::Json PowerAssertionRecord::toJson() const {
    json::Json object = json::Json::object();
    object["id"] = id;
    object["holder"] = holder.toJson();
    object["type"] = type;
    object["name"] = name;
    object["level"] = level;
    return object;
}

PowerAssertionRecord PowerAssertionRecord::fromJson(const json::Json& value) {
    json::requireObject(value);
    return PowerAssertionRecord{json::get<std::uint32_t>(value, "id"),
                                json::get<processes::ProcessIdentity>(value, "holder"),
                                json::get<std::string>(value, "type"), json::get<std::string>(value, "name"),
                                json::get<std::int64_t>(value, "level")};
}

json::Json PowerState::toJson() const {
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["generation"] = generation;
    object["nextAssertionID"] = nextAssertionID;
    object["notificationsAvailable"] = notificationsAvailable;
    object["listingMalformed"] = listingMalformed;
    object["assertions"] = json::encodeArray(assertions);
    return object;
}

PowerState PowerState::fromJson(const json::Json& value) {
    json::requireObject(value);
    requireFormat(value, kFormat);
    PowerState state;
    state.generation = json::get<std::uint64_t>(value, "generation");
    state.nextAssertionID = json::get<std::uint32_t>(value, "nextAssertionID");
    state.notificationsAvailable = json::get<bool>(value, "notificationsAvailable");
    state.listingMalformed = json::get<bool>(value, "listingMalformed");
    state.assertions = json::get<std::vector<PowerAssertionRecord>>(value, "assertions");
    return state;
}

}  // namespace dorvane::host
