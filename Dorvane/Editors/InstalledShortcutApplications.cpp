#include "Dorvane/Editors/InstalledShortcutApplications.h"

#include "DorvaneCore/Editors/ShortcutApplicationList.h"

namespace dorvane {

std::vector<ApplicationShortcuts> InstalledShortcutApplications::load(workspace::InstalledApplications& installed,
                                                                      std::span<const std::string> running) {
    std::vector<std::string> paths(running.begin(), running.end());
    paths.emplace_back(finderBundlePath);
    for (const auto& folder : installed.applicationFolders()) {
        for (auto& path : installed.bundlesIn(folder)) paths.push_back(std::move(path));
    }
    std::vector<ApplicationBundle> candidates;
    candidates.reserve(paths.size());
    for (const auto& path : paths) {
        if (auto bundle = installed.readBundle(path)) candidates.push_back(std::move(*bundle));
    }
    return shortcutApplications(candidates);
}

std::vector<std::string> InstalledShortcutApplications::runningBundlePaths(workspace::WorkspaceEvents& workspace) {
    std::vector<std::string> paths;
    try {
        for (const auto& application : workspace.runningApplications()) {
            if (application.activationPolicy == workspace::ActivationPolicy::regular && application.bundlePath) {
                paths.push_back(*application.bundlePath);
            }
        }
    } catch (const std::exception&) {
        // An unreadable workspace offers no running copy; the folders still count.
    }
    return paths;
}

}  // namespace dorvane
