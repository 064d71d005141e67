#pragma once

#include <cstdint>

#include "Dorvane/QtHost/OwnWindowDirectory.h"
#include "Platform/Events/Event.h"

namespace dorvane::qthost {

// The host's keys for the program, handed to Qt as a platform hands its own: to the
// window the host holds as key (a panel that took the keyboard while another application
// stays in front, or the program's key window), where shortcuts come first, then the
// window's event filters (local monitors), then its focused widget. A key for no window of
// the program (its key window was minimised or closed) reaches nothing, as on a platform.
class QtOwnKeyDelivery {
public:
    explicit QtOwnKeyDelivery(const OwnWindowDirectory& windows) : windows_(windows) {}

    void deliver(const events::Event& event, std::uint32_t keyWindow);

private:
    const OwnWindowDirectory& windows_;
};

}  // namespace dorvane::qthost
