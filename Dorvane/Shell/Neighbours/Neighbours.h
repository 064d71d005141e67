#pragma once

#include <memory>

#include "Dorvane/Shell/Neighbours/AutoFill.h"
#include "Dorvane/Shell/Neighbours/DockShortcutSender.h"
#include "Dorvane/Shell/Neighbours/LauncherControl.h"
#include "Dorvane/Shell/Neighbours/NoticeDisplay.h"
#include "Dorvane/Shell/Neighbours/PermissionTracker.h"
#include "Dorvane/Shell/Neighbours/SettingsWindows.h"
#include "Dorvane/Shell/Neighbours/ToolbarControl.h"
#include "Dorvane/Shell/Neighbours/TouchScrollControl.h"
#include "Dorvane/Shell/Neighbours/WindowCommands.h"
#include "Dorvane/Shell/Neighbours/WorkspaceLayout.h"

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
