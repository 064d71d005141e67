#pragma once

#include <ostream>
#include <string>

#include "Platform/Host/SimulatedHost.h"
#include "Platform/Host/State/StatusBarState.h"
#include "tools/corvelle-host/CommandLine.h"

namespace dorvane::hosttool {

// "statusbar show [--json]" and "statusbar click TITLE [--timeout S]". Throws UsageError
// or HostError (also for "show" when no program shows an item).
int runStatusBar(host::SimulatedHost& host, dispatch::Clock& clock, Arguments& args, std::ostream& out);

// What "statusbar show" prints.
std::string renderStatusBar(const host::StatusBarState& state);

}  // namespace dorvane::hosttool
