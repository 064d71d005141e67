#include "Platform/Host/State/WorkspaceState.h"

namespace dorvane::host {

namespace {

json::Json applicationJson(const workspace::RunningApplication& application) {
    json::Json object = json::Json::object();
    object["pid"] = application.pid;
    object["bundleID"] = application.bundleID ? json::Json(*application.bundleID) : json::Json(nullptr);
    object["name"] = application.name;
    object["bundlePath"] = application.bundlePath ? json::Json(*application.bundlePath) : json::Json(nullptr);
    object["activationPolicy"] = json::encode(application.activationPolicy);
    object["hidden"] = application.hidden;
    return object;
}

workspace::RunningApplication applicationFrom(const json::Json& value) {
    json::requireObject(value);
    // Files written before applications had a policy and a hidden flag read as regular and shown.
    return workspace::RunningApplication{
        json::get<std::int32_t>(value, "pid"), json::getOptional<std::string>(value, "bundleID"),
        json::get<std::string>(value, "name"), json::getOptional<std::string>(value, "bundlePath"),
        json::getOr(value, "activationPolicy", workspace::ActivationPolicy::regular), json::getOr(value, "hidden", false)};
}

}  // namespace

json::Json WorkspaceState::toJson() const {
    json::Json list = json::Json::array();
    for (const auto& application : applications) list.push_back(applicationJson(application));
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["generation"] = generation;
    object["wakes"] = wakes;
    object["applications"] = list;
    object["frontmostPID"] = frontmostPID ? json::Json(*frontmostPID) : json::Json(nullptr);
    return object;
}

WorkspaceState WorkspaceState::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    WorkspaceState state;
    state.generation = json::get<std::uint64_t>(value, "generation");
    state.wakes = json::get<std::uint64_t>(value, "wakes");
    const auto& list = json::requireArray(json::requireKey(value, "applications"));
    for (std::size_t index = 0; index < list.size(); ++index) {
        try {
            state.applications.push_back(applicationFrom(list[index]));
        } catch (const json::DecodeError& error) {
            throw error.within("[" + std::to_string(index) + "]").within("applications");
        }
    }
    state.frontmostPID = json::getOptional<std::int32_t>(value, "frontmostPID");
    return state;
}

const workspace::RunningApplication* WorkspaceState::application(pid_t pid) const {
    for (const auto& application : applications) {
        if (application.pid == pid) return &application;
    }
    return nullptr;
}

workspace::RunningApplication* WorkspaceState::application(pid_t pid) {
    return const_cast<workspace::RunningApplication*>(static_cast<const WorkspaceState*>(this)->application(pid));
}

}  // namespace dorvane::host
