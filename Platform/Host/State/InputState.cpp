#include "Platform/Host/State/InputState.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Support/JsonFields.h"
#include "Platform/Host/State/EventJson.h"
#include "Platform/Host/State/SecondsJson.h"

namespace dorvane::host {

namespace {

double doubleClickSeconds(const json::Json& value) {
    const auto seconds = json::decode<double>(value);
    if (!std::isfinite(seconds) || seconds <= 0) throw json::DecodeError("must be a positive number of seconds");
    return seconds;
}

constexpr auto injectedEventFields = [](auto& f, auto& injected) {
    f.required("offset", injected.offset, {.decode = finiteSecondsFromJson});
    f.required("event", injected.event, eventCodec);
    f.nullable("raiseBefore", injected.raiseBefore);
};

constexpr auto injectionFields = [](auto& f, auto& injection) {
    f.required("id", injection.id);
    f.required("state", injection.state);
    f.required("events", injection.events);
    f.nullable("disableTaps", injection.disableTaps);
};

constexpr auto inputStateFields = [](auto& f, auto& state) {
    f.format(InputState::kFormat);
    f.required("generation", state.generation);
    f.nullable("owner", state.owner);
    f.required("doubleClickInterval", state.doubleClickInterval, {.decode = doubleClickSeconds});
    f.required("nextInjection", state.nextInjection);
    f.required("injections", state.injections);
};

}  // namespace

json::Json InjectedEvent::toJson() const { return json::writeFields(*this, injectedEventFields); }

InjectedEvent InjectedEvent::fromJson(const json::Json& value) {
    return json::readFields<InjectedEvent>(value, injectedEventFields);
}

json::Json Injection::toJson() const { return json::writeFields(*this, injectionFields); }

Injection Injection::fromJson(const json::Json& value) { return json::readFields<Injection>(value, injectionFields); }

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

json::Json InputState::toJson() const { return json::writeFields(*this, inputStateFields); }

InputState InputState::fromJson(const json::Json& value) { return json::readFields<InputState>(value, inputStateFields); }

}  // namespace dorvane::host
