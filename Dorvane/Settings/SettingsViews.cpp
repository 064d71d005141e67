#include "Dorvane/Settings/SettingsViews.h"

#include "Dorvane/Settings/SettingsView.h"

namespace dorvane {

std::unique_ptr<QWidget> SettingsViews::makeSettingsView(ControlPanelModel& model, bool startNew, SettingsPage page) {
    return std::make_unique<SettingsView>(model, startNew, page, environment_);
}

std::unique_ptr<QWidget> SettingsViews::makeResolutionPanelView(ControlPanelModel&, const shell::ResolutionContent&) {
    return std::make_unique<QWidget>();
}

}  // namespace dorvane
