#pragma once

#include "Dorvane/QtHost/SettingsViewFactory.h"
#include "Dorvane/Settings/SettingsEnvironment.h"

namespace dorvane {

// The settings window's content for the host's windows: a SettingsView over the panel
// model with the program's services.
class SettingsViews final : public qthost::SettingsViewFactory {
public:
    explicit SettingsViews(SettingsEnvironment environment) : environment_(std::move(environment)) {}

    std::unique_ptr<QWidget> makeSettingsView(ControlPanelModel& model, bool startNew, SettingsPage page) override;
    // Not part of this build yet: an empty panel.
    std::unique_ptr<QWidget> makeResolutionPanelView(ControlPanelModel& model,
                                                     const shell::ResolutionContent& content) override;

private:
    SettingsEnvironment environment_;
};

}  // namespace dorvane
