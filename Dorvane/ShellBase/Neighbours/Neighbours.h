#pragma once

#include <memory>

#include "Dorvane/ShellBase/Neighbours/AutoFill.h"
#include "Dorvane/ShellBase/Neighbours/DockShortcutSender.h"
#include "Dorvane/ShellBase/Neighbours/LauncherControl.h"
#include "Dorvane/ShellBase/Neighbours/NoticeDisplay.h"
#include "Dorvane/ShellBase/Neighbours/PermissionTracker.h"
#include "Dorvane/ShellBase/Neighbours/SettingsWindows.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"
#include "Dorvane/ShellBase/Neighbours/TouchScrollControl.h"
#include "Dorvane/ShellBase/Neighbours/WindowCommands.h"
#include "Dorvane/ShellBase/Neighbours/WorkspaceLayout.h"

namespace dorvane::shell {

// The neighbouring subsystems the application controller owns and calls.
struct Neighbours {
    std::unique_ptr<ToolbarControl> toolbar;
    std::unique_ptr<TouchScrollControl> touchScroll;
    std::unique_ptr<WindowCommands> windows;
    std::unique_ptr<NoticeDisplay> notice;
    std::unique_ptr<WorkspaceLayout> workspaceLayout;
    std::unique_ptr<DockShortcutSender> dockSender;
    std::unique_ptr<AutoFill> autoFill;
    std::unique_ptr<LauncherControl> launcher;
    std::unique_ptr<PermissionTracker> permissions;
    std::unique_ptr<SettingsWindows> settingsWindows;
};

}  // namespace dorvane::shell
