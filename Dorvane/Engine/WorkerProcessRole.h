#pragma once

#include <string_view>

#include "Platform/Processes/ProcessRole.h"

namespace dorvane {

// The role a display-worker process states when it opens the host for `command`.
processes::ProcessRole workerProcessRole(std::string_view command);

}  // namespace dorvane
