#pragma once

#include <string>

#include "Platform/Host/Machines/ApplicationFolders.h"
#include "Platform/Host/State/HostData.h"
#include "Platform/Workspace/InstalledApplications.h"

namespace dorvane::host {

// What a failed opening tells the user.
std::string applicationNotFoundText(const std::string& name);   // "找不到应用程序“名称”。"
std::string applicationCannotOpenText(const std::string& name); // "无法打开应用程序“名称”。"

// Opens the bundle at a platform path, now: a path that is not a bundle is not found; a
// bundle whose behaviour fails says so; an application of that bundle (or identifier)
// that runs already is only brought forward (when `activates`); otherwise its program
// starts at "Contents/MacOS/<executable>" as a regular application (an accessory with
// "LSUIElement", a prohibited one with "LSBackgroundOnly") with one window, and is
// brought forward. Launching and activating are announced like any other. Logged as
// "applicationOpen".
workspace::OpenApplicationResult openBundle(HostData& data, const Actor& actor, const ApplicationFolders& folders,
                                            const std::string& path, bool activates);

}  // namespace dorvane::host
