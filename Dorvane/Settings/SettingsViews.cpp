#include "Dorvane/Settings/SettingsViews.h"

#include "Dorvane/Settings/SettingsView.h"

namespace dorvane {

SettingsViews::SettingsViews(std::unique_ptr<SettingsPermissions> permissions,
                             std::unique_ptr<system::LoginItems> loginItems, std::filesystem::path supportFolder)
    : permissions_(std::move(permissions)), loginItems_(std::move(loginItems)), supportFolder_(std::move(supportFolder)) {}

std::unique_ptr<QWidget> SettingsViews::makeSettingsView(ControlPanelModel& model, bool startNew, SettingsPage page) {
    return std::make_unique<SettingsView>(model, startNew, page,
                                          SettingsEnvironment{*permissions_, *loginItems_, supportFolder_, {}});
}

std::unique_ptr<QWidget> SettingsViews::makeResolutionPanelView(ControlPanelModel&, const shell::ResolutionContent&) {
    return std::make_unique<QWidget>();
}

}  // namespace dorvane
