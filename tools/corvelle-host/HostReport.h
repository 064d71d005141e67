#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Host/State/FaultRule.h"
#include "Platform/Host/State/HostState.h"

namespace dorvane::hosttool {

// What `show` reports.
struct HostReport {
    std::filesystem::path folder;
    host::HostState state;
    std::vector<displays::Screen> screens;
    std::size_t faultRules = 0;
};

// A table for people: one line per online display, then what is disconnected, the
// switches and the counters.
std::string renderTable(const HostReport& report);

// The same for programs: {"folder", "asleep", ..., "displays": [...], "screens": [...]}.
// Each display carries the fields of a worker snapshot record plus its name and kind.
json::Json renderJson(const HostReport& report);

}  // namespace dorvane::hosttool
