#include "DorvaneCore/Remote/RemoteSessionEvidence.h"

#include <algorithm>

namespace dorvane {

const std::set<std::string>& RemoteSessionEvidence::uuConnectionAssertionNames() {
    static const std::set<std::string> names{"idleDisplaySleepDisabled", "UURemote Disable Display Sleep"};
    return names;
}

bool RemoteSessionEvidence::isToDeskAssertionType(std::string_view type) {
    return type == "NoDisplaySleepAssertion" || type == "PreventUserIdleDisplaySleep";
}

bool RemoteSessionEvidence::uuConnected(const std::vector<RemotePowerAssertion>& assertions) {
    return std::any_of(assertions.begin(), assertions.end(), [](const RemotePowerAssertion& a) {
        return a.executable.ends_with(uuServerSuffix) && a.type == uuAssertionType &&
               uuConnectionAssertionNames().contains(a.name) && a.level == requiredLevel;
    });
}

bool RemoteSessionEvidence::toDeskHasConnectionAssertion(const std::vector<RemotePowerAssertion>& assertions) {
    return std::any_of(assertions.begin(), assertions.end(), [](const RemotePowerAssertion& a) {
        return a.executable.ends_with(toDeskServiceSuffix) && isToDeskAssertionType(a.type) &&
               a.name == toDeskConnectionAssertionName && a.level == requiredLevel;
    });
}

bool RemoteSessionEvidence::toDeskConnected(const std::set<std::string>& processes,
                                            const std::vector<RemotePowerAssertion>& assertions) {
    const bool sessionRunning = std::any_of(processes.begin(), processes.end(), [](const std::string& path) {
        return path.ends_with(toDeskSessionSuffix);
    });
    return sessionRunning && toDeskHasConnectionAssertion(assertions);
}

}  // namespace dorvane
