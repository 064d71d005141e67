#include "DorvaneCore/Launcher/LauncherScan.h"

namespace dorvane {

std::vector<LauncherApp> launcherApps(std::span<const ApplicationBundle> candidates,
                                      const std::unordered_set<std::string>& runningIdentifiers) {
    std::vector<LauncherApp> apps;
    apps.reserve(candidates.size());
    std::unordered_set<std::string> taken;
    for (const auto& bundle : candidates) {
        if (bundle.bundleIdentifier == ownBundleIdentifier || bundle.backgroundOnly) continue;
        std::string identifier = bundle.applicationIdentifier();
        if (!taken.insert(identifier).second) continue;
        // Running applications are known by bundle identifier only.
        const bool hasIdentifier = bundle.bundleIdentifier && !bundle.bundleIdentifier->empty();
        const bool running = hasIdentifier && runningIdentifiers.contains(identifier);
        apps.push_back(LauncherApp{std::move(identifier), bundle.path, bundle.name(), running});
    }
    return apps;
}

}  // namespace dorvane
