#include "Platform/Host/Admin/HostAdmin.h"

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Machines/HostMachine.h"

namespace dorvane::host {

namespace {

DisplayID resolveIn(const HostState& state, std::string_view selector) {
    std::vector<const DisplayRecord*> found;
    for (const auto* display : state.onlineDisplays()) {
        if (selects(selector, *display)) found.push_back(display);
    }
    if (found.size() == 1) return found.front()->id;
    std::string known;
    for (const auto* display : state.onlineDisplays()) {
        known += (known.empty() ? "" : ", ") + display->name + " (" + std::to_string(display->id) + ")";
    }
    if (found.empty()) {
        throw HostError("no online display \"" + std::string(selector) + "\" (online: " + known + ")");
    }
    throw HostError("\"" + std::string(selector) + "\" names more than one display (online: " + known + ")");
}

}  // namespace

void HostAdmin::change(std::string action, json::Json details, const std::function<void(HostData&)>& body) {
    session_->access([&](HostData& data) {
        body(data);
        data.record(session_->actor(), action, details);
    });
}

HostState HostAdmin::state() {
    HostState state;
    session_->access([&](HostData& data) { state = data.state(); });
    return state;
}

HostCounters HostAdmin::counters() { return state().counters; }

std::vector<ActionEntry> HostAdmin::actionLog() { return session_->store().actionLog(); }

void HostAdmin::reset(HostFixture fixture) {
    session_->store().reset(makeFixture(fixture));
    json::Json details = json::Json::object();
    details["fixture"] = rawValue(fixture);
    change("init", details, [](HostData&) {});
}

void HostAdmin::plug(std::string_view name) {
    session_->access([&](HostData& data) { plugDisplay(data, session_->actor(), name); });
}

void HostAdmin::unplug(std::string_view name) {
    session_->access([&](HostData& data) { unplugDisplay(data, session_->actor(), name); });
}

void HostAdmin::schedule(PlugAction action, std::string_view name, double afterSeconds) {
    if (!(afterSeconds >= 0)) throw HostError("the delay must be zero or more seconds");
    json::Json details = json::Json::object();
    details["action"] = rawValue(action);
    details["name"] = name;
    details["after"] = afterSeconds;
    change("schedule", details, [&](HostData& data) {
        if (data.state().physicalNamed(name) == nullptr) {
            throw HostError("no physical display named \"" + std::string(name) + "\"");
        }
        data.state().scheduledPlugs.push_back(ScheduledPlug{data.now + afterSeconds, action, std::string(name)});
    });
}

void HostAdmin::setMode(std::string_view selector, std::int32_t modeID) {
    session_->access([&](HostData& data) {
        setDisplayMode(data, session_->actor(), resolveIn(data.state(), selector), modeID);
    });
}

void HostAdmin::sleepDisplays() {
    session_->access([&](HostData& data) { host::sleepDisplays(data, session_->actor()); });
}

void HostAdmin::wakeDisplays() {
    session_->access([&](HostData& data) { host::wakeDisplays(data, session_->actor()); });
}

DisplayID HostAdmin::resolve(std::string_view selector) {
    DisplayID id = 0;
    session_->access([&](HostData& data) { id = resolveIn(data.state(), selector); });
    return id;
}

std::uint32_t HostAdmin::addFault(FaultRule rule) {
    std::uint32_t id = 0;
    session_->access([&](HostData& data) {
        id = data.faults().add(rule);
        json::Json details = json::Json::object();
        details["rule"] = data.faults().rules.back().describe();
        data.record(session_->actor(), "faultAdd", details);
    });
    return id;
}

std::vector<FaultRule> HostAdmin::faults() {
    std::vector<FaultRule> rules;
    session_->access([&](HostData& data) { rules = data.faults().rules; });
    return rules;
}

void HostAdmin::clearFaults() {
    change("faultClear", json::Json::object(), [](HostData& data) { data.faults().rules.clear(); });
}

bool HostAdmin::removeFault(std::uint32_t id) {
    bool removed = false;
    json::Json details = json::Json::object();
    details["rule"] = id;
    change("faultRemove", details, [&](HostData& data) { removed = data.faults().remove(id); });
    return removed;
}

void HostAdmin::setVirtualDisplayBehaviour(const VirtualDisplayBehaviour& behaviour) {
    change("virtualDisplayBehaviour", behaviour.toJson(),
           [&](HostData& data) { data.state().behaviours.virtualDisplay = behaviour; });
}

void HostAdmin::addModeSwitchAfterCommit(const ModeSwitchAfterCommit& rule) {
    if (rule.display.empty() || !(rule.delay >= 0)) throw HostError("a mode switch needs a display and a delay >= 0");
    change("modeSwitchAfterCommit", rule.toJson(),
           [&](HostData& data) { data.state().behaviours.modeSwitchesAfterCommit.push_back(rule); });
}

void HostAdmin::addOriginOverride(const OriginOverride& rule) {
    if (rule.display.empty()) throw HostError("an origin override needs a display");
    change("originOverride", rule.toJson(),
           [&](HostData& data) { data.state().behaviours.originOverrides.push_back(rule); });
}

void HostAdmin::setVirtualDisplaysAvailable(bool available) {
    json::Json details = json::Json::object();
    details["available"] = available;
    change("virtualDisplaysAvailable", details,
           [&](HostData& data) { data.state().virtualDisplaysAvailable = available; });
}

void HostAdmin::setUUIDLookupAvailable(bool available) {
    json::Json details = json::Json::object();
    details["available"] = available;
    change("uuidLookupAvailable", details, [&](HostData& data) { data.state().uuidLookupAvailable = available; });
}

void HostAdmin::edit(const std::function<void(HostState&)>& change) {
    session_->access([&](HostData& data) {
        change(data.state());
        data.record(session_->actor(), "edit");
    });
}

}  // namespace dorvane::host
