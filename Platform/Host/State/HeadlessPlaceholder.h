#pragma once

#include <cstdint>

#include "Platform/Host/State/HostState.h"

namespace dorvane::host {

// The display shown when no physical display is connected.
DisplayRecord makeHeadlessPlaceholder(DisplayID id);

// Hardware numbers of the headless placeholder ('unkn', 'virt').
inline constexpr std::uint32_t kPlaceholderVendor = 1970170734;
inline constexpr std::uint32_t kPlaceholderModel = 1986622068;

}  // namespace dorvane::host
