#pragma once

#include "Dorvane/Settings/SettingsPageView.h"

namespace dorvane {

class AutomaticResolutionSettings;
class SettingsView;

// "连接自动化": its title over the automatic-resolution settings in a scroll area.
class ConnectionSettingsPage final : public SettingsPageView {
public:
    explicit ConnectionSettingsPage(SettingsView& view);

    void render() override;

    AutomaticResolutionSettings* settings() const { return settings_; }

private:
    AutomaticResolutionSettings* settings_;
};

}  // namespace dorvane
