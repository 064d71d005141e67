#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Launcher/ApplicationBundle.h"
#include "Platform/Workspace/WorkspaceEvents.h"

namespace dorvane::workspace {

// What opening an application came to: the application now running, or why it did not open.
struct OpenApplicationResult {
    std::optional<RunningApplication> application;
    std::string error;  // a sentence for the user when there is no application

    bool succeeded() const { return application.has_value(); }
};

// The application bundles installed on the machine: where they are, what they say of
// themselves, and opening them. Paths are in the platform's form ("/Applications/Notes.app",
// "/home/ann/Applications/Notes.app"); only the backend knows where they are on disk. Reads
// never throw: what cannot be read is missing.
class InstalledApplications {
public:
    virtual ~InstalledApplications() = default;

    // The folders applications are installed in, in the order a scan looks: the user's
    // "Applications" in the home folder, "/Applications", "/System/Applications".
    virtual std::vector<std::string> applicationFolders() = 0;

    // Every item of `folder` and its sub-folders whose name ends in ".app" (any case),
    // depth first in name order; names that begin with "." are skipped and nothing inside
    // an ".app" is looked at. Empty when the folder cannot be read.
    virtual std::vector<std::string> bundlesIn(const std::string& folder) = 0;

    // The bundle at `path` with what its information file says (a localized value
    // preferred); none only when `path` is not a directory.
    virtual std::optional<ApplicationBundle> readBundle(const std::string& path) = 0;

    // Where the machine has the application with this bundle identifier (the first bundle
    // of the folders, in scan order, that declares it, else a running application's
    // bundle); none when it knows none. Reads the folders: keep it off the main queue.
    virtual std::optional<std::string> applicationPath(const std::string& bundleIdentifier) = 0;

    // Where the bundle's icon image is, or would be, on disk; reads nothing.
    virtual std::filesystem::path iconFile(const std::string& bundlePath) = 0;

    // Opens the application at `path`: launches it when it does not run, and brings it
    // forward when `activates`. `completion` is called once, on another thread, when the
    // launch has finished or failed.
    virtual void openApplication(const std::string& path, bool activates,
                                 std::function<void(const OpenApplicationResult&)> completion) = 0;
};

// The bundles of every application folder that could be opened, in scan order.
std::vector<ApplicationBundle> installedBundles(InstalledApplications& installed);

}  // namespace dorvane::workspace
