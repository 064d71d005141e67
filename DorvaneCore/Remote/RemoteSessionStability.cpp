#include "DorvaneCore/Remote/RemoteSessionStability.h"

#include <algorithm>
#include <vector>

#include "DorvaneCore/Support/DecimalText.h"

namespace dorvane {

std::optional<RemoteSessionStability::Transition> RemoteSessionStability::observe(const RemoteSessionSnapshot& snapshot,
                                                                                  double now) {
    if (!snapshot.active.empty()) {
        std::set<RemoteSoftware> relevant = snapshot.active;
        for (auto software : snapshot.unknown) {
            if (relevantProviders.contains(software)) relevant.insert(software);
        }
        relevantProviders = std::move(relevant);
        missingSince.reset();
        if (!isConnected) {
            if (!candidateSince) candidateSince = now;
            if (now - *candidateSince >= confirmationSeconds) {
                isConnected = true;
                candidateSince.reset();
                return Transition::connected;
            }
        }
        return std::nullopt;
    }

    candidateSince.reset();
    const bool relevantUnknown = std::any_of(snapshot.unknown.begin(), snapshot.unknown.end(),
                                             [&](RemoteSoftware s) { return relevantProviders.contains(s); });
    if (relevantUnknown) {
        missingSince.reset();
        return std::nullopt;
    }
    if (isConnected) {
        if (!missingSince) missingSince = now;
        if (now - *missingSince >= lossSeconds) {
            isConnected = false;
            relevantProviders.clear();
            missingSince.reset();
            return Transition::disconnected;
        }
    }
    return std::nullopt;
}

std::optional<double> RemoteSessionStability::confirmationDelay(double now) const {
    if (candidateSince) return std::max(*candidateSince + confirmationSeconds - now, 0.0);
    if (missingSince) return std::max(*missingSince + lossSeconds - now, 0.0);
    return std::nullopt;
}

RemoteSessionStability RemoteSessionStability::restarted(bool connectionInEffect) const {
    if (!connectionInEffect) return RemoteSessionStability{};
    RemoteSessionStability continued;
    continued.isConnected = true;
    continued.missingSince = missingSince;
    continued.relevantProviders = relevantProviders;
    return continued;
}

std::string remoteSignalDetail(RemoteSessionStability::Transition transition, const std::set<RemoteSoftware>& active,
                               double uptime) {
    std::vector<std::string_view> names;
    for (const auto software : active) names.push_back(rawValue(software));
    std::sort(names.begin(), names.end());
    std::string detail = std::string(transitionName(transition)) + " providers=";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) detail += ",";
        detail += names[i];
    }
    return detail + " uptime=" + decimalText(uptime);
}

std::string_view transitionName(RemoteSessionStability::Transition transition) {
    return transition == RemoteSessionStability::Transition::connected ? "connected" : "disconnected";
}

}  // namespace dorvane
