#pragma once

#include <span>
#include <string>
#include <vector>

#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"
#include "Platform/Workspace/InstalledApplications.h"
#include "Platform/Workspace/WorkspaceEvents.h"

namespace dorvane {

// The scan behind the installed-application picker: the running regular applications,
// then the file manager, then every bundle of the application folders (the user's
// "Applications", "/Applications", "/System/Applications", each with its sub-folders but
// never inside a bundle), read through the bundle reader and turned into the picker's
// sorted list, one entry per bundle identifier. Reads the disk: run it off the main queue.
struct InstalledShortcutApplications {
    // `running` holds the bundle paths of the running regular applications, in the
    // workspace's order.
    static std::vector<ApplicationShortcuts> load(workspace::InstalledApplications& installed,
                                                  std::span<const std::string> running);

    // The bundle paths of the running applications that are regular and have a bundle, in
    // the workspace's order; none when the workspace cannot be read. Main queue.
    static std::vector<std::string> runningBundlePaths(workspace::WorkspaceEvents& workspace);
};

}  // namespace dorvane
