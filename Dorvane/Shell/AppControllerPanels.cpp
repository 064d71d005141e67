// The panels beside the toolbar (the settings window, the resolution panel and the
// launcher) and where the toolbar's buttons lead.

#include "Dorvane/Shell/AppController.h"
#include "Dorvane/Shell/Controller/ControllerDetail.h"
#include "Dorvane/Shell/Controller/PreferencesKeeper.h"
#include "Dorvane/Shell/Controller/ResolutionPanelPresenter.h"
#include "Dorvane/Shell/Controller/StatusKeeper.h"
#include "Dorvane/Shell/Controller/WindowCommandRouter.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/ShellBase/Neighbours/LauncherControl.h"
#include "Dorvane/ShellBase/Neighbours/SettingsWindows.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"
#include "Dorvane/ShellBase/ScreenSpace.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"

namespace dorvane::shell {

void AppController::routeToolbarAction(FloatingAction action) {
    switch (action) {
        case FloatingAction::runningApplications: showApplications(); return;
        case FloatingAction::resolution: showResolution(); return;
        case FloatingAction::restoreDisplay: recover(); return;
        case FloatingAction::settings: showSettings(false, std::nullopt); return;
        case FloatingAction::maximizeWindow:
        case FloatingAction::centerWindow: windowCommandRouter_->performWindowAction(action); return;
        case FloatingAction::fillWindow: windowCommandRouter_->performFillToggle(); return;
        case FloatingAction::minimizeWindow:
            windowCommandRouter_->performWindowControl(windows::WindowControl::minimize);
            return;
    }
}

std::optional<WorkspaceLayout::Region> AppController::workspaceRegion() {
    if (status_->busy()) return std::nullopt;
    if (!toolbar_->enabled() || !toolbar_->expanded()) return std::nullopt;
    const auto screen = toolbar_->actionScreen();
    if (!screen) return std::nullopt;
    const auto space = ScreenSpace::of(services_.screens.screens(), screen);
    const auto reserved = toolbar_->reservedToolbarFrame();
    const auto area = DesktopToolbarLayout::workspace(reserved, space.toolkit(screen->visibleFrame),
                                                      preferences_->preferences().toolbarSide);
    // The screen's visible frame is already top-left; the toolbar maths is not.
    return WorkspaceLayout::Region{space.screen(area), screen->visibleFrame, space.screen(reserved),
                                          preferences_->preferences().toolbarSide};
}

std::optional<geometry::Rect> AppController::windowWorkspace() {
    if (const auto region = workspaceRegion()) return region->area;
    return std::nullopt;
}

void AppController::refreshToolbarSurfaces() {
    toolbar_->updateAttachedSurface();
    toolbar_->updateSelection();
    toolbar_->updateDismissalMonitors();
}

// ---- Tool panels ----

void AppController::dismissToolPanels() {
    launcher_->bumpPresentationGeneration();
    launcher_->orderPanelOut();
    settingsWindows_->orderResolutionOut();
    toolbar_->setActivePanel(std::nullopt);
    refreshToolbarSurfaces();
}

void AppController::showSettings(bool createNew, std::optional<SettingsPage> page) {
    dismissToolPanels();
    settingsWindows_->showSettings(*panelModel_, createNew, page);
}

void AppController::showApplications() {
    if (launcher_->panelVisible()) {
        dismissToolPanels();  // the button toggles the launcher
        return;
    }
    const auto screen = toolbar_->actionScreen();
    if (!screen) return;
    dismissToolPanels();
    settingsWindows_->orderSettingsOut();
    launcher_->show(toolbar_->panelFrame().insetBy(panelInset, panelInset), *screen,
                       preferences_->preferences().toolbarSide);
    toolbar_->orderWindowPanelOut();
    toolbar_->hideApplicationShortcuts();
    toolbar_->setActivePanel(FloatingAction::runningApplications);
    refreshToolbarSurfaces();
}

void AppController::showResolution() {
    if (settingsWindows_->resolutionPanelVisible()) {
        dismissToolPanels();  // the button toggles the panel
        return;
    }
    const auto screen = toolbar_->actionScreen();
    if (!screen) return;
    dismissToolPanels();
    if (settingsWindows_->settingsWindowExists()) settingsWindows_->orderSettingsOut();
    resolutionPanel_->show(*screen);
    toolbar_->orderWindowPanelOut();
    toolbar_->hideApplicationShortcuts();
    toolbar_->setActivePanel(FloatingAction::resolution);
    refreshToolbarSurfaces();
}

}  // namespace dorvane::shell
