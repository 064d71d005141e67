#pragma once

#include <optional>

#include "Platform/Displays/VirtualDisplayServices.h"
#include "Platform/Host/State/HostData.h"

namespace dorvane::host {

// A new virtual display owned by `owner`, not online until its settings are applied.
// Nothing when virtual displays are unavailable or the descriptor is unusable.
std::optional<DisplayID> createVirtualDisplay(HostData& data, const Actor& actor, const processes::ProcessIdentity& owner,
                                              const displays::VirtualDisplayDescriptor& descriptor);

// Gives the display its modes (each logical size as a HiDPI mode plus its 1x duplicate
// when hiDPI is set) and brings it online, now or after the configured delay.
bool applyVirtualDisplaySettings(HostData& data, const Actor& actor, DisplayID id,
                                 const displays::VirtualDisplaySettings& settings);

// The owner lets the display go; it leaves at once or after the configured delay.
void releaseVirtualDisplay(HostData& data, const Actor& actor, DisplayID id);

}  // namespace dorvane::host
