#include "DorvaneCore/Display/DisplayState.h"

#include <utility>

#include "DorvaneCore/Support/JsonFields.h"

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

namespace {

constexpr auto displayStateFields = [](auto& f, auto& state) {
    f.required("id", state.id);
    f.optional("uuid", state.uuid);
    f.required("hardwareKey", state.hardwareKey);
    f.required("physical", state.physical);
    f.required("main", state.main);
    f.required("x", state.x);
    f.required("y", state.y);
    f.required("mirror", state.mirror);
    f.required("mode", state.mode);
    f.required("skipMode", state.skipMode);
    f.required("skipOrigin", state.skipOrigin);
};

}  // namespace

json::Json DisplayState::toJson() const { return json::writeFields(*this, displayStateFields); }

DisplayState DisplayState::fromJson(const json::Json& value) {
    return json::readFields<DisplayState>(value, displayStateFields);
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
