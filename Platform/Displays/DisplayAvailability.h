#pragma once

#include <functional>
#include <string>

#include "Platform/Dispatch/Observation.h"

namespace dorvane::displays {

// Keeps a wait for the displays registered; destroying or cancelling it drops the wait.
using AvailabilityWait = dispatch::Observation;

// When the host lets go of the displays again: a display operation that was turned away
// because another program held the host for longer than the display worker waits (a busy
// failure) can be tried again then, with no other change to bring it back.
class DisplayAvailability {
public:
    virtual ~DisplayAvailability() = default;

    // Calls `then` once, on the main queue, as soon as the host takes an access again,
    // looking first a moment after this call. `key` names what waits: a newer wait of the
    // same key replaces the older one, whose cancellation then drops nothing.
    virtual AvailabilityWait whenAvailable(const std::string& key, std::function<void()> then) = 0;
};

}  // namespace dorvane::displays
