#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace dorvane {

// One power assertion as the rules see it: who holds it and what it is.
struct RemotePowerAssertion {
    std::string executable;  // absolute path of the holding process's executable
    std::string type;
    std::string name;
    std::int64_t level = 0;  // 255 on, 0 off

    friend bool operator==(const RemotePowerAssertion&, const RemotePowerAssertion&) = default;
};

// What shows, from the outside, that a remote-desktop application has a session:
// the display-sleep assertions a specific executable inside its bundle holds,
// and for ToDesk also its per-session process. Comparisons are exact; the
// bundle may be installed in any folder, so paths are matched by suffix.
class RemoteSessionEvidence {
public:
    RemoteSessionEvidence() = delete;

    static const std::set<std::string>& uuConnectionAssertionNames();
    static constexpr std::string_view toDeskConnectionAssertionName = "Preventing display sleep for app";

    static constexpr std::string_view uuServerSuffix = "/UURemote.app/Contents/Helpers/UURemoteServer";
    static constexpr std::string_view uuAssertionType = "PreventUserIdleDisplaySleep";
    static constexpr std::string_view toDeskServiceSuffix = "/ToDesk.app/Contents/MacOS/ToDesk_Service";
    static constexpr std::string_view toDeskSessionSuffix =
        "/ToDesk.app/Contents/Helpers/ToDesk_Session.app/Contents/MacOS/ToDesk_Session";
    static constexpr std::string_view toDeskSessionProcessName = "ToDesk_Session";
    static constexpr std::int64_t requiredLevel = 255;

    static bool isToDeskAssertionType(std::string_view type);

    static bool uuConnected(const std::vector<RemotePowerAssertion>& assertions);
    static bool toDeskHasConnectionAssertion(const std::vector<RemotePowerAssertion>& assertions);
    // `processes`: executable paths of the running processes named "ToDesk_Session".
    static bool toDeskConnected(const std::set<std::string>& processes,
                                const std::vector<RemotePowerAssertion>& assertions);
};

}  // namespace dorvane
