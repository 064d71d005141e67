#pragma once

#include <cstdint>

#include "Dorvane/QtHost/OwnWindowDirectory.h"

namespace dorvane::qthost {

// The host's own moves, resizes and minimising of the program's windows, applied to the
// Qt window as a window system's would be. A window keeps its own limits (a fixed-size
// window keeps its size), and the list then follows what the window became.
class QtOwnWindowMoves {
public:
    explicit QtOwnWindowMoves(OwnWindowDirectory& windows) : windows_(windows) {}

    // The host changed its record of `number`: what is not the program's own report is
    // applied to the Qt window.
    void changedByHost(std::uint32_t number);

private:
    OwnWindowDirectory& windows_;
};

}  // namespace dorvane::qthost
