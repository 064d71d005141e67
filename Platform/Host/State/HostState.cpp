#include "Platform/Host/State/HostState.h"

#include <set>

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

namespace {

constexpr auto hostCountersFields = [](auto& f, auto& counters) {
    f.required("transactionsCompleted", counters.transactionsCompleted);
    f.required("transactionsCancelled", counters.transactionsCancelled);
    f.required("userActivitiesDeclared", counters.userActivitiesDeclared);
};

constexpr auto heldAssertionFields = [](auto& f, auto& assertion) {
    f.required("id", assertion.id);
    f.required("name", assertion.name);
    f.required("owner", assertion.owner);
};

constexpr auto hostStateFields = [](auto& f, auto& state) {
    f.format(HostState::kFormat);
    f.required("generation", state.generation);
    f.required("nextDisplayID", state.nextDisplayID);
    f.required("nextTransactionID", state.nextTransactionID);
    f.required("nextActionSeq", state.nextActionSeq);
    f.required("nextAssertionID", state.nextAssertionID);
    f.required("virtualDisplaysAvailable", state.virtualDisplaysAvailable);
    f.required("uuidLookupAvailable", state.uuidLookupAvailable);
    f.required("asleep", state.asleep);
    f.required("displays", state.displays);
    f.required("behaviours", state.behaviours);
    f.required("scheduledPlugs", state.scheduledPlugs);
    f.required("pendingModeSwitches", state.pendingModeSwitches);
    f.required("assertions", state.assertions);
    f.required("counters", state.counters);
};

}  // namespace

json::Json HostCounters::toJson() const { return json::writeFields(*this, hostCountersFields); }

HostCounters HostCounters::fromJson(const json::Json& value) {
    return json::readFields<HostCounters>(value, hostCountersFields);
}

json::Json HeldAssertion::toJson() const { return json::writeFields(*this, heldAssertionFields); }

HeldAssertion HeldAssertion::fromJson(const json::Json& value) {
    return json::readFields<HeldAssertion>(value, heldAssertionFields);
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

json::Json HostState::toJson() const { return json::writeFields(*this, hostStateFields); }

HostState HostState::fromJson(const json::Json& value) {
    auto state = json::readFields<HostState>(value, hostStateFields);

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
