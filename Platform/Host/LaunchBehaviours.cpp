#include "Platform/Host/LaunchBehaviours.h"

#include <cmath>

namespace dorvane::host {

json::Json LaunchBehaviour::toJson() const {
    json::Json object = json::Json::object();
    object["delay"] = delay ? json::Json(*delay) : json::Json(nullptr);
    object["fails"] = fails;
    object["failureText"] = failureText ? json::Json(*failureText) : json::Json(nullptr);
    return object;
}

LaunchBehaviour LaunchBehaviour::fromJson(const json::Json& value) {
    json::requireObject(value);
    LaunchBehaviour behaviour;
    behaviour.delay = json::getOptional<double>(value, "delay");
    if (behaviour.delay && !(std::isfinite(*behaviour.delay) && *behaviour.delay >= 0)) {
        throw json::DecodeError("a delay is zero or more seconds", "delay");
    }
    behaviour.fails = json::get<bool>(value, "fails");
    behaviour.failureText = json::getOptional<std::string>(value, "failureText");
    return behaviour;
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
