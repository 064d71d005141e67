#pragma once

#include <string>

#include "Platform/Dispatch/Lifetime.h"

namespace dorvane {
class ApplicationPlatform;
class ControlPanelModel;
class OperationDiagnostics;
struct Preferences;
namespace accessibility {
class ProcessTrust;
}
}  // namespace dorvane

namespace dorvane::shell {

class AdjustmentKeeper;
class ConnectionAutomation;
class ControllerHost;
class PreferencesKeeper;
class StatusKeeper;
class ToolbarControl;

// The settings window's edits of the settings: each callback of the panel model that
// changes one, set when the edits are made. A change goes to the settings keeper; what
// follows from it goes to those it concerns (the toolbar, the theme, the connection
// automation). Main thread only.
class SettingsEdits {
public:
    struct Parts {
        ControlPanelModel& model;
        ControllerHost& host;
        PreferencesKeeper& preferences;
        StatusKeeper& status;
        AdjustmentKeeper& adjustment;
        ConnectionAutomation& automation;
        ToolbarControl& toolbar;
        OperationDiagnostics& operations;
        accessibility::ProcessTrust& trust;
        ApplicationPlatform& platform;
    };

    explicit SettingsEdits(Parts parts);
    ~SettingsEdits();
    SettingsEdits(const SettingsEdits&) = delete;
    SettingsEdits& operator=(const SettingsEdits&) = delete;

private:
    void installToggles();
    void installPresetEdits();
    void installShortcutEdits();
    void installAppearanceEdits();
    void installAutomationToggles();
    // A validated write for the list and icon edits: on success the toolbar is rebuilt, on
    // failure the status says `failureTitle`. Answers whether it was written.
    bool commitEdit(Preferences next, const std::string& failureTitle);
    void showFailure(const std::string& title, const std::string& detail);
    // A validated write of the connection settings, which the automation then follows; a
    // failure is a notice, the status staying as it was.
    void saveAutomaticPreferences(Preferences next);

    ControlPanelModel& model_;
    ControllerHost& host_;
    PreferencesKeeper& preferences_;
    StatusKeeper& status_;
    AdjustmentKeeper& adjustment_;
    ConnectionAutomation& automation_;
    ToolbarControl& toolbar_;
    OperationDiagnostics& operations_;
    accessibility::ProcessTrust& trust_;
    ApplicationPlatform& platform_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::shell
