#include "DorvaneCore/Display/DisplayState.h"

#include <utility>

namespace dorvane {

DisplayState::DisplayState(std::uint32_t id, std::optional<std::string> uuid, std::string hardwareKey, bool physical,
                           bool main, std::int32_t x, std::int32_t y, std::uint32_t mirror, DisplayMode mode)
    : id(id),
      uuid(std::move(uuid)),
      hardwareKey(std::move(hardwareKey)),
      physical(physical),
      main(main),
      x(x),
      y(y),
      mirror(mirror),
      mode(mode) {}

bool DisplayState::isOwnVirtualDisplay() const {
    return hardwareKey.starts_with(std::to_string(kVirtualDisplayVendor) + ":");
}

json::Json DisplayState::toJson() const {
    json::Json object = json::Json::object();
    object["id"] = id;
    if (uuid) object["uuid"] = *uuid;
    object["hardwareKey"] = hardwareKey;
    object["physical"] = physical;
    object["main"] = main;
    object["x"] = x;
    object["y"] = y;
    object["mirror"] = mirror;
    object["mode"] = mode.toJson();
    object["skipMode"] = skipMode;
    object["skipOrigin"] = skipOrigin;
    return object;
}

DisplayState DisplayState::fromJson(const json::Json& value) {
    json::requireObject(value);
    DisplayState state;
    state.id = json::get<std::uint32_t>(value, "id");
    state.uuid = json::getOptional<std::string>(value, "uuid");
    state.hardwareKey = json::get<std::string>(value, "hardwareKey");
    state.physical = json::get<bool>(value, "physical");
    state.main = json::get<bool>(value, "main");
    state.x = json::get<std::int32_t>(value, "x");
    state.y = json::get<std::int32_t>(value, "y");
    state.mirror = json::get<std::uint32_t>(value, "mirror");
    state.mode = json::get<DisplayMode>(value, "mode");
    state.skipMode = json::get<bool>(value, "skipMode");
    state.skipOrigin = json::get<bool>(value, "skipOrigin");
    return state;
}

std::string makeHardwareKey(std::uint32_t vendor, std::uint32_t model, std::uint32_t serial, bool builtIn) {
    return std::to_string(vendor) + ":" + std::to_string(model) + ":" + std::to_string(serial) + ":" +
           (builtIn ? "true" : "false");
}

json::Json encodeDisplayStates(const std::vector<DisplayState>& states) { return json::encodeArray(states); }

std::vector<DisplayState> decodeDisplayStates(const json::Json& value) {
    return json::decode<std::vector<DisplayState>>(value);
}

std::vector<DisplayState> parseDisplayStates(std::string_view text) { return decodeDisplayStates(json::parse(text)); }

}  // namespace dorvane
