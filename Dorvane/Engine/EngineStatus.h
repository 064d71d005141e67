#pragma once

#include <optional>
#include <string>

#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Core/FailureText.h"

namespace dorvane {

// What the display engine answers after starting up or applying a size: the status
// line to show, the failure's message when there was one, and what is applied now.
struct EngineStatus {
    std::string title;
    std::optional<std::string> detail;  // present exactly when the operation failed
    bool active = false;                // a size is applied
    std::optional<Dimensions> applied;

    // The operation failed only because another program held the system past the wait
    // (its failure says the busy text): it may well go through once the system is free.
    bool heldOut() const { return detail == kBusyText; }

    friend bool operator==(const EngineStatus&, const EngineStatus&) = default;
};

}  // namespace dorvane
