#include "Platform/Host/State/HostBehaviours.h"

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

namespace {

constexpr auto virtualDisplayBehaviourFields = [](auto& f, auto& behaviour) {
    f.required("onlineDelay", behaviour.onlineDelay);
    f.required("startsLowResolution", behaviour.startsLowResolution);
    f.required("vanishDelay", behaviour.vanishDelay);
    f.required("lingers", behaviour.lingers);
};

constexpr auto modeSwitchAfterCommitFields = [](auto& f, auto& rule) {
    f.required("display", rule.display);
    f.required("delay", rule.delay);
    f.nullable("modeID", rule.modeID);
    f.nullable("remaining", rule.remaining);
};

constexpr auto originOverrideFields = [](auto& f, auto& rule) {
    f.required("display", rule.display);
    f.required("x", rule.x);
    f.required("y", rule.y);
    f.nullable("remaining", rule.remaining);
};

constexpr auto hostBehavioursFields = [](auto& f, auto& behaviours) {
    f.required("virtualDisplay", behaviours.virtualDisplay);
    f.required("modeSwitchesAfterCommit", behaviours.modeSwitchesAfterCommit);
    f.required("originOverrides", behaviours.originOverrides);
};

constexpr auto scheduledPlugFields = [](auto& f, auto& plug) {
    f.required("at", plug.at);
    f.required("action", plug.action);
    f.required("display", plug.display);
};

constexpr auto pendingModeSwitchFields = [](auto& f, auto& change) {
    f.required("at", change.at);
    f.required("display", change.display);
    f.nullable("modeID", change.modeID);
};

}  // namespace

json::Json VirtualDisplayBehaviour::toJson() const { return json::writeFields(*this, virtualDisplayBehaviourFields); }

VirtualDisplayBehaviour VirtualDisplayBehaviour::fromJson(const json::Json& value) {
    return json::readFields<VirtualDisplayBehaviour>(value, virtualDisplayBehaviourFields);
}

json::Json ModeSwitchAfterCommit::toJson() const { return json::writeFields(*this, modeSwitchAfterCommitFields); }

ModeSwitchAfterCommit ModeSwitchAfterCommit::fromJson(const json::Json& value) {
    return json::readFields<ModeSwitchAfterCommit>(value, modeSwitchAfterCommitFields);
}

json::Json OriginOverride::toJson() const { return json::writeFields(*this, originOverrideFields); }

OriginOverride OriginOverride::fromJson(const json::Json& value) {
    return json::readFields<OriginOverride>(value, originOverrideFields);
}

json::Json HostBehaviours::toJson() const { return json::writeFields(*this, hostBehavioursFields); }

HostBehaviours HostBehaviours::fromJson(const json::Json& value) {
    return json::readFields<HostBehaviours>(value, hostBehavioursFields);
}

json::Json ScheduledPlug::toJson() const { return json::writeFields(*this, scheduledPlugFields); }

ScheduledPlug ScheduledPlug::fromJson(const json::Json& value) { return json::readFields<ScheduledPlug>(value, scheduledPlugFields); }

json::Json PendingModeSwitch::toJson() const { return json::writeFields(*this, pendingModeSwitchFields); }

PendingModeSwitch PendingModeSwitch::fromJson(const json::Json& value) {
    return json::readFields<PendingModeSwitch>(value, pendingModeSwitchFields);
}

}  // namespace dorvane::host
