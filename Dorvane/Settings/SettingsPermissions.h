#pragma once

#include <functional>

#include "Platform/Dispatch/Observation.h"

namespace dorvane {

// What the settings window asks of the Accessibility-permission tracker: whether the
// program is trusted, reading that again, polling it while the window is on screen, and
// the guide that leads the user to grant it. Main thread only.
class SettingsPermissions {
public:
    virtual ~SettingsPermissions() = default;

    // The published Accessibility trust (event posting is not shown in the settings).
    virtual bool accessibility() const = 0;
    // Reads the permissions now; observers hear only of a change.
    virtual void refresh() = 0;
    // Refreshes now and then on a timer, until stopMonitoring().
    virtual void startMonitoring() = 0;
    virtual void stopMonitoring() = 0;
    // Run once when trust arrives during a guide; replaces an earlier one.
    virtual void setCompletion(std::function<void()> completion) = 0;
    // Opens the system's Accessibility settings and the guide panel.
    virtual void showGuide() = 0;
    // Calls `changed` after each change of the published state.
    virtual dispatch::Observation observe(std::function<void()> changed) = 0;
};

}  // namespace dorvane
