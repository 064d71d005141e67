#pragma once

#include <memory>

#include "Dorvane/App/ApplicationRunner.h"
#include "Dorvane/ShellBase/Neighbours/DockShortcutSender.h"
#include "Dorvane/ShellBase/Neighbours/PermissionTracker.h"
#include "Dorvane/ShellBase/Neighbours/TouchScrollControl.h"

namespace dorvane {

class ShortcutPermissions;

// The controller's Dock shortcut sender and its permission tracker, over the host: one
// permission monitor with its Qt guide, which the sender also asks before it presses and
// the settings window watches. Touch scrolling, its tap on the event-tap thread.
struct InputNeighbours {
    std::unique_ptr<shell::DockShortcutSender> dockSender;
    std::unique_ptr<shell::PermissionTracker> permissions;
    // The same monitor, for other senders (the toolbar's) and the settings window; it lives as
    // long as any holder.
    std::shared_ptr<ShortcutPermissions> monitor;
    std::unique_ptr<shell::TouchScrollControl> touchScroll;
};

InputNeighbours makeInputNeighbours(const qthost::NeighbourServices& services);

}  // namespace dorvane
