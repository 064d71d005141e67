#include "Platform/Host/State/AppearanceState.h"

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

namespace {

constexpr auto appearanceStateFields = [](auto& f, auto& state) {
    f.format(AppearanceState::kFormat);
    f.required("generation", state.generation);
    f.required("appearance", state.settings.style);
    f.required("reduceMotion", state.settings.reduceMotion);
};

}  // namespace

json::Json AppearanceState::toJson() const { return json::writeFields(*this, appearanceStateFields); }

AppearanceState AppearanceState::fromJson(const json::Json& value) {
    return json::readFields<AppearanceState>(value, appearanceStateFields);
}

}  // namespace dorvane::host
