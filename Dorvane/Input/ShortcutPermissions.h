#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "Dorvane/Input/PermissionGuidePanel.h"
#include "DorvaneCore/Input/ShortcutPermissionState.h"
#include "Platform/Accessibility/ProcessTrust.h"
#include "Platform/Accessibility/WindowList.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Dispatch/Timer.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Events/EventServices.h"
#include "Platform/System/URLOpener.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane {

// The one place that knows whether the program may drive other applications: it
// publishes the Accessibility trust and the event-posting access, refreshes them on a
// timer while monitoring, and guides the user to grant the permission. The guide opens
// the Accessibility page of System Settings and keeps a small panel in the lower part of
// the System Settings window; when trust arrives it closes, brings the program's "设置"
// window forward and runs the completion its opener chose, once.
//
// The program makes one and hands it to its users. Main queue only.
class ShortcutPermissions {
public:
    static constexpr const char* kAccessibilityURL =
        "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";
    static constexpr const char* kSystemSettingsBundleID = "com.apple.systempreferences";
    static constexpr double kStatusInterval = 0.75;
    static constexpr double kGuideInterval = 0.25;
    static constexpr double kGuideLimit = 180;

    struct Services {
        accessibility::ProcessTrust& trust;
        events::EventServices& events;
        workspace::ApplicationWorkspace& workspace;
        accessibility::WindowListServices& windowList;
        displays::ScreenServices& screens;
        system::URLOpener& urls;
        dispatch::MainQueue& main;
        dispatch::Clock& clock;
        // The panel's toolkit; none when the program does not run as an application, where
        // the guide only opens System Settings.
        PermissionGuideUI* ui = nullptr;
    };

    explicit ShortcutPermissions(Services services);
    ~ShortcutPermissions();

    ShortcutPermissions(const ShortcutPermissions&) = delete;
    ShortcutPermissions& operator=(const ShortcutPermissions&) = delete;

    const ShortcutPermissionState& state() const { return state_; }
    // Calls `observer` after each change of the state.
    dispatch::Observation observe(std::function<void(const ShortcutPermissionState&)> observer);

    // Reads both permissions now; observers hear only of a change.
    void refresh();
    // Refreshes now and then every 0.75 s until stopMonitoring().
    void startMonitoring();
    void stopMonitoring();
    bool isMonitoring() const { return statusTimer_.isActive(); }

    // Run once when trust arrives during a guide; set it before showGuide().
    std::function<void()> completion;

    // Opens System Settings at the Accessibility page and shows the guide.
    void showGuide();
    // Stops the guide; with `clearCompletion` the completion is dropped without running.
    void closePanel(bool clearCompletion);
    bool isGuideOpen() const { return guideTimer_.isActive(); }

private:
    void poll();
    void place();
    ShortcutPermissionState read();

    Services services_;
    ShortcutPermissionState state_;
    dispatch::Timer statusTimer_;
    std::unique_ptr<PermissionGuidePanel> panel_;
    dispatch::Timer guideTimer_;
    double started_ = 0;
    std::uint64_t nextObserver_ = 1;
    std::map<std::uint64_t, std::function<void(const ShortcutPermissionState&)>> observers_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane
