#pragma once

#include <ostream>

#include "Platform/Host/SimulatedHost.h"
#include "tools/corvelle-host/CommandLine.h"

namespace dorvane::hosttool {

// The lines "help" prints for "windows ..." and "permission ...".
extern const char* const kWindowsUsage;

// "windows ...": other applications' windows, the pointer and workspace events.
// Throws UsageError or HostError.
int runWindows(host::SimulatedHost& host, Arguments& args, std::ostream& out);

// "permission grant|revoke|show accessibility".
int runPermission(host::SimulatedHost& host, Arguments& args, std::ostream& out);

// What "windows list --json" prints: {"frontmost", "applications", "windows"}, the
// windows front to back with "number", "pid", "layer", "bounds", "title".
json::Json renderWindowsJson(const host::WindowsView& view, bool all);

}  // namespace dorvane::hosttool
