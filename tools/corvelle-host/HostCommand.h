#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/corvelle-host/ExitStatus.h"

namespace dorvane::hosttool {

// Runs one command line (without the program name) against the host folder of the
// environment, writing results to `out` and errors to `err`.
int runHostCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace dorvane::hosttool
