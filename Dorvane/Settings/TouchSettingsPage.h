#pragma once

#include "Dorvane/Settings/SettingsPageView.h"

namespace dorvane {

class SettingRow;
class SettingsView;
class ToggleSwitch;

// "触控": the one switch that turns one-finger drags from the remote viewer into scrolling.
class TouchSettingsPage final : public SettingsPageView {
public:
    explicit TouchSettingsPage(SettingsView& view);

    void render() override;

    ToggleSwitch* touchScrollSwitch() const { return touchScroll_; }
    SettingRow* touchScrollRow() const { return row_; }

private:
    SettingsView& view_;
    ToggleSwitch* touchScroll_;
    SettingRow* row_;
};

}  // namespace dorvane
