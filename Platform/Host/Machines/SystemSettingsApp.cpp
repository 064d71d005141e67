#include "Platform/Host/Machines/SystemSettingsApp.h"

#include "Platform/Host/Machines/WindowMachine.h"

namespace dorvane::host {

bool isSystemSettingsURL(std::string_view url) { return url.starts_with("x-apple.systempreferences:"); }

pid_t showSystemSettings(HostData& data, const Actor& actor) {
    for (const auto& application : data.workspace().applications) {
        if (application.bundleID != kSystemSettingsBundleID) continue;
        activateApplication(data, actor, application.pid);
        return application.pid;
    }
    ApplicationLaunch launch;
    launch.name = kSystemSettingsName;
    launch.bundleID = kSystemSettingsBundleID;
    const pid_t pid = launchApplication(data, actor, launch);
    const auto screens = currentScreens(data);
    geometry::Rect visible{0, 0, kSystemSettingsWidth, kSystemSettingsHeight};
    if (!screens.empty()) visible = screens.front().visibleFrame;
    WindowRecord window;
    window.pid = pid;
    window.title = "辅助功能";
    window.frame = geometry::Rect{visible.x + (visible.width - kSystemSettingsWidth) / 2,
                                  visible.y + (visible.height - kSystemSettingsHeight) / 2, kSystemSettingsWidth,
                                  kSystemSettingsHeight};
    openWindow(data, actor, window);
    return pid;
}

}  // namespace dorvane::host
