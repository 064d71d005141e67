#include "Platform/Host/Services/ApplicationLocation.h"

#include "Platform/Host/Machines/BundleReader.h"

namespace dorvane::host {

std::optional<std::string> applicationLocation(HostSession& session, const ApplicationFolders& folders,
                                               std::string_view identifier) {
    for (const auto& folder : folders.searchFolders()) {
        for (const auto& path : bundlesInFolder(folders, folder)) {
            const auto contents = readBundleContents(folders, path);
            if (contents && contents->bundle.bundleIdentifier == identifier) return contents->bundle.path;
        }
    }
    std::optional<std::string> running;
    session.access([&](HostData& data) {
        for (const auto& application : data.workspace().applications) {
            if (application.bundleID == identifier && application.bundlePath) {
                running = standardizedPath(*application.bundlePath);
                return;
            }
        }
    });
    return running;
}

}  // namespace dorvane::host
