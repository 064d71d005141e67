#pragma once

#include <QString>

#include "Dorvane/ShellBase/ApplicationPlatform.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/System/Appearance.h"

namespace dorvane::qthost {

// The QApplication behind the controller: the Fusion style with a light or dark
// palette, leaving the event loop, and the program's image resources. The look is the
// user's theme, or with "system" the system's appearance; the visual components follow
// it and the system's Reduce Motion (VisualAppearance).
class QtApplicationPlatform final : public ApplicationPlatform {
public:
    void quit(int exitCode) override;
    // Linux has no Dock: the program only ever shows its tray item and its panels.
    void setAccessoryPolicy() override {}
    void applyTheme(AppTheme theme) override;
    // Reads the system's appearance now and follows its changes on `mainQueue` (Qt 6.4
    // cannot read the desktop's own). Until then the system counts as light.
    void followAppearance(system::AppearanceServices& appearance, dispatch::Executor& mainQueue);
    // Whether the program draws dark now.
    bool isDark() const;
    void activate() override;
    bool hasImage(const std::string& name) override;

    // ":/images/<name>.png".
    static QString imagePath(const std::string& name);

private:
    void apply();

    AppTheme theme_ = AppTheme::system;
    system::AppearanceSettings system_;
    dispatch::Observation appearanceChanges_;
};

}  // namespace dorvane::qthost
