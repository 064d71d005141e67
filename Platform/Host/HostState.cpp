#include "Platform/Host/HostState.h"

#include <set>

namespace dorvane::host {

json::Json HostCounters::toJson() const {
    json::Json object = json::Json::object();
    object["transactionsCompleted"] = transactionsCompleted;
    object["transactionsCancelled"] = transactionsCancelled;
    object["userActivitiesDeclared"] = userActivitiesDeclared;
    return object;
}

HostCounters HostCounters::fromJson(const json::Json& value) {
    json::requireObject(value);
    return HostCounters{json::get<std::uint64_t>(value, "transactionsCompleted"),
                        json::get<std::uint64_t>(value, "transactionsCancelled"),
                        json::get<std::uint64_t>(value, "userActivitiesDeclared")};
}

json::Json HeldAssertion::toJson() const {
    json::Json object = json::Json::object();
    object["id"] = id;
    object["name"] = name;
    object["owner"] = owner.toJson();
    return object;
}

HeldAssertion HeldAssertion::fromJson(const json::Json& value) {
    json::requireObject(value);
    return HeldAssertion{json::get<displays::AssertionID>(value, "id"), json::get<std::string>(value, "name"),
                         json::get<processes::ProcessIdentity>(value, "owner")};
}

std::vector<const DisplayRecord*> HostState::onlineDisplays() const {
    std::vector<const DisplayRecord*> result;
    for (const auto& display : displays) {
        if (display.isOnline() && display.main) result.push_back(&display);
    }
    for (const auto& display : displays) {
        if (display.isOnline() && !display.main) result.push_back(&display);
    }
    return result;
}

const DisplayRecord* HostState::online(DisplayID id) const {
    if (id == 0) return nullptr;
    for (const auto& display : displays) {
        if (display.id == id && display.isOnline()) return &display;
    }
    return nullptr;
}

DisplayRecord* HostState::online(DisplayID id) {
    return const_cast<DisplayRecord*>(static_cast<const HostState*>(this)->online(id));
}

DisplayRecord* HostState::physicalNamed(std::string_view name) {
    for (auto& display : displays) {
        if (display.kind == DisplayKind::physical && display.name == name) return &display;
    }
    return nullptr;
}

json::Json HostState::toJson() const {
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["generation"] = generation;
    object["nextDisplayID"] = nextDisplayID;
    object["nextTransactionID"] = nextTransactionID;
    object["nextActionSeq"] = nextActionSeq;
    object["nextAssertionID"] = nextAssertionID;
    object["virtualDisplaysAvailable"] = virtualDisplaysAvailable;
    object["uuidLookupAvailable"] = uuidLookupAvailable;
    object["asleep"] = asleep;
    object["displays"] = json::encodeArray(displays);
    object["behaviours"] = behaviours.toJson();
    object["scheduledPlugs"] = json::encodeArray(scheduledPlugs);
    object["pendingModeSwitches"] = json::encodeArray(pendingModeSwitches);
    object["assertions"] = json::encodeArray(assertions);
    object["counters"] = counters.toJson();
    return object;
}

HostState HostState::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    HostState state;
    state.generation = json::get<std::uint64_t>(value, "generation");
    state.nextDisplayID = json::get<DisplayID>(value, "nextDisplayID");
    state.nextTransactionID = json::get<std::uint64_t>(value, "nextTransactionID");
    state.nextActionSeq = json::get<std::uint64_t>(value, "nextActionSeq");
    state.nextAssertionID = json::get<displays::AssertionID>(value, "nextAssertionID");
    state.virtualDisplaysAvailable = json::get<bool>(value, "virtualDisplaysAvailable");
    state.uuidLookupAvailable = json::get<bool>(value, "uuidLookupAvailable");
    state.asleep = json::get<bool>(value, "asleep");
    state.displays = json::get<std::vector<DisplayRecord>>(value, "displays");
    state.behaviours = json::get<HostBehaviours>(value, "behaviours");
    state.scheduledPlugs = json::get<std::vector<ScheduledPlug>>(value, "scheduledPlugs");
    state.pendingModeSwitches = json::get<std::vector<PendingModeSwitch>>(value, "pendingModeSwitches");
    state.assertions = json::get<std::vector<HeldAssertion>>(value, "assertions");
    state.counters = json::get<HostCounters>(value, "counters");

    std::set<std::string> names;
    std::set<DisplayID> ids;
    for (const auto& display : state.displays) {
        if (display.kind == DisplayKind::physical && !names.insert(display.name).second) {
            throw json::DecodeError("two physical displays are named \"" + display.name + "\"", "displays");
        }
        if (display.isOnline() && !ids.insert(display.id).second) {
            throw json::DecodeError("two online displays have the id " + std::to_string(display.id), "displays");
        }
        if (display.id >= state.nextDisplayID) {
            throw json::DecodeError("display id " + std::to_string(display.id) + " not below nextDisplayID",
                                    "displays");
        }
    }
    return state;
}

}  // namespace dorvane::host
