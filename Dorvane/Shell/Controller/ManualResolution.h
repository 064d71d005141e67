#pragma once

#include <cstdint>
#include <string>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Shell/Controller/ConnectionAutomation.h"
#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/Shell/Controller/ControllerState.h"
#include "Dorvane/Shell/Controller/PreferencesKeeper.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Task.h"

namespace dorvane::shell {

// What the person chooses rather than the connection automation: selecting a custom
// preset or a built-in one, scaling and stepping it, saving the size as a copy, applying,
// and restoring the physical displays by hand. Main thread only.
class ManualResolution {
public:
    struct Parts {
        ControllerState& state;
        ControllerHost& host;
        PreferencesKeeper& preferences;
        ConnectionAutomation& automation;
        ToolbarControl& toolbar;
        DisplayEngine& engine;
    };

    explicit ManualResolution(Parts parts);
    ~ManualResolution();
    ManualResolution(const ManualResolution&) = delete;
    ManualResolution& operator=(const ManualResolution&) = delete;

    // The settings window's resolution controls.
    void installCallbacks(ControlPanelModel& model);

    void applyManually(bool dismissPanel);
    void adjust(ResolutionAdjustment::Control control, std::int64_t direction);
    void saveCopy();
    void recover();

private:
    void selectCustom(const std::string& id);
    void selectPreset(ScreenPreset preset);
    void selectSize(DisplaySize size);
    void changeScale(std::int64_t percent);
    void changePresetScale(const std::string& id, std::int64_t percent);
    // Stores `percent` in the selected custom preset when the result is valid, and saves.
    void storeSelectedScale(std::int64_t percent);
    void saveSelection();
    dispatch::Task<void> runManualApply(dispatch::Lifetime::Watch alive, std::int64_t generation, bool dismissPanel);
    dispatch::Task<void> runRecover(dispatch::Lifetime::Watch alive, std::int64_t generation);

    ControllerState& state_;
    ControllerHost& host_;
    PreferencesKeeper& preferences_;
    ConnectionAutomation& automation_;
    ToolbarControl& toolbar_;
    DisplayEngine& engine_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::shell
