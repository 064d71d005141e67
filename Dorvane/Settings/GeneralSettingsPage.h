#pragma once

#include "Dorvane/Settings/SettingsPageView.h"

class QLabel;

namespace dorvane {

class SettingIcon;
class SegmentedPicker;
class SettingsView;
class StyledButton;
class ToggleSwitch;

// "常规": the theme, launch at login, when and where the floating toolbar shows, and the
// Accessibility permission with the way to grant it. Launch at login talks to the login
// items directly; everything else reads the panel model and calls its callbacks.
class GeneralSettingsPage final : public SettingsPageView {
public:
    explicit GeneralSettingsPage(SettingsView& view);

    void render() override;

    SegmentedPicker* themePicker() const { return theme_; }
    ToggleSwitch* launchAtLoginSwitch() const { return launchAtLogin_; }
    ToggleSwitch* toolbarWhenConnectedSwitch() const { return whenConnected_; }
    ToggleSwitch* toolbarWhenDisconnectedSwitch() const { return whenDisconnected_; }
    SegmentedPicker* toolbarSidePicker() const { return side_; }
    SettingIcon* permissionIcon() const { return permissionIcon_; }
    StyledButton* grantButton() const { return grant_; }
    QLabel* grantedLabel() const { return granted_; }

private:
    void setLaunchAtLogin(bool on);
    void renderLaunchAtLogin();

    SettingsView& view_;
    SegmentedPicker* theme_;
    ToggleSwitch* launchAtLogin_;
    ToggleSwitch* whenConnected_;
    ToggleSwitch* whenDisconnected_;
    SegmentedPicker* side_;
    SettingIcon* permissionIcon_;
    StyledButton* grant_;
    QLabel* granted_;
};

}  // namespace dorvane
