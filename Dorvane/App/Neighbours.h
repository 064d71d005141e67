#pragma once

#include <memory>

#include "Dorvane/App/ApplicationRunner.h"
#include "Dorvane/ShellBase/Neighbours/Neighbours.h"

namespace dorvane {

// The neighbours this build has, in the order the controller is built from them; a
// subsystem not built yet stands in with its null implementation.
shell::Neighbours makeNeighbours(const qthost::NeighbourServices& services);

}  // namespace dorvane
