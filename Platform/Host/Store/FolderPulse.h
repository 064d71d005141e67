#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "Platform/Host/Store/HostStore.h"

namespace dorvane::host {

// Reads the pulse of a "displays.json" text; nullopt when it is not a host state.
std::optional<HostPulse> pulseOfStateText(std::string_view text);

// The pulse of the host kept in `folder`, read without the lock (files are only ever
// replaced whole). A part that is missing or malformed keeps its value in `previous`.
HostPulse readFolderPulse(const std::filesystem::path& folder, const HostPulse& previous);

}  // namespace dorvane::host
