#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "Dorvane/ShellBase/ApplicationPlatform.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/Shell/Controller/ControllerState.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "DorvaneCore/Settings/PreferencesStore.h"
#include "Platform/Accessibility/ProcessTrust.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Lifetime.h"

namespace dorvane::shell {

class ConnectionAutomation;
class ToolbarPresenceKeeper;

// What happens to a change whose file cannot be written.
enum class WriteRule {
    // The change becomes the settings only once the file holds it; a failure changes
    // nothing and its text goes back to the caller, who shows it.
    validated,
    // The change stays in effect; only the file is behind, and the status says
    // "设置保存失败". For the settings that take effect the moment they are chosen.
    inEffect,
};

// The settings in effect and "preferences.json": loading, the one way every change is
// written, and the settings window's callbacks that edit them. Main thread only.
class PreferencesKeeper {
public:
    // Who the settings callbacks reach besides the settings themselves.
    struct Collaborators {
        ToolbarControl& toolbar;
        ToolbarPresenceKeeper& presence;
        ConnectionAutomation& automation;
        OperationDiagnostics& operations;
        accessibility::ProcessTrust& trust;
        ApplicationPlatform& platform;
    };

    PreferencesKeeper(ControllerState& state, ControllerHost& host, const std::filesystem::path& root,
                      dispatch::Clock& clock);
    ~PreferencesKeeper();
    PreferencesKeeper(const PreferencesKeeper&) = delete;
    PreferencesKeeper& operator=(const PreferencesKeeper&) = delete;

    // Puts the stored settings in effect; a missing, undecodable or unreadable file keeps
    // the defaults. One that cannot be read is left alone: every change then fails to save.
    void load();
    // Removes what saves of the settings cut short by a killed process left. Only for the
    // instance that holds the instance lock.
    std::size_t removeLeftovers() const { return store_.removeLeftovers(); }
    // Why the settings file could not be read at load, when that was so.
    const std::optional<std::string>& unreadable() const { return store_.unreadable(); }
    // Every change is made on a copy of the settings and handed here with its setting's
    // rule; the in-effect rule renders the menu, the validated one leaves that to the
    // caller, who has more to show. The failure's text, or nothing when written.
    std::optional<std::string> write(Preferences next, WriteRule rule);
    // The settings window's edits of the settings.
    void installCallbacks(ControlPanelModel& model, Collaborators collaborators);

private:
    void installToggles(ControlPanelModel& model);
    void installPresetEdits(ControlPanelModel& model);
    void installShortcutEdits(ControlPanelModel& model);
    void installAppearanceEdits(ControlPanelModel& model);
    void installAutomationToggles(ControlPanelModel& model);
    // A validated write for the list and icon edits: on success the toolbar is rebuilt, on
    // failure the status says `failureTitle`. Answers whether it was written.
    bool commitEdit(Preferences next, const std::string& failureTitle);
    void showFailure(const std::string& title, const std::string& detail);
    // A validated write of the connection settings that then applies them again; a failure
    // is a notice, the status staying as it was.
    void saveAutomaticPreferences(Preferences next);

    ControllerState& state_;
    ControllerHost& host_;
    PreferencesStore store_;
    std::optional<Collaborators> collaborators_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::shell
