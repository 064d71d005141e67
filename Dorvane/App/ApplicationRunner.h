#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "Dorvane/QtHost/SettingsViewFactory.h"
#include "Dorvane/ShellBase/Neighbours/Neighbours.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane::qthost {

class QtOwnWindowReporter;
class QtWindowCommands;

// What the controller's neighbours are built from; all of it outlives them, except the
// window commands, which the controller owns beside them (they go first).
struct NeighbourServices {
    std::filesystem::path root;  // the support folder
    dispatch::MainQueue& mainQueue;
    dispatch::Clock& clock;
    host::SimulatedHost& host;
    std::string executable;  // the program's own executable
    QtWindowCommands& windowCommands;
    QtOwnWindowReporter& ownWindows;
};
using MakeNeighbours = std::function<shell::Neighbours(const NeighbourServices&)>;

// The status-bar application: a QApplication whose event loop is the main queue, the
// simulated host opened as the application, the engine and probe actors, and the
// application controller, whose launch is the loop's first job. Unless the neighbours
// bring their own, the settings window and the resolution panel are made here with empty
// content; so are the window commands, which need the host and the program's Qt windows,
// which the neighbours (the toolbar) read from, with the workspace layout and auto-fill
// built over them. The program follows the host's appearance. Returns the exit status once
// the loop ends and everything is torn down: the controller, then the actors (joined),
// then the host.
int runApplication(const std::filesystem::path& root, const std::string& executable,
                   const MakeNeighbours& makeNeighbours);

}  // namespace dorvane::qthost
