#pragma once

#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "DorvaneCore/Launcher/ApplicationBundle.h"
#include "DorvaneCore/Launcher/LauncherApp.h"

namespace dorvane {

// The launcher's entries from the bundles a scan opened, in candidate order: the
// bundles found in "~/Applications", "/Applications" and "/System/Applications" (in
// that order, each walked into sub-folders), then those of the running regular
// applications. This program and background-only bundles are left out; of several
// bundles with one identifier the first is listed. `runningIdentifiers` holds the
// bundle identifiers of every running application, so one keyed by its path is
// never marked running.
std::vector<LauncherApp> launcherApps(std::span<const ApplicationBundle> candidates,
                                      const std::unordered_set<std::string>& runningIdentifiers);

}  // namespace dorvane
