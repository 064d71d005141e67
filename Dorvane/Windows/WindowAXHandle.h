#pragma once

#include "Platform/Accessibility/AXElement.h"

namespace dorvane::windows {

// One window of another application, from the Accessibility worker through the facade to
// a frame worker. Its process id always travels beside it.
struct WindowAXHandle {
    accessibility::AXElement window;

    friend bool operator==(const WindowAXHandle&, const WindowAXHandle&) = default;
};

}  // namespace dorvane::windows
