#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "DorvaneCore/Remote/RemoteSoftware.h"

namespace dorvane {

// Debounces samples into connection changes: 2 s of continuous evidence to
// connect, 4 s without it to disconnect. An application that was active for
// this connection and can momentarily not be read holds the state.
struct RemoteSessionStability {
    enum class Transition { connected, disconnected };

    static constexpr double confirmationSeconds = 2.0;
    static constexpr double lossSeconds = 4.0;

    bool isConnected = false;
    std::optional<double> candidateSince;
    std::optional<double> missingSince;
    std::set<RemoteSoftware> relevantProviders;

    friend bool operator==(const RemoteSessionStability&, const RemoteSessionStability&) = default;

    std::optional<Transition> observe(const RemoteSessionSnapshot& snapshot, double now);

    // How long until the running clock would expire, so the next sample can be timed to it.
    std::optional<double> confirmationDelay(double now) const;

    // The filter a restarted monitor continues with. While the connection policies still
    // act on a connection, it stays confirmed, with its relevant applications and its loss
    // clock, so that its end still arrives as a disconnection; otherwise it starts afresh.
    RemoteSessionStability restarted(bool connectionInEffect) const;
};

std::string_view transitionName(RemoteSessionStability::Transition transition);

// The engine log's detail of a transition: "connected providers=toDesk,uu uptime=5123.25",
// the active applications' raw values sorted, the uptime as a decimal.
std::string remoteSignalDetail(RemoteSessionStability::Transition transition, const std::set<RemoteSoftware>& active,
                               double uptime);

}  // namespace dorvane
