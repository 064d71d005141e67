#pragma once

#include <memory>

#include "Dorvane/QtHost/ApplicationRunner.h"
#include "Dorvane/Shell/Neighbours/DockShortcutSender.h"
#include "Dorvane/Shell/Neighbours/PermissionTracker.h"

namespace dorvane {

class ShortcutPermissions;

// The controller's Dock shortcut sender and its permission tracker, over the host: one
// permission monitor with its Qt guide, which the sender also asks before it presses.
struct InputNeighbours {
    std::unique_ptr<shell::DockShortcutSender> dockSender;
    std::unique_ptr<shell::PermissionTracker> permissions;
    // The same monitor, for other senders (the toolbar's); it lives as long as any holder.
    std::shared_ptr<ShortcutPermissions> permissionMonitor;
};

InputNeighbours makeInputNeighbours(const qthost::NeighbourServices& services);

}  // namespace dorvane
