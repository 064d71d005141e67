#pragma once

#include "Dorvane/Shell/Neighbours/Neighbours.h"

namespace dorvane {

// The neighbours this build has, in the order the controller is built from them; a
// subsystem not built yet stands in with its null implementation. A seam left empty is
// filled by the Qt host with its own panel (the notice).
shell::Neighbours makeNeighbours();

}  // namespace dorvane
