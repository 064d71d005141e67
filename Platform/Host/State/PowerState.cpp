#include "Platform/Host/State/PowerState.h"

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

namespace {

constexpr auto powerAssertionFields = [](auto& f, auto& record) {
    f.required("id", record.id);
    f.required("holder", record.holder);
    f.required("type", record.type);
    f.required("name", record.name);
    f.required("level", record.level);
};

constexpr auto powerStateFields = [](auto& f, auto& state) {
    f.format(PowerState::kFormat);
    f.required("generation", state.generation);
    f.required("nextAssertionID", state.nextAssertionID);
    f.required("notificationsAvailable", state.notificationsAvailable);
    f.required("listingMalformed", state.listingMalformed);
    f.required("assertions", state.assertions);
};

}  // namespace

json::Json PowerAssertionRecord::toJson() const { return json::writeFields(*this, powerAssertionFields); }

PowerAssertionRecord PowerAssertionRecord::fromJson(const json::Json& value) {
    return json::readFields<PowerAssertionRecord>(value, powerAssertionFields);
}

json::Json PowerState::toJson() const { return json::writeFields(*this, powerStateFields); }

PowerState PowerState::fromJson(const json::Json& value) { return json::readFields<PowerState>(value, powerStateFields); }

}  // namespace dorvane::host
