#include "Platform/Host/State/DefaultsState.h"

#include "Platform/System/UserDefaults.h"

namespace dorvane::host {

json::Json DefaultsState::toJson() const {
    json::Json stored = json::Json::object();
    for (const auto& [key, value] : values) stored[key] = value;
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["values"] = std::move(stored);
    return object;
}

DefaultsState DefaultsState::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    const auto& stored = json::requireObject(json::requireKey(value, "values"));
    DefaultsState state;
    for (const auto& [key, element] : stored.items()) {
        if (const auto reason = system::unstorableDefault(key, element)) {
            throw json::DecodeError(*reason, "values." + key);
        }
        state.values.emplace(key, element);
    }
    return state;
}

}  // namespace dorvane::host
