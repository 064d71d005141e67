#include "Platform/Host/InputState.h"

#include <algorithm>
#include <cmath>

#include "Platform/Host/EventJson.h"

namespace dorvane::host {

json::Json InjectedEvent::toJson() const {
    json::Json object = json::Json::object();
    object["offset"] = offset;
    object["event"] = eventJson(event);
    object["raiseBefore"] = raiseBefore ? json::Json(*raiseBefore) : json::Json(nullptr);
    return object;
}

InjectedEvent InjectedEvent::fromJson(const json::Json& value) {
    json::requireObject(value);
    InjectedEvent injected;
    injected.offset = json::get<double>(value, "offset");
    if (!std::isfinite(injected.offset) || injected.offset < 0) {
        throw json::DecodeError("must be a finite number of seconds, not negative", "offset");
    }
    try {
        injected.event = eventFromJson(json::requireKey(value, "event"));
    } catch (const json::DecodeError& error) {
        throw error.within("event");
    }
    injected.raiseBefore = json::getOptional<std::uint32_t>(value, "raiseBefore");
    return injected;
}

json::Json Injection::toJson() const {
    json::Json object = json::Json::object();
    object["id"] = id;
    object["state"] = json::encode(state);
    object["events"] = json::encodeArray(events);
    object["disableTaps"] = disableTaps ? json::encode(*disableTaps) : json::Json(nullptr);
    return object;
}

Injection Injection::fromJson(const json::Json& value) {
    json::requireObject(value);
    Injection injection;
    injection.id = json::get<std::uint64_t>(value, "id");
    injection.state = json::get<State>(value, "state");
    injection.events = json::get<std::vector<InjectedEvent>>(value, "events");
    injection.disableTaps = json::getOptional<TapDisabling>(value, "disableTaps");
    return injection;
}

Injection* InputState::injection(std::uint64_t id) {
    for (auto& candidate : injections) {
        if (candidate.id == id) return &candidate;
    }
    return nullptr;
}

bool InputState::settle(const std::function<bool(const processes::ProcessIdentity&)>& isAlive) {
    if (!owner || isAlive(*owner)) return false;
    owner.reset();
    std::erase_if(injections, [](const Injection& injection) { return injection.state != Injection::State::handled; });
    ++generation;
    return true;
}

json::Json InputState::toJson() const {
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["generation"] = generation;
    object["owner"] = owner ? owner->toJson() : json::Json(nullptr);
    object["doubleClickInterval"] = doubleClickInterval;
    object["nextInjection"] = nextInjection;
    object["injections"] = json::encodeArray(injections);
    return object;
}

InputState InputState::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    InputState state;
    state.generation = json::get<std::uint64_t>(value, "generation");
    state.owner = json::getOptional<processes::ProcessIdentity>(value, "owner");
    state.doubleClickInterval = json::get<double>(value, "doubleClickInterval");
    if (!std::isfinite(state.doubleClickInterval) || state.doubleClickInterval <= 0) {
        throw json::DecodeError("must be a positive number of seconds", "doubleClickInterval");
    }
    state.nextInjection = json::get<std::uint64_t>(value, "nextInjection");
    state.injections = json::get<std::vector<Injection>>(value, "injections");
    return state;
}

}  // namespace dorvane::host
