#include "Platform/Host/State/LaunchBehaviours.h"

#include <cmath>

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

namespace {

double launchDelaySeconds(const json::Json& value) {
    const auto seconds = json::decode<double>(value);
    if (!(std::isfinite(seconds) && seconds >= 0)) throw json::DecodeError("a delay is zero or more seconds");
    return seconds;
}

constexpr auto launchBehaviourFields = [](auto& f, auto& behaviour) {
    f.nullable("delay", behaviour.delay, {.decode = launchDelaySeconds});
    f.required("fails", behaviour.fails);
    f.nullable("failureText", behaviour.failureText);
};

}  // namespace

json::Json LaunchBehaviour::toJson() const { return json::writeFields(*this, launchBehaviourFields); }

LaunchBehaviour LaunchBehaviour::fromJson(const json::Json& value) {
    return json::readFields<LaunchBehaviour>(value, launchBehaviourFields);
}

LaunchBehaviour LaunchBehaviours::of(const std::string& path) const {
    const auto found = bundles.find(path);
    return found == bundles.end() ? LaunchBehaviour{} : found->second;
}

json::Json LaunchBehaviours::toJson() const {
    json::Json list = json::Json::object();
    for (const auto& [path, behaviour] : bundles) list[path] = behaviour.toJson();
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["bundles"] = list;
    return object;
}

LaunchBehaviours LaunchBehaviours::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    LaunchBehaviours behaviours;
    const auto& list = json::requireObject(json::requireKey(value, "bundles"));
    for (const auto& [path, behaviour] : list.items()) {
        try {
            behaviours.bundles.emplace(path, LaunchBehaviour::fromJson(behaviour));
        } catch (const json::DecodeError& error) {
            throw error.within(path).within("bundles");
        }
    }
    return behaviours;
}

}  // namespace dorvane::host
