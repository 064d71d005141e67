#include "Platform/Workspace/InstalledApplications.h"

namespace dorvane::workspace {

std::vector<ApplicationBundle> installedBundles(InstalledApplications& installed) {
    std::vector<ApplicationBundle> bundles;
    for (const auto& folder : installed.applicationFolders()) {
        for (const auto& path : installed.bundlesIn(folder)) {
            if (auto bundle = installed.readBundle(path)) bundles.push_back(std::move(*bundle));
        }
    }
    return bundles;
}

}  // namespace dorvane::workspace
