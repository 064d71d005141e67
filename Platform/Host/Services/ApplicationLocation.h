#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Platform/Host/Machines/ApplicationFolders.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// Where the machine has the application with a bundle identifier: the first bundle of the
// application folders, in scan order, that declares it, else the bundle of a running
// application that has it; none when neither does. Reads the folders as they are now.
std::optional<std::string> applicationLocation(HostSession& session, const ApplicationFolders& folders,
                                               std::string_view identifier);

}  // namespace dorvane::host
