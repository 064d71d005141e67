#pragma once

#include <iosfwd>

namespace dorvane {

// "--check-input-relay": on a plain main loop, posts one null event through a shortcut
// relay of its own and checks that it is delivered and the relay's tap goes afterwards.
// Prints "input-relay: delivery and cleanup OK" (0), "input-relay: cleanup failed" (1) or
// "input-relay: unavailable" (1); returns once its log lines and delivered events are written.
int runInputRelayCheckMode(std::ostream& out);

}  // namespace dorvane
