#pragma once

#include <iosfwd>

#include "DorvaneCore/Remote/RemoteSoftware.h"

namespace dorvane {

// "--remote-status": one remote-session sample of the host, printed as JSON; answers
// the exit status.
int runRemoteStatusMode(std::ostream& out, std::ostream& err);

// Prints the snapshot as compact JSON with sorted keys and a line feed: 0 when it was
// written, else 1 with the reason on `err`.
int printRemoteStatus(const RemoteSessionSnapshot& snapshot, std::ostream& out, std::ostream& err);

}  // namespace dorvane
