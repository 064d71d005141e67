#pragma once

#include <filesystem>
#include <memory>

#include "Dorvane/Editors/EditorServices.h"
#include "Dorvane/QtHost/SettingsViewFactory.h"
#include "Dorvane/Settings/SettingsPermissions.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/System/LoginItems.h"

namespace dorvane {

// The settings window's content for the host's windows: a SettingsView over the panel
// model with the program's services, which it keeps for as long as it makes views.
class SettingsViews final : public qthost::SettingsViewFactory {
public:
    // The editors read the installed applications on a queue of their own unless
    // `editors` names one.
    SettingsViews(std::unique_ptr<SettingsPermissions> permissions, std::unique_ptr<system::LoginItems> loginItems,
                  std::filesystem::path supportFolder, EditorServices editors = {});

    std::unique_ptr<QWidget> makeSettingsView(ControlPanelModel& model, bool startNew, SettingsPage page) override;
    // A ResolutionPanelView over the panel model.
    std::unique_ptr<QWidget> makeResolutionPanelView(ControlPanelModel& model,
                                                     const shell::ResolutionContent& content) override;
    std::optional<double> resolutionPanelHeight(QWidget& view, int width) override;

private:
    std::unique_ptr<SettingsPermissions> permissions_;
    std::unique_ptr<system::LoginItems> loginItems_;
    std::filesystem::path supportFolder_;
    std::unique_ptr<dispatch::SerialQueue> scanQueue_;
    EditorServices editors_;
};

}  // namespace dorvane
