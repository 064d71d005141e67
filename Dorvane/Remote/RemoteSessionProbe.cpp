#include "Dorvane/Remote/RemoteSessionProbe.h"

#include <charconv>
#include <set>
#include <vector>

#include "DorvaneCore/Remote/RemoteSessionEvidence.h"

namespace dorvane {

namespace {

std::optional<pid_t> processID(const std::string& key) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), value);
    if (error != std::errc{} || end != key.data() + key.size()) return std::nullopt;
    return static_cast<pid_t>(value);
}

// An object from process-id text to arrays of objects, or nothing.
bool hasExpectedShape(const json::Json& all) {
    if (!all.is_object()) return false;
    for (const auto& [key, list] : all.items()) {
        if (!processID(key) || !list.is_array()) return false;
        for (const auto& assertion : list) {
            if (!assertion.is_object()) return false;
        }
    }
    return true;
}

std::optional<std::string> stringValue(const json::Json& object, const char* key) {
    auto found = object.find(key);
    if (found == object.end() || !found->is_string()) return std::nullopt;
    return found->get<std::string>();
}

std::optional<std::int64_t> integerValue(const json::Json& object, const char* key) {
    auto found = object.find(key);
    if (found == object.end() || !found->is_number()) return std::nullopt;
    try {
        return json::decode<std::int64_t>(*found);
    } catch (const json::DecodeError&) {
        // A fractional level is still a number; the system would read its integer part.
        const double value = found->get<double>();
        if (value >= -9.2e18 && value <= 9.2e18) return static_cast<std::int64_t>(value);
        return std::nullopt;
    }
}

bool isUUName(const std::string& name) { return RemoteSessionEvidence::uuConnectionAssertionNames().contains(name); }

}  // namespace

RemoteSessionProbe::RemoteSessionProbe(dispatch::Executor& queue, power::PowerAssertionServices& power,
                                       processes::ProcessServices& processes)
    : queue_(queue), power_(power), processes_(processes) {}

dispatch::Task<RemoteSessionSnapshot> RemoteSessionProbe::sample() {
    // Not a coroutine itself: queue_ is read now, not when the task starts.
    return dispatch::runOn(queue_, [this] { return sampleNow(); });
}

RemoteSessionSnapshot RemoteSessionProbe::sampleNow() {
    RemoteSessionSnapshot snapshot;
    const auto all = power_.assertionsByProcess();
    if (!all || !hasExpectedShape(*all)) {
        snapshot.unknown = {RemoteSoftware::uu, RemoteSoftware::toDesk};
        return snapshot;
    }

    std::vector<RemotePowerAssertion> assertions;
    for (const auto& [key, list] : all->items()) {
        std::vector<const json::Json*> candidates;
        for (const auto& assertion : list) {
            const auto name = stringValue(assertion, "AssertName");
            if (name && (isUUName(*name) || *name == RemoteSessionEvidence::toDeskConnectionAssertionName)) {
                candidates.push_back(&assertion);
            }
        }
        if (candidates.empty()) continue;  // no system call for processes that cannot matter

        const auto path = processes_.executablePath(*processID(key));
        if (!path) {
            for (const auto* candidate : candidates) {
                snapshot.unknown.insert(isUUName(*stringValue(*candidate, "AssertName")) ? RemoteSoftware::uu
                                                                                          : RemoteSoftware::toDesk);
            }
            continue;
        }
        for (const auto* candidate : candidates) {
            const auto type = stringValue(*candidate, "AssertType");
            const auto name = stringValue(*candidate, "AssertName");
            const auto level = integerValue(*candidate, "AssertLevel");
            if (type && name && level) assertions.push_back({*path, *type, *name, *level});
        }
    }

    if (RemoteSessionEvidence::uuConnected(assertions)) snapshot.active.insert(RemoteSoftware::uu);
    if (RemoteSessionEvidence::toDeskHasConnectionAssertion(assertions)) {
        const auto sessions = sessionProcessPaths();
        if (!sessions) {
            snapshot.unknown.insert(RemoteSoftware::toDesk);
        } else {
            std::set<std::string> paths;
            for (const auto& [_, path] : *sessions) paths.insert(path);
            if (RemoteSessionEvidence::toDeskConnected(paths, assertions)) {
                snapshot.active.insert(RemoteSoftware::toDesk);
            }
        }
    }
    return snapshot;
}

std::optional<std::map<pid_t, std::string>> RemoteSessionProbe::sessionProcessPaths() {
    const auto pids = processes_.allProcessIDs();
    if (!pids || pids->empty()) return std::nullopt;
    std::map<pid_t, std::string> paths;
    for (pid_t pid : *pids) {
        const auto name = processes_.name(pid);
        if (!name || *name != RemoteSessionEvidence::toDeskSessionProcessName) continue;
        auto path = processes_.executablePath(pid);
        if (!path) return std::nullopt;  // one unreadable session process makes the answer incomplete
        paths.emplace(pid, std::move(*path));
    }
    return paths;
}

}  // namespace dorvane
