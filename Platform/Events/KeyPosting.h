#pragma once

#include <cstdint>
#include <sys/types.h>

namespace dorvane::events {

// A keyboard event for one process.
struct KeyEvent {
    std::uint16_t code = 0;
    std::uint64_t flags = 0;   // event flags: Command 0x100000, Shift 0x20000, ...
    bool down = true;
};

// Posting keyboard events straight to one process.
class KeyPosting {
public:
    virtual ~KeyPosting() = default;

    // False when the event could not be made, so nothing was posted.
    virtual bool postToProcess(pid_t pid, const KeyEvent& event) = 0;
};

}  // namespace dorvane::events
