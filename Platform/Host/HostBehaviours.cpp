#include "Platform/Host/HostBehaviours.h"

namespace dorvane::host {

namespace {

template <typename T>
json::Json optionalValue(const std::optional<T>& value) {
    return value ? json::Json(*value) : json::Json(nullptr);
}

}  // namespace

json::Json VirtualDisplayBehaviour::toJson() const {
    json::Json object = json::Json::object();
    object["onlineDelay"] = onlineDelay;
    object["startsLowResolution"] = startsLowResolution;
    object["vanishDelay"] = vanishDelay;
    object["lingers"] = lingers;
    return object;
}

VirtualDisplayBehaviour VirtualDisplayBehaviour::fromJson(const json::Json& value) {
    json::requireObject(value);
    VirtualDisplayBehaviour behaviour;
    behaviour.onlineDelay = json::get<double>(value, "onlineDelay");
    behaviour.startsLowResolution = json::get<bool>(value, "startsLowResolution");
    behaviour.vanishDelay = json::get<double>(value, "vanishDelay");
    behaviour.lingers = json::get<bool>(value, "lingers");
    return behaviour;
}

json::Json ModeSwitchAfterCommit::toJson() const {
    json::Json object = json::Json::object();
    object["display"] = display;
    object["delay"] = delay;
    object["modeID"] = optionalValue(modeID);
    object["remaining"] = optionalValue(remaining);
    return object;
}

ModeSwitchAfterCommit ModeSwitchAfterCommit::fromJson(const json::Json& value) {
    json::requireObject(value);
    ModeSwitchAfterCommit rule;
    rule.display = json::get<std::string>(value, "display");
    rule.delay = json::get<double>(value, "delay");
    rule.modeID = json::getOptional<std::int32_t>(value, "modeID");
    rule.remaining = json::getOptional<std::uint32_t>(value, "remaining");
    return rule;
}

json::Json OriginOverride::toJson() const {
    json::Json object = json::Json::object();
    object["display"] = display;
    object["x"] = x;
    object["y"] = y;
    object["remaining"] = optionalValue(remaining);
    return object;
}

OriginOverride OriginOverride::fromJson(const json::Json& value) {
    json::requireObject(value);
    OriginOverride rule;
    rule.display = json::get<std::string>(value, "display");
    rule.x = json::get<std::int32_t>(value, "x");
    rule.y = json::get<std::int32_t>(value, "y");
    rule.remaining = json::getOptional<std::uint32_t>(value, "remaining");
    return rule;
}

json::Json HostBehaviours::toJson() const {
    json::Json object = json::Json::object();
    object["virtualDisplay"] = virtualDisplay.toJson();
    object["modeSwitchesAfterCommit"] = json::encodeArray(modeSwitchesAfterCommit);
    object["originOverrides"] = json::encodeArray(originOverrides);
    return object;
}

HostBehaviours HostBehaviours::fromJson(const json::Json& value) {
    json::requireObject(value);
    HostBehaviours behaviours;
    behaviours.virtualDisplay = json::get<VirtualDisplayBehaviour>(value, "virtualDisplay");
    behaviours.modeSwitchesAfterCommit = json::get<std::vector<ModeSwitchAfterCommit>>(value, "modeSwitchesAfterCommit");
    behaviours.originOverrides = json::get<std::vector<OriginOverride>>(value, "originOverrides");
    return behaviours;
}

json::Json ScheduledPlug::toJson() const {
    json::Json object = json::Json::object();
    object["at"] = at;
    object["action"] = json::encode(action);
    object["display"] = display;
    return object;
}

ScheduledPlug ScheduledPlug::fromJson(const json::Json& value) {
    json::requireObject(value);
    return ScheduledPlug{json::get<double>(value, "at"), json::get<PlugAction>(value, "action"),
                         json::get<std::string>(value, "display")};
}

json::Json PendingModeSwitch::toJson() const {
    json::Json object = json::Json::object();
    object["at"] = at;
    object["display"] = display;
    object["modeID"] = optionalValue(modeID);
    return object;
}

PendingModeSwitch PendingModeSwitch::fromJson(const json::Json& value) {
    json::requireObject(value);
    return PendingModeSwitch{json::get<double>(value, "at"), json::get<displays::DisplayID>(value, "display"),
                             json::getOptional<std::int32_t>(value, "modeID")};
}

}  // namespace dorvane::host
