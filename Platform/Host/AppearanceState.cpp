#include "Platform/Host/AppearanceState.h"

namespace dorvane::host {

json::Json AppearanceState::toJson() const {
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["generation"] = generation;
    object["appearance"] = json::encode(settings.style);
    object["reduceMotion"] = settings.reduceMotion;
    return object;
}

AppearanceState AppearanceState::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    AppearanceState state;
    state.generation = json::get<std::uint64_t>(value, "generation");
    state.settings.style = json::get<system::InterfaceStyle>(value, "appearance");
    state.settings.reduceMotion = json::get<bool>(value, "reduceMotion");
    return state;
}

}  // namespace dorvane::host
