#pragma once

#include <ostream>

#include "Platform/Host/SimulatedHost.h"
#include "tools/corvelle-host/CommandLine.h"

namespace dorvane::hosttool {

// "defaults ...", "notify ...", "appearance ..." and "announcements": what the simulated
// system keeps for programs. Throw UsageError or HostError.
int runDefaults(host::SimulatedHost& host, Arguments& args, std::ostream& out);
int runNotify(host::SimulatedHost& host, Arguments& args, std::ostream& out);
int runAppearance(host::SimulatedHost& host, Arguments& args, std::ostream& out);
int runAnnouncements(host::SimulatedHost& host, Arguments& args, std::ostream& out);

// A value as written on the command line: JSON when it parses as JSON (true, 3, "x",
// {"a":1}), else the text itself as a string.
json::Json parseDefaultValue(const std::string& text);

}  // namespace dorvane::hosttool
