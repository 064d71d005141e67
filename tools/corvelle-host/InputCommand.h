#pragma once

#include <ostream>
#include <vector>

#include "DorvaneCore/Shortcuts/ShortcutKey.h"
#include "Platform/Host/SimulatedHost.h"
#include "tools/corvelle-host/CommandLine.h"

namespace dorvane::hosttool {

// The lines "help" prints for "input ...".
extern const char* const kInputUsage;

// "input key|click|drag|move|scroll|delivered|disable-taps ...". Throws UsageError or HostError.
int runInput(host::SimulatedHost& host, Arguments& args, std::ostream& out);

// One line per delivered event, as "input delivered" prints it.
std::string renderDelivered(const host::DeliveredEvent& delivered);

// What "input key COMBO" injects: the combination's strokes, pressed then released.
std::vector<host::InjectedEvent> keyEvents(const ShortcutKey& key);

}  // namespace dorvane::hosttool
