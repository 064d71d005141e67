#pragma once

#include <memory>

#include "Dorvane/QtHost/ApplicationRunner.h"
#include "Dorvane/QtHost/SettingsViewFactory.h"
#include "Dorvane/Shell/Neighbours/Neighbours.h"

namespace dorvane {

// The neighbours this build has, in the order the controller is built from them; a
// subsystem not built yet stands in with its null implementation.
// The settings window's and the resolution panel's windows are the runner's own.
shell::Neighbours makeNeighbours(const qthost::NeighbourServices& services);

// The content of those windows.
std::unique_ptr<qthost::SettingsViewFactory> makeSettingsViews();

}  // namespace dorvane
