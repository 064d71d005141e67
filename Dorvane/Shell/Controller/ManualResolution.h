#pragma once

#include <cstdint>
#include <string>

#include "DorvaneCore/Core/DisplaySize.h"
#include "DorvaneCore/Core/ScreenPreset.h"
#include "DorvaneCore/Resolution/ResolutionAdjustment.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Task.h"

namespace dorvane {
class ControlPanelModel;
class DisplayEngine;
}  // namespace dorvane

namespace dorvane::shell {

class AdjustmentKeeper;
class ConnectionAutomation;
class ControllerHost;
class PreferencesKeeper;
class StatusKeeper;
class ToolbarControl;

// What the person chooses rather than the connection automation: selecting a custom
// preset or a built-in one, scaling and stepping it, saving the size as a copy, applying,
// and restoring the physical displays by hand. Sets the settings window's resolution
// controls when it is made. Main thread only.
class ManualResolution {
public:
    struct Parts {
        ControllerHost& host;
        StatusKeeper& status;
        PreferencesKeeper& preferences;
        AdjustmentKeeper& adjustment;
        ConnectionAutomation& automation;
        ToolbarControl& toolbar;
        DisplayEngine& engine;
        ControlPanelModel& model;
    };

    explicit ManualResolution(Parts parts);
    ~ManualResolution();
    ManualResolution(const ManualResolution&) = delete;
    ManualResolution& operator=(const ManualResolution&) = delete;

    void applyManually(bool dismissPanel);
    void adjust(ResolutionAdjustment::Control control, std::int64_t direction);
    void saveCopy();
    void recover();

private:
    // The settings window's resolution controls.
    void installCallbacks(ControlPanelModel& model);
    void selectCustom(const std::string& id);
    void selectPreset(ScreenPreset preset);
    void selectSize(DisplaySize size);
    void changeScale(std::int64_t percent);
    void changePresetScale(const std::string& id, std::int64_t percent);
    // Stores `percent` in the selected custom preset when the result is valid, and saves.
    void storeSelectedScale(std::int64_t percent);
    dispatch::Task<void> runManualApply(dispatch::Lifetime::Watch alive, std::int64_t generation, bool dismissPanel);
    dispatch::Task<void> runRecover(dispatch::Lifetime::Watch alive, std::int64_t generation);

    ControllerHost& host_;
    StatusKeeper& status_;
    PreferencesKeeper& preferences_;
    AdjustmentKeeper& adjustment_;
    ConnectionAutomation& automation_;
    ToolbarControl& toolbar_;
    DisplayEngine& engine_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::shell
