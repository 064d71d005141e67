#include "Dorvane/Settings/SettingsViews.h"

#include "Dorvane/Settings/ResolutionPanelView.h"
#include "Dorvane/Settings/SettingsView.h"

namespace dorvane {

SettingsViews::SettingsViews(std::unique_ptr<SettingsPermissions> permissions,
                             std::unique_ptr<system::LoginItems> loginItems, std::filesystem::path supportFolder,
                             EditorServices editors)
    : permissions_(std::move(permissions)),
      loginItems_(std::move(loginItems)),
      supportFolder_(std::move(supportFolder)),
      editors_(std::move(editors)) {
    if (editors_.installedApplications != nullptr && editors_.scanQueue == nullptr) {
        scanQueue_ = std::make_unique<dispatch::SerialQueue>("application-scan");
        editors_.scanQueue = scanQueue_.get();
    }
}

std::unique_ptr<QWidget> SettingsViews::makeSettingsView(ControlPanelModel& model, bool startNew, SettingsPage page) {
    return std::make_unique<SettingsView>(model, startNew, page,
                                          SettingsEnvironment{*permissions_, *loginItems_, supportFolder_, {}, editors_});
}

std::unique_ptr<QWidget> SettingsViews::makeResolutionPanelView(ControlPanelModel& model,
                                                                const shell::ResolutionContent& content) {
    return std::make_unique<ResolutionPanelView>(model, content.firstPresetID, content.close, content.restore,
                                                 content.onContentHeight);
}

std::optional<double> SettingsViews::resolutionPanelHeight(QWidget& view, int width) {
    auto* panel = dynamic_cast<ResolutionPanelView*>(&view);
    if (panel == nullptr) return std::nullopt;
    return panel->heightFor(width);
}

}  // namespace dorvane
