#pragma once

#include <optional>
#include <string>

#include "DorvaneCore/Core/Dimensions.h"

namespace dorvane {

// What the display engine answers after starting up or applying a size: the status
// line to show, the failure's message when there was one, and what is applied now.
struct EngineStatus {
    std::string title;
    std::optional<std::string> detail;  // present exactly when the operation failed
    bool active = false;                // a size is applied
    std::optional<Dimensions> applied;

    friend bool operator==(const EngineStatus&, const EngineStatus&) = default;
};

}  // namespace dorvane
