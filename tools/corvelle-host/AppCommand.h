#pragma once

#include <ostream>

#include "Platform/Host/SimulatedHost.h"
#include "tools/corvelle-host/CommandLine.h"

namespace dorvane::hosttool {

// The lines "help" prints for "app ...".
extern const char* const kAppUsage;

// "app ...": installed application bundles, opening and quitting them, and how opening
// behaves. Throws UsageError or HostError.
int runApp(host::SimulatedHost& host, Arguments& args, std::ostream& out);

}  // namespace dorvane::hosttool
